// The one Lua state of the process: standard libraries, the program's script
// types and GLibTab, the libraries its caller opens (the installer's host
// functions), and the runners for compiled chunks. The state is not safe to
// use from two threads at once: the engine holds the lock that serialises
// it, and hands the state out only with that lock held.
#pragma once

#include <cstddef>
#include <initializer_list>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <utility>

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

  // The state, with the engine's lock held for as long as this lives. The
  // lock is recursive: a host function or a script callback that reaches
  // the engine again on the same thread goes on.
  class Access {
   public:
    lua_State* State() const { return state_; }

   private:
    friend class NEBScriptEngine;
    Access(std::unique_lock<std::recursive_mutex> hold, lua_State* state)
        : hold_(std::move(hold)), state_(state) {}

    std::unique_lock<std::recursive_mutex> hold_;
    lua_State* state_;
  };

  // Creates the engine on the first call, from any thread.
  static NEBScriptEngine& Instance();

  // Waits for the lock.
  Access Lock();
  // Nothing when another thread holds the lock (the install worker inside an
  // event), so a window's thread never waits for the install.
  std::optional<Access> TryLock();

  // Opens the caller's libraries, in the order given, after the engine's own
  // (the standard libraries, the script types and GLibTab): the engine knows
  // no host function of its own, so it runs without any where none is opened.
  void OpenLibraries(std::initializer_list<ScriptLibraryOpener> libraries);

  // Loads the resource of the program's own module and runs it as a chunk.
  bool DoResLua(const wchar_t* type, const wchar_t* name);
  bool DoBufferLua(const char* data, size_t size, const char* chunkName);

  // Calls the function below the nargs pushed arguments with the engine's
  // error handler; returns the status of the protected call. The caller
  // holds an Access while it pushes them.
  int SafeCall(int nargs, int nresults);

  NEBScriptEngine(const NEBScriptEngine&) = delete;
  NEBScriptEngine& operator=(const NEBScriptEngine&) = delete;

 private:
  NEBScriptEngine();
  ~NEBScriptEngine();

  std::recursive_mutex lock_;
  lua_State* state_ = nullptr;
};

// Caller-side pattern for script events: calls the global function `name`
// when it is one; anything else is skipped and the stack left as it was. A
// failure ends the process through the error report. Holds the engine's
// lock while it runs.
void CallScriptEvent(const char* name);
