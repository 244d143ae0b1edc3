// Bridge reads that take an address below 65536 as the identifier of one of
// the program's string resources: this test program carries one (101), the
// installer itself carries none.
#include <gtest/gtest.h>

#include <string>

#include "script/nebscript_engine.h"

namespace {

// Runs a chunk that returns one value and gives its text, or the error.
std::string Evaluate(const std::string& code) {
  const NEBScriptEngine::Access engine = NEBScriptEngine::Instance().Lock();
  lua_State* L = engine.State();
  const int top = lua_gettop(L);
  std::string result;
  if (luaL_loadstring(L, code.c_str()) != LUA_OK || lua_pcall(L, 0, 1, 0) != LUA_OK) {
    result = std::string("error: ") + lua_tostring(L, -1);
  } else {
    result = luaL_tolstring(L, -1, nullptr);
    lua_pop(L, 1);
  }
  lua_settop(L, top);
  return result;
}

// MulDiv(n, 1, 1) returns n: a native function whose result word is chosen by
// the test.
constexpr char kBind[] = R"(
  local kernel32 = GLibTab.kernel32
  local function word(kind, n) return (kernel32:Get("MulDiv", kind))(n, 1, 1) end
  local ops = debug.getregistry().RawBufferMetaTable
)";

struct Case {
  const char* name;
  const char* code;
  const char* expected;
};

const Case kCases[] = {
    {"astr result naming a resource", "return word('astr', 101)", "bridge 资源 text"},
    {"astr result naming a missing resource", "return word('astr', 102)", ""},
    {"astr result of a null address", "return word('astr', 0)", ""},
    {"AString read at a pointer that names a resource",
     "return ops.OffsetGetAsAString(word('ptr', 100), 1)", "bridge 资源 text"},
    {"AString read at a pointer that names a missing resource",
     "return ops.OffsetGetAsAString(word('ptr', 7), 0)", ""},
};

TEST(NativeBridgeTest, AddressesBelow65536NameStringResourcesOfTheProgram) {
  for (const Case& c : kCases) {
    EXPECT_EQ(Evaluate(std::string(kBind) + c.code), c.expected) << c.name;
  }
}

}  // namespace
