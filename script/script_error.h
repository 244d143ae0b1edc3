// What happens to a script error that escapes a protected call: a report of
// the error and the script call stack, shown to the user, and the process ends.
#pragma once

#include <string>

#include "script/lua.h"

// The report text: the error value, a newline, the call stack from level 0
// (the handler itself), and the closing request to send the report.
std::wstring BuildScriptErrorReport(lua_State* L);

// Shows a finished report and ends the process; never returns.
using ScriptErrorPresenter = void (*)(const std::wstring& report);

// The installer shows a message box and exits with 0; console tools replace it.
void SetScriptErrorPresenter(ScriptErrorPresenter presenter);

// The message handler of every protected call the engine makes.
int OnScriptError(lua_State* L);
