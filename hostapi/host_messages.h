// Debug lines that several host functions share.
#pragma once

#include <string>

// "Fun:<function>, Description:<path> it's not exists!" for a path a host
// function needs and cannot find.
void ReportMissing(const wchar_t* function, const std::wstring& path);
