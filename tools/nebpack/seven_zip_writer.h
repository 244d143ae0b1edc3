// A 7z archive written whole into memory from one solid block: its packed
// stream, the coders that unpack it and the entries whose bytes it holds.
// The header is stored plain, with the entries in the order given. No
// Windows calls here: the tests write archives of their own with it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace nebpack {

struct ArchiveEntry {
  std::u16string name;  // relative, with "/"
  bool directory = false;
  uint64_t size = 0;
  uint32_t crc = 0;  // of the entry's bytes
};

struct ArchiveCoder {
  std::vector<uint8_t> method;  // the method id, most significant byte first
  std::string properties;
};

// The 7z method ids of the coders nebpack writes, and of LZMA for tests.
extern const std::vector<uint8_t> kLzma2Method;
extern const std::vector<uint8_t> kLzmaMethod;
extern const std::vector<uint8_t> kX86BranchMethod;

struct SolidBlock {
  std::string packed;
  // The coder that reads the packed stream, then at most one filter over
  // its output. Every coder gives the block's whole unpacked size.
  std::vector<ArchiveCoder> coders;
};

// The entries with bytes (neither folders nor empty files) take the
// block's unpacked bytes one after another, in the order given.
std::string SevenZipArchive(const std::vector<ArchiveEntry>& entries, const SolidBlock& block);

}  // namespace nebpack
