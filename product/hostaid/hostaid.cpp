// hostaid.dll: the product's support library. The install and uninstall
// scripts load it from the install folder and call these exports by name
// with the standard calling convention; texts are UTF-16.
#include <windows.h>
#include <aclapi.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <string>

#include "base/com_ptr.h"
#include "base/handles.h"
#include "base/path_text.h"
#include "base/system_folders.h"

#define HOSTAID_EXPORT extern "C" __declspec(dllexport)

namespace {

constexpr wchar_t kPinnedTaskBarFolder[] = L"User Pinned\\TaskBar";
constexpr wchar_t kDataFolder[] = L"Data";

std::wstring Expanded(const wchar_t* text) {
  const DWORD units = ExpandEnvironmentStringsW(text, nullptr, 0);
  if (units == 0) return text;
  std::wstring out(units, L'\0');
  ExpandEnvironmentStringsW(text, out.data(), units);
  out.resize(units - 1);
  return out;
}

std::wstring FileNameOf(const std::wstring& path) {
  const size_t slash = path.find_last_of(L'\\');
  return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

}  // namespace

// Gives the local Users group modify rights on the product's data folder
// ("Data" in the install folder, made when missing) and, through
// inheritance, on everything in it: the one place where the product writes
// as an ordinary user. The install folder, its programs and libraries keep
// the rights they inherit from Program Files: the service runs from there,
// and a folder that users could write would let any of them replace its
// program or plant a library beside it.
HOSTAID_EXPORT BOOL __stdcall AllowAccountPrivilege(const wchar_t* installFolder) {
  if (!installFolder || !*installFolder) return FALSE;
  if (GetFileAttributesW(installFolder) == INVALID_FILE_ATTRIBUTES) return FALSE;
  const std::wstring data = std::wstring(installFolder) + L"\\" + kDataFolder;
  if (!CreateDirectoryW(data.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) return FALSE;
  const wchar_t* folder = data.c_str();
  BYTE usersSid[SECURITY_MAX_SID_SIZE];
  DWORD sidSize = sizeof(usersSid);
  if (!CreateWellKnownSid(WinBuiltinUsersSid, nullptr, usersSid, &sidSize)) return FALSE;

  PACL oldAcl = nullptr;
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (GetNamedSecurityInfoW(folder, SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, &oldAcl,
                            nullptr, &descriptor) != ERROR_SUCCESS) {
    return FALSE;
  }
  EXPLICIT_ACCESSW access{};
  access.grfAccessPermissions = FILE_GENERIC_READ | FILE_GENERIC_WRITE | FILE_GENERIC_EXECUTE | DELETE;
  access.grfAccessMode = GRANT_ACCESS;
  access.grfInheritance = SUB_CONTAINERS_AND_OBJECTS_INHERIT;
  access.Trustee.TrusteeForm = TRUSTEE_IS_SID;
  access.Trustee.TrusteeType = TRUSTEE_IS_WELL_KNOWN_GROUP;
  access.Trustee.ptstrName = reinterpret_cast<LPWSTR>(usersSid);
  PACL newAcl = nullptr;
  DWORD status = SetEntriesInAclW(1, &access, oldAcl, &newAcl);
  if (status == ERROR_SUCCESS) {
    status = SetNamedSecurityInfoW(const_cast<LPWSTR>(folder), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION,
                                   nullptr, nullptr, newAcl, nullptr);
    LocalFree(newAcl);
  }
  LocalFree(descriptor);
  return status == ERROR_SUCCESS;
}

// The product's link on the current user's desktop, named after the
// product, starting the program in its own folder. The window class belongs
// to the call form the scripts use; the link itself needs only the program.
HOSTAID_EXPORT void __stdcall CreateDesktopShortcut(const wchar_t* program, const wchar_t* /*windowClass*/,
                                                   const wchar_t* productName) {
  if (!program || !productName) return;
  const std::wstring desktop = SpecialFolder(CSIDL_DESKTOPDIRECTORY);
  if (desktop.empty()) return;
  ScopedComInit com;
  ComPtr<IShellLinkW> link;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                              link.Out()))) {
    return;
  }
  link->SetPath(program);
  link->SetWorkingDirectory(PathFolder(program).c_str());
  link->SetDescription(productName);
  ComPtr<IPersistFile> file;
  if (FAILED(link->QueryInterface(IID_IPersistFile, file.Out()))) return;
  const std::wstring linkPath = std::wstring(desktop) + L"\\" + productName + L".lnk";
  file->Save(linkPath.c_str(), TRUE);
}

// Windows 7 is version 6.1, as the kernel reports it (not the version the
// program's manifest asks to be shown).
HOSTAID_EXPORT BOOL __stdcall IsOSWin7() {
  using RtlGetVersionFn = LONG(WINAPI*)(OSVERSIONINFOW*);
  auto getVersion = reinterpret_cast<RtlGetVersionFn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "RtlGetVersion")));
  OSVERSIONINFOW version{};
  version.dwOSVersionInfoSize = sizeof(version);
  if (!getVersion || getVersion(&version) != 0) return FALSE;
  return version.dwMajorVersion == 6 && version.dwMinorVersion == 1;
}

// Given a Quick Launch link (environment names allowed), removes the
// product from the taskbar: the shell is asked to unpin the pinned copy of
// that link, and the copy is deleted when the shell left it.
HOSTAID_EXPORT void __stdcall UnpinFromTaskbar(const wchar_t* quickLaunchLink) {
  if (!quickLaunchLink) return;
  const std::wstring link = Expanded(quickLaunchLink);
  const std::wstring pinned = PathFolder(link) + L"\\" + kPinnedTaskBarFolder + L"\\" + FileNameOf(link);
  if (GetFileAttributesW(pinned.c_str()) == INVALID_FILE_ATTRIBUTES) return;
  SHELLEXECUTEINFOW unpin{};
  unpin.cbSize = sizeof(unpin);
  unpin.fMask = SEE_MASK_FLAG_NO_UI;
  unpin.lpVerb = L"taskbarunpin";
  unpin.lpFile = pinned.c_str();
  unpin.nShow = SW_HIDE;
  ShellExecuteExW(&unpin);
  DeleteFileW(pinned.c_str());
}
