#include "tools/nebpack/seven_zip_writer.h"

#include <algorithm>

extern "C" {
#include <7zCrc.h>
}

namespace nebpack {

const std::vector<uint8_t> kLzma2Method = {0x21};
const std::vector<uint8_t> kLzmaMethod = {0x03, 0x01, 0x01};
const std::vector<uint8_t> kX86BranchMethod = {0x03, 0x03, 0x01, 0x03};

namespace {

// Property and section ids of the 7z header.
enum : uint8_t {
  kEnd = 0x00, kHeader = 0x01, kMainStreamsInfo = 0x04, kFilesInfo = 0x05, kPackInfo = 0x06,
  kUnpackInfo = 0x07, kSubStreamsInfo = 0x08, kSize = 0x09, kCrc = 0x0A, kFolder = 0x0B,
  kCodersUnpackSize = 0x0C, kNumUnpackStream = 0x0D, kEmptyStream = 0x0E, kEmptyFile = 0x0F, kName = 0x11,
};
constexpr uint8_t kSignature[] = {'7', 'z', 0xBC, 0xAF, 0x27, 0x1C, 0, 4};
// The flags byte of a coder: the size of its method id, and whether
// properties follow.
constexpr uint8_t kCoderHasProperties = 0x20;

class Bytes {
 public:
  void Byte(uint8_t value) { out_.push_back(static_cast<char>(value)); }
  void Raw(const void* data, size_t size) { out_.append(static_cast<const char*>(data), size); }
  void UInt32(uint32_t value) { Raw(&value, 4); }
  void UInt64(uint64_t value) { Raw(&value, 8); }
  // The format's variable-length number: the leading one bits of the first
  // byte count the bytes that follow.
  void Number(uint64_t value) {
    uint8_t first = 0, mask = 0x80;
    int extra = 0;
    for (; extra < 8; ++extra) {
      if (value < (uint64_t{1} << (7 * (extra + 1)))) {
        first |= static_cast<uint8_t>(value >> (8 * extra));
        break;
      }
      first |= mask;
      mask >>= 1;
    }
    Byte(first);
    for (; extra > 0; --extra, value >>= 8) Byte(static_cast<uint8_t>(value));
  }
  void Bits(const std::vector<bool>& bits) {
    for (size_t i = 0; i < bits.size(); i += 8) {
      uint8_t byte = 0;
      for (size_t j = 0; j < 8 && i + j < bits.size(); ++j) {
        if (bits[i + j]) byte |= static_cast<uint8_t>(0x80 >> j);
      }
      Byte(byte);
    }
  }
  // A property of the files: its id, its size, its data.
  void Property(uint8_t id, const Bytes& data) {
    Byte(id);
    Number(data.out_.size());
    Raw(data.out_.data(), data.out_.size());
  }
  const std::string& Data() const { return out_; }

 private:
  std::string out_;
};

bool HasBytes(const ArchiveEntry& entry) { return !entry.directory && entry.size > 0; }

// The block: its packed stream, its coders chained by one bond each (coder
// i + 1 reads what coder i gives), the unpacked size of every coder's
// output, then how the unpacked bytes divide into the files.
void WriteStreams(Bytes& h, const std::vector<const ArchiveEntry*>& files, const SolidBlock& block) {
  uint64_t total = 0;
  for (const ArchiveEntry* file : files) total += file->size;
  h.Byte(kMainStreamsInfo);
  h.Byte(kPackInfo);
  h.Number(0);  // the packed stream follows the signature header
  h.Number(1);
  h.Byte(kSize);
  h.Number(block.packed.size());
  h.Byte(kEnd);
  h.Byte(kUnpackInfo);
  h.Byte(kFolder);
  h.Number(1);
  h.Byte(0);  // not external
  h.Number(block.coders.size());
  for (const ArchiveCoder& coder : block.coders) {
    const bool hasProperties = !coder.properties.empty();
    h.Byte(static_cast<uint8_t>(coder.method.size() | (hasProperties ? kCoderHasProperties : 0)));
    h.Raw(coder.method.data(), coder.method.size());
    if (hasProperties) {
      h.Number(coder.properties.size());
      h.Raw(coder.properties.data(), coder.properties.size());
    }
  }
  for (size_t i = 1; i < block.coders.size(); ++i) {
    h.Number(i);      // the input of coder i
    h.Number(i - 1);  // is the output of coder i - 1
  }
  h.Byte(kCodersUnpackSize);
  for (size_t i = 0; i < block.coders.size(); ++i) h.Number(total);
  h.Byte(kEnd);
  h.Byte(kSubStreamsInfo);
  h.Byte(kNumUnpackStream);
  h.Number(files.size());
  h.Byte(kSize);
  for (size_t i = 0; i + 1 < files.size(); ++i) h.Number(files[i]->size);
  h.Byte(kCrc);
  h.Byte(1);  // all defined
  for (const ArchiveEntry* file : files) h.UInt32(file->crc);
  h.Byte(kEnd);
  h.Byte(kEnd);
}

void WriteFiles(Bytes& h, const std::vector<ArchiveEntry>& entries) {
  h.Byte(kFilesInfo);
  h.Number(entries.size());
  std::vector<bool> emptyStream, emptyFile;
  for (const ArchiveEntry& entry : entries) {
    emptyStream.push_back(!HasBytes(entry));
    if (!HasBytes(entry)) emptyFile.push_back(!entry.directory);
  }
  if (!emptyFile.empty()) {
    Bytes streams, files;
    streams.Bits(emptyStream);
    h.Property(kEmptyStream, streams);
    if (std::find(emptyFile.begin(), emptyFile.end(), true) != emptyFile.end()) {
      files.Bits(emptyFile);
      h.Property(kEmptyFile, files);
    }
  }
  Bytes names;
  names.Byte(0);  // not external
  for (const ArchiveEntry& entry : entries) names.Raw(entry.name.c_str(), (entry.name.size() + 1) * 2);
  h.Property(kName, names);
  h.Byte(kEnd);
}

}  // namespace

std::string SevenZipArchive(const std::vector<ArchiveEntry>& entries, const SolidBlock& block) {
  static const bool crcTableReady = (CrcGenerateTable(), true);
  (void)crcTableReady;
  std::vector<const ArchiveEntry*> files;
  for (const ArchiveEntry& entry : entries) {
    if (HasBytes(entry)) files.push_back(&entry);
  }
  Bytes header;
  header.Byte(kHeader);
  if (!files.empty()) WriteStreams(header, files, block);
  WriteFiles(header, entries);
  header.Byte(kEnd);

  const std::string packed = files.empty() ? std::string() : block.packed;
  Bytes start;  // the signature header's tail: where the header is, its size and CRC
  start.UInt64(packed.size());
  start.UInt64(header.Data().size());
  start.UInt32(CrcCalc(header.Data().data(), header.Data().size()));
  std::string archive(reinterpret_cast<const char*>(kSignature), sizeof(kSignature));
  const uint32_t startCrc = CrcCalc(start.Data().data(), start.Data().size());
  archive.append(reinterpret_cast<const char*>(&startCrc), 4);
  archive += start.Data();
  archive += packed;
  archive += header.Data();
  return archive;
}

}  // namespace nebpack
