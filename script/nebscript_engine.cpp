#include "script/nebscript_engine.h"

#include <windows.h>

#include <vector>

#include "base/debug_line.h"
#include "base/module_resource.h"
#include "base/text.h"
#include "script/glib_tab.h"
#include "script/script_error.h"
#include "script/script_types.h"

namespace {

const luaL_Reg kStandardLibraries[] = {
    {"_G", luaopen_base},           {LUA_LOADLIBNAME, luaopen_package},
    {LUA_COLIBNAME, luaopen_coroutine}, {LUA_TABLIBNAME, luaopen_table},
    {LUA_IOLIBNAME, luaopen_io},    {LUA_OSLIBNAME, luaopen_os},
    {LUA_STRLIBNAME, luaopen_string}, {LUA_BITLIBNAME, luaopen_bit32},
    {LUA_MATHLIBNAME, luaopen_math}, {LUA_DBLIBNAME, luaopen_debug},
};

void RequireAll(lua_State* L, const luaL_Reg* libraries, size_t count) {
  for (size_t i = 0; i < count; ++i) {
    luaL_requiref(L, libraries[i].name, libraries[i].func, 1);
    lua_pop(L, 1);
  }
}

// `require` finds modules only among those already loaded or preloaded: the
// library's default templates name the current folder and the program's own
// folder, which anybody may write to when the program runs from a downloads
// folder.
void ConfineRequire(lua_State* L) {
  lua_getglobal(L, LUA_LOADLIBNAME);
  for (const char* field : {"path", "cpath"}) {
    lua_pushliteral(L, "");
    lua_setfield(L, -2, field);
  }
  lua_pop(L, 1);
}

// FireEvent(name): calls the global function `name` when it is one.
int FireEvent(lua_State* L) {
  lua_getglobal(L, static_cast<const char*>(lua_touserdata(L, 1)));
  if (lua_type(L, -1) == LUA_TFUNCTION) lua_call(L, 0, 0);
  return 0;
}

}  // namespace

NEBScriptEngine& NEBScriptEngine::Instance() {
  static NEBScriptEngine engine;
  return engine;
}

NEBScriptEngine::NEBScriptEngine() {
  lua_State* L = luaL_newstate();
  if (!L) throw CreationError(E_FAIL);
  state_ = L;
  lua_atpanic(L, OnUnprotectedError);

  RequireAll(L, kStandardLibraries, sizeof kStandardLibraries / sizeof kStandardLibraries[0]);
  luaL_getsubtable(L, LUA_REGISTRYINDEX, "_PRELOAD");
  lua_pop(L, 1);
  ConfineRequire(L);

  const std::vector<luaL_Reg>& types = ScriptTypeModules();
  RequireAll(L, types.data(), types.size());
  OpenGLibTab(L);
}

void NEBScriptEngine::OpenLibraries(std::initializer_list<ScriptLibraryOpener> libraries) {
  const Access access = Lock();
  for (const ScriptLibraryOpener open : libraries) open(access.State());
}

NEBScriptEngine::Access NEBScriptEngine::Lock() {
  return Access(std::unique_lock<std::recursive_mutex>(lock_), state_);
}

std::optional<NEBScriptEngine::Access> NEBScriptEngine::TryLock() {
  std::unique_lock<std::recursive_mutex> hold(lock_, std::try_to_lock);
  if (!hold.owns_lock()) return std::nullopt;
  return Access(std::move(hold), state_);
}

NEBScriptEngine::~NEBScriptEngine() {
  lua_close(state_);
  state_ = nullptr;
}

bool NEBScriptEngine::DoResLua(const wchar_t* type, const wchar_t* name) {
  ResourceView chunk;
  switch (FindModuleResource(type, name, chunk)) {
    case ResourceStatus::kNotLoadable:
      DebugLine(L"LoadResource failed. Type : %ls ID : %ls\r\n", type, name);
      TraceLastError(L"");
      return false;
    case ResourceStatus::kNotLockable:
      TraceLastError(L"LockResource failed.");
      return false;
    case ResourceStatus::kEmpty:
      DebugLine(L"ResSize == 0\r\n");
      return false;
    case ResourceStatus::kFound:
      break;
  }
  const std::string chunkName = WideToAnsi(name);
  return DoBufferLua(reinterpret_cast<const char*>(chunk.data), chunk.size, chunkName.c_str());
}

bool NEBScriptEngine::DoBufferLua(const char* data, size_t size, const char* chunkName) {
  const Access access = Lock();
  lua_State* L = access.State();
  if (luaL_loadbuffer(L, data, size, chunkName) != LUA_OK) {
    const std::wstring message = Utf8ToWide(lua_tostring(L, -1) ? lua_tostring(L, -1) : "");
    lua_pop(L, 1);
    DebugLine(L"%ls\r\n", message.c_str());
    DebugLine(L"luaL_loadbuffer failed!\r\n");
    return false;
  }
  if (CallWithScriptErrorHandler(L, 0, 0) != LUA_OK) {
    lua_pop(L, 1);  // only reached when the handler could not run (out of memory)
    return false;
  }
  return true;
}

int NEBScriptEngine::SafeCall(int nargs, int nresults) {
  const Access access = Lock();
  return CallWithScriptErrorHandler(access.State(), nargs, nresults);
}

void CallScriptEvent(const char* name) {
  // Looking the event up runs script code too (a metatable on _G).
  const NEBScriptEngine::Access engine = NEBScriptEngine::Instance().Lock();
  RunProtected(engine.State(), FireEvent, const_cast<char*>(name), 0);
}
