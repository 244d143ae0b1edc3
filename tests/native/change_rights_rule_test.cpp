// The rule that decides whether a deletion at the next restart may go
// through a file or folder, on the owners and lists of rights that real
// Windows folders carry (Wine keeps none of them: it makes every list up
// from the Unix mode).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "files/change_rights_rule.h"

namespace {

constexpr char kSystem[] = "S-1-5-18";
constexpr char kAdministrators[] = "S-1-5-32-544";
constexpr char kUsers[] = "S-1-5-32-545";
constexpr char kAuthenticatedUsers[] = "S-1-5-11";
constexpr char kEveryone[] = "S-1-1-0";
constexpr char kCreatorOwner[] = "S-1-3-0";
constexpr char kAllApplicationPackages[] = "S-1-15-2-1";
constexpr char kTrustedInstaller[] = "S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464";
// The administrator who started the elevated program, and another user.
constexpr char kAdmin[] = "S-1-5-21-1004336348-1177238915-682003330-1001";
constexpr char kOtherUser[] = "S-1-5-21-1004336348-1177238915-682003330-1002";

constexpr uint32_t kFullControl = 0x001F01FF;
constexpr uint32_t kModify = 0x001301BF;
constexpr uint32_t kReadAndExecute = 0x001200A9;
constexpr uint32_t kAppendData = 0x00000004;  // "create folders" on a folder
constexpr uint32_t kGenericAll = 0x10000000;

RightsEntry Allow(const char* account, uint32_t mask) { return {false, mask, account}; }
RightsEntry HandDown(const char* account, uint32_t mask) { return {true, mask, account}; }

struct Case {
  const char* name;
  ObjectRights rights;
  bool othersCanChange;
};

TEST(ChangeRightsRuleTest, OnlyTheAdministratorsAndTheRunningAccountMayChangeWhatIsOnTheWay) {
  const Case cases[] = {
      {"C:\\ (users may make folders in it, and own what they make)",
       {kSystem, true,
        {Allow(kAdministrators, kFullControl), Allow(kSystem, kFullControl), Allow(kUsers, kReadAndExecute),
         HandDown(kAuthenticatedUsers, kModify), Allow(kAuthenticatedUsers, kAppendData)}},
       false},
      {"C:\\Program Files",
       {kTrustedInstaller, true,
        {Allow(kTrustedInstaller, kFullControl), Allow(kSystem, kModify), Allow(kAdministrators, kModify),
         Allow(kUsers, kReadAndExecute), HandDown(kCreatorOwner, kGenericAll),
         Allow(kAllApplicationPackages, kReadAndExecute)}},
       false},
      {"C:\\Windows\\Temp (users may add, not remove)",
       {kSystem, true,
        {Allow(kUsers, 0x00100026), Allow(kSystem, kFullControl), Allow(kAdministrators, kFullControl),
         HandDown(kCreatorOwner, kFullControl), Allow(kTrustedInstaller, kFullControl)}},
       false},
      {"the running administrator's temporary folder",
       {kAdmin, true, {Allow(kSystem, kFullControl), Allow(kAdministrators, kFullControl), Allow(kAdmin, kFullControl)}},
       false},
      {"another user's temporary folder",
       {kOtherUser, true,
        {Allow(kSystem, kFullControl), Allow(kAdministrators, kFullControl), Allow(kOtherUser, kFullControl)}},
       true},
      {"a second drive's root, which users may modify",
       {kSystem, true,
        {Allow(kAdministrators, kFullControl), Allow(kSystem, kFullControl), Allow(kAuthenticatedUsers, kModify),
         Allow(kUsers, kReadAndExecute)}},
       true},
      {"the product's data folder, which users may modify",
       {kAdministrators, true, {Allow(kAdministrators, kFullControl), Allow(kUsers, kModify)}}, true},
      {"a folder owned by another user, its list for administrators only",
       {kOtherUser, true, {Allow(kAdministrators, kFullControl)}}, true},
      {"an unknown owner", {"", true, {Allow(kAdministrators, kFullControl)}}, true},
      {"no list at all (FAT)", {kAdministrators, false, {}}, true},
      {"everybody may change its rights", {kAdministrators, true, {Allow(kEveryone, 0x00040000)}}, true},
      {"everybody may delete what is in it", {kAdministrators, true, {Allow(kEveryone, 0x00000040)}}, true},
      {"users get all rights by a generic right", {kAdministrators, true, {Allow(kUsers, kGenericAll)}}, true},
      {"everybody may write into it but not delete", {kAdministrators, true, {Allow(kEveryone, 0x00120116)}},
       false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(OthersCanChange(c.rights, kAdmin, PathPlace::kOnTheWay), c.othersCanChange) << c.name;
  }
}

TEST(ChangeRightsRuleTest, AnEmptyFolderAtTheEndMustNotBeWritableByOthers) {
  // Users may add files to the system's temporary folder: it may be on the
  // way (nobody can replace our folder in it), not deleted empty at the end.
  const ObjectRights windowsTemp = {kSystem, true,
                                    {Allow(kUsers, 0x00100026), Allow(kAdministrators, kFullControl)}};
  EXPECT_FALSE(OthersCanChange(windowsTemp, kAdmin, PathPlace::kOnTheWay));
  EXPECT_TRUE(OthersCanChange(windowsTemp, kAdmin, PathPlace::kFolderAtEnd));
  const ObjectRights attributesOnly = {kAdministrators, true, {Allow(kEveryone, 0x00000100)}};
  EXPECT_TRUE(OthersCanChange(attributesOnly, kAdmin, PathPlace::kFolderAtEnd));
  // The uninstaller's own folder in it: the system and the administrators only.
  const ObjectRights ownFolder = {kAdministrators, true,
                                  {Allow(kSystem, kFullControl), Allow(kAdministrators, kFullControl)}};
  EXPECT_FALSE(OthersCanChange(ownFolder, kAdmin, PathPlace::kFolderAtEnd));
}

TEST(ChangeRightsRuleTest, TheRunningAccountIsTrustedOnlyAsItself) {
  const ObjectRights adminsTemp = {kAdmin, true, {Allow(kAdmin, kFullControl)}};
  for (const PathPlace place : {PathPlace::kOnTheWay, PathPlace::kFolderAtEnd}) {
    EXPECT_FALSE(OthersCanChange(adminsTemp, kAdmin, place));
    EXPECT_TRUE(OthersCanChange(adminsTemp, kOtherUser, place));
    EXPECT_TRUE(OthersCanChange(adminsTemp, "", place));
  }
}

}  // namespace
