#include "hostapi/shell_functions.h"

#include <shellapi.h>
#include <shlwapi.h>

#include <cwchar>

#include "base/env_path.h"
#include "base/explorer_command_line.h"
#include "base/handles.h"
#include "base/path_text.h"
#include "base/text.h"
#include "hostapi/host_args.h"

namespace {

constexpr wchar_t kExecName[] = L"Lua_Exec";
constexpr wchar_t kOpenVerb[] = L"open";

// Taskbar and start-menu pinning, named in any case. Systems that no longer
// offer these verbs refuse them, and scripts must not see that as failure.
const wchar_t* const kPinVerbs[] = {L"Startpin", L"Startunpin", L"Taskbarpin", L"Taskbarunpin"};
const wchar_t* const kUnpinVerbs[] = {L"Startunpin", L"Taskbarunpin"};

constexpr UINT kWinExecSucceededAbove = 31;  // WinExec answers above this on success
constexpr INT_PTR kShellExecuteStarted = 32;  // ShellExecuteW answers above this on success

template <size_t Count>
bool IsOneOf(const std::wstring& verb, const wchar_t* const (&verbs)[Count]) {
  for (const wchar_t* candidate : verbs) {
    if (_wcsicmp(verb.c_str(), candidate) == 0) return true;
  }
  return false;
}

bool ExplorerStarted(const std::wstring& file, const std::wstring& parameters) {
  return RunViaExplorer(file, parameters) > kWinExecSucceededAbove;
}

// Starts the file hidden and, when `wait` is set, blocks until the started
// process ends. The process handle is closed on every path.
bool ShellStartHidden(const wchar_t* verb, const std::wstring& file, const std::wstring& parameters,
                      const std::wstring& folder, bool wait) {
  SHELLEXECUTEINFOW info = {};
  info.cbSize = sizeof(info);
  info.fMask = SEE_MASK_NOCLOSEPROCESS;
  info.lpVerb = verb;
  info.lpFile = file.c_str();
  info.lpParameters = parameters.c_str();
  info.lpDirectory = folder.empty() ? nullptr : folder.c_str();
  info.nShow = SW_HIDE;
  const bool started = ShellExecuteExW(&info) != FALSE;
  // No process when the shell handed the file to a program already running.
  const UniqueHandle process(started ? info.hProcess : nullptr);
  if (wait && process) WaitForSingleObject(process.Get(), INFINITE);
  return started;
}

}  // namespace

UINT RunViaExplorer(const std::wstring& file, const std::wstring& parameters) {
  const std::string commandLine = WideToAnsi(ExplorerCommandLine(file, parameters));
  return WinExec(commandLine.c_str(), SW_SHOWNORMAL);
}

// Lua_Exec(file, verb, parameters, wait, viaExplorer) -> success. A file
// path is expanded and must exist (unpinning a missing link succeeds: there
// is nothing to unpin); a web address is opened as it is, without parameters.
int Lua_Exec(lua_State* L) {
  std::wstring file = ArgText(L, 1);
  const std::wstring verb = ArgText(L, 2);
  std::wstring parameters;
  std::wstring folder;
  if (!PathIsURLW(file.c_str())) {
    file = ExpandEnvPath(file);
    if (!PathExists(file)) {
      const bool nothingToUnpin = IsOneOf(verb, kUnpinVerbs);
      if (!nothingToUnpin) ReportMissingPath(kExecName, file);
      lua_pushboolean(L, nothingToUnpin);
      return 1;
    }
    parameters = ArgText(L, 3);
    folder = PathFolder(file);
  }

  bool succeeded = false;
  if (ArgFlag(L, 5)) {
    succeeded = ExplorerStarted(file, parameters);
  } else if (ArgFlag(L, 4)) {
    // Waiting runs the program hidden with its default verb.
    succeeded = ShellStartHidden(nullptr, file, parameters, folder, true);
  } else {
    const INT_PTR answer = reinterpret_cast<INT_PTR>(
        ShellExecuteW(nullptr, verb.c_str(), file.c_str(), parameters.c_str(), folder.c_str(), SW_SHOWNORMAL));
    succeeded = answer > kShellExecuteStarted || IsOneOf(verb, kPinVerbs);
  }
  lua_pushboolean(L, succeeded);
  return 1;
}

// Lua_ExplorerExec(file, parameters) -> whether explorer.exe was started.
int Lua_ExplorerExec(lua_State* L) {
  lua_pushboolean(L, ExplorerStarted(ArgText(L, 1), ArgText(L, 2)));
  return 1;
}

// Lua_MsgBox(text, caption, type) -> the pressed button's number (IDOK 1,
// IDCANCEL 2, ...; 0 when no box could be shown). One argument is the text,
// two add the caption, three the type flags; any other count shows an empty
// box with an OK button.
int Lua_MsgBox(lua_State* L) {
  std::wstring text;
  std::wstring caption;
  UINT type = MB_OK;
  switch (lua_gettop(L)) {
    case 3:
      type = ArgUnsigned(L, 3);
      [[fallthrough]];
    case 2:
      caption = ArgText(L, 2);
      [[fallthrough]];
    case 1:
      text = ArgText(L, 1);
      break;
    default:
      break;
  }
  PushUnsigned(L, static_cast<uint32_t>(MessageBoxW(nullptr, text.c_str(), caption.c_str(), type)));
  return 1;
}

// Lua_ShellExec(file, parameters) -> whether the shell opened the file,
// hidden and without waiting. Neither text is expanded.
int Lua_ShellExec(lua_State* L) {
  lua_pushboolean(L, ShellStartHidden(kOpenVerb, ArgText(L, 1), ArgText(L, 2), L"", false));
  return 1;
}
