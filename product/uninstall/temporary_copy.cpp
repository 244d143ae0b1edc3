#include "product/uninstall/temporary_copy.h"

#include <windows.h>
#include <sddl.h>
#include <shlobj.h>

#include <optional>

#include "base/debug_line.h"
#include "base/handles.h"
#include "base/module_path.h"
#include "base/path_text.h"
#include "base/system_folders.h"
#include "files/restart_deletion.h"
#include "product/uninstall/uninstall_options.h"

namespace {

constexpr wchar_t kFolderPrefix[] = L"Lun";
constexpr wchar_t kOwnRemoval[] = L"ScheduleOwnRemoval";
// Libraries the uninstall script copies beside the uninstaller so that the
// install folder can go while they are loaded.
constexpr const wchar_t* kLibraryCopies[] = {L"rkstat.dll", L"udp_rk.dll"};

// Only the system and the administrators may change the copy's folder: the
// elevated copy loads libraries from beside itself, which a user's own
// temporary folder would let any program of that user's replace.
constexpr wchar_t kWorkFolderSecurity[] = L"D:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)";

// A folder that did not exist before, in the system's temporary folder,
// made with the rights above from its first moment. Ordinary users may make
// folders there but not remove or rename one of ours.
std::wstring MakeProtectedWorkFolder() {
  wchar_t windows[MAX_PATH] = {};
  const UINT length = GetSystemWindowsDirectoryW(windows, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return {};
  const std::wstring temp = std::wstring(windows, length) + L"\\Temp";
  wchar_t name[MAX_PATH] = {};
  // The system makes a unique empty file; its name becomes the folder's.
  if (GetTempFileNameW(temp.c_str(), kFolderPrefix, 0, name) == 0) return {};
  DeleteFileW(name);
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(kWorkFolderSecurity, SDDL_REVISION_1, &descriptor,
                                                            nullptr)) {
    return {};
  }
  SECURITY_ATTRIBUTES security = {sizeof security, descriptor, FALSE};
  // Fails when someone made a folder of that name meanwhile: never reused.
  const bool made = CreateDirectoryW(name, &security) != FALSE;
  LocalFree(descriptor);
  return made ? name : std::wstring();
}

// Puts the program's file into the copy's folder: moved there, and copied
// back into the install folder (the uninstall looks for it there), so that
// the install folder holds no file this process keeps open while it waits.
// A move cannot cross drives: then a plain copy, and the uninstall moves
// this process's file aside for deletion at the next restart. Whether the
// program's own file moved; none when there is no copy.
std::optional<bool> PlaceCopy(const std::wstring& program, const std::wstring& copy) {
  if (MoveFileExW(program.c_str(), copy.c_str(), 0)) {
    if (!CopyFileW(copy.c_str(), program.c_str(), TRUE)) TraceLastError(L"CopyFileW back failed");
    return true;
  }
  if (!CopyFileW(program.c_str(), copy.c_str(), TRUE)) {
    TraceLastError(L"CopyFileW failed");
    DeleteFileW(copy.c_str());
    return std::nullopt;
  }
  return false;
}

}  // namespace

std::optional<int> RunTemporaryCopyToTheEnd(const std::wstring& installFolder, const std::wstring& arguments) {
  const std::wstring program = ProgramPath();
  const std::wstring folder = MakeProtectedWorkFolder();
  if (program.empty() || folder.empty()) {
    TraceLastError(L"no temporary folder for the uninstaller");
    return std::nullopt;
  }
  const std::wstring copy = folder + L"\\" + ProgramFileName();
  const std::optional<bool> moved = PlaceCopy(program, copy);
  if (!moved) {
    RemoveDirectoryW(folder.c_str());
    return std::nullopt;
  }
  // This process's current folder may be the install folder, which it
  // would hold while it waits.
  const std::wstring system = SpecialFolder(CSIDL_SYSTEM);
  if (system.empty() || !SetCurrentDirectoryW(system.c_str())) TraceLastError(L"SetCurrentDirectoryW failed");

  std::wstring commandLine = QuoteArgument(copy) + L" " + TemporaryCopySwitches(installFolder);
  if (!arguments.empty()) commandLine += L" " + arguments;
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION started = {};
  // The copy's current folder is its own: the install folder must not be
  // held by it.
  if (!CreateProcessW(copy.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                      &startup, &started)) {
    TraceLastError(L"CreateProcessW failed");
    // A moved file is this process's own, which cannot be deleted now.
    if (*moved) {
      ScheduleDeletionAtRestart(kOwnRemoval, copy);
      ScheduleDeletionAtRestart(kOwnRemoval, folder);
    } else {
      DeleteFileW(copy.c_str());
      RemoveDirectoryW(folder.c_str());
    }
    return std::nullopt;
  }
  UniqueHandle process(started.hProcess);
  UniqueHandle thread(started.hThread);
  DWORD code = 0;
  if (WaitForSingleObject(process.Get(), INFINITE) != WAIT_OBJECT_0 || !GetExitCodeProcess(process.Get(), &code)) {
    TraceLastError(L"no exit code from the uninstaller's copy");
    return std::nullopt;
  }
  return static_cast<int>(code);
}

void ScheduleOwnRemoval() {
  const std::wstring program = ProgramPath();
  const std::wstring folder = PathFolder(program);
  for (const wchar_t* name : kLibraryCopies) {
    const std::wstring copy = folder + L"\\" + name;
    if (!DeleteFileW(copy.c_str()) && GetLastError() != ERROR_FILE_NOT_FOUND) {
      ScheduleDeletionAtRestart(kOwnRemoval, copy);
    }
  }
  // In this order: the folder must be empty when its turn comes.
  if (!ScheduleDeletionAtRestart(kOwnRemoval, program)) TraceLastError(L"MoveFileExW failed");
  ScheduleDeletionAtRestart(kOwnRemoval, folder);
}
