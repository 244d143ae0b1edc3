#include "app/install/install_checks.h"

#include <windows.h>
#include <shlobj.h>

#include <vector>

#include "app/install/install_path_rules.h"
#include "base/full_path_name.h"
#include "base/handles.h"
#include "base/path_exists.h"
#include "base/system_folders.h"

namespace {

// The files an install of the product leaves in its folder for the
// uninstaller: their presence marks an earlier install.
constexpr const wchar_t* kUninstallerFiles[] = {L"Uninstall.exe", L"Uninst.dar0", L"Uninst.dar1"};

// Folders that hold more than one product or a user's own files.
constexpr int kWellKnownFolders[] = {
    CSIDL_PROGRAM_FILES,       CSIDL_PROGRAM_FILESX86,   CSIDL_PROGRAM_FILES_COMMON, CSIDL_PROGRAM_FILES_COMMONX86,
    CSIDL_PROFILE,             CSIDL_DESKTOPDIRECTORY,   CSIDL_PERSONAL,             CSIDL_MYMUSIC,
    CSIDL_MYPICTURES,          CSIDL_MYVIDEO,            CSIDL_FAVORITES,            CSIDL_APPDATA,
    CSIDL_LOCAL_APPDATA,       CSIDL_STARTMENU,          CSIDL_PROGRAMS,             CSIDL_STARTUP,
    CSIDL_TEMPLATES,           CSIDL_COMMON_APPDATA,     CSIDL_COMMON_DESKTOPDIRECTORY, CSIDL_COMMON_DOCUMENTS,
    CSIDL_COMMON_STARTMENU,    CSIDL_COMMON_PROGRAMS,
};
const KNOWNFOLDERID* const kWellKnownIds[] = {&FOLDERID_Downloads, &FOLDERID_UserProfiles, &FOLDERID_Public};

std::vector<std::wstring> WellKnownFolders() {
  std::vector<std::wstring> folders;
  for (int csidl : kWellKnownFolders) {
    std::wstring folder = SpecialFolder(csidl);
    if (!folder.empty()) folders.push_back(std::move(folder));
  }
  for (const KNOWNFOLDERID* id : kWellKnownIds) {
    std::wstring folder = KnownFolder(*id);
    if (!folder.empty()) folders.push_back(std::move(folder));
  }
  const std::wstring temp = TemporaryFolder();
  if (!temp.empty()) folders.push_back(temp);
  return folders;
}

std::vector<std::wstring> SystemFolders() {
  wchar_t windows[MAX_PATH];
  const UINT length = GetSystemWindowsDirectoryW(windows, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return {};
  return {std::wstring(windows, length)};
}

bool HoldsEarlierInstall(const std::wstring& folder) {
  for (const wchar_t* name : kUninstallerFiles) {
    if (!PathExists(folder + L"\\" + name)) return false;
  }
  return true;
}

bool HoldsEntries(const std::wstring& folder) {
  WIN32_FIND_DATAW found = {};
  const UniqueFindHandle search(FindFirstFileW((folder + L"\\*").c_str(), &found));
  if (!search) return false;
  bool any = false;
  do {
    any = wcscmp(found.cFileName, L".") != 0 && wcscmp(found.cFileName, L"..") != 0;
  } while (!any && FindNextFileW(search.Get(), &found));
  return any;
}

}  // namespace

bool IsLegalInstallPath(const std::wstring& folder) {
  if (!StartsWithDriveLetter(folder)) return false;
  const int result = SHCreateDirectoryExW(nullptr, folder.c_str(), nullptr);
  return result == ERROR_SUCCESS || result == ERROR_ALREADY_EXISTS || result == ERROR_FILE_EXISTS;
}

InstallFolderCheck CheckInstallFolder(const std::wstring& typed, const std::wstring& baseName, std::wstring* folder) {
  const std::wstring chosen = InstallFolderOf(typed, baseName);
  std::wstring full;
  if (!IsRootedOnDrive(chosen) || !FullPathName(chosen, &full) ||
      RefusalOf(full, WellKnownFolders(), SystemFolders()) != FolderRefusal::kNone) {
    return InstallFolderCheck::kIllegal;
  }
  if (HoldsEntries(full) && !HoldsEarlierInstall(full)) return InstallFolderCheck::kOccupied;
  const int result = SHCreateDirectoryExW(nullptr, full.c_str(), nullptr);
  if (result != ERROR_SUCCESS && result != ERROR_ALREADY_EXISTS) return InstallFolderCheck::kIllegal;
  *folder = full;
  return InstallFolderCheck::kUsable;
}

uint64_t FreeBytesOnDrive(const std::wstring& folder) {
  const std::wstring drive = folder.substr(0, 2) + L"\\";
  ULARGE_INTEGER available{}, total{}, free{};
  if (!GetDiskFreeSpaceExW(drive.c_str(), &available, &total, &free)) return 0;
  return free.QuadPart;
}
