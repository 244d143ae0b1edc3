// A test case that holds the engine for its whole run: a script error ends
// the process loudly, and the case must leave the Lua stack as it found it.
// A case that needs more than the engine's own libraries opens them in
// OpenLibraries, before the engine is taken.
#pragma once

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "script/nebscript_engine.h"
#include "script/script_error.h"
#include "tests/unit/fail_on_script_report.h"

class LockedEngineTest : public testing::Test {
 protected:
  void SetUp() override {
    SetScriptErrorPresenter(FailOnReport);
    OpenLibraries();
    engine_.emplace(NEBScriptEngine::Instance().Lock());
    L = engine_->State();
    top_ = lua_gettop(L);
  }
  void TearDown() override { EXPECT_EQ(lua_gettop(L), top_) << "stack left unbalanced"; }

  virtual void OpenLibraries() {}

  bool Run(const std::string& code) {
    return NEBScriptEngine::Instance().DoBufferLua(code.data(), code.size(), "=test");
  }

  std::optional<NEBScriptEngine::Access> engine_;  // held for the whole case
  lua_State* L = nullptr;
  int top_ = 0;
};
