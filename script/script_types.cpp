#include "script/script_types.h"

#include "script/dll_manager.h"
#include "script/string_types.h"

const std::vector<luaL_Reg>& ScriptTypeModules() {
  static const std::vector<luaL_Reg> modules = {
      {"AString", OpenAString},
      {"WString", OpenWString},
      {"DllManager", OpenDllManager},
  };
  return modules;
}
