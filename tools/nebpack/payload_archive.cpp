#include "tools/nebpack/payload_archive.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <vector>

#include <7zCrc.h>
#include <Lzma2Enc.h>

namespace nebpack {

namespace fs = std::filesystem;

namespace {

// Property and section ids of the 7z header.
enum : uint8_t {
  kEnd = 0x00, kHeader = 0x01, kMainStreamsInfo = 0x04, kFilesInfo = 0x05, kPackInfo = 0x06,
  kUnpackInfo = 0x07, kSubStreamsInfo = 0x08, kSize = 0x09, kCrc = 0x0A, kFolder = 0x0B,
  kCodersUnpackSize = 0x0C, kNumUnpackStream = 0x0D, kEmptyStream = 0x0E, kEmptyFile = 0x0F, kName = 0x11,
};
constexpr uint8_t kLzma2MethodId = 0x21;
constexpr uint8_t kSignature[] = {'7', 'z', 0xBC, 0xAF, 0x27, 0x1C, 0, 4};

struct Entry {
  fs::path path;
  std::u16string name;  // relative, with "/"
  bool directory = false;
  uint64_t size = 0;
  uint32_t crc = 0;
};

void* Allocate(ISzAllocPtr, size_t size) { return std::malloc(size); }
void Release(ISzAllocPtr, void* address) { std::free(address); }
const ISzAlloc kAllocator = {Allocate, Release};

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

// The contents of the files with data, one after another, each file's CRC
// taken as it is read.
struct FileSequence {
  ISeqInStream stream;
  std::vector<Entry*> files;
  size_t next = 0;
  std::ifstream current;
  bool failed = false;

  static SRes Read(ISeqInStreamPtr p, void* buf, size_t* size) {
    FileSequence* self = reinterpret_cast<FileSequence*>(const_cast<ISeqInStream*>(p));
    const size_t wanted = *size;
    *size = 0;
    while (self->next < self->files.size()) {
      Entry& entry = *self->files[self->next];
      if (!self->current.is_open()) {
        self->current.open(entry.path, std::ios::binary);
        if (!self->current) {
          self->failed = true;
          return SZ_ERROR_READ;
        }
        entry.crc = CRC_INIT_VAL;
      }
      self->current.read(static_cast<char*>(buf), static_cast<std::streamsize>(wanted));
      const size_t got = static_cast<size_t>(self->current.gcount());
      if (got > 0) {
        entry.crc = CrcUpdate(entry.crc, buf, got);
        *size = got;
        return SZ_OK;
      }
      if (self->current.bad()) {
        self->failed = true;
        return SZ_ERROR_READ;
      }
      entry.crc = CRC_GET_DIGEST(entry.crc);
      self->current.close();
      ++self->next;
    }
    return SZ_OK;
  }
};

struct MemoryOutput {
  ISeqOutStream stream;
  std::string bytes;

  static size_t Write(ISeqOutStreamPtr p, const void* buf, size_t size) {
    reinterpret_cast<MemoryOutput*>(const_cast<ISeqOutStream*>(p))->bytes.append(static_cast<const char*>(buf), size);
    return size;
  }
};

std::vector<Entry> ListEntries(const fs::path& folder) {
  std::vector<Entry> entries;
  for (const fs::directory_entry& item : fs::recursive_directory_iterator(folder)) {
    Entry entry;
    entry.path = item.path();
    entry.name = fs::relative(item.path(), folder).generic_u16string();
    entry.directory = item.is_directory();
    entry.size = entry.directory ? 0 : item.file_size();
    entries.push_back(entry);
  }
  std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) { return a.name < b.name; });
  return entries;
}

bool Compress(std::vector<Entry*>& files, uint64_t total, std::string& packed, uint8_t& properties,
              std::wstring& error) {
  CLzma2EncHandle encoder = Lzma2Enc_Create(&kAllocator, &kAllocator);
  if (encoder == nullptr) {
    error = L"no memory for the LZMA2 encoder";
    return false;
  }
  CLzma2EncProps props;
  Lzma2EncProps_Init(&props);
  props.lzmaProps.level = 9;
  props.blockSize = LZMA2_ENC_PROPS_BLOCK_SIZE_SOLID;
  props.numTotalThreads = 1;
  // A dictionary no larger than the data: the installer's decoder sizes its
  // window by it.
  props.lzmaProps.reduceSize = total;
  Lzma2EncProps_Normalize(&props);
  SRes result = Lzma2Enc_SetProps(encoder, &props);
  Lzma2Enc_SetDataSize(encoder, total);
  properties = Lzma2Enc_WriteProperties(encoder);
  FileSequence input;
  input.stream.Read = FileSequence::Read;
  input.files = files;
  MemoryOutput output;
  output.stream.Write = MemoryOutput::Write;
  if (result == SZ_OK) result = Lzma2Enc_Encode2(encoder, &output.stream, nullptr, nullptr, &input.stream, nullptr, 0, nullptr);
  Lzma2Enc_Destroy(encoder);
  if (result != SZ_OK || input.failed) {
    error = input.failed ? L"a file of the product folder cannot be read" : L"the LZMA2 encoder failed";
    return false;
  }
  packed = std::move(output.bytes);
  return true;
}

Bytes Header(const std::vector<Entry>& entries, const std::vector<Entry*>& files, uint64_t packedSize,
             uint64_t total, uint8_t properties) {
  Bytes h;
  h.Byte(kHeader);
  if (!files.empty()) {
    h.Byte(kMainStreamsInfo);
    h.Byte(kPackInfo);
    h.Number(0);  // the packed stream follows the signature header
    h.Number(1);
    h.Byte(kSize);
    h.Number(packedSize);
    h.Byte(kEnd);
    h.Byte(kUnpackInfo);
    h.Byte(kFolder);
    h.Number(1);
    h.Byte(0);  // not external
    h.Number(1);  // one coder
    h.Byte(0x20 | 1);  // one byte of method id, with properties
    h.Byte(kLzma2MethodId);
    h.Number(1);
    h.Byte(properties);
    h.Byte(kCodersUnpackSize);
    h.Number(total);
    h.Byte(kEnd);
    h.Byte(kSubStreamsInfo);
    h.Byte(kNumUnpackStream);
    h.Number(files.size());
    h.Byte(kSize);
    for (size_t i = 0; i + 1 < files.size(); ++i) h.Number(files[i]->size);
    h.Byte(kCrc);
    h.Byte(1);  // all defined
    for (const Entry* file : files) h.UInt32(file->crc);
    h.Byte(kEnd);
    h.Byte(kEnd);
  }
  h.Byte(kFilesInfo);
  h.Number(entries.size());
  std::vector<bool> emptyStream, emptyFile;
  for (const Entry& entry : entries) {
    const bool empty = entry.directory || entry.size == 0;
    emptyStream.push_back(empty);
    if (empty) emptyFile.push_back(!entry.directory);
  }
  if (!emptyFile.empty()) {
    Bytes streams, files_;
    streams.Bits(emptyStream);
    h.Property(kEmptyStream, streams);
    if (std::find(emptyFile.begin(), emptyFile.end(), true) != emptyFile.end()) {
      files_.Bits(emptyFile);
      h.Property(kEmptyFile, files_);
    }
  }
  Bytes names;
  names.Byte(0);  // not external
  for (const Entry& entry : entries) names.Raw(entry.name.c_str(), (entry.name.size() + 1) * 2);
  h.Property(kName, names);
  h.Byte(kEnd);
  h.Byte(kEnd);
  return h;
}

}  // namespace

uint64_t UnpackedSize(const fs::path& folder) {
  uint64_t total = 0;
  std::error_code ignored;
  for (const fs::directory_entry& item : fs::recursive_directory_iterator(folder, ignored)) {
    if (item.is_regular_file()) total += item.file_size();
  }
  return total;
}

bool PackFolder(const fs::path& folder, std::string& archive, std::wstring& error) {
  static const bool crcTableReady = (CrcGenerateTable(), true);
  (void)crcTableReady;
  std::vector<Entry> entries;
  try {
    entries = ListEntries(folder);
  } catch (const fs::filesystem_error&) {
    error = L"the product folder cannot be listed";
    return false;
  }
  std::vector<Entry*> files;
  uint64_t total = 0;
  for (Entry& entry : entries) {
    if (entry.directory || entry.size == 0) continue;
    files.push_back(&entry);
    total += entry.size;
  }
  std::string packed;
  uint8_t properties = 0;
  if (!files.empty() && !Compress(files, total, packed, properties, error)) return false;
  const Bytes header = Header(entries, files, packed.size(), total, properties);

  Bytes start;  // the signature header's tail: where the header is, its size and CRC
  start.UInt64(packed.size());
  start.UInt64(header.Data().size());
  start.UInt32(CrcCalc(header.Data().data(), header.Data().size()));
  archive.assign(reinterpret_cast<const char*>(kSignature), sizeof(kSignature));
  const uint32_t startCrc = CrcCalc(start.Data().data(), start.Data().size());
  archive.append(reinterpret_cast<const char*>(&startCrc), 4);
  archive += start.Data();
  archive += packed;
  archive += header.Data();
  return true;
}

void ExchangeFirstTwoBytes(std::string& archive) {
  if (archive.size() >= 2) std::swap(archive[0], archive[1]);
}

}  // namespace nebpack
