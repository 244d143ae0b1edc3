// The product folder as the installer's payload: a 7z archive with one
// solid LZMA2 block, its entries in sorted order, no times or attributes,
// so that the same folder always gives the same bytes.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

namespace nebpack {

// The bytes of every file below the folder added up.
uint64_t UnpackedSize(const std::filesystem::path& folder);

// The archive, or false with a reason.
bool PackFolder(const std::filesystem::path& folder, std::string& archive, std::wstring& error);

// The payload as the installer stores it: the first two bytes exchanged, so
// that the program file does not read as an archive.
void ExchangeFirstTwoBytes(std::string& archive);

}  // namespace nebpack
