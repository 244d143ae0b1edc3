// The daily log's plain logic (calendar, file names, location prefix) and
// the clearing out of old logs in a real folder.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "log/calendar.h"
#include "log/log_location.h"
#include "log/log_names.h"
#include "log/old_logs.h"

namespace {

constexpr char kName[] = "LumetricaClientInstall";

bool operator==(const CalendarDate& a, const CalendarDate& b) {
  return a.year == b.year && a.month == b.month && a.day == b.day;
}

TEST(CalendarTest, PreviousDayCrossesMonthsYearsAndLeapDays) {
  struct Case {
    CalendarDate date;
    CalendarDate previous;
  };
  const Case cases[] = {
      {{2024, 5, 17}, {2024, 5, 16}},
      {{2024, 3, 1}, {2024, 2, 29}},   // leap year
      {{2023, 3, 1}, {2023, 2, 28}},   // common year
      {{2000, 3, 1}, {2000, 2, 29}},   // divisible by 400: leap
      {{1900, 3, 1}, {1900, 2, 28}},   // divisible by 100 only: common
      {{2024, 1, 1}, {2023, 12, 31}},
      {{2024, 5, 1}, {2024, 4, 30}},
      {{2024, 8, 1}, {2024, 7, 31}},
      {{2024, 2, 1}, {2024, 1, 31}},
  };
  for (const Case& c : cases) {
    const CalendarDate previous = PreviousDay(c.date);
    EXPECT_TRUE(previous == c.previous) << c.date.year << "-" << c.date.month << "-" << c.date.day << " gave "
                                        << previous.year << "-" << previous.month << "-" << previous.day;
  }
}

TEST(LogNamesTest, BasePathSplitsIntoFolderAndLoggerName) {
  struct Case {
    const char* path;
    const char* folder;
    const char* name;
  };
  const Case cases[] = {
      {"C:\\Users\\me\\Temp\\LumetricaClientInstall.log", "C:\\Users\\me\\Temp", kName},
      {"C:\\LumetricaClientInstall.log", "C:", kName},
      {"C:/Temp/LumetricaClientInstall.log", "C:/Temp", kName},
      {"C:\\a.b\\name", "C:\\a.b", "name"},
      {"C:\\Temp\\name.old.log", "C:\\Temp", "name.old"},
      {"LumetricaClientInstall.log", ".", kName},
  };
  for (const Case& c : cases) {
    const LogBasePath parts = SplitLogBasePath(c.path);
    EXPECT_EQ(parts.folder, c.folder) << c.path;
    EXPECT_EQ(parts.name, c.name) << c.path;
  }
}

TEST(LogNamesTest, DatedNameCarriesTheLocalDate) {
  EXPECT_EQ(DatedLogName(kName, {2024, 5, 1}), "LumetricaClientInstall_2024-05-01.log");
  EXPECT_EQ(DatedLogName(kName, {2023, 12, 31}), "LumetricaClientInstall_2023-12-31.log");
}

TEST(LogLocationTest, PrefixNamesTheSourceFileFunctionAndLine) {
  struct Case {
    const char* file;
    const char* prefix;
  };
  const Case cases[] = {
      {"D:\\src\\app\\install_mgr.cpp", "[install_mgr.cpp InstallExecute: 92] "},
      {"/work/app/install_mgr.cpp", "[install_mgr.cpp InstallExecute: 92] "},
      {"install_mgr.cpp", "[install_mgr.cpp InstallExecute: 92] "},
  };
  for (const Case& c : cases) EXPECT_EQ(LocationPrefix(c.file, "InstallExecute", 92), c.prefix);
}

TEST(LogLocationTest, BracesOfThePrefixPrintAsTheyAre) {
  EXPECT_EQ(LocatedFormat("[a{b}.cpp f: 1] ", "log:{}"), "[a{{b}}.cpp f: 1] log:{}");
}

// A fresh folder under the temporary folder, removed with its content.
class LogFolder {
 public:
  LogFolder() {
    char temp[MAX_PATH + 1] = {};
    const DWORD length = GetTempPathA(MAX_PATH + 1, temp);
    EXPECT_GT(length, 0u);
    path_ = std::string(temp, length) + "neb-log-test-" + std::to_string(GetCurrentProcessId());
    EXPECT_TRUE(CreateDirectoryA(path_.c_str(), nullptr)) << path_;
  }
  ~LogFolder() {
    for (const std::string& name : Entries()) {
      const std::string full = path_ + "\\" + name;
      if (!DeleteFileA(full.c_str())) RemoveDirectoryA(full.c_str());
    }
    RemoveDirectoryA(path_.c_str());
  }

  const std::string& Path() const { return path_; }

  void AddFile(const std::string& name) const {
    const HANDLE file = CreateFileA((path_ + "\\" + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << name;
    CloseHandle(file);
  }
  void AddFolder(const std::string& name) const {
    ASSERT_TRUE(CreateDirectoryA((path_ + "\\" + name).c_str(), nullptr)) << name;
  }

  std::set<std::string> Entries() const {
    std::set<std::string> names;
    WIN32_FIND_DATAA entry = {};
    const HANDLE listing = FindFirstFileA((path_ + "\\*").c_str(), &entry);
    if (listing == INVALID_HANDLE_VALUE) return names;
    do {
      const std::string name = entry.cFileName;
      if (name != "." && name != "..") names.insert(name);
    } while (FindNextFileA(listing, &entry));
    FindClose(listing);
    return names;
  }

 private:
  std::string path_;
};

TEST(RemoveOldLogsTest, KeepsTodayAndYesterdayAndEverythingNotNamedForTheLog) {
  // Never the log's: the undated name (its text before an underscore is the
  // whole name, extension included), other prefixes, case differences.
  const std::vector<std::string> unrelated = {
      "LumetricaClientInstall.log",
      "LumetricaClientInstallOld_2001-01-01.log",
      "Lumetrica_ClientInstall_2001-01-01.log",
      "lumetricaclientinstall_2001-01-02.log",
      "Other_2001-01-01.log",
      "notes.txt",
  };
  // The log's own names that are not today's or yesterday's.
  const std::vector<std::string> alwaysOld = {
      "LumetricaClientInstall_2001-01-01.log",
      "LumetricaClientInstall_notes.txt",
      "LumetricaClientInstall",
  };
  struct Case {
    const char* what;
    CalendarDate today;
    const char* yesterday;
    const char* dayBefore;
  };
  const Case cases[] = {
      {"1 March of a leap year", {2024, 3, 1}, "LumetricaClientInstall_2024-02-29.log",
       "LumetricaClientInstall_2024-02-28.log"},
      {"1 March of a common year", {2023, 3, 1}, "LumetricaClientInstall_2023-02-28.log",
       "LumetricaClientInstall_2023-02-27.log"},
      {"1 January", {2024, 1, 1}, "LumetricaClientInstall_2023-12-31.log",
       "LumetricaClientInstall_2023-12-30.log"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const LogFolder folder;
    const std::string today = DatedLogName(kName, c.today);
    std::set<std::string> kept = {today, c.yesterday, "LumetricaClientInstall_folder"};
    kept.insert(unrelated.begin(), unrelated.end());
    for (const std::string& name : kept) {
      if (name == "LumetricaClientInstall_folder") {
        folder.AddFolder(name);  // of the log's name, but a folder: it stays
      } else {
        folder.AddFile(name);
      }
    }
    for (const std::string& name : alwaysOld) folder.AddFile(name);
    folder.AddFile(c.dayBefore);

    RemoveOldLogs(folder.Path(), kName, c.today);
    EXPECT_EQ(folder.Entries(), kept);
  }
}

}  // namespace
