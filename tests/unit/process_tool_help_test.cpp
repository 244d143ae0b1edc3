#include "hostapi/process_tool_help.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "hostapi/device_path.h"

namespace {

struct PrefixCase {
  const wchar_t* path;
  const wchar_t* prefix;
};

class DevicePrefixTest : public testing::TestWithParam<PrefixCase> {};

TEST_P(DevicePrefixTest, EverythingBeforeTheThirdBackslash) {
  EXPECT_EQ(DevicePrefix(GetParam().path), GetParam().prefix) << GetParam().path;
}

INSTANTIATE_TEST_SUITE_P(
    Paths, DevicePrefixTest,
    testing::Values(PrefixCase{L"\\Device\\HarddiskVolume1\\dir\\a.exe", L"\\Device\\HarddiskVolume1"},
                    PrefixCase{L"\\Device\\HarddiskVolume12\\a.exe", L"\\Device\\HarddiskVolume12"},
                    PrefixCase{L"\\Device\\CdRom0", L"\\Device\\CdRom0"},
                    PrefixCase{L"\\Device\\Mup\\server\\share\\a.exe", L"\\Device\\Mup"},
                    PrefixCase{L"", L""}));

std::wstring DeviceOfDrive(const wchar_t* drive) {
  wchar_t device[MAX_PATH] = {};
  return QueryDosDeviceW(drive, device, MAX_PATH) ? device : L"";
}

TEST(ProcessToolHelpTest, DevicePathsBecomeDriveLetterPaths) {
  const std::wstring device = DeviceOfDrive(L"C:");
  ASSERT_FALSE(device.empty());
  CProcessToolHelp processes;
  std::wstring path = device + L"\\windows\\" + device.substr(1) + L"\\a.exe";
  ASSERT_TRUE(processes.DevicePathToDosPath(path));
  EXPECT_EQ(path, L"C:\\windows\\" + device.substr(1) + L"\\a.exe") << "only the leading device is replaced";
}

TEST(ProcessToolHelpTest, AnUnknownDeviceGivesNoPath) {
  CProcessToolHelp processes;
  std::wstring path = L"\\Device\\NEBNoSuchVolume\\dir\\a.exe";
  EXPECT_FALSE(processes.DevicePathToDosPath(path));
  EXPECT_EQ(path, L"\\Device\\NEBNoSuchVolume\\dir\\a.exe");
}

TEST(ProcessToolHelpTest, FindsItsOwnProcessByNameInAnyLetterCase) {
  wchar_t self[MAX_PATH] = {};
  ASSERT_NE(GetModuleFileNameW(nullptr, self, MAX_PATH), 0u);
  std::wstring name = wcsrchr(self, L'\\') + 1;
  for (wchar_t& c : name) c = towupper(c);
  CProcessToolHelp processes;
  EXPECT_EQ(processes.FindProcessByName(name), GetCurrentProcessId());
  EXPECT_EQ(processes.FindProcessByName(L"neb_no_such_program.exe"), kNoProcess);
  for (const ProcessEntry& process : processes.Processes()) EXPECT_NE(process.id, 0u);
}

}  // namespace
