#include "files/change_rights_rule.h"

#include <algorithm>
#include <iterator>

namespace {

// DELETE, FILE_DELETE_CHILD, WRITE_DAC, WRITE_OWNER, GENERIC_ALL: the rights
// that let a holder remove or rename the entry, or give themselves that.
constexpr uint32_t kChangeRights = 0x00010000 | 0x00000040 | 0x00040000 | 0x00080000 | 0x10000000;
// FILE_ADD_FILE (FILE_WRITE_DATA), FILE_WRITE_ATTRIBUTES, GENERIC_WRITE:
// the rights that let a holder make an empty folder a junction.
constexpr uint32_t kJunctionRights = 0x00000002 | 0x00000100 | 0x40000000;

constexpr const char* kTrustedAccounts[] = {
    "S-1-5-18",      // the system (LocalSystem)
    "S-1-5-32-544",  // the Administrators group
    "S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464",  // NT SERVICE\TrustedInstaller
};

bool IsTrusted(const std::string& account, const std::string& runningAccount) {
  if (account.empty()) return false;
  return account == runningAccount || std::find(std::begin(kTrustedAccounts), std::end(kTrustedAccounts),
                                                account) != std::end(kTrustedAccounts);
}

}  // namespace

bool OthersCanChange(const ObjectRights& rights, const std::string& runningAccount, PathPlace place) {
  if (!rights.hasList || !IsTrusted(rights.owner, runningAccount)) return true;
  const uint32_t counted = place == PathPlace::kFolderAtEnd ? kChangeRights | kJunctionRights : kChangeRights;
  return std::any_of(rights.entries.begin(), rights.entries.end(), [&](const RightsEntry& entry) {
    return !entry.inheritOnly && (entry.mask & counted) && !IsTrusted(entry.account, runningAccount);
  });
}
