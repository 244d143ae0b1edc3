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
