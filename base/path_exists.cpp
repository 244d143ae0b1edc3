#include "base/path_exists.h"

#include <windows.h>
#include <shlwapi.h>

bool PathExists(const std::wstring& path) { return PathFileExistsW(path.c_str()) != FALSE; }
