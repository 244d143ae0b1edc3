-- RawBuffer: creation, the typed reads and writes, pointers as buffers, and
-- the limits that keep reads and writes inside a block of known size.
dofile((arg[0]:match("^(.*[\\/])") or "") .. "check.lua")

-- Creation
local b = RawBuffer.New(4)
case("New(4) is four zero bytes and no more", "0, 0, 0, 0, nil",
     b:OffsetGetAsUInt8(0), b:OffsetGetAsUInt8(1), b:OffsetGetAsUInt8(2), b:OffsetGetAsUInt8(3),
     b:OffsetGetAsUInt8(4))
case("OffsetGetAsUInt32(0) of a new buffer", "0", b:OffsetGetAsUInt32(0))
case("New(0) and New() give nil", "nil, nil", RawBuffer.New(0), RawBuffer.New())
case("a RawBuffer has its metatable and the module only New", "true, New, nil",
     getmetatable(b) == ops, (next(RawBuffer)), next(RawBuffer, "New"))

-- Numbers
b:OffsetSetAsUInt32(0, 4294967295)
case("UInt32 4294967295 reads back signed and unsigned", "-1, 4294967295",
     b:OffsetGetAsInt32(0), b:OffsetGetAsUInt32(0))
b:OffsetSetAsInt32(0, -2)
case("Int32 -2 reads back signed and unsigned", "-2, 4294967294",
     b:OffsetGetAsInt32(0), b:OffsetGetAsUInt32(0))
b:OffsetSetAsUInt32(0, 0xAABBCCDD)
b:OffsetSetAsInt16(0, 65537)
case("Int16 65537 stores 1 and leaves the next two bytes", "1, 43707",
     b:OffsetGetAsUInt16(0), b:OffsetGetAsUInt16(2))
b:OffsetSetAsUInt16(0, 0xFFFF)
case("16-bit reads of all ones", "-1, 65535", b:OffsetGetAsInt16(0), b:OffsetGetAsUInt16(0))
b:OffsetSetAsUInt8(2, 0x180)
case("UInt8 stores the low byte only", "128, -128, 170",
     b:OffsetGetAsUInt8(2), b:OffsetGetAsInt8(2), b:OffsetGetAsUInt8(3))
b:OffsetSetAsInt8(3, -1)
case("Int8 -1 stores 255", "255", b:OffsetGetAsUInt8(3))
b:OffsetSetAsUInt32(0, "12")
case("a numeric text converts", "12", b:OffsetGetAsUInt32(0))
case("an offset that does not convert counts as 0", "12", b:OffsetGetAsUInt32("x"))

-- Booleans
b:OffsetSetAsUInt32(0, 2)
case("Boolean read of 2 and of 0", "true, false",
     b:OffsetGetAsBoolean(0), RawBuffer.New(4):OffsetGetAsBoolean(0))
local stored = {}
for _, value in ipairs({true, "text", 0, false}) do
  b:OffsetSetAsBoolean(0, value)
  stored[#stored + 1] = b:OffsetGetAsUInt32(0)
end
b:OffsetSetAsBoolean(0, nil)
stored[#stored + 1] = b:OffsetGetAsUInt32(0)
case("Boolean writes 1 for true values, 0 for nil and false", "1, 1, 1, 0, 0", table.unpack(stored))

-- Pointers
local b16, b2 = RawBuffer.New(16), RawBuffer.New(8)
case("OffsetGetAsPointer(8) points 8 bytes into the block", "8",
     address(b16:OffsetGetAsPointer(8)) - address(b16))
b16:OffsetSetAsPointer(0, b2)
case("OffsetSetAsPointer stores the address of the value's block", "true",
     b16:OffsetGetAsUInt32(0) + b16:OffsetGetAsUInt32(4) * 2 ^ 32 == address(b2))
local inside = b16:OffsetGetAsPointer(8)
ops.OffsetSetAsUInt32(inside, 0, 7)
case("a pointer from OffsetGetAsPointer is a buffer", "7, 7",
     b16:OffsetGetAsUInt32(8), ops.OffsetGetAsUInt32(inside, 0))
ops.OffsetSetAsPointer(b16, 0, nil)
case("the pointer of a value without a block is null", "0, 0",
     b16:OffsetGetAsUInt32(0), b16:OffsetGetAsUInt32(4))

-- Operands count from the top
case("a get takes the last two arguments", "7", ops.OffsetGetAsUInt32("ignored", b16, 8))
ops.OffsetSetAsUInt32("ignored", b16, 12, 9)
case("a set takes the last three arguments", "9", b16:OffsetGetAsUInt32(12))

-- Text
local w = wide("wide 文字")
case("WString reads from the start and from an offset", "wide 文字, 文字",
     w:OffsetGetAsWString(0), w:OffsetGetAsWString(10))
local a = RawBuffer.New(8)
for i, byte in ipairs({("abc"):byte(1, 3)}) do a:OffsetSetAsUInt8(i - 1, byte) end
case("AString reads from the start and from an offset", "abc, bc, ",
     a:OffsetGetAsAString(0), a:OffsetGetAsAString(1), a:OffsetGetAsAString(8))
local fullNarrow, fullWide = RawBuffer.New(4), RawBuffer.New(4)
fullNarrow:OffsetSetAsUInt32(0, 0x64636261)
fullWide:OffsetSetAsUInt16(0, 0x61)
fullWide:OffsetSetAsUInt16(2, 0x62)
case("a text without terminator ends with its block", "abcd, ab, b",
     fullNarrow:OffsetGetAsAString(0), fullWide:OffsetGetAsWString(0), fullWide:OffsetGetAsWString(2))

-- Copying a whole block
local hi = wide("hi")
local copy = RawBuffer.New(10)
copy:OffsetSetAsUInt16(8, 0x7777)
copy:OffsetSetAsWString(2, hi)
case("OffsetSetAsWString copies the whole block", "hi, 30583",
     copy:OffsetGetAsWString(2), copy:OffsetGetAsUInt16(8))
local roomy = RawBuffer.New(12)
roomy:OffsetSetAsAString(4, a)
case("OffsetSetAsAString is the same copy", "abc", roomy:OffsetGetAsAString(4))
local narrow = RawBuffer.New(8)
narrow:OffsetSetAsAString(1, a)
case("a block that does not fit copies nothing", "0, 0",
     narrow:OffsetGetAsUInt32(0), narrow:OffsetGetAsUInt32(4))
local untouched = RawBuffer.New(8)
untouched:OffsetSetAsUInt32(0, 0x01010101)
untouched:OffsetSetAsWString(0, "plain text")
untouched:OffsetSetAsAString(0, "plain text")
untouched:OffsetSetAsWString(0, untouched:OffsetGetAsPointer(4))
untouched:OffsetSetAsWString(0, {})
case("a Lua string, a pointer or a table copies nothing", "16843009, 0",
     untouched:OffsetGetAsUInt32(0), untouched:OffsetGetAsUInt32(4))

-- Limits of a block of known size
local small = RawBuffer.New(4)
small:OffsetSetAsUInt32(2, 5)
small:OffsetSetAsUInt16(4, 5)
small:OffsetSetAsUInt8(-1, 5)
case("writes outside the block do nothing", "0", small:OffsetGetAsUInt32(0))
case("reads outside the block give nil", "nil, nil, nil, nil, nil",
     small:OffsetGetAsUInt32(1), small:OffsetGetAsUInt8(4), small:OffsetGetAsInt16(-2),
     small:OffsetGetAsWString(5), small:OffsetGetAsBoolean(2))

-- Buffers without a block
ops.OffsetSetAsUInt32(nil, 0, 1)
ops.OffsetSetAsUInt32(0, 1)
case("a buffer without a block reads nil", "nil, nil, nil, nil",
     ops.OffsetGetAsUInt32(nil, 0), ops.OffsetGetAsWString(nil, 0), ops.OffsetGetAsAString({}, 0),
     ops.OffsetGetAsUInt32(b16))
case("a get with no operands reads nothing", "nil", ops.OffsetGetAsInt32())

print("done")
