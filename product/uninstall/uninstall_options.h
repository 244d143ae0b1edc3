// The uninstaller's command line. Switches are "/Name" or "/Name:value",
// names without regard to case:
//   /S                 silent: no question and no window
//   /ClearUserData     also remove the product's user data folder
//   /reason:IDS        the uninstall reasons the user chose,
//   /suggest:TEXT      the user's suggestion and
//   /contact:TEXT      contact (any of the three reports all three)
// The uninstaller adds one of its own when it starts its temporary copy:
//   /from:FOLDER       the install folder the copy uninstalls
// No Windows calls here, so the parser is tested on its own.
#pragma once

#include <optional>
#include <string>
#include <vector>

struct UninstallReason {
  std::wstring ids;
  std::wstring suggestion;
  std::wstring contact;
};

struct UninstallOptions {
  bool silent = false;
  bool clearUserData = false;
  std::optional<UninstallReason> reason;
  // Set only in the temporary copy.
  std::wstring installFolder;

  bool IsTemporaryCopy() const { return !installFolder.empty(); }
};

// The arguments after the program's own path, as the system splits them.
UninstallOptions ParseUninstallOptions(const std::vector<std::wstring>& arguments);

// The switch that makes the temporary copy of the uninstaller, quoted for a
// command line.
std::wstring TemporaryCopySwitches(const std::wstring& installFolder);

// One argument quoted so that the system's splitting gives it back as it is.
std::wstring QuoteArgument(const std::wstring& argument);
