#include "hostapi/host_args.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <optional>
#include <string>

#include "base/env_path.h"
#include "script/nebscript_engine.h"
#include "script/script_globals.h"

namespace {

class HostArgsTest : public testing::Test {
 protected:
  void SetUp() override {
    engine_.emplace(NEBScriptEngine::Instance().Lock());
    L = engine_->State();
    lua_settop(L, 0);
  }
  void TearDown() override { lua_settop(L, 0); }

  // Pushes the values of a Lua expression list as arguments 1..n.
  void PushArgs(const std::string& expressions) {
    const std::string code = "return " + expressions;
    ASSERT_EQ(luaL_loadbuffer(L, code.data(), code.size(), "=args"), LUA_OK);
    ASSERT_EQ(lua_pcall(L, 0, LUA_MULTRET, 0), LUA_OK);
  }

  std::optional<NEBScriptEngine::Access> engine_;  // held for the whole case
  lua_State* L = nullptr;
};

TEST_F(HostArgsTest, TextArguments) {
  PushArgs("'abc', 5, 5.5, -0.25, nil, true, {}, 'caf\\195\\169', ''");
  const wchar_t* expected[] = {L"abc", L"5", L"5.5", L"-0.25", L"", L"", L"", L"café", L""};
  for (int i = 0; i < 9; ++i) EXPECT_EQ(ArgText(L, i + 1), expected[i]) << "argument " << i + 1;
  EXPECT_EQ(ArgText(L, 10), L"") << "missing argument";
  EXPECT_EQ(lua_type(L, 2), LUA_TNUMBER) << "reading a number as text must not convert it in place";
}

TEST_F(HostArgsTest, NumberArguments) {
  PushArgs("7, '12', 4294967295, -1, 'x', true, nil, 2^32 + 3");
  const int32_t expected[] = {7, 12, -1, -1, 0, 0, 0, 3};
  for (int i = 0; i < 8; ++i) EXPECT_EQ(ArgNumber(L, i + 1), expected[i]) << "argument " << i + 1;
  EXPECT_EQ(ArgUnsigned(L, 3), 4294967295u);
}

// Host arguments, globals read by native code, native call words and callback
// answers all round a number the way the shipped 32-bit build does.
TEST_F(HostArgsTest, NumbersRoundAlikeOnEveryBuildAndPath) {
  const struct {
    const char* expression;
    int32_t expected;
  } cases[] = {{"2.7", 3}, {"-1.5", -2}, {"2.5", 2}, {"-2.5", -2}, {"-0.4", 0},
               {"'17.5'", 18}, {"42", 42}, {"4294967295.2", -1}};
  const auto mulDivText = "GLibTab.kernel32:Get('MulDiv', 'int')";
  for (const auto& c : cases) {
    SCOPED_TRACE(c.expression);
    const std::string value = c.expression;
    PushArgs(value + ", " + mulDivText + "(" + value + ", 1, 1), function() return " + value + " end");
    EXPECT_EQ(ArgNumber(L, 1), c.expected);
    // A string passes its bytes' address to native code, not a number.
    if (value[0] != '\'') EXPECT_EQ(lua_tointeger(L, 2), c.expected) << "native call word";
    {
      ScriptCallback answer(L, 3);
      EXPECT_EQ(answer.Call(L"x", 0), c.expected) << "callback answer";
    }
    lua_pushvalue(L, 1);
    lua_setglobal(L, "g_rounded");
    EXPECT_EQ(GetGlobalNumber(L, "g_rounded"), c.expected) << "global";
    lua_settop(L, 0);
  }
}

TEST_F(HostArgsTest, FlagArguments) {
  PushArgs("nil, false, true, 0, ''");
  const bool expected[] = {false, false, true, true, true};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(ArgFlag(L, i + 1), expected[i]) << "argument " << i + 1;
  EXPECT_FALSE(ArgFlag(L, 6));
}

TEST_F(HostArgsTest, ArgumentsFromTheTop) {
  PushArgs("'first', 'second', 'last'");
  EXPECT_EQ(ArgText(L, ArgFromTop(L, 1)), L"last");
  EXPECT_EQ(ArgText(L, ArgFromTop(L, 2)), L"second");
  EXPECT_EQ(lua_type(L, ArgFromTop(L, 4)), LUA_TNONE);
  lua_settop(L, 0);
  EXPECT_EQ(lua_type(L, ArgFromTop(L, 1)), LUA_TNONE);
}

TEST_F(HostArgsTest, ResultsAreUtf8TextAndNonNegativeNumbers) {
  PushText(L, L"D:\\应用");
  PushUnsigned(L, 0xFFFFFFFFu);
  EXPECT_STREQ(lua_tostring(L, 1), "D:\\\xE5\xBA\x94\xE7\x94\xA8");
  EXPECT_EQ(lua_tonumber(L, 2), 4294967295.0);
}

TEST_F(HostArgsTest, CallbackAnswersAndIsReleased) {
  PushArgs("function(path, code) seen = path .. ':' .. code return code + 1 end, 'not a function'");
  int reference = LUA_NOREF;
  {
    ScriptCallback callback(L, 1);
    ScriptCallback notACallback(L, 2);
    EXPECT_TRUE(callback.Valid());
    EXPECT_FALSE(notACallback.Valid());
    const int top = lua_gettop(L);
    EXPECT_EQ(callback.Call(L"C:\\a.txt", 32), 33);
    EXPECT_EQ(lua_gettop(L), top);
    lua_getglobal(L, "seen");
    EXPECT_STREQ(lua_tostring(L, -1), "C:\\a.txt:32");
    lua_pop(L, 1);
    reference = luaL_ref(L, LUA_REGISTRYINDEX);  // the next free slot after the callback's
    luaL_unref(L, LUA_REGISTRYINDEX, reference);
  }
  // Once released, the callback's slot is handed out again.
  lua_pushboolean(L, 1);
  const int reused = luaL_ref(L, LUA_REGISTRYINDEX);
  EXPECT_EQ(reused, reference - 1);
  luaL_unref(L, LUA_REGISTRYINDEX, reused);
}

TEST(ExpandEnvPathTest, ExpandsWholePathsOfAnyLength) {
  SetEnvironmentVariableW(L"NEB_SHORT", L"C:\\Short");
  const std::wstring longFolder = L"C:\\" + std::wstring(300, L'x');
  SetEnvironmentVariableW(L"NEB_LONG", longFolder.c_str());
  EXPECT_EQ(ExpandEnvPath(L"%NEB_SHORT%\\a.txt"), L"C:\\Short\\a.txt");
  EXPECT_EQ(ExpandEnvPath(L"%NEB_LONG%\\a.txt"), longFolder + L"\\a.txt");
  EXPECT_EQ(ExpandEnvPath(L"%NEB_UNSET_NAME%"), L"%NEB_UNSET_NAME%");
  EXPECT_EQ(ExpandEnvPath(L""), L"");
}

}  // namespace
