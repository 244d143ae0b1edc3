// The skin folder as the installer's "ZIP" package: Deflate entries named
// with "/" relative to the folder, in sorted order, all with one fixed
// time, so that the same folder always gives the same bytes.
#pragma once

#include <filesystem>
#include <string>

namespace nebpack {

bool PackSkin(const std::filesystem::path& folder, std::string& package, std::wstring& error);

}  // namespace nebpack
