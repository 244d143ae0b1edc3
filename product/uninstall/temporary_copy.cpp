#include "product/uninstall/temporary_copy.h"

#include <windows.h>
#include <sddl.h>

#include <cstdint>

#include "base/debug_line.h"
#include "base/handles.h"
#include "base/module_path.h"
#include "base/path_text.h"
#include "files/restart_deletion.h"
#include "product/uninstall/uninstall_options.h"

namespace {

constexpr wchar_t kFolderPrefix[] = L"Lun";
constexpr wchar_t kOwnRemoval[] = L"ScheduleOwnRemoval";
constexpr DWORD kStarterWaitMs = 30000;
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

}  // namespace

bool StartTemporaryCopy(const std::wstring& installFolder, const std::wstring& arguments) {
  const std::wstring program = ProgramPath();
  const std::wstring folder = MakeProtectedWorkFolder();
  if (program.empty() || folder.empty()) {
    TraceLastError(L"no temporary folder for the uninstaller");
    return false;
  }
  const std::wstring copy = folder + L"\\" + ProgramFileName();
  const auto discardCopy = [&] {
    DeleteFileW(copy.c_str());
    RemoveDirectoryW(folder.c_str());
  };
  if (!CopyFileW(program.c_str(), copy.c_str(), FALSE)) {
    TraceLastError(L"CopyFileW failed");
    discardCopy();
    return false;
  }

  HANDLE self = nullptr;
  if (!DuplicateHandle(GetCurrentProcess(), GetCurrentProcess(), GetCurrentProcess(), &self, SYNCHRONIZE,
                       TRUE, 0)) {
    TraceLastError(L"DuplicateHandle failed");
    discardCopy();
    return false;
  }
  UniqueHandle selfForCopy(self);
  std::wstring commandLine = QuoteArgument(copy) + L" " +
                             TemporaryCopySwitches(installFolder, reinterpret_cast<std::uintptr_t>(self));
  if (!arguments.empty()) commandLine += L" " + arguments;

  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION started = {};
  // The copy's current folder is its own: the install folder must not be
  // held by it.
  if (!CreateProcessW(copy.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, folder.c_str(),
                      &startup, &started)) {
    TraceLastError(L"CreateProcessW failed");
    discardCopy();
    return false;
  }
  CloseHandle(started.hThread);
  CloseHandle(started.hProcess);
  return true;
}

void WaitForStarter(std::uintptr_t starterProcess) {
  if (starterProcess == 0) return;
  UniqueHandle starter(reinterpret_cast<HANDLE>(starterProcess));
  if (WaitForSingleObject(starter.Get(), kStarterWaitMs) != WAIT_OBJECT_0) {
    DebugLine(L"the uninstaller's starter has not ended\r\n");
  }
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
