#include "app/install/install_mgr.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <thread>
#include <vector>

#include "base/handles.h"
#include "script/nebscript_engine.h"

namespace {

std::vector<std::string> g_trail;
std::vector<DWORD> g_threads;
HANDLE g_entered = nullptr;
HANDLE g_release = nullptr;

// record(name): the event's name and the thread it ran on.
int Record(lua_State* L) {
  g_trail.push_back(luaL_checkstring(L, 1));
  g_threads.push_back(GetCurrentThreadId());
  return 0;
}

// hold(): tells the test the event is running, then waits to be released.
int Hold(lua_State*) {
  SetEvent(g_entered);
  WaitForSingleObject(g_release, INFINITE);
  return 0;
}

class InstallMgrTest : public testing::Test {
 protected:
  void SetUp() override {
    g_trail.clear();
    g_threads.clear();
    // Not held past the set-up: the cases run events on other threads.
    {
      const NEBScriptEngine::Access engine = NEBScriptEngine::Instance().Lock();
      lua_register(engine.State(), "record", Record);
      lua_register(engine.State(), "hold", Hold);
    }
    const std::string code = R"(
      hold_in = nil
      for _, name in ipairs{"BeforeInit", "BeforeInstall", "OnInstall", "BeforeComplete",
                            "AfterComplete"} do
        _G["NEBSE_" .. name] = function()
          if hold_in == name then hold() end
          record(name)
        end
      end
    )";
    ASSERT_TRUE(NEBScriptEngine::Instance().DoBufferLua(code.data(), code.size(), "=events"));
  }
};

TEST_F(InstallMgrTest, EventsRunInOrderOnTheCallingThread) {
  CInstallMgr& manager = CInstallMgr::Instance();
  manager.BeforeInit();
  manager.BeforeInstall();
  manager.InstallExecute();
  manager.BeforeComplete();
  manager.AfterComplete();
  EXPECT_EQ(g_trail, (std::vector<std::string>{"BeforeInit", "BeforeInstall", "OnInstall",
                                                "BeforeComplete", "AfterComplete"}));
  for (DWORD thread : g_threads) EXPECT_EQ(thread, GetCurrentThreadId());
}

TEST_F(InstallMgrTest, AnEventFromAnotherThreadWaitsForTheRunningOne) {
  UniqueHandle entered(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  UniqueHandle release(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  g_entered = entered.Get();
  g_release = release.Get();
  ASSERT_TRUE(NEBScriptEngine::Instance().DoBufferLua("hold_in = 'OnInstall'", 21, "=hold"));

  std::thread worker([] { CInstallMgr::Instance().InstallExecute(); });
  ASSERT_EQ(WaitForSingleObject(entered.Get(), 10000), WAIT_OBJECT_0);
  std::thread main([] { CInstallMgr::Instance().AfterComplete(); });
  Sleep(300);
  EXPECT_TRUE(g_trail.empty()) << "AfterComplete ran while OnInstall was still running";
  SetEvent(release.Get());
  worker.join();
  main.join();
  EXPECT_EQ(g_trail, (std::vector<std::string>{"OnInstall", "AfterComplete"}));
}

TEST_F(InstallMgrTest, MissingEventsAreSkipped) {
  ASSERT_TRUE(NEBScriptEngine::Instance().DoBufferLua("NEBSE_BeforeInstall = nil", 25, "=drop"));
  const NEBScriptEngine::Access engine = NEBScriptEngine::Instance().Lock();
  lua_State* L = engine.State();
  const int top = lua_gettop(L);
  CInstallMgr::Instance().BeforeInstall();
  CInstallMgr::Instance().BeforeComplete();
  EXPECT_EQ(lua_gettop(L), top);
  EXPECT_EQ(g_trail, (std::vector<std::string>{"BeforeComplete"}));
}

}  // namespace
