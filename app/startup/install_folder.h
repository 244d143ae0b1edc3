// The install folder given on the command line always ends in the product's
// own folder. No Windows calls here.
#pragma once

#include <optional>
#include <string>

constexpr wchar_t kProductFolderName[] = L"Lumetrica";

// The folder with "Lumetrica" appended as a further component unless it
// already ends with it (case-sensitive). Nothing when the result would not
// fit a 260-unit path buffer.
std::optional<std::wstring> WithProductFolder(const std::wstring& folder);
