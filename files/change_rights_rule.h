// Whether someone other than the machine's administrators could swap a file
// or folder for a link, judged from its owner and its list of rights alone.
// No system calls: the rule is tested on the lists real Windows folders
// carry, which Wine does not keep.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// One allowing entry of a list of rights (entries that deny only take
// rights away); the account as SID text ("S-1-5-32-545").
struct RightsEntry {
  bool inheritOnly;  // only handed down to what is made inside, grants nothing here
  uint32_t mask;
  std::string account;
};

struct ObjectRights {
  std::string owner;  // SID text; empty when unknown
  bool hasList = false;  // no list at all lets everybody do anything
  std::vector<RightsEntry> entries;
};

// Where the object stands in the path to be deleted at the next restart.
enum class PathPlace {
  kOnTheWay,     // a folder the path runs through, or the file it names
  kFolderAtEnd,  // the folder it names, empty by then
};

// True when the owner, or an account that an entry allows to delete the
// object, delete entries in it, or change its rights or owner, is none of:
// the system, the administrators, the system's installer service
// ("NT SERVICE\TrustedInstaller") and `runningAccount`. The owner may always
// rewrite the rights, so an untrusted owner alone is enough. Adding entries
// to a folder on the way redirects nothing that is there; but an empty
// folder that others may write (add a file to, or change the attributes of)
// can be made a junction, so for kFolderAtEnd those rights count too. True
// also when there is no list or the owner is unknown.
bool OthersCanChange(const ObjectRights& rights, const std::string& runningAccount, PathPlace place);
