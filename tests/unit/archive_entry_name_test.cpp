#include "files/archive_entry_name.h"

#include <gtest/gtest.h>

#include <string>

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

// Windows opens these names as devices in any folder, whatever follows the
// first dot: an entry so named would write to the device.
INSTANTIATE_TEST_SUITE_P(
    DeviceNames, EntryNameTest,
    testing::Values(NameCase{L"CON", false}, NameCase{L"nul.txt", false}, NameCase{L"a/Aux.tar.gz", false},
                    NameCase{L"prn/b.txt", false}, NameCase{L"a\\com1", false}, NameCase{L"LPT9.log", false},
                    NameCase{L"con .txt", false}, NameCase{L"COM\u00B9", false}, NameCase{L"conout$", false},
                    NameCase{L"COM0", true}, NameCase{L"LPT10", true}, NameCase{L"console.txt", true},
                    NameCase{L"a.con", true}, NameCase{L"nul_/x", true}, NameCase{L"my con.txt", true}));

}  // namespace

namespace {

struct FaultCase {
  std::wstring name;
  EntryNameFault fault;
};

class EntryNameFaultTest : public testing::TestWithParam<FaultCase> {};

TEST_P(EntryNameFaultTest, WhatKeepsANameFromBecomingThatFile) {
  EXPECT_EQ(FindEntryNameFault(GetParam().name), GetParam().fault) << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(
    Faults, EntryNameFaultTest,
    testing::Values(FaultCase{L"a/b c/d.txt", EntryNameFault::kNone}, FaultCase{L"../a", EntryNameFault::kOutside},
                    FaultCase{L"a:b", EntryNameFault::kOutside}, FaultCase{L"docs/nul.txt", EntryNameFault::kDevice},
                    FaultCase{L"what?.txt", EntryNameFault::kRefusedCharacter},
                    FaultCase{L"a/<b>", EntryNameFault::kRefusedCharacter},
                    FaultCase{L"a\"b", EntryNameFault::kRefusedCharacter},
                    FaultCase{L"a|b", EntryNameFault::kRefusedCharacter},
                    FaultCase{L"star*", EntryNameFault::kRefusedCharacter},
                    FaultCase{L"tab\there", EntryNameFault::kRefusedCharacter},
                    FaultCase{L"folder./a", EntryNameFault::kDotOrSpaceAtEnd},
                    FaultCase{L"a/file ", EntryNameFault::kDotOrSpaceAtEnd},
                    FaultCase{std::wstring(255, L'x'), EntryNameFault::kNone},
                    FaultCase{std::wstring(256, L'x'), EntryNameFault::kComponentTooLong},
                    FaultCase{std::wstring(200, L'x') + L"/" + std::wstring(58, L'y'), EntryNameFault::kNone},
                    FaultCase{std::wstring(200, L'x') + L"/" + std::wstring(59, L'y'),
                              EntryNameFault::kPathTooLong}));

}  // namespace
