#include "hostapi/host_args.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "hostapi/env_path.h"
#include "script/nebscript_engine.h"

namespace {

class HostArgsTest : public testing::Test {
 protected:
  void SetUp() override {
    L = NEBScriptEngine::Instance().State();
    lua_settop(L, 0);
  }
  void TearDown() override { lua_settop(L, 0); }

  // Pushes the values of a Lua expression list as arguments 1..n.
  void PushArgs(const std::string& expressions) {
    const std::string code = "return " + expressions;
    ASSERT_EQ(luaL_loadbuffer(L, code.data(), code.size(), "=args"), LUA_OK);
    ASSERT_EQ(lua_pcall(L, 0, LUA_MULTRET, 0), LUA_OK);
  }

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
