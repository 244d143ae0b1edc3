// How every host function reads its arguments and hands back results. No
// host function raises a script error for a bad argument: a value of the
// wrong kind reads as the empty text, 0 or false.
#pragma once

#include <cstdint>
#include <string>

#include "script/lua.h"

// A string as it is, a number as its decimal text, anything else (nil,
// booleans, tables, userdata such as WString) as the empty text.
std::wstring ArgText(lua_State* L, int index);

// A number, or a string holding one, as a 32-bit value (modulo 2^32, so -1
// and 4294967295 give the same bits on every build); anything else 0.
int32_t ArgNumber(lua_State* L, int index);
inline uint32_t ArgUnsigned(lua_State* L, int index) { return static_cast<uint32_t>(ArgNumber(L, index)); }

// False only for nil and false (and a missing argument).
bool ArgFlag(lua_State* L, int index);

// The absolute index of the argument `fromTop` places below the top (1 is
// the last argument); an index past the arguments (reading as nil) when
// there are fewer.
int ArgFromTop(lua_State* L, int fromTop);

void PushText(lua_State* L, const std::wstring& text);
// A 32-bit unsigned value (a registry number, an error code) as its
// non-negative value.
void PushUnsigned(lua_State* L, uint32_t value);

// The line host functions write when a path they need does not exist:
// "Fun:<function>, Description:<path> it's not exists!".
void ReportMissingPath(const wchar_t* function, const std::wstring& path);

// A script function handed to a host function, held in the registry for the
// length of the host call and released when it ends.
class ScriptCallback {
 public:
  // Takes the value at `index` only when it is a function.
  ScriptCallback(lua_State* L, int index);
  ~ScriptCallback();
  ScriptCallback(const ScriptCallback&) = delete;
  ScriptCallback& operator=(const ScriptCallback&) = delete;

  bool Valid() const { return reference_ != LUA_NOREF; }

  // callback(path)
  void Call(const std::wstring& path);
  // callback(path, code): the answer read as an integer; 2 when the call
  // failed without the error handler ending the process.
  int Call(const std::wstring& path, uint32_t code);

 private:
  int Invoke(const std::wstring& path, const uint32_t* code);

  lua_State* state_;
  int reference_ = LUA_NOREF;
};
