// The three scripts: each must compile; the settings may only assign
// globals; the install and uninstall scripts must define their events.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "script/lua.h"
#include "tools/nebpack/chunk_layout.h"
#include "tools/nebpack/problem.h"

namespace nebpack {

// The events the installer fires from the install script, and those the
// product's uninstaller fires from the uninstall script.
extern const std::vector<std::string> kInstallEvents;
extern const std::vector<std::string> kUninstallEvents;

// Compiles the Lua source file in the engine; a syntax error becomes a
// problem at its line. The compiled function keeps its line table.
bool CompileScript(const std::wstring& file, ChunkFunction& main, Problems& problems);

// The settings' main chunk may assign values (constants, tables, other
// globals) but neither call nor define a function.
void CheckAssignsOnly(const std::wstring& file, const ChunkFunction& main, Problems& problems);

// Each event must be assigned a function by the main chunk.
void CheckEvents(const std::wstring& file, const ChunkFunction& main, const std::vector<std::string>& events,
                 Problems& problems);

// A bare Lua state that holds the values the settings assigned, as its
// globals; empty when they could not run.
class SettingsState {
 public:
  struct Closer {
    void operator()(lua_State* L) const;
  };
  struct Budget {
    size_t memory = 0;
    int instructions = 0;
  };

  lua_State* get() const { return state_.get(); }
  explicit operator bool() const { return state_ != nullptr; }

 private:
  friend SettingsState RunSettings(const std::wstring& file, Problems& problems);
  std::unique_ptr<Budget> budget_;  // the allocator's: it outlives the state
  std::unique_ptr<lua_State, Closer> state_;
};

// Runs the settings in a bare Lua state of their own, with no library, no
// host table and no function in reach, within a budget of instructions and
// memory, so that their values can be read as the installer reads them.
// None, with the problem, when they fail there.
SettingsState RunSettings(const std::wstring& file, Problems& problems);

// A global the settings assigned, as text ("" when it is neither a text nor
// a number). Nothing but plain values is in the settings' reach, so no
// script code can run while it is read.
std::wstring SettingText(const SettingsState& settings, const char* global);

// The line of the main chunk's assignment to the global, 0 when it has none.
int AssignmentLine(const ChunkFunction& main, const std::string& global);

}  // namespace nebpack
