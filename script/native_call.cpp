#include "script/native_call.h"

#include <windows.h>

#include <cstdint>
#include <string_view>
#include <vector>

#include "script/call_words.h"
#include "script/native_text.h"
#include "script/script_numbers.h"

namespace {

constexpr char kUnknownArgumentType[] = "unknow argument type";
constexpr char kTooManyArguments[] = "too many arguments";

// Far more than any system function takes, and few enough that the words
// fill less than one page of stack: the thunk moves the stack pointer
// without touching the pages in between, which must not skip the guard page
// that grows the stack.
constexpr int kMaxArguments = 256;

// Upvalues, in order: the result kind, the cdecl flag, the address. The flag
// describes the binding; the call needs no help from it, because the thunk
// restores the stack pointer itself after either convention (call_words.h).
constexpr int kKindUpvalue = 1;
constexpr int kAddressUpvalue = 3;

// The word a script value becomes. Strings pass their own bytes, which stay
// alive on the stack for the whole call; userdata pass their block.
std::uintptr_t ArgumentWord(lua_State* L, int index) {
  switch (lua_type(L, index)) {
    case LUA_TNIL:
      return 0;
    case LUA_TBOOLEAN:
      return lua_toboolean(L, index) ? 1 : 0;
    case LUA_TNUMBER:
      return static_cast<std::uintptr_t>(ScriptInteger(L, index));
    case LUA_TSTRING:
      return reinterpret_cast<std::uintptr_t>(lua_tostring(L, index));
    case LUA_TLIGHTUSERDATA:
    case LUA_TUSERDATA:
      return reinterpret_cast<std::uintptr_t>(lua_touserdata(L, index));
    default:
      luaL_error(L, kUnknownArgumentType);
      return 0;  // not reached: the error unwinds
  }
}

std::string_view KindOf(lua_State* L) {
  const int type = lua_type(L, lua_upvalueindex(kKindUpvalue));
  if (type != LUA_TSTRING && type != LUA_TNUMBER) return {};
  lua_pushvalue(L, lua_upvalueindex(kKindUpvalue));  // a number is turned into text on the copy
  size_t length = 0;
  const char* kind = lua_tolstring(L, -1, &length);
  lua_pop(L, 1);  // the upvalue still holds the text
  return {kind, length};
}

// Values of the kinds are 32-bit words; only the addresses ("astr", "wstr",
// "ptr") use the whole machine word, which on x86-64 is wider.
void PushResult(lua_State* L, std::uintptr_t word) {
  const auto low = static_cast<std::uint32_t>(word);
  const std::string_view kind = KindOf(L);
  if (kind == "int") {
    lua_pushinteger(L, static_cast<std::int32_t>(low));
  } else if (kind == "uint") {
    lua_pushunsigned(L, low);
  } else if (kind == "bool") {
    lua_pushboolean(L, low != 0);
  } else if (kind == "astr") {
    const std::string text = AnsiTextAt(reinterpret_cast<const char*>(word));
    lua_pushlstring(L, text.data(), text.size());
  } else if (kind == "wstr") {
    const std::string text = WideTextAt(reinterpret_cast<const wchar_t*>(word));
    lua_pushlstring(L, text.data(), text.size());
  } else if (kind == "ptr") {
    lua_pushlightuserdata(L, reinterpret_cast<void*>(word));
  } else {
    lua_pushnil(L);
  }
}

int CallNative(lua_State* L) {
  const int count = lua_gettop(L);
  if (count > kMaxArguments) return luaL_error(L, kTooManyArguments);
  std::vector<std::uintptr_t> words(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) words[static_cast<size_t>(i)] = ArgumentWord(L, i + 1);

  const void* function = lua_touserdata(L, lua_upvalueindex(kAddressUpvalue));
  const std::uintptr_t result = CallWithWords(function, words.data(), words.size());
  const DWORD error = GetLastError();  // before anything else can change it

  PushResult(L, result);
  lua_pushunsigned(L, error);
  return 2;
}

}  // namespace

void PushNativeCall(lua_State* L, void* address) {
  lua_pushlightuserdata(L, address);
  lua_pushcclosure(L, CallNative, 3);
}
