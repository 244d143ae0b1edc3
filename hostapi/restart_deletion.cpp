#include "hostapi/restart_deletion.h"

#include <windows.h>
#include <aclapi.h>
#include <sddl.h>
#include <shlwapi.h>

#include <vector>

#include "base/debug_line.h"
#include "hostapi/link_free_path.h"

namespace {

// Rights that let a holder swap an entry for a link: remove or rename it, or
// give themselves those rights.
constexpr ACCESS_MASK kChangeRights = DELETE | FILE_DELETE_CHILD | WRITE_DAC | WRITE_OWNER | GENERIC_ALL;
// The system's installer service ("NT SERVICE\TrustedInstaller"), which owns
// the system's own folders.
constexpr wchar_t kTrustedInstallerSid[] = L"S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464";

class TrustedAccounts {
 public:
  TrustedAccounts() {
    AddWellKnown(WinLocalSystemSid);
    AddWellKnown(WinBuiltinAdministratorsSid);
    PSID installer = nullptr;
    if (ConvertStringSidToSidW(kTrustedInstallerSid, &installer)) {
      Add(installer);
      LocalFree(installer);
    }
    AddCurrentUser();
  }

  bool Contains(PSID sid) const {
    for (const std::vector<BYTE>& trusted : sids_) {
      if (EqualSid(const_cast<BYTE*>(trusted.data()), sid)) return true;
    }
    return false;
  }

 private:
  void Add(PSID sid) {
    const BYTE* bytes = static_cast<const BYTE*>(sid);
    sids_.emplace_back(bytes, bytes + GetLengthSid(sid));
  }
  void AddWellKnown(WELL_KNOWN_SID_TYPE type) {
    BYTE sid[SECURITY_MAX_SID_SIZE];
    DWORD size = sizeof sid;
    if (CreateWellKnownSid(type, nullptr, sid, &size)) Add(sid);
  }
  void AddCurrentUser() {
    HANDLE opened = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &opened)) return;
    const UniqueHandle token(opened);
    DWORD size = 0;
    GetTokenInformation(token.Get(), TokenUser, nullptr, 0, &size);
    std::vector<BYTE> buffer(size);
    if (size && GetTokenInformation(token.Get(), TokenUser, buffer.data(), size, &size)) {
      Add(reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid);
    }
  }

  std::vector<std::vector<BYTE>> sids_;
};

const TrustedAccounts& Trusted() {
  static const TrustedAccounts accounts;
  return accounts;
}

// Every component of the full path, from the drive's root to the path.
std::vector<std::wstring> Components(const std::wstring& path) {
  std::vector<std::wstring> components;
  wchar_t full[MAX_PATH * 4];
  const DWORD length = GetFullPathNameW(path.c_str(), ARRAYSIZE(full), full, nullptr);
  if (length == 0 || length >= ARRAYSIZE(full)) return components;
  const wchar_t* rest = PathSkipRootW(full);
  if (!rest) return components;
  std::wstring walked(static_cast<const wchar_t*>(full), rest);
  components.push_back(walked);
  for (const wchar_t* at = rest; *at;) {
    const wchar_t* end = wcschr(at, L'\\');
    if (!end) end = at + wcslen(at);
    if (end > at) {
      if (walked.back() != L'\\') walked += L'\\';
      walked.append(at, end);
      components.push_back(walked);
    }
    at = *end ? end + 1 : end;
  }
  return components;
}

}  // namespace

bool OtherUsersCanChange(const std::wstring& path) {
  PSID owner = nullptr;
  PACL dacl = nullptr;
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (GetNamedSecurityInfoW(path.c_str(), SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION,
                            &owner, nullptr, &dacl, nullptr, &descriptor) != ERROR_SUCCESS) {
    return true;
  }
  // The owner may always rewrite the permissions; no list lets everybody in.
  bool changeable = !owner || !Trusted().Contains(owner) || !dacl;
  for (DWORD i = 0; !changeable && i < dacl->AceCount; ++i) {
    ACE_HEADER* header = nullptr;
    if (!GetAce(dacl, i, reinterpret_cast<void**>(&header))) continue;
    // An entry only handed down to what is made inside grants nothing here.
    if (header->AceType != ACCESS_ALLOWED_ACE_TYPE || (header->AceFlags & INHERIT_ONLY_ACE)) continue;
    auto* allowed = reinterpret_cast<ACCESS_ALLOWED_ACE*>(header);
    changeable = (allowed->Mask & kChangeRights) && !Trusted().Contains(&allowed->SidStart);
  }
  LocalFree(descriptor);
  return changeable;
}

bool ScheduleDeletionAtRestart(const wchar_t* function, const std::wstring& path) {
  const LinkFreePath held(path);
  if (!held.Clear()) {
    ReportLinkedPath(function, path, held.Refused());
    return false;
  }
  for (const std::wstring& component : Components(path)) {
    if (OtherUsersCanChange(component)) {
      DebugLine(L"Fun:%ls, Description:%ls is not scheduled: other users can change %ls!\r\n", function,
                path.c_str(), component.c_str());
      return false;
    }
  }
  return MoveFileExW(path.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT) != FALSE;
}
