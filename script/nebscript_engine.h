// The one Lua state of the process: standard libraries, the program's script
// types and GLibTab, the libraries its caller opens (the installer's host
// functions), and the runners for compiled chunks.
#pragma once

#include <cstddef>
#include <initializer_list>
#include <stdexcept>

#include "script/lua.h"

// Sets a library's globals in the state (the host functions, ...).
using ScriptLibraryOpener = void (*)(lua_State* L);

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

  // Opens the caller's libraries, in the order given, after the engine's own
  // (the standard libraries, the script types and GLibTab): the engine knows
  // no host function of its own, so it runs without any where none is opened.
  void OpenLibraries(std::initializer_list<ScriptLibraryOpener> libraries);

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
