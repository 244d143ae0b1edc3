#include "hostapi/archive_entry_name.h"

#include <gtest/gtest.h>

namespace {

struct NameCase {
  const wchar_t* name;
  bool safe;
};

class EntryNameTest : public testing::TestWithParam<NameCase> {};

TEST_P(EntryNameTest, OnlyNamesInsideTheFolderAreSafe) {
  EXPECT_EQ(IsSafeEntryName(GetParam().name), GetParam().safe) << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(
    Names, EntryNameTest,
    testing::Values(NameCase{L"a.txt", true}, NameCase{L"a/b/c.txt", true}, NameCase{L"a\\b.txt", true},
                    NameCase{L"..a/b..", true}, NameCase{L"a/.../b", true}, NameCase{L"./a", true},
                    NameCase{L"", false}, NameCase{L"..", false}, NameCase{L"../a", false},
                    NameCase{L"a/../../b", false}, NameCase{L"a\\..\\..\\b", false},
                    NameCase{L"a/..", false}, NameCase{L"/etc/x", false}, NameCase{L"\\x", false},
                    NameCase{L"\\\\server\\share\\x", false}, NameCase{L"//server/x", false},
                    NameCase{L"C:x", false}, NameCase{L"C:\\x", false}, NameCase{L"a.txt:stream", false}));

}  // namespace
