// The one existence test for paths: the system's test, for which a file and
// a folder both exist.
#pragma once

#include <string>

bool PathExists(const std::wstring& path);
