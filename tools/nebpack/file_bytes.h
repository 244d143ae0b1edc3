// Whole files in and out, for nebpack's inputs and outputs.
#pragma once

#include <filesystem>
#include <string>

namespace nebpack {

// The file's bytes; false when it cannot be opened or read.
bool ReadWholeFile(const std::filesystem::path& path, std::string& bytes);

// Written whole or not at all: the bytes go to "<output>.part", which is
// renamed only once complete and removed when anything fails.
bool WriteWholeFile(const std::filesystem::path& output, const std::string& bytes);

}  // namespace nebpack
