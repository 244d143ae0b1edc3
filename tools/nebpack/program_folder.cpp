#include "tools/nebpack/program_folder.h"

#ifdef _WIN32
#include "base/module_path.h"
#endif

namespace nebpack {

std::filesystem::path ProgramFolder() {
#ifdef _WIN32
  return std::filesystem::path(ProgramPath()).parent_path();
#else
  std::error_code failed;
  return std::filesystem::read_symlink("/proc/self/exe", failed).parent_path();
#endif
}

}  // namespace nebpack
