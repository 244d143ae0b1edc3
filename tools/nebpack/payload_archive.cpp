#include "tools/nebpack/payload_archive.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <vector>

#include <7zCrc.h>
#include <Bra.h>
#include <Lzma2Enc.h>

#include "files/archive_entry_name.h"
#include "tools/nebpack/seven_zip_writer.h"

namespace nebpack {

namespace fs = std::filesystem;

namespace {

struct Entry {
  fs::path path;
  ArchiveEntry stored;
};

void* Allocate(ISzAllocPtr, size_t size) { return std::malloc(size); }
void Release(ISzAllocPtr, void* address) { std::free(address); }
const ISzAlloc kAllocator = {Allocate, Release};

// The contents of the files with data, one after another, each file's CRC
// taken as it is read. Each file gives exactly the size it was listed with:
// one that has shrunk or grown since stops the stream, since the archive's
// header records the listed sizes.
struct FileSequence {
  ISeqInStream stream;
  std::vector<Entry*> files;
  size_t next = 0;
  std::ifstream current;
  uint64_t left = 0;  // of the current file
  Entry* unreadable = nullptr;
  Entry* changed = nullptr;

  static SRes Read(ISeqInStreamPtr p, void* buf, size_t* size) {
    FileSequence* self = reinterpret_cast<FileSequence*>(const_cast<ISeqInStream*>(p));
    const size_t wanted = *size;
    *size = 0;
    while (self->next < self->files.size()) {
      Entry& entry = *self->files[self->next];
      if (!self->current.is_open()) {
        self->current.open(entry.path, std::ios::binary);
        if (!self->current) {
          self->unreadable = &entry;
          return SZ_ERROR_READ;
        }
        entry.stored.crc = CRC_INIT_VAL;
        self->left = entry.stored.size;
      }
      if (self->left == 0) {
        char beyond = 0;
        if (self->current.read(&beyond, 1).gcount() != 0) {
          self->changed = &entry;
          return SZ_ERROR_READ;
        }
        entry.stored.crc = CRC_GET_DIGEST(entry.stored.crc);
        self->current.close();
        ++self->next;
        continue;
      }
      self->current.read(static_cast<char*>(buf), static_cast<std::streamsize>(std::min<uint64_t>(wanted, self->left)));
      const size_t got = static_cast<size_t>(self->current.gcount());
      if (got == 0) {
        if (self->current.bad()) {
          self->unreadable = &entry;
        } else {
          self->changed = &entry;
        }
        return SZ_ERROR_READ;
      }
      entry.stored.crc = CrcUpdate(entry.stored.crc, buf, got);
      self->left -= got;
      *size = got;
      return SZ_OK;
    }
    return SZ_OK;
  }
};

// The x86 branch converter over another stream, as 7-Zip applies it to
// programs and libraries: calls and jumps get absolute addresses, which
// compress better. The last bytes of a read, which may begin an
// instruction, wait for the next; at the end they stay as they are.
struct BranchConverted {
  static constexpr size_t kBufferBytes = size_t{1} << 16;

  ISeqInStream stream;
  ISeqInStream* inner = nullptr;
  std::vector<Byte> buffer = std::vector<Byte>(kBufferBytes);
  size_t handedOut = 0;  // [handedOut, converted) is converted and waits
  size_t converted = 0;
  size_t end = 0;  // [converted, end) waits for the bytes after it
  bool innerEnded = false;
  UInt32 position = 0;
  UInt32 state = Z7_BRANCH_CONV_ST_X86_STATE_INIT_VAL;

  static SRes Read(ISeqInStreamPtr p, void* buf, size_t* size) {
    BranchConverted* self = reinterpret_cast<BranchConverted*>(const_cast<ISeqInStream*>(p));
    const size_t wanted = *size;
    *size = 0;
    while (self->handedOut == self->converted) {
      if (self->innerEnded) {
        if (self->converted == self->end) return SZ_OK;
        self->converted = self->end;
        break;
      }
      const SRes filled = self->Fill();
      if (filled != SZ_OK) return filled;
    }
    *size = std::min(wanted, self->converted - self->handedOut);
    std::memcpy(buf, self->buffer.data() + self->handedOut, *size);
    self->handedOut += *size;
    return SZ_OK;
  }

  // Moves the bytes still waiting to the front, reads more after them and
  // converts what may be converted.
  SRes Fill() {
    std::memmove(buffer.data(), buffer.data() + converted, end - converted);
    end -= converted;
    handedOut = converted = 0;
    size_t got = buffer.size() - end;
    const SRes read = ISeqInStream_Read(inner, buffer.data() + end, &got);
    if (read != SZ_OK) return read;
    if (got == 0) {
      innerEnded = true;
      return SZ_OK;
    }
    end += got;
    const Byte* stop = z7_BranchConvSt_X86_Enc(buffer.data(), end, position, &state);
    converted = static_cast<size_t>(stop - buffer.data());
    position += static_cast<UInt32>(converted);
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

// Names are the listing's own, never resolved through a link: a link in the
// folder keeps its name there wherever it leads.
std::vector<Entry> ListEntries(const fs::path& folder) {
  std::vector<Entry> entries;
  for (const fs::directory_entry& item : fs::recursive_directory_iterator(folder)) {
    Entry entry;
    entry.path = item.path();
    entry.stored.name = item.path().lexically_relative(folder).generic_u16string();
    entry.stored.directory = item.is_directory();
    entry.stored.size = entry.stored.directory ? 0 : item.file_size();
    entries.push_back(entry);
  }
  std::sort(entries.begin(), entries.end(),
            [](const Entry& a, const Entry& b) { return a.stored.name < b.stored.name; });
  return entries;
}

std::wstring ChangedFileText(const Entry& entry, uint64_t left) {
  return L"the product file " + entry.path.wstring() + L" changed while it was packed: it was listed with " +
         std::to_wstring(entry.stored.size) + L" bytes, " +
         (left > 0 ? L"and it ended after " + std::to_wstring(entry.stored.size - left)
                   : std::wstring(L"and it had more")) +
         L"; pack it again once nothing writes to the product folder";
}

// LZMA2 over the files' bytes after the x86 branch converter, the filter
// choice of the build's own payload; the properties byte is the
// dictionary's.
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
  BranchConverted branches;
  branches.stream.Read = BranchConverted::Read;
  branches.inner = &input.stream;
  MemoryOutput output;
  output.stream.Write = MemoryOutput::Write;
  if (result == SZ_OK) {
    result = Lzma2Enc_Encode2(encoder, &output.stream, nullptr, nullptr, &branches.stream, nullptr, 0, nullptr);
  }
  Lzma2Enc_Destroy(encoder);
  if (input.changed != nullptr) {
    error = ChangedFileText(*input.changed, input.left);
    return false;
  }
  if (result != SZ_OK || input.unreadable != nullptr) {
    error = input.unreadable != nullptr ? L"the product file " + input.unreadable->path.wstring() + L" cannot be read"
                                        : L"the LZMA2 encoder failed";
    return false;
  }
  packed = std::move(output.bytes);
  return true;
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

void CheckEntryNames(const fs::path& folder, Problems& problems) {
  std::error_code ignored;
  for (const fs::directory_entry& item : fs::recursive_directory_iterator(folder, ignored)) {
    const wchar_t* fault = nullptr;
    switch (FindEntryNameFault(item.path().lexically_relative(folder).generic_wstring())) {
      case EntryNameFault::kNone: continue;
      case EntryNameFault::kOutside: fault = L"the name would lead outside the install folder"; break;
      case EntryNameFault::kDevice:
        fault = L"the name holds a device name (CON, PRN, AUX, NUL, COM1-9, LPT1-9), which Windows opens as the device";
        break;
      case EntryNameFault::kRefusedCharacter:
        fault = L"the name holds a character Windows refuses in file names (< > \" | ? * or a control character)";
        break;
      case EntryNameFault::kDotOrSpaceAtEnd:
        fault = L"a part of the name ends in a dot or a space, which Windows drops";
        break;
      case EntryNameFault::kComponentTooLong:
        fault = L"a part of the name is longer than the 255 characters of a file name";
        break;
      case EntryNameFault::kPathTooLong:
        fault = L"the name is longer than the 259 characters of a Windows path, before the install folder";
        break;
    }
    problems.push_back({item.path().wstring(), 0, 0, fault});
  }
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
    if (entry.stored.directory || entry.stored.size == 0) continue;
    files.push_back(&entry);
    total += entry.stored.size;
  }
  SolidBlock block;
  uint8_t properties = 0;
  if (!files.empty() && !Compress(files, total, block.packed, properties, error)) return false;
  block.coders = {{kLzma2Method, std::string(1, static_cast<char>(properties))}, {kX86BranchMethod, {}}};
  std::vector<ArchiveEntry> stored;
  for (const Entry& entry : entries) stored.push_back(entry.stored);
  archive = SevenZipArchive(stored, block);
  return true;
}

void ExchangeFirstTwoBytes(std::string& archive) {
  if (archive.size() >= 2) std::swap(archive[0], archive[1]);
}

}  // namespace nebpack
