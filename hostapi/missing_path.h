// The line host functions write when a path they need does not exist.
#pragma once

#include <string>

// "Fun:<function>, Description:<path> it's not exists!"
void ReportMissingPath(const wchar_t* function, const std::wstring& path);
