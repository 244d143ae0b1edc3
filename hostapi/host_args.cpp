#include "hostapi/host_args.h"

#include "base/debug_line.h"
#include "base/text.h"
#include "script/nebscript_engine.h"

namespace {

// What a callback answers when its call failed outside the error handler
// (out of memory): the same as "stop".
constexpr int kFailedCallbackAnswer = 2;

}  // namespace

std::wstring ArgText(lua_State* L, int index) {
  const int type = lua_type(L, index);
  if (type != LUA_TSTRING && type != LUA_TNUMBER) return {};
  // Converting a copy leaves a number argument a number for later readers.
  lua_pushvalue(L, index);
  size_t length = 0;
  const char* text = lua_tolstring(L, -1, &length);
  std::wstring result = Utf8ToWide({text, length});
  lua_pop(L, 1);
  return result;
}

int32_t ArgNumber(lua_State* L, int index) {
  int isNumber = 0;
  const lua_Unsigned value = lua_tounsignedx(L, index, &isNumber);
  return isNumber ? static_cast<int32_t>(static_cast<uint32_t>(value)) : 0;
}

bool ArgFlag(lua_State* L, int index) { return lua_toboolean(L, index) != 0; }

int ArgFromTop(lua_State* L, int fromTop) {
  const int top = lua_gettop(L);
  return fromTop <= top ? top - fromTop + 1 : top + 1;
}

void PushText(lua_State* L, const std::wstring& text) {
  const std::string utf8 = WideToUtf8(text);
  lua_pushlstring(L, utf8.data(), utf8.size());
}

void PushUnsigned(lua_State* L, uint32_t value) { lua_pushnumber(L, static_cast<lua_Number>(value)); }

void ReportMissingPath(const wchar_t* function, const std::wstring& path) {
  DebugLine(L"Fun:%ls, Description:%ls it's not exists!\r\n", function, path.c_str());
}

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
  const int status = NEBScriptEngine::Instance().SafeCall(code ? 2 : 1, 1);
  int answer = 0;
  if (status == LUA_OK) {
    answer = static_cast<int>(lua_tointeger(L, -1));
  } else {
    const char* message = lua_tostring(L, -1);
    DebugLine(L"%ls\r\n", Utf8ToWide(message ? message : "").c_str());
    answer = kFailedCallbackAnswer;
  }
  lua_settop(L, top);
  return answer;
}
