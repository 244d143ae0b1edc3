#include "app/startup/app_instance.h"

#include <cstdio>

#include "base/debug_line.h"

namespace {

constexpr wchar_t kDialogClass[] = L"CDlgInstall";
constexpr size_t kNameUnits = 260;

}  // namespace

std::wstring AppInstanceName(const std::wstring& baseName, int appId, bool useSuffix) {
  wchar_t name[kNameUnits] = {};
  if (useSuffix && appId != 0) {
    _snwprintf(name, kNameUnits - 1, L"%ls%d", baseName.c_str(), appId);
  } else {
    _snwprintf(name, kNameUnits - 1, L"%ls", baseName.c_str());
  }
  return name;
}

HANDLE CreateAppInstance(const std::wstring& name) {
  DebugLine(L" szObjectName = %ls ", name.c_str());

  // A null access list: every account, elevated or not, may open the marker.
  SECURITY_DESCRIPTOR descriptor;
  InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION);
  SetSecurityDescriptorDacl(&descriptor, TRUE, nullptr, FALSE);
  SECURITY_ATTRIBUTES attributes = {sizeof attributes, &descriptor, TRUE};

  const HANDLE mutex = CreateMutexW(&attributes, FALSE, name.c_str());
  if (!mutex || GetLastError() != ERROR_ALREADY_EXISTS) return nullptr;

  if (const HWND dialog = FindWindowW(kDialogClass, nullptr)) SwitchToThisWindow(dialog, TRUE);
  return mutex;
}
