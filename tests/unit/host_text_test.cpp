// Text forms the host functions build or take apart without the system:
// binary registry data, the explorer.exe command line, paths taken apart and joined.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "base/explorer_command_line.h"
#include "base/path_text.h"
#include "hostapi/hex_pairs.h"

namespace {

using Bytes = std::vector<unsigned char>;

TEST(BytesFromHexPairs, ReadsPairsFromEvenPositions) {
  const struct {
    const wchar_t* text;
    Bytes bytes;
  } cases[] = {
      {L"", {}},
      {L"0A1b", {0x0A, 0x1B}},
      {L"ABC", {0xAB, 0x0C}},
      {L"ff00", {0xFF, 0x00}},
      {L"7", {0x07}},
      // A position without a hexadecimal number repeats the byte before it.
      {L"zz01", {0x00, 0x01}},
      {L"12zz", {0x12, 0x12}},
      {L"1g2h", {0x01, 0x02}},
      // As scanf's "%02X": white space skipped, a sign within the two characters.
      {L"01 2", {0x01, 0x02}},
      {L"  7f", {0x7F, 0x7F}},
      {L"-1", {0xFF}},
      {L"+5ab", {0x05, 0xAB}},
      {L"0x12", {0x00, 0x12}},
      {L"-g12", {0x00, 0x12}},
  };
  for (const auto& c : cases) EXPECT_EQ(BytesFromHexPairs(c.text), c.bytes) << "text \"" << c.text << "\"";
}

TEST(ExplorerCommandLine, QuotesTheFileAndTheParameters) {
  EXPECT_EQ(ExplorerCommandLine(L"C:\\Program Files\\Lumetrica\\Lumetrica.exe", L""),
            L"explorer.exe \"C:\\Program Files\\Lumetrica\\Lumetrica.exe\" \"\"");
  EXPECT_EQ(ExplorerCommandLine(L"C:\\p.exe", L"-from installer"), L"explorer.exe \"C:\\p.exe\" \"-from installer\"");
}

TEST(PathFolder, CutsTheLastComponent) {
  const struct {
    const wchar_t* path;
    const wchar_t* folder;
  } cases[] = {
      {L"C:\\Program Files\\Lumetrica\\Lumetrica.exe", L"C:\\Program Files\\Lumetrica"},
      {L"C:\\Lumetrica.exe", L"C:\\"},
      {L"C:/tools/a.exe", L"C:/tools"},
      {L"\\\\server\\share\\a.lnk", L"\\\\server\\share"},
      {L"\\a.exe", L"\\"},
      {L"a.exe", L""},
      {L"", L""},
  };
  for (const auto& c : cases) EXPECT_EQ(PathFolder(c.path), c.folder) << "path \"" << c.path << "\"";
}

TEST(JoinPath, PutsOneBackslashBetweenAndRefusesTooLongPaths) {
  const struct {
    const wchar_t* folder;
    const wchar_t* joined;
  } cases[] = {
      {L"C:\\Program Files\\Lumetrica", L"C:\\Program Files\\Lumetrica\\rkstat.dll"},
      {L"C:\\Program Files\\Lumetrica\\", L"C:\\Program Files\\Lumetrica\\rkstat.dll"},
      {L"C:\\", L"C:\\rkstat.dll"},
      {L"", L"rkstat.dll"},
  };
  for (const auto& c : cases) EXPECT_EQ(JoinPath(c.folder, L"rkstat.dll"), c.joined) << "folder \"" << c.folder << "\"";

  // 259 units fit a 260-unit buffer with its terminator; 260 do not.
  const std::wstring component = L"rkstat.dll";
  const std::wstring fits(259 - component.size() - 1, L'a');
  EXPECT_EQ(JoinPath(fits, component)->size(), 259u);
  EXPECT_EQ(JoinPath(fits + L"a", component), std::nullopt);
}

TEST(IsFullPath, OnlyRootedDrivePathsAndNetworkPaths) {
  const std::pair<const wchar_t*, bool> cases[] = {
      {L"C:\\Lumetrica\\rkstat.dll", true}, {L"z:/tmp/rkstat.dll", true},
      {L"\\\\server\\share\\rkstat.dll", true}, {L"rkstat.dll", false},
      {L"C:rkstat.dll", false}, {L"\\rkstat.dll", false},
      {L".\\rkstat.dll", false}, {L"", false},
      {L"1:\\rkstat.dll", false},
  };
  for (const auto& [path, full] : cases) EXPECT_EQ(IsFullPath(path), full) << "path \"" << path << "\"";
}

}  // namespace
