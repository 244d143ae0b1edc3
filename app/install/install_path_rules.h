// The rules the dialog applies to folders and sizes the user or the script
// gives: plain text arithmetic, free of the system, so they are tested on
// their own.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The picked folder with the base folder name appended ("D:\Tools" and
// "Orrinthwake" give "D:\Tools\Orrinthwake"), unless its last component
// already is that name (compared case-sensitively).
std::wstring AppendBaseFolder(const std::wstring& picked, const std::wstring& baseName);

// True when the text begins with a drive letter and a colon: a network path
// or a relative folder is no install folder.
bool StartsWithDriveLetter(const std::wstring& folder);

// The install folder made of what the user typed or a switch gave, as the
// install uses it: closing separators removed, and a bare drive root
// ("C:", "C:\", "C:/") turned into the base folder under it
// ("C:\Orrinthwake"), as the folder chooser does. A root never becomes "C:",
// which Windows reads as the current folder on drive C.
std::wstring InstallFolderOf(const std::wstring& typed, const std::wstring& baseName);

// True when the text names a folder from a drive's root: a drive letter, a
// colon and a separator ("C:\Apps"). "C:Apps" is relative to the drive's
// current folder.
bool IsRootedOnDrive(const std::wstring& folder);

// Why a folder is no install folder, decided on text alone.
enum class FolderRefusal {
  kNone,
  kWellKnown,     // a drive root, or one of `wellKnown` (a system folder, Program Files, the profile, ...)
  kInsideSystem,  // inside one of `systemFolders` (the Windows folder)
};

// Compares full paths without regard to letter case or closing separators.
FolderRefusal RefusalOf(const std::wstring& fullFolder, const std::vector<std::wstring>& wellKnown,
                        const std::vector<std::wstring>& systemFolders);

// The bytes needed as the script writes them: an unsigned decimal, 0 when
// the text is none.
uint64_t ReadNeededBytes(const std::wstring& text);

// The information text for a drive without room for the needed bytes, the
// size in megabytes with two decimals.
std::wstring DiskSpaceMessage(uint64_t neededBytes);
