#include "files/restart_deletion.h"

#include <windows.h>
#include <aclapi.h>
#include <sddl.h>

#include <vector>

#include "base/debug_line.h"
#include "base/handles.h"
#include "base/text.h"
#include "files/change_rights_rule.h"
#include "files/link_free_path.h"

namespace {

// A SID as text ("S-1-5-32-544"); empty when it cannot be written.
std::string SidText(PSID sid) {
  wchar_t* text = nullptr;
  if (!sid || !ConvertSidToStringSidW(sid, &text)) return {};
  const std::string converted = WideToUtf8(text);
  LocalFree(text);
  return converted;
}

std::string RunningAccount() {
  HANDLE opened = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &opened)) return {};
  const UniqueHandle token(opened);
  DWORD size = 0;
  if (GetTokenInformation(token.Get(), TokenUser, nullptr, 0, &size) || GetLastError() != ERROR_INSUFFICIENT_BUFFER) {
    return {};
  }
  std::vector<BYTE> buffer(size);
  if (!GetTokenInformation(token.Get(), TokenUser, buffer.data(), size, &size)) return {};
  return SidText(reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid);
}

// The owner and list of rights of the file or folder at `path`; false when
// they cannot be read.
bool ReadRights(const std::wstring& path, ObjectRights* rights) {
  PSID owner = nullptr;
  PACL list = nullptr;
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (GetNamedSecurityInfoW(path.c_str(), SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION,
                            &owner, nullptr, &list, nullptr, &descriptor) != ERROR_SUCCESS) {
    return false;
  }
  rights->owner = SidText(owner);
  rights->hasList = list != nullptr;
  for (DWORD i = 0; list && i < list->AceCount; ++i) {
    ACE_HEADER* header = nullptr;
    if (!GetAce(list, i, reinterpret_cast<void**>(&header))) continue;
    // Entries that deny only take rights away. Both allowing kinds keep the
    // mask and the account right after the header.
    if (header->AceType != ACCESS_ALLOWED_ACE_TYPE && header->AceType != ACCESS_ALLOWED_CALLBACK_ACE_TYPE) continue;
    const auto* entry = reinterpret_cast<const ACCESS_ALLOWED_ACE*>(header);
    rights->entries.push_back({(header->AceFlags & INHERIT_ONLY_ACE) != 0, entry->Mask,
                               SidText(const_cast<DWORD*>(&entry->SidStart))});
  }
  LocalFree(descriptor);
  return true;
}

}  // namespace

bool ScheduleDeletionAtRestart(const wchar_t* function, const std::wstring& path) {
  const LinkFreePath held(path);
  if (held.RefusedFor(function)) return false;
  static const std::string runningAccount = RunningAccount();
  const std::vector<std::wstring>& components = held.Components();
  const DWORD attributes = GetFileAttributesW(path.c_str());
  const bool namesFolder = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
  for (const std::wstring& component : components) {
    const PathPlace place =
        namesFolder && &component == &components.back() ? PathPlace::kFolderAtEnd : PathPlace::kOnTheWay;
    ObjectRights rights;
    if (!ReadRights(component, &rights) || OthersCanChange(rights, runningAccount, place)) {
      DebugLine(L"Fun:%ls, Description:%ls is not scheduled: other users can change %ls!\r\n", function,
                path.c_str(), component.c_str());
      return false;
    }
  }
  return MoveFileExW(path.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT) != FALSE;
}
