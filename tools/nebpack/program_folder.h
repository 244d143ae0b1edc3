// The folder of the running nebpack program, where its base installer
// program ships.
#pragma once

#include <filesystem>

namespace nebpack {

std::filesystem::path ProgramFolder();

}  // namespace nebpack
