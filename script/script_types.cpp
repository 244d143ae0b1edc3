#include "script/script_types.h"

#include "script/dll_manager.h"
#include "script/raw_buffer.h"

const std::vector<luaL_Reg>& ScriptTypeModules() {
  static const std::vector<luaL_Reg> modules = {
      {"RawBuffer", OpenRawBuffer},
      {"DllManager", OpenDllManager},
  };
  return modules;
}
