// The product folder as the installer's payload: a 7z archive with one
// solid block (the x86 branch converter, then LZMA2, as the build packs its
// own payload), its entries in sorted order, no times or attributes, so
// that the same folder always gives the same bytes. A file that changes
// size between the listing and its reading stops the packing.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

#include "tools/nebpack/problem.h"

namespace nebpack {

// The bytes of every file below the folder added up.
uint64_t UnpackedSize(const std::filesystem::path& folder);

// Every entry below the folder whose name the installer's extraction would
// refuse, or Windows would refuse or change, each with its path.
void CheckEntryNames(const std::filesystem::path& folder, Problems& problems);

// The archive, or false with a reason.
bool PackFolder(const std::filesystem::path& folder, std::string& archive, std::wstring& error);

// The payload as the installer stores it: the first two bytes exchanged, so
// that the program file does not read as an archive.
void ExchangeFirstTwoBytes(std::string& archive);

}  // namespace nebpack
