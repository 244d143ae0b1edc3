// WString and AString where scripts alone cannot reach: the block
// arithmetic, the thread's ANSI code page, and blocks that a native function
// filled without a terminator.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>

#include "base/text.h"
#include "script/nebscript_engine.h"
#include "script/script_error.h"
#include "script/string_block.h"
#include "tests/unit/fail_on_script_report.h"

namespace {

TEST(StringBlockTest, NewSizesTheBlockFromCapacityAndText) {
  struct Case {
    int64_t capacity;
    bool hasInitialText;
    size_t textUnits;
    std::optional<size_t> units;
  };
  const Case cases[] = {
      {0, false, 0, std::nullopt}, {-1, false, 0, std::nullopt}, {5, false, 0, 5},
      {0, true, 3, 4},             {10, true, 3, 10},            {2, true, 3, 4},
      {3, true, 3, 4},             {4, true, 3, 4},              {-5, true, 0, 1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(NewBlockUnits(c.capacity, c.hasInitialText, c.textUnits), c.units)
        << c.capacity << " " << c.hasInitialText << " " << c.textUnits;
  }
}

TEST(StringBlockTest, ByteCountThatDoesNotFitIsRefusedNotWrapped) {
  EXPECT_EQ(BlockBytes(3, sizeof(wchar_t)), 6u);
  EXPECT_EQ(BlockBytes(SIZE_MAX / 2 + 1, 2), SIZE_MAX);
}

class ScriptStringsTest : public testing::Test {
 protected:
  void SetUp() override {
    SetScriptErrorPresenter(FailOnReport);
    engine_.emplace(NEBScriptEngine::Instance().Lock());
    L = engine_->State();
  }

  bool Run(const std::string& code) {
    return NEBScriptEngine::Instance().DoBufferLua(code.data(), code.size(), "=test");
  }

  // The block of the string value held by the global `name`.
  void* Block(const char* name) {
    lua_getglobal(L, name);
    void* block = lua_touserdata(L, -1);
    lua_pop(L, 1);
    return block;
  }

  std::optional<NEBScriptEngine::Access> engine_;  // held for the whole case
  lua_State* L = nullptr;
};

// Runs the test body with the calling thread's locale (and so its ANSI code
// page) set to `locale`, restoring it afterwards.
class ThreadLocale {
 public:
  explicit ThreadLocale(LCID locale) : saved_(GetThreadLocale()) { EXPECT_TRUE(SetThreadLocale(locale)); }
  ~ThreadLocale() { SetThreadLocale(saved_); }

 private:
  LCID saved_;
};

TEST_F(ScriptStringsTest, AStringUsesTheThreadsAnsiCodePage) {
  const ThreadLocale chinese(MAKELCID(MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED), SORT_DEFAULT));
  ASSERT_EQ(WideToAnsi(L"\u4E2D\u6587").size(), 4u) << "the thread's code page is not 936";
  EXPECT_TRUE(Run(R"(
    local chinese = "\228\184\173\230\150\135"  -- two characters in UTF-8
    local a = AString.New(nil, chinese)
    assert(#a == 4, #a)
    assert(tostring(a) == chinese)
    assert(#WString.New(nil, chinese) == 2)
    assert(a == AString.New(nil, WString.New(nil, chinese)))
    assert(tostring(WString.New(nil, a)) == chinese)
    assert(tostring(a .. "x") == chinese .. "x")
    assert(a[0] ~= "" and a[4] == "" and a[5] == nil)
  )"));
}

TEST_F(ScriptStringsTest, ABlockFilledToItsEndIsReadOnlyWithinIt) {
  ASSERT_TRUE(Run("w = WString.New(3) a = AString.New(3)"));
  std::fill_n(static_cast<wchar_t*>(Block("w")), 3, L'x');
  std::fill_n(static_cast<char*>(Block("a")), 3, 'y');
  EXPECT_TRUE(Run(R"(
    assert(#w == 3 and tostring(w) == "xxx")
    assert(w[2] == "x" and w[3] == nil)
    assert(w == WString.New(nil, "xxx"))
    assert(tostring(w .. "!") == "xxx!")
    w[1] = "o"
    assert(tostring(w) == "xox")
    assert(#a == 3 and tostring(a) == "yyy" and a[3] == nil)
    assert(a == AString.New(nil, "yyy"))
    assert(tostring(WString.New(nil, a)) == "yyy")
  )"));
}

}  // namespace
