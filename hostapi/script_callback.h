// A script function handed to a host function, held in the registry for the
// length of the host call and released when it ends.
#pragma once

#include <cstdint>
#include <string>

#include "script/lua.h"

class ScriptCallback {
 public:
  // Takes the value at `index` only when it is a function. The callback
  // runs on L, the stack of the script that called the host function (a
  // coroutine's stack when it was called from one).
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
