// A skin folder checked for the installer's dialog: its markup parses, the
// pictures and fonts it names exist, and every control the dialog works
// with is there with the kind the dialog expects.
#pragma once

#include <string>

#include "tools/nebpack/problem.h"

namespace nebpack {

void CheckDialogSkin(const std::wstring& skinFolder, Problems& problems);

}  // namespace nebpack
