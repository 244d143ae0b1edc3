#include "tools/nebpack/file_bytes.h"

#include <fstream>
#include <iterator>

namespace nebpack {

namespace fs = std::filesystem;

bool ReadWholeFile(const fs::path& path, std::string& bytes) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return !in.bad();
}

bool WriteWholeFile(const fs::path& output, const std::string& bytes) {
  fs::path partial = output;
  partial += ".part";
  bool written = false;
  {
    std::ofstream out(partial, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    written = static_cast<bool>(out.flush());
  }
  std::error_code failed;
  if (written) fs::rename(partial, output, failed);
  if (written && !failed) return true;
  fs::remove(partial, failed);
  return false;
}

}  // namespace nebpack
