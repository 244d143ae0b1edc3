// Wine's own floor for the small-files extraction benchmark: creates the
// files a manifest names, each with its size in bytes, with the plainest
// create-write-close loop (after the folders they lie in), and nothing else:
// no decoding, no attributes or times. What it takes beside 7zz is what
// any program pays under Wine for those files.
// Usage: write_files MANIFEST FOLDER
// MANIFEST: UTF-8 lines "SIZE RELATIVE-PATH", the path with backslashes.
// Exit code 0 when every file was written, 1 on the first failure (named on
// the standard error), 2 for wrong arguments.
#include <windows.h>

#include <cstdio>
#include <algorithm>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "base/handles.h"
#include "base/text.h"

namespace {

struct PlannedFile {
  std::wstring path;  // relative to the output folder
  unsigned long size = 0;
};

bool ReadManifest(const wchar_t* manifest, std::vector<PlannedFile>& files) {
  std::ifstream in(manifest);
  if (!in) return false;
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const size_t blank = line.find(' ');
    if (blank == std::string::npos) continue;
    files.push_back({Utf8ToWide(line.substr(blank + 1)), std::stoul(line.substr(0, blank))});
  }
  return true;
}

// Creates every folder the files lie in, each once, before any file.
bool MakeFolders(const std::wstring& root, const std::vector<PlannedFile>& files) {
  std::set<std::wstring> made;
  for (const PlannedFile& each : files) {
    for (size_t slash = each.path.find(L'\\'); slash != std::wstring::npos; slash = each.path.find(L'\\', slash + 1)) {
      const std::wstring folder = each.path.substr(0, slash);
      if (!made.insert(folder).second) continue;
      const std::wstring full = root + L'\\' + folder;
      if (!CreateDirectoryW(full.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) {
        std::fprintf(stderr, "cannot create %ls: error %lu\n", folder.c_str(), GetLastError());
        return false;
      }
    }
  }
  return true;
}

bool WriteOne(const std::wstring& path, const std::vector<char>& bytes, unsigned long size) {
  const UniqueHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                      nullptr));
  if (!file) return false;
  DWORD written = 0;
  return WriteFile(file.Get(), bytes.data(), size, &written, nullptr) && written == size;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 3) return 2;
  std::vector<PlannedFile> files;
  if (!ReadManifest(argv[1], files)) {
    std::fprintf(stderr, "cannot read the manifest\n");
    return 2;
  }
  const std::wstring root = argv[2];
  unsigned long largest = 0;
  for (const PlannedFile& each : files) largest = std::max(largest, each.size);
  const std::vector<char> bytes(largest, 'x');
  if (!MakeFolders(root, files)) return 1;
  for (const PlannedFile& each : files) {
    if (!WriteOne(root + L'\\' + each.path, bytes, each.size)) {
      std::fprintf(stderr, "failed at %ls: error %lu\n", each.path.c_str(), GetLastError());
      return 1;
    }
  }
  std::printf("%zu files\n", files.size());
  return 0;
}
