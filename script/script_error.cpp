#include "script/script_error.h"

#include <windows.h>

#include <cstdio>

#include "base/text.h"

namespace {

constexpr wchar_t kClosingRequest[] = L"请向我们反馈以上错误信息，以便我们改善产品质量！";
constexpr wchar_t kBoxCaption[] = L":-( 杯具，脚本执行时发生错误";

[[noreturn]] void ShowBoxAndExit(const std::wstring& report) {
  ShowScriptErrorBox(report);
  // The system's own exit: nothing of the program's clean-up may run while
  // the state is in the middle of an error.
  ExitProcess(0);
}

ScriptErrorPresenter g_presenter = [](const std::wstring& report) { ShowBoxAndExit(report); };

std::string FormatFrame(const char* prefix, const lua_Debug& ar) {
  char line[1024];
  if (ar.name) {
    std::snprintf(line, sizeof line, "%s%s() : line %d [%s : line %d]\n", prefix, ar.name,
                  ar.currentline, ar.source, ar.linedefined);
  } else {
    std::snprintf(line, sizeof line, "%sunknown : line %d [%s : line %d]\n", prefix,
                  ar.currentline, ar.source, ar.linedefined);
  }
  return line;
}

void AppendCallStack(lua_State* L, int level, std::string& text) {
  for (;; ++level) {
    lua_Debug ar;
    if (!lua_getstack(L, level, &ar)) return;
    lua_getinfo(L, "nSlu", &ar);
    const char* prefix = "--  | ";
    if (level == 0) {
      text += "      <call stack>\n";
      prefix = "-> | ";
    }
    text += FormatFrame(prefix, ar);
  }
}

}  // namespace

std::wstring BuildScriptErrorReport(lua_State* L, int messageIndex) {
  size_t length = 0;
  const char* message = luaL_tolstring(L, messageIndex, &length);
  std::string text(message, length);
  lua_pop(L, 1);
  text += "\n";
  AppendCallStack(L, 0, text);
  // The scripts' texts are UTF-8, and so are the messages made of them.
  return Utf8ToWide(text) + kClosingRequest;
}

void SetScriptErrorPresenter(ScriptErrorPresenter presenter) { g_presenter = presenter; }

void ShowScriptErrorBox(const std::wstring& report) {
  MessageBoxW(nullptr, report.c_str(), kBoxCaption, MB_ICONERROR);
}

int OnScriptError(lua_State* L) {
  g_presenter(BuildScriptErrorReport(L));
  ExitProcess(0);  // a presenter must not return; end the process if it does
}

int CallWithScriptErrorHandler(lua_State* L, int nargs, int nresults) {
  const int handler = lua_gettop(L) - nargs;
  lua_pushcfunction(L, OnScriptError);
  lua_insert(L, handler);
  const int status = lua_pcall(L, nargs, nresults, handler);
  lua_remove(L, handler);
  return status;
}

namespace {

// A C++ exception that passed through the library leaves a status of its
// own and no message of the library's.
constexpr char kForeignFailure[] = "unexpected failure in native code";

[[noreturn]] void ReportFailureAndExit(lua_State* L, int status) {
  const bool libraryMessage = (status == LUA_ERRMEM || status == LUA_ERRERR || status == LUA_ERRRUN) &&
                              lua_type(L, -1) == LUA_TSTRING;
  if (!libraryMessage) {
    lua_settop(L, 0);
    lua_pushstring(L, kForeignFailure);
  }
  // The message is a string already: the report needs no allocation by the
  // library to read it.
  g_presenter(BuildScriptErrorReport(L, lua_gettop(L)));
  ExitProcess(0);
}

}  // namespace

void RunProtected(lua_State* L, lua_CFunction body, void* argument, int nresults) {
  lua_pushcfunction(L, body);
  lua_pushlightuserdata(L, argument);
  const int status = CallWithScriptErrorHandler(L, 1, nresults);
  if (status != LUA_OK) ReportFailureAndExit(L, status);
}

int OnUnprotectedError(lua_State* L) { ReportFailureAndExit(L, LUA_ERRRUN); }
