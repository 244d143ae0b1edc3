// Which names stored in an archive may become files below the target
// folder. No Windows calls here.
#pragma once

#include <string_view>

// False for a name that would lead outside the target folder: empty, rooted
// ("/x", "\x"), with a drive ("C:x") or a UNC or device prefix ("\\server"),
// or with a ".." component; for a name with a component that is a device
// (CON, PRN, AUX, NUL, COM1-9, LPT1-9, with any extension, in any case).
// Both "/" and "\" count as separators,
// since the system reads either.
bool IsSafeEntryName(std::wstring_view name);

// What keeps a stored name from becoming that same file below any install
// folder: IsSafeEntryName's refusals (outside the folder, a device), and
// what Windows itself refuses or changes when the file is made.
enum class EntryNameFault {
  kNone,
  kOutside,            // empty, rooted, with a drive, a stream or ".."
  kDevice,             // a component Windows opens as a device
  kRefusedCharacter,   // < > " | ? * or a control character
  kDotOrSpaceAtEnd,    // a component ending so, which Windows drops
  kComponentTooLong,   // a component over 255 characters
  kPathTooLong,        // a name of MAX_PATH (260) characters or more
};

// The first fault of the name, or kNone. nebpack checks a product folder's
// names with it before it packs them.
EntryNameFault FindEntryNameFault(std::wstring_view name);
