#include "script/raw_buffer.h"

#include <cstdint>
#include <cstring>
#include <string>
#include <type_traits>

#include "script/native_text.h"
#include "script/script_numbers.h"
#include "script/type_metatable.h"

// Every offset operation takes its operands from the top of the stack: a get
// finds the buffer just below the offset, a set finds buffer, offset and value
// in that order. The buffer is any value with a block: a RawBuffer or other
// full userdata, or a pointer (light userdata) from a native function or from
// OffsetGetAsPointer.
//
// The checks below are the ones that can be made without knowing what a
// pointer points to: a buffer with no block is never read or written, and
// within a full userdata, whose size is known, nothing is read or written
// outside the block. A light userdata is taken as the script's word.

namespace {

struct Block {
  unsigned char* address;
  std::size_t size;
  bool sized;  // a full userdata: its size is known
};

Block BlockAt(lua_State* L, int index) {
  auto* address = static_cast<unsigned char*>(lua_touserdata(L, index));
  if (lua_type(L, index) == LUA_TUSERDATA) return {address, lua_rawlen(L, index), true};
  return {address, 0, false};
}

unsigned char* Offset(unsigned char* address, lua_Integer offset) {
  return reinterpret_cast<unsigned char*>(reinterpret_cast<std::uintptr_t>(address) +
                                          static_cast<std::uintptr_t>(offset));
}

// The address of `width` bytes at `offset` into the block, or null when they
// may not be touched.
unsigned char* Locate(const Block& block, lua_Integer offset, std::size_t width) {
  if (!block.address) return nullptr;
  if (block.sized) {
    if (offset < 0 || static_cast<std::size_t>(offset) > block.size) return nullptr;
    if (width > block.size - static_cast<std::size_t>(offset)) return nullptr;
  }
  return Offset(block.address, offset);
}

// Missing operands count as nil below the ones given, so that the given ones
// keep their places counted from the top.
void PadOperands(lua_State* L, int operands) {
  while (lua_gettop(L) < operands) {
    lua_pushnil(L);
    lua_insert(L, 1);
  }
}

struct Target {
  Block block;
  lua_Integer offset;
};

// A get: (buffer, offset) at the top.
Target GetOperands(lua_State* L) {
  PadOperands(L, 2);
  return {BlockAt(L, -2), static_cast<lua_Integer>(ScriptInteger(L, -1))};
}

// A set: (buffer, offset, value) at the top; the value stays at the top.
Target SetOperands(lua_State* L) {
  PadOperands(L, 3);
  return {BlockAt(L, -3), static_cast<lua_Integer>(ScriptInteger(L, -2))};
}

template <typename T>
int GetNumber(lua_State* L) {
  const Target target = GetOperands(L);
  const unsigned char* at = Locate(target.block, target.offset, sizeof(T));
  if (!at) {
    lua_pushnil(L);
    return 1;
  }
  T value;
  std::memcpy(&value, at, sizeof value);
  lua_pushnumber(L, static_cast<lua_Number>(value));
  return 1;
}

// Signed and unsigned setters store the same low bytes: the library's
// unsigned conversion is modular, so -1 and 4294967295 both store all ones.
template <typename T>
int SetNumber(lua_State* L) {
  const Target target = SetOperands(L);
  unsigned char* at = Locate(target.block, target.offset, sizeof(T));
  if (!at) return 0;
  const auto value = static_cast<std::make_unsigned_t<T>>(lua_tounsigned(L, -1));
  std::memcpy(at, &value, sizeof value);
  return 0;
}

int OffsetGetAsBoolean(lua_State* L) {
  const Target target = GetOperands(L);
  const unsigned char* at = Locate(target.block, target.offset, sizeof(std::uint32_t));
  if (!at) {
    lua_pushnil(L);
    return 1;
  }
  std::uint32_t value;
  std::memcpy(&value, at, sizeof value);
  lua_pushboolean(L, value != 0);
  return 1;
}

int OffsetSetAsBoolean(lua_State* L) {
  const Target target = SetOperands(L);
  unsigned char* at = Locate(target.block, target.offset, sizeof(std::uint32_t));
  if (!at) return 0;
  const std::uint32_t value = lua_toboolean(L, -1) ? 1 : 0;
  std::memcpy(at, &value, sizeof value);
  return 0;
}

// Reads nothing: the pointer is only computed.
int OffsetGetAsPointer(lua_State* L) {
  const Target target = GetOperands(L);
  lua_pushlightuserdata(L, Offset(target.block.address, target.offset));
  return 1;
}

int OffsetSetAsPointer(lua_State* L) {
  const Target target = SetOperands(L);
  unsigned char* at = Locate(target.block, target.offset, sizeof(void*));
  if (!at) return 0;
  const void* value = lua_touserdata(L, -1);
  std::memcpy(at, &value, sizeof value);
  return 0;
}

// The text may end at the block's end at the latest.
std::size_t TextLimit(const Target& target, std::size_t unit) {
  if (!target.block.sized) return kNoTextLimit;
  return (target.block.size - static_cast<std::size_t>(target.offset)) / unit;
}

int OffsetGetAsWString(lua_State* L) {
  const Target target = GetOperands(L);
  const unsigned char* at = Locate(target.block, target.offset, 0);
  if (!at) {
    lua_pushnil(L);
    return 1;
  }
  const std::string text =
      WideTextAt(reinterpret_cast<const wchar_t*>(at), TextLimit(target, sizeof(wchar_t)));
  lua_pushlstring(L, text.data(), text.size());
  return 1;
}

int OffsetGetAsAString(lua_State* L) {
  const Target target = GetOperands(L);
  const unsigned char* at = Locate(target.block, target.offset, 0);
  if (!at) {
    lua_pushnil(L);
    return 1;
  }
  const std::string text = AnsiTextAt(reinterpret_cast<const char*>(at), TextLimit(target, 1));
  lua_pushlstring(L, text.data(), text.size());
  return 1;
}

// OffsetSetAsWString and OffsetSetAsAString: copies the whole block of a full
// userdata (a WString, an AString, a RawBuffer), terminator and spare room
// included. Anything else has no block of known size and copies nothing; a
// plain Lua string in particular is not guessed into either encoding.
int OffsetSetAsBlock(lua_State* L) {
  const Target target = SetOperands(L);
  if (lua_type(L, -1) != LUA_TUSERDATA) return 0;
  const std::size_t size = lua_rawlen(L, -1);
  unsigned char* at = Locate(target.block, target.offset, size);
  if (!at) return 0;
  std::memmove(at, lua_touserdata(L, -1), size);
  return 0;
}

int New(lua_State* L) {
  const lua_Unsigned size = lua_tounsigned(L, 1);
  if (size == 0) {
    lua_pushnil(L);
    return 1;
  }
  void* block = lua_newuserdata(L, size);
  std::memset(block, 0, size);
  luaL_setmetatable(L, kRawBufferMetaTable);
  return 1;
}

const luaL_Reg kMethods[] = {
    {"OffsetGetAsInt32", GetNumber<std::int32_t>},
    {"OffsetGetAsUInt32", GetNumber<std::uint32_t>},
    {"OffsetGetAsInt16", GetNumber<std::int16_t>},
    {"OffsetGetAsUInt16", GetNumber<std::uint16_t>},
    {"OffsetGetAsInt8", GetNumber<std::int8_t>},
    {"OffsetGetAsUInt8", GetNumber<std::uint8_t>},
    {"OffsetGetAsBoolean", OffsetGetAsBoolean},
    {"OffsetGetAsPointer", OffsetGetAsPointer},
    {"OffsetGetAsWString", OffsetGetAsWString},
    {"OffsetGetAsAString", OffsetGetAsAString},
    {"OffsetSetAsInt32", SetNumber<std::int32_t>},
    {"OffsetSetAsUInt32", SetNumber<std::uint32_t>},
    {"OffsetSetAsInt16", SetNumber<std::int16_t>},
    {"OffsetSetAsUInt16", SetNumber<std::uint16_t>},
    {"OffsetSetAsInt8", SetNumber<std::int8_t>},
    {"OffsetSetAsUInt8", SetNumber<std::uint8_t>},
    {"OffsetSetAsBoolean", OffsetSetAsBoolean},
    {"OffsetSetAsPointer", OffsetSetAsPointer},
    {"OffsetSetAsWString", OffsetSetAsBlock},
    {"OffsetSetAsAString", OffsetSetAsBlock},
    {nullptr, nullptr},
};

const luaL_Reg kModuleFunctions[] = {
    {"New", New},
    {nullptr, nullptr},
};

}  // namespace

int OpenRawBuffer(lua_State* L) {
  PushTypeMetatable(L, kRawBufferMetaTable, kMethods);
  lua_pop(L, 1);
  luaL_newlib(L, kModuleFunctions);
  return 1;
}
