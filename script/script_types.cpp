#include "script/script_types.h"

#include "script/dll_manager.h"

const std::vector<luaL_Reg>& ScriptTypeModules() {
  static const std::vector<luaL_Reg> modules = {
      {"DllManager", OpenDllManager},
  };
  return modules;
}
