// The host functions as the installer opens them in its engine.
#include "hostapi/host_functions.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <optional>
#include <string>

#include "script/nebscript_engine.h"
#include "script/script_error.h"
#include "script/script_globals.h"
#include "tests/unit/locked_engine_test.h"

namespace {

class HostFunctionsTest : public LockedEngineTest {
 protected:
  void OpenLibraries() override { NEBScriptEngine::Instance().OpenLibraries({RegisterHostFunctions}); }
};

TEST_F(HostFunctionsTest, AllHostFunctionsAreGlobalCFunctions) {
  ASSERT_TRUE(Run(R"(
    local names = {
      "UnCompress7z", "RegSvr32", "RegistDll", "RegQuery", "RegAdd", "RegDel", "CreateShortcut",
      "CreateDirectory", "CopyFile", "CefRegister", "MoveFile", "RenameFile", "DeleteFile",
      "DeleteFileEx", "Exec", "ExplorerExec", "TaskKill", "SCM", "RegVarByCSIDL", "ExtractResource",
      "GetOSVersion", "GetFileVersion", "Logout", "MsgBox", "DelFileRecursive",
      "DelFileRecursiveEx", "DeleteFileAfterReboot", "IsWow64", "GetProcessId", "ExitWindows",
      "GetModuleFileName", "GetCommandLineArgv", "EnablePrivilege", "GetTempFileName",
      "GetTempPath", "ExpandEnv", "GetImagePathByPid", "GetDriverInstallPath",
      "KillAllTaskByName", "PathFileExists", "PathYetAnotherMakeUniqueName", "ShellExec"}
    local registered = 0
    for name, value in pairs(_G) do
      if type(name) == "string" and name:sub(1, 4) == "Lua_" then registered = registered + 1 end
    end
    assert(registered == #names, "host functions registered: " .. registered)
    for _, name in ipairs(names) do
      local f = _G["Lua_" .. name]
      assert(type(f) == "function" and debug.getinfo(f, "S").what == "C", name)
    end
    assert(Lua_HttpPost == nil)
  )"));
}

TEST_F(HostFunctionsTest, HostCallbacksRunOnTheCoroutineThatCalledTheHostFunction) {
  wchar_t temp[MAX_PATH] = {};
  ASSERT_NE(GetTempPathW(MAX_PATH, temp), 0u);
  const std::wstring folder = std::wstring(temp) + L"neb-coroutine-callback";
  CreateDirectoryW(folder.c_str(), nullptr);
  const std::wstring locked = folder + L"\\locked.txt";
  // Held without delete sharing: the deletion reports it to the callback.
  const HANDLE holder = CreateFileW(locked.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                    CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(holder, INVALID_HANDLE_VALUE);
  SetGlobalText(L, "g_locked_file", locked);
  const bool ran = Run(R"(
    local worker = coroutine.create(function(path)
      local before = 1
      Lua_DelFileRecursiveEx(path, function(reported, code)
        callback_thread = coroutine.running()
        callback_report = reported .. " " .. code
        return 0
      end)
      return "finished", before
    end)
    local ok, result, local_value = coroutine.resume(worker, g_locked_file)
    assert(ok, result)
    assert(result == "finished" and local_value == 1, tostring(result))
    assert(callback_thread == worker, "the callback ran on another stack")
  )");
  CloseHandle(holder);
  DeleteFileW(locked.c_str());
  RemoveDirectoryW(folder.c_str());
  ASSERT_TRUE(ran);
  EXPECT_EQ(GetGlobalText(L, "callback_report"), locked + L" 32");
}

}  // namespace
