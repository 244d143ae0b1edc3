// nebscript FILE [ARGS...]: runs a Lua file (source or compiled chunk) in an
// engine set up exactly as the installer's, for people who write install
// scripts. A script error's report goes to standard error; the exit code is
// 0 when the chunk ran without error, 1 otherwise.
#include <windows.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include "base/text.h"
#include "hostapi/host_functions.h"
#include "script/nebscript_engine.h"
#include "script/script_error.h"

namespace {

constexpr int kScriptFailed = 1;

void WriteError(const std::string& utf8) {
  std::fwrite(utf8.data(), 1, utf8.size(), stderr);
  std::fflush(stderr);
}

[[noreturn]] void PrintReportAndExit(const std::wstring& report) {
  WriteError(WideToUtf8(report) + "\n");
  std::fflush(stdout);
  ExitProcess(kScriptFailed);
}

// The global `arg` as the standalone interpreter sets it: [0] the file,
// [1].. the arguments.
void SetArg(lua_State* L, int argc, wchar_t** argv) {
  lua_createtable(L, argc - 2, 1);
  for (int i = 1; i < argc; ++i) {
    const std::string value = WideToUtf8(argv[i]);
    lua_pushlstring(L, value.data(), value.size());
    lua_rawseti(L, -2, i - 1);
  }
  lua_setglobal(L, "arg");
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) {
    WriteError("usage: nebscript FILE [ARGS...]\n");
    return kScriptFailed;
  }
  SetScriptErrorPresenter(PrintReportAndExit);

  std::ifstream file(argv[1], std::ios::binary);
  if (!file) {
    WriteError("nebscript: cannot open " + WideToUtf8(argv[1]) + "\n");
    return kScriptFailed;
  }
  const std::string chunk((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());

  NEBScriptEngine& engine = NEBScriptEngine::Instance();
  engine.OpenLibraries({RegisterHostFunctions});
  const NEBScriptEngine::Access access = engine.Lock();
  lua_State* L = access.State();
  SetArg(L, argc, argv);

  const std::string chunkName = "@" + WideToUtf8(argv[1]);
  if (luaL_loadbuffer(L, chunk.data(), chunk.size(), chunkName.c_str()) != LUA_OK) {
    WriteError(std::string(lua_tostring(L, -1)) + "\n");
    return kScriptFailed;
  }
  const int status = engine.SafeCall(0, 0);
  std::fflush(stdout);
  return status == LUA_OK ? 0 : kScriptFailed;
}
