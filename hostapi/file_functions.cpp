#include "hostapi/file_functions.h"

#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <climits>
#include <cmath>
#include <cstdint>
#include <optional>
#include <string>

#include "base/debug_line.h"
#include "base/env_path.h"
#include "base/system_folders.h"
#include "files/delete_directories.h"
#include "files/install_record.h"
#include "files/link_free_path.h"
#include "files/restart_deletion.h"
#include "hostapi/host_args.h"
#include "script/script_numbers.h"

namespace {

constexpr wchar_t kCreateDirectoryName[] = L"Lua_CreateDirectory";
constexpr wchar_t kRenameFileName[] = L"Lua_RenameFile";
constexpr wchar_t kDeleteFileName[] = L"Lua_DeleteFile";
constexpr wchar_t kDeleteFileExName[] = L"Lua_DeleteFileEx";
constexpr wchar_t kDelFileRecursiveName[] = L"Lua_DelFileRecursive";
constexpr wchar_t kDelFileRecursiveExName[] = L"Lua_DelFileRecursiveEx";
constexpr wchar_t kDeleteFileAfterRebootName[] = L"Lua_DeleteFileAfterReboot";
constexpr double kBeyondAnyInteger = 1e18;  // well past 2^31, well inside 2^63

// The question Lua_DeleteFile asks when a file or folder cannot be deleted;
// the path stands between the quotes.
constexpr wchar_t kLockedBoxCaption[] = L"提示";
constexpr wchar_t kLockedBoxTextBefore[] = L"无法删除\"";
constexpr wchar_t kLockedBoxTextAfter[] =
    L"\"，可能是被占用，请关闭占用程序后点击重试或者点击忽略在卸载完成之后手动删除！";
// Abort in that box ends the installer (or uninstaller) on the spot.
constexpr UINT kAbortExitCode = 0;

// Copy and move replace existing targets and create missing folders without
// asking. The shell may show its own error window for copy and the asking
// delete; move and the silent delete keep it away. Nothing goes to the
// recycle bin.
constexpr FILEOP_FLAGS kCopyFlags = FOF_SILENT | FOF_NOCONFIRMATION | FOF_NOCONFIRMMKDIR;
constexpr FILEOP_FLAGS kMoveFlags = kCopyFlags | FOF_NOERRORUI;
constexpr FILEOP_FLAGS kDeleteFlags = FOF_SILENT | FOF_NOCONFIRMATION;
constexpr FILEOP_FLAGS kSilentDeleteFlags = FOF_SILENT | FOF_NOCONFIRMATION | FOF_NOCONFIRMMKDIR | FOF_NOERRORUI;

struct ShellTransfer {
  const wchar_t* function;
  UINT operation;
  FILEOP_FLAGS flags;
  const wchar_t* verb;  // of the debug lines
};
constexpr ShellTransfer kCopy = {L"Lua_CopyFile", FO_COPY, kCopyFlags, L"Copy"};
constexpr ShellTransfer kMove = {L"Lua_MoveFile", FO_MOVE, kMoveFlags, L"Move"};

int ReturnBoolean(lua_State* L, bool value) {
  lua_pushboolean(L, value);
  return 1;
}


// A shell path list of one path: the path followed by two null units. The
// paths come from ExpandEnvPath, which ends a text at its first null unit, so
// a script string with an embedded null cannot name a second path.
std::wstring ShellPathList(const std::wstring& path) {
  std::wstring list = path;
  list.append(2, L'\0');
  return list;
}

// The shell's result code: 0 on success.
int RunShellOperation(UINT operation, const std::wstring& source, const std::wstring& target,
                      FILEOP_FLAGS flags) {
  const std::wstring from = ShellPathList(source);
  const std::wstring to = ShellPathList(target);
  SHFILEOPSTRUCTW request = {};
  request.wFunc = operation;
  request.pFrom = from.c_str();
  request.pTo = operation == FO_DELETE ? nullptr : to.c_str();
  request.fFlags = flags;
  return SHFileOperationW(&request);
}

int DeleteThroughShell(const std::wstring& path, FILEOP_FLAGS flags) {
  return RunShellOperation(FO_DELETE, path, {}, flags);
}

int TransferThroughShell(lua_State* L, const ShellTransfer& transfer) {
  const std::wstring source = ExpandEnvPath(ArgText(L, 1));
  if (!PathExists(source)) {
    ReportMissingPath(transfer.function, source);
    return ReturnBoolean(L, false);
  }
  const std::wstring target = ExpandEnvPath(ArgText(L, 2));
  // An elevated script must not move or copy through a junction or symbolic
  // link that someone planted in a folder they can write: the link would
  // take the operation to a file of their choosing.
  const LinkFreePath heldSource(source), heldTarget(target);
  if (heldSource.RefusedFor(transfer.function) || heldTarget.RefusedFor(transfer.function)) {
    return ReturnBoolean(L, false);
  }
  // Whether the shell skipped part of a folder is not examined.
  const int code = RunShellOperation(transfer.operation, source, target, transfer.flags);
  if (code != 0) {
    DebugLine(L"%ls %ls to %ls failed!", transfer.verb, source.c_str(), target.c_str());
    DebugLine(L"SHFileOperation error code : %#x\r\n", code);
    return ReturnBoolean(L, false);
  }
  DebugLine(L"%ls %ls to %ls !", transfer.verb, source.c_str(), target.c_str());
  return ReturnBoolean(L, true);
}

// IDABORT, IDRETRY, IDIGNORE, or 0 when the box could not be shown.
int AskAboutUndeletable(const std::wstring& path) {
  const std::wstring text = kLockedBoxTextBefore + path + kLockedBoxTextAfter;
  return MessageBoxW(nullptr, text.c_str(), kLockedBoxCaption, MB_ICONQUESTION | MB_ABORTRETRYIGNORE);
}

int DeleteRecursively(lua_State* L, const wchar_t* function, bool withCallback) {
  DebugLine(L"%ls", function);
  // The callback is the last argument, whatever comes before it.
  std::optional<ScriptCallback> onFailure;
  if (withCallback) onFailure.emplace(L, ArgFromTop(L, 1));
  DeletionFailure callback;
  if (onFailure && onFailure->Valid()) {
    callback = [&onFailure](const std::wstring& failed, DWORD code) { onFailure->Call(failed, code); };
  }

  const std::wstring path = ExpandEnvPath(ArgText(L, 1));
  if (!PathExists(path)) return ReturnBoolean(L, true);
  const LinkFreePath held(path);
  if (held.RefusedFor(function)) return ReturnBoolean(L, false);
  if (PathIsDirectoryW(path.c_str())) {
    DebugLine(L"PathIsDirectoryW");
    if (withCallback) {
      DeleteDirectoriesEx(path, callback);
    } else {
      DeleteDirectories(path);
    }
  } else {
    DebugLine(L"Path is file!");
    DeleteOneFile(path, callback);
  }
  // The script learns nothing about an existing path's fate.
  return 0;
}

// The number at `index` rounded to an integer; 0 for a value that is not a
// number, -1 (no special folder) for one outside the integer range.
int RoundedNumber(lua_State* L, int index) {
  const lua_Number value = lua_tonumberx(L, index, nullptr);
  const int64_t rounded = ScriptInteger(L, index);
  // Far beyond the integer range (or not a number at all), and just beyond it.
  if (!(std::fabs(value) < kBeyondAnyInteger) || rounded < INT_MIN || rounded > INT_MAX) return -1;
  return static_cast<int>(rounded);
}

}  // namespace

int Lua_CreateDirectory(lua_State* L) {
  const std::wstring path = ExpandEnvPath(ArgText(L, 1));
  if (PathExists(path)) return ReturnBoolean(L, true);
  const LinkFreePath held(path);
  if (held.RefusedFor(kCreateDirectoryName)) return ReturnBoolean(L, false);
  // Judged by the folder existing afterwards: it also counts when another
  // process created it meanwhile.
  SHCreateDirectory(nullptr, path.c_str());
  if (!PathExists(path)) {
    ReportMissingPath(kCreateDirectoryName, path);
    return ReturnBoolean(L, false);
  }
  DebugLine(L"Create Directory %ls!\r\n", path.c_str());
  RecordWritten(path, true);
  return ReturnBoolean(L, true);
}

int Lua_CopyFile(lua_State* L) { return TransferThroughShell(L, kCopy); }

int Lua_MoveFile(lua_State* L) { return TransferThroughShell(L, kMove); }

int Lua_RenameFile(lua_State* L) {
  const std::wstring source = ExpandEnvPath(ArgText(L, 1));
  const std::wstring target = ExpandEnvPath(ArgText(L, 2));
  if (!PathExists(source)) {
    ReportMissingPath(kRenameFileName, source);
    return ReturnBoolean(L, false);
  }
  const LinkFreePath heldSource(source), heldTarget(target);
  if (heldSource.RefusedFor(kRenameFileName) || heldTarget.RefusedFor(kRenameFileName)) {
    return ReturnBoolean(L, false);
  }
  // No copying: a move to another volume fails.
  if (!MoveFileExW(source.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING)) {
    DebugLine(L"MoveFile %ls to %ls failed!", source.c_str(), target.c_str());
    return ReturnBoolean(L, false);
  }
  DebugLine(L"MoveFile %ls to %ls !", source.c_str(), target.c_str());
  return ReturnBoolean(L, true);
}

int Lua_DeleteFile(lua_State* L) {
  const std::wstring path = ExpandEnvPath(ArgText(L, 1));
  // Retry starts over: the path may be gone by then, or fail again and ask
  // again.
  for (;;) {
    if (!PathExists(path)) return ReturnBoolean(L, true);
    const LinkFreePath held(path);
    if (held.RefusedFor(kDeleteFileName)) return ReturnBoolean(L, false);
    const int code = DeleteThroughShell(path, kDeleteFlags);
    if (code == 0) return ReturnBoolean(L, true);
    const int answer = AskAboutUndeletable(path);
    if (answer == IDABORT) ExitProcess(kAbortExitCode);
    if (answer == IDRETRY) continue;
    DebugLine(L"Delete %ls failed!\r\n", path.c_str());
    DebugLine(L"SHFileOperation error code : %#x\r\n", code);
    return ReturnBoolean(L, answer == IDIGNORE);
  }
}

int Lua_DeleteFileEx(lua_State* L) {
  const std::wstring path = ExpandEnvPath(ArgText(L, 1));
  if (!PathExists(path)) return ReturnBoolean(L, true);
  const LinkFreePath held(path);
  if (held.RefusedFor(kDeleteFileExName)) return ReturnBoolean(L, false);
  return ReturnBoolean(L, DeleteThroughShell(path, kSilentDeleteFlags) == 0);
}

int Lua_RegVarByCSIDL(lua_State* L) {
  const std::wstring name = ArgText(L, 1);
  const int csidl = RoundedNumber(L, 2);
  const std::wstring folder = SpecialFolder(csidl);
  if (folder.empty()) {
    DebugLine(L"SHGetSpecialFolderPathW csidl=%d failed!\r\n", csidl);
    TraceLastError(L"");
    return ReturnBoolean(L, false);
  }
  // Seen by every later expansion in this process and by the programs it
  // starts.
  if (!SetEnvironmentVariableW(name.c_str(), folder.c_str())) {
    TraceLastError(L"SetEnvironmentVariableW failed!");
    return ReturnBoolean(L, false);
  }
  return ReturnBoolean(L, true);
}

int Lua_DelFileRecursive(lua_State* L) { return DeleteRecursively(L, kDelFileRecursiveName, false); }

int Lua_DelFileRecursiveEx(lua_State* L) { return DeleteRecursively(L, kDelFileRecursiveExName, true); }

int Lua_DeleteFileAfterReboot(lua_State* L) {
  DebugLine(L"%ls", kDeleteFileAfterRebootName);
  const std::wstring path = ExpandEnvPath(ArgText(L, 1));
  if (!PathExists(path)) return ReturnBoolean(L, true);
  // Needs administrator rights; a folder must be empty by the restart.
  return ReturnBoolean(L, ScheduleDeletionAtRestart(kDeleteFileAfterRebootName, path));
}

int Lua_GetTempFileName(lua_State* L) {
  const std::wstring folder = ExpandEnvPath(ArgText(L, 1));
  const std::wstring prefix = ArgText(L, 2);
  wchar_t name[MAX_PATH] = {};
  // Unique value 0: the system picks the number and creates the file.
  if (GetTempFileNameW(folder.c_str(), prefix.c_str(), 0, name) == 0) {
    lua_pushnil(L);
    return 1;
  }
  PushText(L, name);
  return 1;
}

int Lua_GetTempPath(lua_State* L) {
  const std::wstring temp = TemporaryFolder();
  if (temp.empty()) {
    DebugLine(L"GetTempPath Failed!");
    PushText(L, L"");
    return 1;
  }
  // The temporary folder only has to be known: the answer is the local
  // application-data folder (not created here), without a closing backslash,
  // or the temporary folder when the system has none.
  const std::wstring localData = SpecialFolder(CSIDL_LOCAL_APPDATA);
  if (localData.empty()) DebugLine(L"Get Local AppData Failed!");
  PushText(L, localData.empty() ? temp : localData);
  return 1;
}

int Lua_ExpandEnv(lua_State* L) {
  PushText(L, ExpandEnvPath(ArgText(L, ArgFromTop(L, 1))));
  return 1;
}

int Lua_PathFileExists(lua_State* L) { return ReturnBoolean(L, PathExists(ArgText(L, 1))); }

int Lua_PathYetAnotherMakeUniqueName(lua_State* L) {
  // The system call numbers a name template within a folder ("name (2).ext").
  // Given the whole path and no template, some implementations lose the
  // extension ("name (2)(null)"), so the path goes in as folder and name.
  const std::wstring path = ArgText(L, 1);
  const wchar_t* fileName = PathFindFileNameW(path.c_str());
  const std::wstring folder(path.c_str(), fileName);
  wchar_t unique[MAX_PATH] = {};
  if (!PathYetAnotherMakeUniqueName(unique, folder.c_str(), nullptr, fileName)) unique[0] = L'\0';
  PushText(L, unique);
  return 1;
}
