#include "app/statistics/qm_stat_module.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <future>
#include <sstream>
#include <string>
#include <vector>

#include "app/statistics/statistics.h"
#include "base/handles.h"
#include "base/module_path.h"
#include "base/path_text.h"
#include "base/text.h"
#include "tests/unit/thread_waits.h"

namespace {

constexpr wchar_t kRegistryKey[] = L"SOFTWARE\\NEBInstallerStatModuleTest";
constexpr wchar_t kDispatchHost[] = L"dispatch.example";

// A library built beside the tests (tests/helpers), by its full path.
std::wstring HelperLibrary(const wchar_t* name) {
  const std::wstring relative = PathFolder(ProgramPath()) + L"\\..\\helpers\\" + name;
  wchar_t full[MAX_PATH] = {};
  GetFullPathNameW(relative.c_str(), MAX_PATH, full, nullptr);
  return full;
}

// One call as the recording library wrote it: the line without the thread,
// and the thread.
struct Call {
  std::string line;
  DWORD thread = 0;
};

class StatModuleTest : public testing::Test {
 protected:
  void SetUp() override {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    record_ = std::wstring(temp) + L"neb_stat_record_" + std::to_wstring(GetCurrentProcessId()) + L".txt";
    hold_ = record_ + L".hold";
    DeleteFileW(record_.c_str());
    SetEnvironmentVariableW(L"NEB_STAT_RECORD", record_.c_str());
    SetEnvironmentVariableW(L"NEB_STAT_BLOCK_IN", nullptr);
    SetEnvironmentVariableW(L"NEB_STAT_INIT_RESULT", nullptr);
  }
  void TearDown() override {
    DeleteFileW(hold_.c_str());
    QMStatModule::GetInstance()->Uninit();
    DeleteFileW(record_.c_str());
  }

  std::vector<Call> Calls() const {
    std::vector<Call> calls;
    std::ifstream file(WideToAnsi(record_));
    std::string line;
    while (std::getline(file, line)) {
      if (line.rfind("loaded ", 0) == 0) continue;
      const size_t at = line.rfind(" @");
      if (at == std::string::npos) {
        calls.push_back({line, 0});
      } else {
        calls.push_back({line.substr(0, at), static_cast<DWORD>(std::stoul(line.substr(at + 2)))});
      }
    }
    return calls;
  }
  std::vector<std::string> Lines() const {
    std::vector<std::string> lines;
    for (const Call& call : Calls()) lines.push_back(call.line);
    return lines;
  }
  // Waits until the record holds `count` calls of the action export.
  bool WaitForActions(size_t count) const {
    const ULONGLONG start = GetTickCount64();
    while (GetTickCount64() - start < kPatience) {
      size_t seen = 0;
      for (const Call& call : Calls()) seen += call.line.rfind("stat_mutilaction ", 0) == 0;
      if (seen >= count) return true;
      Sleep(10);
    }
    return false;
  }

  std::wstring record_;
  std::wstring hold_;
};

TEST_F(StatModuleTest, IdentifiesTheInstallerThenReportsOnTheWorkerAndClosesInOrder) {
  const std::shared_ptr<QMStatModule> module = QMStatModule::GetInstance();
  ASSERT_TRUE(module->Init(kRegistryKey, kDispatchHost, HelperLibrary(L"stat_recorder.dll")));
  module->ReportAction(25103);
  module->ReportAction(25106);
  ASSERT_TRUE(WaitForActions(2));
  const DWORD worker = Calls().back().thread;
  const UniqueHandle workerThread(OpenThread(SYNCHRONIZE, FALSE, worker));
  module->Uninit();

  // No version record in the test program, no channel in the registry.
  EXPECT_EQ(Lines(), (std::vector<std::string>{
                         "stat_appid 145",
                         "stat_unionid 27021",
                         "stat_version_ex 1 0 0 1",
                         "stat_dispatch_addr \"dispatch.example\" 8700",
                         "stat_init",
                         "stat_mutilaction [25103] 1 0",
                         "stat_mutilaction [25106] 1 0",
                         "stat_offline",
                         "stat_close 3000",
                         "unloaded",
                     }));
  const std::vector<Call> calls = Calls();
  for (size_t i = 0; i < 5; ++i) EXPECT_EQ(calls[i].thread, GetCurrentThreadId()) << calls[i].line;
  EXPECT_NE(worker, GetCurrentThreadId());
  EXPECT_EQ(calls[5].thread, worker);
  EXPECT_EQ(calls[7].thread, GetCurrentThreadId());
  ASSERT_TRUE(workerThread);
  EXPECT_EQ(WaitForSingleObject(workerThread.Get(), 0), static_cast<DWORD>(WAIT_OBJECT_0))
      << "the worker outlived Uninit";
}

TEST_F(StatModuleTest, TheDialogsChoicesBecomeTwoActionCodes) {
  struct Case {
    bool desktopShortcut;
    bool startWithWindows;
    const char* first;
    const char* second;
  };
  const Case cases[] = {
      {true, true, "stat_mutilaction [25103] 1 0", "stat_mutilaction [25105] 1 0"},
      {false, false, "stat_mutilaction [25104] 1 0", "stat_mutilaction [25106] 1 0"},
      {true, false, "stat_mutilaction [25103] 1 0", "stat_mutilaction [25106] 1 0"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.first);
    DeleteFileW(record_.c_str());
    StartStatisticsForInstall(PathFolder(HelperLibrary(L"stat_recorder.dll")), L"");
    // The install folder holds no rkstat.dll: without a library the codes
    // are queued and dropped.
    ReportChosenOptions(c.desktopShortcut, c.startWithWindows);
    ShutdownStatistics();
    EXPECT_EQ(Lines(), std::vector<std::string>{});

    ASSERT_TRUE(QMStatModule::GetInstance()->Init(kRegistryKey, kDispatchHost,
                                                  HelperLibrary(L"stat_recorder.dll")));
    DeleteFileW(record_.c_str());
    ReportChosenOptions(c.desktopShortcut, c.startWithWindows);
    ASSERT_TRUE(WaitForActions(2));
    ShutdownStatistics();
    EXPECT_EQ(Lines(), (std::vector<std::string>{c.first, c.second, "stat_offline", "stat_close 3000", "unloaded"}));
  }
}

TEST_F(StatModuleTest, ACallThatDoesNotReturnNeitherHoldsUpUninitNorLosesItsLibrary) {
  const std::wstring library = HelperLibrary(L"stat_recorder.dll");
  std::ofstream(WideToAnsi(hold_)).close();
  SetEnvironmentVariableW(L"NEB_STAT_BLOCK_IN", L"stat_mutilaction");
  SetEnvironmentVariableW(L"NEB_STAT_HOLD", hold_.c_str());
  const std::shared_ptr<QMStatModule> module = QMStatModule::GetInstance();
  ASSERT_TRUE(module->Init(kRegistryKey, kDispatchHost, library));
  module->ReportAction(1);
  ASSERT_TRUE(WaitForActions(1));
  module->ReportAction(2);
  const DWORD worker = Calls().back().thread;

  auto uninit = std::async(std::launch::async, [&module] { module->Uninit(); });
  ASSERT_EQ(uninit.wait_for(std::chrono::milliseconds(kPatience)), std::future_status::ready)
      << "Uninit waited for the call without a bound";
  EXPECT_NE(GetModuleHandleW(library.c_str()), nullptr) << "unloaded under a running call";
  EXPECT_EQ(Lines(), (std::vector<std::string>{"stat_appid 145", "stat_unionid 27021", "stat_version_ex 1 0 0 1",
                                               "stat_dispatch_addr \"dispatch.example\" 8700", "stat_init",
                                               "stat_mutilaction [1] 1 0"}));

  // Once the call returns, its worker ends without taking the next report,
  // and the library is still there for a later Uninit to close.
  DeleteFileW(hold_.c_str());
  EXPECT_TRUE(ThreadHasEnded(worker));
  SetEnvironmentVariableW(L"NEB_STAT_BLOCK_IN", nullptr);
  module->Uninit();
  const std::vector<std::string> lines = Lines();
  EXPECT_EQ(std::vector<std::string>(lines.begin() + 5, lines.end()),
            (std::vector<std::string>{"stat_mutilaction [1] 1 0", "stat_mutilaction released", "stat_offline",
                                      "stat_close 3000", "unloaded"}));
}

TEST_F(StatModuleTest, ALibraryWithOnlyStatInitGetsOnlyThatCall) {
  // Only the low byte of stat_init's word counts.
  const std::pair<const wchar_t*, bool> cases[] = {{L"1", true}, {L"0", false}, {L"256", false}, {L"513", true}};
  for (const auto& [word, expected] : cases) {
    SCOPED_TRACE(WideToUtf8(word));
    DeleteFileW(record_.c_str());
    SetEnvironmentVariableW(L"NEB_STAT_INIT_RESULT", word);
    const std::shared_ptr<QMStatModule> module = QMStatModule::GetInstance();
    EXPECT_EQ(module->Init(kRegistryKey, kDispatchHost, HelperLibrary(L"stat_init_only.dll")), expected);
    module->ReportAction(25103);
    module->Uninit();
    EXPECT_EQ(Lines(), (std::vector<std::string>{"stat_init", "unloaded"}));
  }
}

TEST_F(StatModuleTest, UninitWithoutInitCallsNothing) {
  QMStatModule::GetInstance()->Uninit();
  QMStatModule::GetInstance()->Uninit();
  EXPECT_EQ(Lines(), std::vector<std::string>{});
}

TEST_F(StatModuleTest, WithoutAPathNoLibraryIsLookedForByBareName) {
  // A bare "rkstat.dll" would be looked for in the current folder, among
  // others: one planted there must stay unloaded.
  wchar_t temp[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, temp);
  const std::wstring folder = std::wstring(temp) + L"neb_stat_current_" + std::to_wstring(GetCurrentProcessId());
  CreateDirectoryW(folder.c_str(), nullptr);
  const std::wstring planted = folder + L"\\" + QMStatModule::kLibraryName;
  ASSERT_TRUE(CopyFileW(HelperLibrary(L"stat_recorder.dll").c_str(), planted.c_str(), FALSE));
  wchar_t previous[MAX_PATH] = {};
  GetCurrentDirectoryW(MAX_PATH, previous);
  ASSERT_TRUE(SetCurrentDirectoryW(folder.c_str()));
  const bool ready = QMStatModule::GetInstance()->Init(kRegistryKey, kDispatchHost, L"");
  SetCurrentDirectoryW(previous);
  QMStatModule::GetInstance()->Uninit();
  DeleteFileW(planted.c_str());
  RemoveDirectoryW(folder.c_str());
  EXPECT_FALSE(ready);
  EXPECT_FALSE(std::ifstream(WideToAnsi(record_)).good()) << "the planted library was loaded";
}

}  // namespace
