#include "script/dll_manager.h"

namespace {

struct DllManagerBlock {
  HMODULE module;
};

}  // namespace

int OpenDllManager(lua_State* L) {
  luaL_newmetatable(L, kDllManagerMetaTable);
  lua_pushvalue(L, -1);
  lua_setfield(L, -2, "__index");
  lua_pop(L, 1);
  lua_newtable(L);
  return 1;
}

void PushDllManager(lua_State* L, HMODULE module) {
  auto* block = static_cast<DllManagerBlock*>(lua_newuserdata(L, sizeof(DllManagerBlock)));
  block->module = module;
  luaL_setmetatable(L, kDllManagerMetaTable);
}
