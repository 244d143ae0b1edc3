// The program's own file, as the system reports it (at most 260 units).
#pragma once

#include <string>

std::wstring ProgramPath();
// The text after the last backslash of ProgramPath(); empty without one.
std::wstring ProgramFileName();
