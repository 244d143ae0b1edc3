// neb_pack: the build's own packer, nebpack's skin package and payload
// archive for the installer the build makes. It runs on the build machine.
//   neb_pack skin FOLDER OUTPUT      the "ZIP" 249 package
//   neb_pack payload FOLDER OUTPUT   the "APP.7Z" payload, as stored
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "tools/nebpack/payload_archive.h"
#include "tools/nebpack/skin_package.h"

namespace {

namespace fs = std::filesystem;

// Written whole or not at all: a partial file is renamed only once complete.
bool WriteWhole(const fs::path& output, const std::string& bytes) {
  fs::path partial = output;
  partial += ".part";
  {
    std::ofstream out(partial, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out.flush()) return false;
  }
  std::error_code failed;
  fs::rename(partial, output, failed);
  return !failed;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string kind = argc == 4 ? argv[1] : "";
  if (kind != "skin" && kind != "payload") {
    std::fputs("usage: neb_pack skin|payload FOLDER OUTPUT\n", stderr);
    return 2;
  }
  const fs::path folder = argv[2], output = argv[3];
  std::string bytes;
  std::wstring error;
  bool packed = false;
  if (kind == "skin") {
    packed = nebpack::PackSkin(folder, bytes, error);
  } else {
    packed = nebpack::PackFolder(folder, bytes, error);
    nebpack::ExchangeFirstTwoBytes(bytes);
  }
  if (!packed) {
    std::fprintf(stderr, "neb_pack: %ls\n", error.c_str());
    return 1;
  }
  if (!WriteWhole(output, bytes)) {
    std::fprintf(stderr, "neb_pack: %s cannot be written\n", output.string().c_str());
    return 1;
  }
  return 0;
}
