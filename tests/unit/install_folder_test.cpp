#include "app/startup/install_folder.h"

#include <gtest/gtest.h>

namespace {

struct FolderCase {
  std::wstring given;
  std::wstring expected;
};

class InstallFolderTest : public testing::TestWithParam<FolderCase> {};

TEST_P(InstallFolderTest, EndsInTheProductFolder) {
  EXPECT_EQ(WithProductFolder(GetParam().given).value_or(L"<none>"), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Folders, InstallFolderTest,
    testing::Values(FolderCase{L"D:\\Apps", L"D:\\Apps\\Lumetrica"},
                    FolderCase{L"D:\\Apps\\", L"D:\\Apps\\Lumetrica"},
                    FolderCase{L"D:\\Apps\\Lumetrica", L"D:\\Apps\\Lumetrica"},
                    FolderCase{L"D:\\Apps\\lumetrica", L"D:\\Apps\\lumetrica\\Lumetrica"},
                    FolderCase{L"D:\\MyLumetrica", L"D:\\MyLumetrica"},
                    FolderCase{L"D:", L"D:\\Lumetrica"}));

TEST(InstallFolderLimitTest, RefusesAFolderThatWouldNotFitAPathBuffer) {
  const std::wstring fits(259 - 10, L'a');  // plus "\Lumetrica": exactly 259 units
  EXPECT_EQ(WithProductFolder(fits).value_or(L""), fits + L"\\Lumetrica");
  EXPECT_FALSE(WithProductFolder(fits + L"a").has_value());
}

}  // namespace
