#include "script/dll_manager.h"

#include <algorithm>
#include <string>

#include "base/debug_line.h"
#include "base/system_library.h"
#include "base/text.h"
#include "script/native_call.h"
#include "script/type_metatable.h"

namespace {

constexpr char kNoModuleResult[] = "hModule is nil";
constexpr wchar_t kNoModuleLine[] = L"if (nullptr == phMod)";
constexpr wchar_t kNoExportLine[] = L"if (nullptr == pfn)";
constexpr wchar_t kFreeLibraryFailed[] = L"FreeLibrary failed.";

// The block starts with the handle, so native code handed the value's block
// address finds the handle there.
struct DllManagerBlock {
  HMODULE module;
  // After UnLoad the handle is kept but may name nothing, or by now another
  // library: it is neither freed again nor used to bind exports.
  bool unloaded;
};

DllManagerBlock* ToDllManager(lua_State* L, int index) {
  return static_cast<DllManagerBlock*>(luaL_testudata(L, index, kDllManagerMetaTable));
}

// Load(name): the name is the last argument.
int Load(lua_State* L) {
  std::wstring name;
  const int type = lua_gettop(L) > 0 ? lua_type(L, -1) : LUA_TNONE;
  if (type == LUA_TSTRING || type == LUA_TNUMBER) {
    size_t length = 0;
    const char* text = lua_tolstring(L, -1, &length);
    name = Utf8ToWide({text, length});
  }
  const HMODULE module = LoadNamedLibrary(name);
  if (!module) {
    const DWORD error = GetLastError();
    lua_pushnil(L);
    lua_pushunsigned(L, error);
    return 2;
  }
  PushDllManager(L, module);
  return 1;
}

// UnLoad(): frees the library of the value that is the last argument.
int UnLoad(lua_State* L) {
  DllManagerBlock* block = lua_gettop(L) > 0 ? ToDllManager(L, -1) : nullptr;
  if (block && !block->unloaded) {
    block->unloaded = true;
    if (!FreeLibrary(block->module)) TraceLastError(kFreeLibraryFailed);
  }
  lua_pushnil(L);
  return 1;
}

// Get(name, kind, cdecl): with more than four arguments the last two are the
// kind and the flag.
int Get(lua_State* L) {
  const int count = lua_gettop(L);
  const DllManagerBlock* block = ToDllManager(L, 1);
  if (!block || block->unloaded) {
    DebugLine(kNoModuleLine);
    lua_pushnil(L);
    lua_pushstring(L, kNoModuleResult);
    return 2;
  }
  const char* name = lua_tostring(L, 2);
  const FARPROC address = GetProcAddress(block->module, name ? name : "");
  if (!address) {
    const DWORD error = GetLastError();
    DebugLine(kNoExportLine);
    lua_pushnil(L);
    lua_pushunsigned(L, error);
    return 2;
  }
  lua_settop(L, std::max(count, 4));  // absent kind and flag read as nil
  const int kindIndex = count > 4 ? count - 1 : 3;
  lua_pushvalue(L, kindIndex);
  lua_pushvalue(L, kindIndex + 1);
  PushNativeCall(L, reinterpret_cast<void*>(address));
  lua_pushinteger(L, 0);
  return 2;
}

const luaL_Reg kMethods[] = {
    {"UnLoad", UnLoad},
    {"Get", Get},
    {nullptr, nullptr},
};

const luaL_Reg kModuleFunctions[] = {
    {"Load", Load},
    {nullptr, nullptr},
};

}  // namespace

int OpenDllManager(lua_State* L) {
  PushTypeMetatable(L, kDllManagerMetaTable, kMethods);
  lua_pop(L, 1);
  luaL_newlib(L, kModuleFunctions);
  return 1;
}

void PushDllManager(lua_State* L, HMODULE module) {
  auto* block = static_cast<DllManagerBlock*>(lua_newuserdata(L, sizeof(DllManagerBlock)));
  block->module = module;
  block->unloaded = false;
  luaL_setmetatable(L, kDllManagerMetaTable);
}
