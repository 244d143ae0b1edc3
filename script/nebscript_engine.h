// The one Lua state of the process: standard libraries, the program's script
// types, GLibTab and the host functions, and the runners for compiled chunks.
#pragma once

#include <cstddef>
#include <stdexcept>

#include "script/lua.h"

class NEBScriptEngine {
 public:
  // Thrown out of Instance() when the state cannot be created; carries E_FAIL.
  struct CreationError : std::runtime_error {
    explicit CreationError(long code) : std::runtime_error("script state"), code(code) {}
    long code;
  };

  // Creates the engine on the first call, from any thread.
  static NEBScriptEngine& Instance();

  lua_State* State() const { return state_; }

  // Loads the resource of the program's own module and runs it as a chunk.
  bool DoResLua(const wchar_t* type, const wchar_t* name);
  bool DoBufferLua(const char* data, size_t size, const char* chunkName);

  // Calls the function below the nargs pushed arguments with the engine's
  // error handler; returns the status of the protected call.
  int SafeCall(int nargs, int nresults);

  NEBScriptEngine(const NEBScriptEngine&) = delete;
  NEBScriptEngine& operator=(const NEBScriptEngine&) = delete;

 private:
  NEBScriptEngine();
  ~NEBScriptEngine();

  lua_State* state_ = nullptr;
};

// Caller-side pattern for script events: calls the global function `name`
// when it is one; anything else is skipped and the stack left as it was. A
// failure ends the process through the error report.
void CallScriptEvent(const char* name);
