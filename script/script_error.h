// What happens to a script error that escapes a protected call: a report of
// the error and the script call stack, shown to the user, and the process ends.
#pragma once

#include <string>

#include "script/lua.h"

// The report text: the error value at `messageIndex` (the handler's
// argument), a newline, the call stack from level 0 (the handler itself),
// and the closing request to send the report.
std::wstring BuildScriptErrorReport(lua_State* L, int messageIndex = 1);

// Shows a finished report and ends the process; never returns.
using ScriptErrorPresenter = void (*)(const std::wstring& report);

// The installer shows a message box and exits with 0; console tools replace it.
void SetScriptErrorPresenter(ScriptErrorPresenter presenter);

// The installer's message box of a report, for presenters that show it too.
void ShowScriptErrorBox(const std::wstring& report);

// The message handler of every protected call the engine makes.
int OnScriptError(lua_State* L);

// Calls the function below the nargs pushed arguments on L's own stack (a
// coroutine's too) with OnScriptError just below it, and removes the handler
// afterwards. Returns the status of the protected call: not 0 only for a
// failure the handler could not see (memory running out), whose message is
// then on top.
int CallWithScriptErrorHandler(lua_State* L, int nargs, int nresults);

// Native code's own work on the state (reading globals, firing events):
// `body` runs with `argument` as a light userdata inside a protected call,
// leaving `nresults` values. A script error in it ends the process through
// the report, and so does any failure the handler cannot see (memory running
// out, a C++ exception passing through the library): never Lua's panic.
void RunProtected(lua_State* L, lua_CFunction body, void* argument, int nresults);

// The last resort of an error raised outside every protected call: the same
// report and end as a script error.
int OnUnprotectedError(lua_State* L);
