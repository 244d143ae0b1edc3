#include "product/uninstall/temporary_copy.h"

#include <windows.h>

#include <cstdint>

#include "app/module_path.h"
#include "base/debug_line.h"
#include "base/handles.h"
#include "base/path_text.h"
#include "product/uninstall/uninstall_options.h"

namespace {

constexpr wchar_t kFolderPrefix[] = L"Lun";
constexpr DWORD kStarterWaitMs = 30000;
// Libraries the uninstall script copies beside the uninstaller so that the
// install folder can go while they are loaded.
constexpr const wchar_t* kLibraryCopies[] = {L"rkstat.dll", L"udp_rk.dll"};

// A folder that did not exist before, in the temporary folder.
std::wstring MakeFreshTemporaryFolder() {
  wchar_t temp[MAX_PATH + 1] = {};
  if (GetTempPathW(MAX_PATH + 1, temp) == 0) return {};
  wchar_t name[MAX_PATH] = {};
  // The system makes a unique empty file; its name becomes the folder's.
  if (GetTempFileNameW(temp, kFolderPrefix, 0, name) == 0) return {};
  DeleteFileW(name);
  if (!CreateDirectoryW(name, nullptr)) return {};
  return name;
}

}  // namespace

bool StartTemporaryCopy(const std::wstring& installFolder, const std::wstring& arguments) {
  const std::wstring program = ProgramPath();
  const std::wstring folder = MakeFreshTemporaryFolder();
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
      MoveFileExW(copy.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
    }
  }
  // In this order: the folder must be empty when its turn comes.
  if (!MoveFileExW(program.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT)) {
    TraceLastError(L"MoveFileExW failed");
  }
  MoveFileExW(folder.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
}
