// Paths taken apart as text, without asking the file system.
#pragma once

#include <string>

// The path without its last component, the way the shell cuts a path for a
// working folder: "C:\dir\file.exe" gives "C:\dir", "C:\file.exe" gives
// "C:\" (a drive root keeps its backslash), a bare name gives "".
std::wstring PathFolder(const std::wstring& path);
