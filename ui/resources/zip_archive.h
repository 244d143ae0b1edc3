// A ZIP archive read from memory through minizip: entries are found without
// regard to letter case and inflated straight from the archive's bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace SkinUI {

class CZipArchive {
 public:
  enum class Status { kOk, kNotFound, kEmpty, kTooLarge, kUnzipFailed };

  // The bytes must stay valid while the archive is open; none when they do
  // not hold a readable archive.
  static std::unique_ptr<CZipArchive> OpenMemory(const uint8_t* data, size_t size, std::string password);
  // The archive keeps its own copy of the bytes (an archive read from a file).
  static std::unique_ptr<CZipArchive> OpenOwned(std::vector<uint8_t> bytes, std::string password);
  ~CZipArchive();
  CZipArchive(const CZipArchive&) = delete;
  CZipArchive& operator=(const CZipArchive&) = delete;

  // Entry names are UTF-8; every backslash is read as "/".
  bool HasEntry(const std::string& name);
  // Inflates the entry into `bytes`. Entries larger than `limit` bytes are
  // refused before anything is allocated.
  Status Extract(const std::string& name, size_t limit, std::vector<uint8_t>& bytes);

 private:
  struct MemoryStream;
  CZipArchive() = default;
  bool Open(const uint8_t* data, size_t size);
  // Makes the entry current; its uncompressed size, or false when absent.
  bool Locate(const std::string& name, uint64_t& size);

  std::vector<uint8_t> ownedBytes_;
  std::unique_ptr<MemoryStream> stream_;
  std::string password_;
  void* file_ = nullptr;  // minizip's unzFile
};

}  // namespace SkinUI
