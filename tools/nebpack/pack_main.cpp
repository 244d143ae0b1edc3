// neb_pack: the build's own packer, nebpack's skin package and payload
// archive for the installer the build makes. It runs on the build machine.
//   neb_pack skin FOLDER OUTPUT      the "ZIP" 249 package
//   neb_pack payload FOLDER OUTPUT   the "APP.7Z" payload, as stored
#include <cstdio>
#include <filesystem>
#include <string>

#include "tools/nebpack/file_bytes.h"
#include "tools/nebpack/payload_archive.h"
#include "tools/nebpack/skin_package.h"

namespace fs = std::filesystem;

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
  if (!nebpack::WriteWholeFile(output, bytes)) {
    std::fprintf(stderr, "neb_pack: %s cannot be written\n", output.string().c_str());
    return 1;
  }
  return 0;
}
