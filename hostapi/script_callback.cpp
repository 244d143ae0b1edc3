#include "hostapi/script_callback.h"

#include "base/debug_line.h"
#include "base/text.h"
#include "script/script_error.h"
#include "script/script_numbers.h"
#include "script/script_values.h"

namespace {

// What a callback answers when its call failed outside the error handler
// (out of memory): the same as "stop".
constexpr int kFailedCallbackAnswer = 2;

}  // namespace

ScriptCallback::ScriptCallback(lua_State* L, int index) : state_(L) {
  if (lua_type(L, index) != LUA_TFUNCTION) return;
  lua_pushvalue(L, index);
  reference_ = luaL_ref(L, LUA_REGISTRYINDEX);
}

ScriptCallback::~ScriptCallback() {
  if (Valid()) luaL_unref(state_, LUA_REGISTRYINDEX, reference_);
}

void ScriptCallback::Call(const std::wstring& path) { Invoke(path, nullptr); }

int ScriptCallback::Call(const std::wstring& path, uint32_t code) { return Invoke(path, &code); }

int ScriptCallback::Invoke(const std::wstring& path, const uint32_t* code) {
  lua_State* L = state_;
  const int top = lua_gettop(L);
  lua_rawgeti(L, LUA_REGISTRYINDEX, reference_);
  PushText(L, path);
  if (code) PushUnsigned(L, *code);
  const int status = CallWithScriptErrorHandler(L, code ? 2 : 1, 1);
  int answer = 0;
  if (status == LUA_OK) {
    answer = ScriptInteger32(L, -1);
  } else {
    const char* message = lua_tostring(L, -1);
    DebugLine(L"%ls\r\n", Utf8ToWide(message ? message : "").c_str());
    answer = kFailedCallbackAnswer;
  }
  lua_settop(L, top);
  return answer;
}
