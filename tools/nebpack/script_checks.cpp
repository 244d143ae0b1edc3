#include "tools/nebpack/script_checks.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "base/text.h"
#include "script/lua.h"
#include "scripts/global_names.h"

#include <lopcodes.h>

namespace nebpack {

const std::vector<std::string> kInstallEvents = {script_names::kBeforeInit, script_names::kBeforeInstall,
                                                 script_names::kOnInstall, script_names::kBeforeComplete,
                                                 script_names::kAfterComplete};
const std::vector<std::string> kUninstallEvents = {script_names::kBeforeInit, script_names::kOnUninstall,
                                                   script_names::kFeedBack, script_names::kAfterUninstall};

namespace {

// In a main chunk the only upvalue is the environment of the globals.
constexpr int kEnvironmentUpvalue = 0;

int LineOf(const ChunkFunction& f, size_t pc) {
  return pc < f.lineInfo.size() ? f.lineInfo[pc] : 0;
}

int Writer(lua_State*, const void* data, size_t size, void* out) {
  static_cast<std::string*>(out)->append(static_cast<const char*>(data), size);
  return 0;
}

// "CHUNK:LINE: text" as the compiler or the running chunk reports it, split into its parts.
Problem ScriptProblem(const std::wstring& file, const std::string& chunkName, const std::string& message) {
  Problem problem{file, 0, 0, Utf8ToWide(message)};
  const std::string prefix = chunkName + ":";
  if (message.compare(0, prefix.size(), prefix) != 0) return problem;
  size_t end = prefix.size();
  int line = 0;
  while (end < message.size() && message[end] >= '0' && message[end] <= '9') line = line * 10 + (message[end++] - '0');
  if (end == prefix.size() || message.compare(end, 2, ": ") != 0) return problem;
  problem.line = line;
  problem.message = Utf8ToWide(message.substr(end + 2));
  return problem;
}

// The global name that a SETTABUP of the main chunk assigns, or "".
std::string AssignedGlobal(const ChunkFunction& main, Instruction instruction) {
  if (GET_OPCODE(instruction) != OP_SETTABUP || GETARG_A(instruction) != kEnvironmentUpvalue) return {};
  const int key = GETARG_B(instruction);
  if (!ISK(key)) return {};
  const ChunkConstant& constant = main.constants.at(INDEXK(key));
  return constant.type == LUA_TSTRING ? constant.text : std::string();
}

// Leaves the compiled source file on the engine's stack, or reports why not.
bool LoadScript(lua_State* L, const std::wstring& file, Problems& problems) {
  std::ifstream in(std::filesystem::path(file), std::ios::binary);
  if (!in) {
    problems.push_back({file, 0, 0, L"cannot read the script"});
    return false;
  }
  const std::string source((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const std::string displayName = WideToUtf8(file);
  if (luaL_loadbuffer(L, source.data(), source.size(), ("@" + displayName).c_str()) != LUA_OK) {
    problems.push_back(ScriptProblem(file, displayName, lua_tostring(L, -1)));
    lua_pop(L, 1);
    return false;
  }
  return true;
}

// The settings run in a Lua state of their own, without any library: no
// host table, no function, no metatable a value could reach. What runs
// there can only compute and assign plain values, within a budget of
// instructions and memory, so that a loop cannot hold nebpack (nor, later,
// the installer) and no value can grow without end.
constexpr int kHookInterval = 1000;
constexpr int kMostInstructions = 10'000'000;
constexpr size_t kMostMemory = size_t{64} << 20;

void* BudgetedAllocation(void* ud, void* block, size_t oldSize, size_t newSize) {
  SettingsState::Budget& budget = *static_cast<SettingsState::Budget*>(ud);
  const size_t held = block ? oldSize : 0;
  if (newSize == 0) {
    std::free(block);
    budget.memory -= held;
    return nullptr;
  }
  if (newSize > held && newSize - held > kMostMemory - budget.memory) return nullptr;
  void* moved = std::realloc(block, newSize);
  if (moved != nullptr) budget.memory = budget.memory - held + newSize;
  return moved;
}

void CountInstructions(lua_State* L, lua_Debug*) {
  void* ud = nullptr;
  lua_getallocf(L, &ud);
  SettingsState::Budget& budget = *static_cast<SettingsState::Budget*>(ud);
  if ((budget.instructions += kHookInterval) > kMostInstructions) {
    luaL_where(L, 0);  // the line running in the settings' chunk
    lua_pushfstring(L, "the settings run longer than %d instructions; they may only assign globals",
                    kMostInstructions);
    lua_concat(L, 2);
    lua_error(L);
  }
}

}  // namespace


void SettingsState::Closer::operator()(lua_State* L) const { lua_close(L); }

bool CompileScript(const std::wstring& file, ChunkFunction& main, Problems& problems) {
  // Compiling needs no library: a bare state of its own.
  const std::unique_ptr<lua_State, SettingsState::Closer> state(luaL_newstate());
  lua_State* L = state.get();
  if (L == nullptr) {
    problems.push_back({file, 0, 0, L"no memory to compile the script"});
    return false;
  }
  if (!LoadScript(L, file, problems)) return false;
  std::string chunk;
  lua_dump(L, Writer, &chunk);
  std::string error;
  if (!ReadChunk(chunk, main, error)) {
    problems.push_back({file, 0, 0, Utf8ToWide(error)});
    return false;
  }
  return true;
}

void CheckAssignsOnly(const std::wstring& file, const ChunkFunction& main, Problems& problems) {
  for (size_t pc = 0; pc < main.code.size(); ++pc) {
    switch (GET_OPCODE(main.code[pc])) {
      case OP_CALL:
      case OP_TAILCALL:
      case OP_TFORCALL:
        problems.push_back({file, LineOf(main, pc), 0, L"the settings call a function; they may only assign globals"});
        break;
      case OP_CLOSURE:
        problems.push_back({file, LineOf(main, pc), 0, L"the settings define a function; they may only assign globals"});
        break;
      default: break;
    }
  }
}

void CheckEvents(const std::wstring& file, const ChunkFunction& main, const std::vector<std::string>& events,
                 Problems& problems) {
  for (const std::string& event : events) {
    bool defined = false;
    for (size_t pc = 1; pc < main.code.size() && !defined; ++pc) {
      const Instruction assignment = main.code[pc], previous = main.code[pc - 1];
      defined = AssignedGlobal(main, assignment) == event && GET_OPCODE(previous) == OP_CLOSURE &&
                GETARG_A(previous) == GETARG_C(assignment);
    }
    if (!defined) problems.push_back({file, 0, 0, L"the event function " + Utf8ToWide(event) + L" is not defined"});
  }
}

SettingsState RunSettings(const std::wstring& file, Problems& problems) {
  SettingsState state;
  state.budget_ = std::make_unique<SettingsState::Budget>();
  state.state_.reset(lua_newstate(BudgetedAllocation, state.budget_.get()));
  lua_State* L = state.get();
  if (L == nullptr) {
    problems.push_back({file, 0, 0, L"no memory to run the settings"});
    return {};
  }
  if (!LoadScript(L, file, problems)) return {};
  lua_sethook(L, CountInstructions, LUA_MASKCOUNT, kHookInterval);
  const int run = lua_pcall(L, 0, 0, 0);
  lua_sethook(L, nullptr, 0, 0);
  if (run == LUA_OK) return state;
  problems.push_back(ScriptProblem(file, WideToUtf8(file),
                                   run == LUA_ERRMEM ? "the settings need more than 64 MiB of memory; they may only "
                                                       "assign globals"
                                                     : lua_tostring(L, -1)));
  return {};
}

std::wstring SettingText(const SettingsState& settings, const char* global) {
  lua_State* L = settings.get();
  lua_getglobal(L, global);
  size_t length = 0;
  const int type = lua_type(L, -1);
  // A number is read as its text, as the installer reads settings.
  const char* text = type == LUA_TSTRING || type == LUA_TNUMBER ? lua_tolstring(L, -1, &length) : nullptr;
  std::wstring value = text ? Utf8ToWide({text, length}) : std::wstring();
  lua_pop(L, 1);
  return value;
}

int AssignmentLine(const ChunkFunction& main, const std::string& global) {
  int line = 0;
  for (size_t pc = 0; pc < main.code.size(); ++pc) {
    if (AssignedGlobal(main, main.code[pc]) == global) line = LineOf(main, pc);
  }
  return line;
}

}  // namespace nebpack
