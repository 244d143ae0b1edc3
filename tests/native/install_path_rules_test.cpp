// The dialog's folder and size rules: the base folder kept at the end of a
// picked folder, the drive-letter test, the needed bytes and the disk-space
// message.
#include <gtest/gtest.h>

#include "app/install/install_path_rules.h"

namespace {

TEST(InstallPathRulesTest, APickedFolderEndsInTheBaseFolder) {
  struct Case {
    const wchar_t* picked;
    const wchar_t* result;
  };
  const Case cases[] = {
      {L"D:\\Tools", L"D:\\Tools\\Orrinthwake"},
      {L"D:\\Tools\\Orrinthwake", L"D:\\Tools\\Orrinthwake"},
      {L"D:\\", L"D:\\Orrinthwake"},
      {L"D:\\Tools\\orrinthwake", L"D:\\Tools\\orrinthwake\\Orrinthwake"},  // case counts
      {L"D:/Tools/Orrinthwake", L"D:/Tools/Orrinthwake"},
      {L"D:/Tools/", L"D:/Tools/Orrinthwake"},
      {L"Orrinthwake", L"Orrinthwake"},
  };
  for (const Case& c : cases) EXPECT_EQ(AppendBaseFolder(c.picked, L"Orrinthwake"), c.result) << c.picked;
}

TEST(InstallPathRulesTest, OnlyAFolderWithADriveLetterQualifies) {
  for (const wchar_t* good : {L"C:\\Apps", L"d:", L"Z:\\"}) EXPECT_TRUE(StartsWithDriveLetter(good)) << good;
  for (const wchar_t* bad : {L"\\\\server\\share\\Apps", L"Apps\\Lumetrica", L"", L"C", L"1:\\Apps", L":\\Apps"}) {
    EXPECT_FALSE(StartsWithDriveLetter(bad)) << bad;
  }
}

TEST(InstallPathRulesTest, ARootBecomesTheBaseFolderUnderItNeverADriveRelativePath) {
  struct Case {
    const wchar_t* typed;
    const wchar_t* folder;
  };
  const Case cases[] = {
      {L"C:\\", L"C:\\Orrinthwake"},
      {L"C:", L"C:\\Orrinthwake"},
      {L"c:/", L"c:\\Orrinthwake"},
      {L"C:\\\\", L"C:\\Orrinthwake"},
      {L"D:\\Apps\\", L"D:\\Apps"},
      {L"D:\\Apps//", L"D:\\Apps"},
      {L"D:\\Apps\\Lumetrica", L"D:\\Apps\\Lumetrica"},
      {L"C:Apps", L"C:Apps"},  // refused later: not rooted
  };
  for (const Case& c : cases) EXPECT_EQ(InstallFolderOf(c.typed, L"Orrinthwake"), c.folder) << c.typed;
  for (const wchar_t* rooted : {L"C:\\Apps", L"d:/x", L"C:\\"}) EXPECT_TRUE(IsRootedOnDrive(rooted)) << rooted;
  for (const wchar_t* loose : {L"C:", L"C:Apps", L"\\\\server\\share", L"Apps"}) {
    EXPECT_FALSE(IsRootedOnDrive(loose)) << loose;
  }
}

TEST(InstallPathRulesTest, WellKnownFoldersAndTheSystemFolderAreRefused) {
  const std::vector<std::wstring> wellKnown = {L"C:\\Program Files", L"C:\\Program Files (x86)", L"C:\\Users\\me",
                                               L"C:\\Users\\me\\Documents", L"C:\\Users\\me\\Downloads\\"};
  const std::vector<std::wstring> system = {L"C:\\Windows"};
  struct Case {
    const wchar_t* folder;
    FolderRefusal refusal;
  };
  const Case cases[] = {
      {L"C:\\", FolderRefusal::kWellKnown},
      {L"D:\\", FolderRefusal::kWellKnown},
      {L"C:\\program files", FolderRefusal::kWellKnown},
      {L"C:\\Program Files\\", FolderRefusal::kWellKnown},
      {L"C:/Program Files (x86)", FolderRefusal::kWellKnown},
      {L"C:\\Users\\Me", FolderRefusal::kWellKnown},
      {L"C:\\Users\\me\\Documents", FolderRefusal::kWellKnown},
      {L"C:\\Users\\me\\Downloads", FolderRefusal::kWellKnown},
      {L"C:\\Windows", FolderRefusal::kInsideSystem},
      {L"C:\\windows\\System32", FolderRefusal::kInsideSystem},
      {L"C:\\Program Files\\Orrinthwake\\Lumetrica", FolderRefusal::kNone},
      {L"C:\\Users\\me\\Documents\\Lumetrica", FolderRefusal::kNone},
      {L"C:\\WindowsApps", FolderRefusal::kNone},
      {L"D:\\Games\\Lumetrica", FolderRefusal::kNone},
  };
  for (const Case& c : cases) EXPECT_EQ(RefusalOf(c.folder, wellKnown, system), c.refusal) << c.folder;
}

TEST(InstallPathRulesTest, NeededBytesAreAnUnsignedDecimalPrefix) {
  EXPECT_EQ(ReadNeededBytes(L"182958560"), 182958560u);
  EXPECT_EQ(ReadNeededBytes(L"18446744073709551615"), 18446744073709551615u);
  EXPECT_EQ(ReadNeededBytes(L"1024 bytes"), 1024u);
  EXPECT_EQ(ReadNeededBytes(L""), 0u);
  EXPECT_EQ(ReadNeededBytes(L"-5"), 0u);
  EXPECT_EQ(ReadNeededBytes(L"nil"), 0u);
}

TEST(InstallPathRulesTest, TheDiskSpaceMessageGivesMegabytesInSinglePrecision) {
  EXPECT_EQ(DiskSpaceMessage(182958560), L"磁盘剩余可用空间不足,安装程序需要174.48MB的空间来完成安装！");
  EXPECT_EQ(DiskSpaceMessage(0), L"磁盘剩余可用空间不足,安装程序需要0.00MB的空间来完成安装！");
  // 99999999999999 bytes are 95367431.64 MB, which single precision rounds.
  EXPECT_EQ(DiskSpaceMessage(99999999999999), L"磁盘剩余可用空间不足,安装程序需要95367432.00MB的空间来完成安装！");
}

}  // namespace
