// The dialog's folder and size rules: the base folder kept at the end of a
// picked folder, the drive-letter test, the needed bytes and the disk-space
// message.
#include <gtest/gtest.h>

#include "app/install_path_rules.h"

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
