// The rules the dialog applies to folders and sizes the user or the script
// gives: plain text arithmetic, free of the system, so they are tested on
// their own.
#pragma once

#include <cstdint>
#include <string>

// The picked folder with the base folder name appended ("D:\Tools" and
// "Orrinthwake" give "D:\Tools\Orrinthwake"), unless its last component
// already is that name (compared case-sensitively).
std::wstring AppendBaseFolder(const std::wstring& picked, const std::wstring& baseName);

// True when the text begins with a drive letter and a colon: a network path
// or a relative folder is no install folder.
bool StartsWithDriveLetter(const std::wstring& folder);

// The bytes needed as the script writes them: an unsigned decimal, 0 when
// the text is none.
uint64_t ReadNeededBytes(const std::wstring& text);

// The information text for a drive without room for the needed bytes, the
// size in megabytes with two decimals.
std::wstring DiskSpaceMessage(uint64_t neededBytes);
