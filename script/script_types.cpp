#include "script/script_types.h"

#include "script/dll_manager.h"
#include "script/raw_buffer.h"
#include "script/string_types.h"

const std::vector<luaL_Reg>& ScriptTypeModules() {
  static const std::vector<luaL_Reg> modules = {
      {"AString", OpenAString},
      {"WString", OpenWString},
      {"RawBuffer", OpenRawBuffer},
      {"DllManager", OpenDllManager},
  };
  return modules;
}
