#include "tools/nebpack/skin_package.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

#include <zip.h>

namespace nebpack {

namespace fs = std::filesystem;

namespace {

// The package is written into memory: minizip's file functions over a string.
struct MemoryFile {
  std::string bytes;
  size_t position = 0;
};

voidpf ZCALLBACK Open(voidpf opaque, const void*, int) { return opaque; }

uLong ZCALLBACK Read(voidpf, voidpf stream, void* buf, uLong size) {
  MemoryFile& file = *static_cast<MemoryFile*>(stream);
  const size_t got = std::min<size_t>(size, file.bytes.size() - std::min(file.position, file.bytes.size()));
  if (got > 0) std::memcpy(buf, file.bytes.data() + file.position, got);
  file.position += got;
  return static_cast<uLong>(got);
}

uLong ZCALLBACK Write(voidpf, voidpf stream, const void* buf, uLong size) {
  MemoryFile& file = *static_cast<MemoryFile*>(stream);
  if (file.position + size > file.bytes.size()) file.bytes.resize(file.position + size);
  std::memcpy(&file.bytes[file.position], buf, size);
  file.position += size;
  return size;
}

ZPOS64_T ZCALLBACK Tell(voidpf, voidpf stream) { return static_cast<MemoryFile*>(stream)->position; }

long ZCALLBACK Seek(voidpf, voidpf stream, ZPOS64_T offset, int origin) {
  MemoryFile& file = *static_cast<MemoryFile*>(stream);
  const size_t base = origin == ZLIB_FILEFUNC_SEEK_CUR ? file.position
                      : origin == ZLIB_FILEFUNC_SEEK_END ? file.bytes.size()
                                                         : 0;
  file.position = base + static_cast<size_t>(offset);
  return 0;
}

int ZCALLBACK Close(voidpf, voidpf) { return 0; }
int ZCALLBACK Error(voidpf, voidpf) { return 0; }

std::vector<std::string> SortedNames(const fs::path& folder) {
  std::vector<std::string> names;
  for (const fs::directory_entry& item : fs::recursive_directory_iterator(folder)) {
    if (item.is_regular_file()) names.push_back(item.path().lexically_relative(folder).generic_u8string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace

bool PackSkin(const fs::path& folder, std::string& package, std::wstring& error) {
  std::vector<std::string> names;
  try {
    names = SortedNames(folder);
  } catch (const fs::filesystem_error&) {
    error = L"the skin folder cannot be listed";
    return false;
  }
  MemoryFile memory;
  zlib_filefunc64_def functions = {Open, Read, Write, Tell, Seek, Close, Error, &memory};
  zipFile zip = zipOpen2_64("skin", APPEND_STATUS_CREATE, nullptr, &functions);
  if (zip == nullptr) {
    error = L"the skin package cannot be started";
    return false;
  }
  zip_fileinfo info{};
  info.tmz_date = {0, 0, 0, 1, 0, 2020};  // 2020-01-01 00:00:00
  bool written = true;
  for (const std::string& name : names) {
    std::ifstream in(folder / fs::u8path(name), std::ios::binary);
    const std::string data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    written = in.good() || in.eof();
    written = written && zipOpenNewFileInZip64(zip, name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr, Z_DEFLATED,
                                               Z_BEST_COMPRESSION, 0) == ZIP_OK;
    written = written && zipWriteInFileInZip(zip, data.data(), static_cast<unsigned>(data.size())) == ZIP_OK;
    written = written && zipCloseFileInZip(zip) == ZIP_OK;
    if (!written) {
      error = L"the skin file " + fs::u8path(name).wstring() + L" cannot be packed";
      break;
    }
  }
  if (zipClose(zip, nullptr) != ZIP_OK && written) {
    error = L"the skin package cannot be finished";
    written = false;
  }
  package = std::move(memory.bytes);
  return written;
}

}  // namespace nebpack
