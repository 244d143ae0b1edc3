-- Shared by the bridge test scripts. Each case prints one line, "ok <name>"
-- or "FAIL <name>: expected <text> got <text>", comparing the text of all
-- the values it is given, joined by ", ".

local function show(...)
  local parts = {}
  for i = 1, select("#", ...) do
    parts[#parts + 1] = tostring((select(i, ...)))
  end
  return table.concat(parts, ", ")
end

function case(name, expected, ...)
  local got = show(...)
  if got == expected then
    print("ok " .. name)
  else
    print("FAIL " .. name .. ": expected " .. expected .. " got " .. got)
  end
end

-- The bytes of a machine word (and of a pointer) of the program: the size_t
-- width in the header of the chunks its Lua writes.
WORD_BYTES = string.dump(function() end):byte(9)

-- The address a light or full userdata stands for, as a number.
function address(value)
  local digits = tostring(value):match("^userdata: 0?x?(%x+)$")
  return tonumber(digits, 16)
end

-- A RawBuffer holding the UTF-16 form of a UTF-8 text (characters of the
-- basic plane), NUL-terminated, and the number of its units.
function wide(text)
  local units = {}
  for ch in text:gmatch("[\0-\x7F\xC2-\xEF][\x80-\xBF]*") do
    local b1, b2, b3 = ch:byte(1, 3)
    if #ch == 1 then
      units[#units + 1] = b1
    elseif #ch == 2 then
      units[#units + 1] = (b1 % 0x20) * 0x40 + b2 % 0x40
    else
      units[#units + 1] = (b1 % 0x10) * 0x1000 + (b2 % 0x40) * 0x40 + b3 % 0x40
    end
  end
  local buffer = RawBuffer.New(2 * #units + 2)
  for i, unit in ipairs(units) do
    buffer:OffsetSetAsUInt16(2 * (i - 1), unit)
  end
  return buffer, #units
end

-- The offset operations, for buffers that are not RawBuffer values.
ops = debug.getregistry().RawBufferMetaTable
