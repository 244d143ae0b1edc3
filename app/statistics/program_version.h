// The product version in the installer's own version record.
#pragma once

#include <windows.h>

#include <array>

// Major, minor, build and revision, each from a 16-bit field; 1.0.0.1 when
// the program carries no readable version record.
std::array<DWORD, 4> ProgramProductVersion();
