#include "script/nebscript_engine.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <stdexcept>
#include <optional>
#include <string>
#include <thread>

#include "base/text.h"
#include "script/script_error.h"
#include "script/script_globals.h"
#include "tests/unit/locked_engine_test.h"

namespace {

using ScriptEngineTest = LockedEngineTest;

TEST_F(ScriptEngineTest, StandardLibrariesAndTypesAreOpenAsModules) {
  ASSERT_TRUE(Run(R"(
    for _, name in ipairs{"_G", "package", "coroutine", "table", "io", "os", "string",
                          "bit32", "math", "debug", "AString", "WString", "RawBuffer",
                          "DllManager"} do
      assert(package.loaded[name] ~= nil, name)
      assert(_G[name] == package.loaded[name], name)
    end
    assert(getmetatable(GLibTab) == debug.getregistry().GlobalLibTableMetaTable)
    assert(type(debug.getregistry()._PRELOAD) == "table")
  )"));
}

// The engine opens no host function itself: its callers choose them.
TEST_F(ScriptEngineTest, HostFunctionsAreOpenedOnlyByTheCaller) {
  ASSERT_TRUE(Run(R"(
    for name in pairs(_G) do
      assert(type(name) ~= "string" or name:sub(1, 4) ~= "Lua_", name)
    end
  )"));
}

// The engine's lock: held by this case's fixture, so another thread gets no
// access until it is let go, while this thread takes it again.
TEST_F(ScriptEngineTest, TheStateIsReachedOnlyThroughTheEnginesLock) {
  const auto triedFromAnotherThread = [] {
    bool got = false;
    std::thread([&got] { got = NEBScriptEngine::Instance().TryLock().has_value(); }).join();
    return got;
  };
  EXPECT_FALSE(triedFromAnotherThread());
  EXPECT_TRUE(NEBScriptEngine::Instance().TryLock().has_value());
  engine_.reset();
  EXPECT_TRUE(triedFromAnotherThread());
  engine_.emplace(NEBScriptEngine::Instance().Lock());
}

TEST_F(ScriptEngineTest, GlobalsReadWithDefaultsForMissingValues) {
  ASSERT_TRUE(Run("g_text = 'caf\xC3\xA9' g_number = 42.9 g_numeric_text = '17' g_flag = 0"));
  EXPECT_EQ(GetGlobalText(L, "g_text"), L"café");
  EXPECT_EQ(GetGlobalText(L, "g_number"), L"42.9");
  EXPECT_EQ(GetGlobalText(L, "g_missing"), L"");
  EXPECT_EQ(GetGlobalNumber(L, "g_number"), 43);  // rounded, as the 32-bit build does
  EXPECT_EQ(GetGlobalNumber(L, "g_numeric_text"), 17);
  EXPECT_EQ(GetGlobalNumber(L, "g_text"), 0);
  EXPECT_TRUE(GetGlobalFlag(L, "g_flag"));
  EXPECT_FALSE(GetGlobalFlag(L, "g_missing"));

  SetGlobalText(L, "g_set", L"D:\\应用");
  SetGlobalNumber(L, "g_set_number", -5);
  SetGlobalFlag(L, "g_set_flag", false);
  EXPECT_TRUE(Run("assert(g_set == 'D:\\\\\xE5\xBA\x94\xE7\x94\xA8') assert(g_set_number == -5)"
                  " assert(g_set_flag == false)"));
}

TEST_F(ScriptEngineTest, ChunksThatDoNotLoadFailWithoutRunning) {
  EXPECT_FALSE(Run("this is not lua ("));
  // A whole compiled chunk of this build runs; the same chunk claiming
  // another size_t width (the 32-bit layout has 4 where this one has 8) is
  // refused for its header alone.
  ASSERT_TRUE(Run("compiled_chunk = string.dump(function() foreign_chunk_ran = true end)"));
  lua_getglobal(L, "compiled_chunk");
  size_t size = 0;
  const char* bytes = lua_tolstring(L, -1, &size);
  std::string chunk(bytes, size);
  lua_pop(L, 1);
  constexpr size_t kSizeTWidthByte = 8;
  ASSERT_EQ(chunk[kSizeTWidthByte], static_cast<char>(sizeof(size_t)));
  std::string foreign = chunk;
  foreign[kSizeTWidthByte] = sizeof(size_t) == 8 ? 4 : 8;
  EXPECT_FALSE(NEBScriptEngine::Instance().DoBufferLua(foreign.data(), foreign.size(), "foreign"));
  EXPECT_FALSE(GetGlobalFlag(L, "foreign_chunk_ran"));
  EXPECT_TRUE(NEBScriptEngine::Instance().DoBufferLua(chunk.data(), chunk.size(), "native"));
  EXPECT_TRUE(GetGlobalFlag(L, "foreign_chunk_ran"));
}

TEST_F(ScriptEngineTest, MissingResourceFails) {
  EXPECT_FALSE(NEBScriptEngine::Instance().DoResLua(L"LUA", L"NO_SUCH.LUAC"));
}

TEST_F(ScriptEngineTest, EventsThatAreNotFunctionsAreSkipped) {
  ASSERT_TRUE(Run("event_calls = 0 NotAFunction = 5 function CountedEvent() event_calls = event_calls + 1 end"));
  CallScriptEvent("NoSuchEvent");
  CallScriptEvent("NotAFunction");
  CallScriptEvent("CountedEvent");
  EXPECT_EQ(GetGlobalNumber(L, "event_calls"), 1);
}

TEST_F(ScriptEngineTest, SafeCallLeavesAskedResults) {
  ASSERT_TRUE(Run("function Pair(a) return a, a * 2 end"));
  lua_getglobal(L, "Pair");
  lua_pushinteger(L, 21);
  ASSERT_EQ(NEBScriptEngine::Instance().SafeCall(1, 2), LUA_OK);
  EXPECT_EQ(lua_tointeger(L, -2), 21);
  EXPECT_EQ(lua_tointeger(L, -1), 42);
  lua_pop(L, 2);
}

TEST_F(ScriptEngineTest, GLibTabLoadsEachLibraryOnce) {
  EXPECT_TRUE(Run(R"(
    local k = GLibTab.kernel32
    assert(type(k) == "userdata")
    assert(getmetatable(k) == debug.getregistry().DllManagerMetaTable)
    assert(rawget(GLibTab, "kernel32") == k)
    assert(GLibTab.kernel32 == k)
    assert(GLibTab["kernel32.dll"] ~= nil)
  )"));
}

TEST_F(ScriptEngineTest, GLibTabRefusesOtherKeysAndRemembersNoFailure) {
  EXPECT_TRUE(Run(R"(
    assert(GLibTab[{}] == nil)
    assert(GLibTab[true] == nil)
    assert(GLibTab.no_such_library_here == nil)
    assert(rawget(GLibTab, "no_such_library_here") == nil)
    assert(GLibTab[12345] == nil)
    assert(rawget(GLibTab, 12345) == nil)
  )"));
}

// The report as the engine's handler builds it, captured by a handler of the
// test's own at the same depth.
int CaptureReport(lua_State* L) {
  const std::wstring report = BuildScriptErrorReport(L);
  const std::string utf8 = WideToUtf8(report);
  lua_pushlstring(L, utf8.data(), utf8.size());
  return 1;
}

TEST_F(ScriptEngineTest, ErrorReportShowsTheMessageAndTheCallStack) {
  const std::string code =
      "local function inner() error('bad thing') end\n"
      "function outer() inner() end\n"
      "outer()\n";
  lua_pushcfunction(L, CaptureReport);
  ASSERT_EQ(luaL_loadbuffer(L, code.data(), code.size(), "=chunk"), LUA_OK);
  ASSERT_NE(lua_pcall(L, 0, 0, -2), LUA_OK);
  const std::string report = lua_tostring(L, -1);
  lua_pop(L, 2);

  EXPECT_EQ(report,
            "chunk:1: bad thing\n"
            "      <call stack>\n"
            "-> | unknown : line -1 [=[C] : line -1]\n"
            "--  | error() : line -1 [=[C] : line -1]\n"
            "--  | inner() : line 1 [=chunk : line 1]\n"
            "--  | outer() : line 2 [=chunk : line 2]\n"
            "--  | unknown : line 3 [=chunk : line 0]\n"
            "\xE8\xAF\xB7\xE5\x90\x91\xE6\x88\x91\xE4\xBB\xAC\xE5\x8F\x8D\xE9\xA6\x88\xE4\xBB\xA5"
            "\xE4\xB8\x8A\xE9\x94\x99\xE8\xAF\xAF\xE4\xBF\xA1\xE6\x81\xAF\xEF\xBC\x8C\xE4\xBB\xA5"
            "\xE4\xBE\xBF\xE6\x88\x91\xE4\xBB\xAC\xE6\x94\xB9\xE5\x96\x84\xE4\xBA\xA7\xE5\x93\x81"
            "\xE8\xB4\xA8\xE9\x87\x8F\xEF\xBC\x81");
}

TEST_F(ScriptEngineTest, ErrorReportKeepsTheScriptsChineseText) {
  // Before: the UTF-8 message went through the ANSI code page ("?" or
  // mojibake on every machine, Chinese ones included).
  const std::string code = "error('\xE5\xAE\x89\xE8\xA3\x85\xE5\xA4\xB1\xE8\xB4\xA5')\n";  // 安装失败
  lua_pushcfunction(L, CaptureReport);
  ASSERT_EQ(luaL_loadbuffer(L, code.data(), code.size(), "=chunk"), LUA_OK);
  ASSERT_NE(lua_pcall(L, 0, 0, -2), LUA_OK);
  const std::string report = lua_tostring(L, -1);
  lua_pop(L, 2);
  EXPECT_EQ(report.rfind("chunk:1: \xE5\xAE\x89\xE8\xA3\x85\xE5\xA4\xB1\xE8\xB4\xA5\n", 0), 0u) << report;
}

// A report that reaches the presenter is handed back to the test.
struct PresentedReport {
  std::wstring text;
};
[[noreturn]] void ThrowReport(const std::wstring& report) { throw PresentedReport{report}; }

TEST_F(ScriptEngineTest, ACppExceptionInNativeWorkOnTheStateEndsInTheReport) {
  SetScriptErrorPresenter(ThrowReport);
  const lua_CFunction throwing = [](lua_State*) -> int { throw std::runtime_error("native failure"); };
  std::wstring report;
  try {
    RunProtected(L, throwing, nullptr, 0);
  } catch (const PresentedReport& presented) {
    report = presented.text;
  }
  SetScriptErrorPresenter(FailOnReport);
  lua_settop(L, top_);
  EXPECT_EQ(report.rfind(L"unexpected failure in native code\n", 0), 0u) << WideToUtf8(report);
}

// The engine's allocator, refusing every growth while `g_refuse` is set.
lua_Alloc g_realAllocator = nullptr;
void* g_realAllocatorData = nullptr;
bool g_refuse = false;
void* RefusingAllocator(void* data, void* block, size_t oldSize, size_t newSize) {
  if (g_refuse && newSize > (block ? oldSize : 0)) return nullptr;
  return g_realAllocator(data, block, oldSize, newSize);
}

TEST_F(ScriptEngineTest, MemoryRunningOutInAGlobalReadEndsInTheReport) {
  ASSERT_TRUE(Run("g_memory_number = 12.5"));
  SetScriptErrorPresenter(ThrowReport);
  g_realAllocator = lua_getallocf(L, &g_realAllocatorData);
  lua_setallocf(L, RefusingAllocator, g_realAllocatorData);
  std::wstring report;
  g_refuse = true;
  try {
    GetGlobalText(L, "g_memory_number");  // the number's text needs memory
  } catch (const PresentedReport& presented) {
    report = presented.text;
  }
  g_refuse = false;
  lua_setallocf(L, g_realAllocator, g_realAllocatorData);
  SetScriptErrorPresenter(FailOnReport);
  lua_settop(L, top_);
  EXPECT_EQ(report.rfind(L"not enough memory\n", 0), 0u) << WideToUtf8(report);
}

TEST_F(ScriptEngineTest, ErrorReportOfANonStringErrorValue) {
  lua_pushcfunction(L, CaptureReport);
  const std::string code = "error({})";
  ASSERT_EQ(luaL_loadbuffer(L, code.data(), code.size(), "=chunk"), LUA_OK);
  ASSERT_NE(lua_pcall(L, 0, 0, -2), LUA_OK);
  const std::string report = lua_tostring(L, -1);
  lua_pop(L, 2);
  EXPECT_EQ(report.rfind("table: ", 0), 0u) << report;
}

}  // namespace
