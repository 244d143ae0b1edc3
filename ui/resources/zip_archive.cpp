#include "ui/resources/zip_archive.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "unzip.h"

namespace SkinUI {

// minizip's file functions over one block of memory.
struct CZipArchive::MemoryStream {
  const uint8_t* data = nullptr;
  size_t size = 0;
  size_t position = 0;

  static voidpf ZCALLBACK Open(voidpf opaque, const void*, int) { return opaque; }
  static uLong ZCALLBACK Read(voidpf, voidpf stream, void* buffer, uLong size) {
    auto* self = static_cast<MemoryStream*>(stream);
    const size_t count = std::min<size_t>(size, self->size - self->position);
    std::memcpy(buffer, self->data + self->position, count);
    self->position += count;
    return static_cast<uLong>(count);
  }
  static uLong ZCALLBACK Write(voidpf, voidpf, const void*, uLong) { return 0; }
  static ZPOS64_T ZCALLBACK Tell(voidpf, voidpf stream) { return static_cast<MemoryStream*>(stream)->position; }
  static long ZCALLBACK Seek(voidpf, voidpf stream, ZPOS64_T offset, int origin) {
    auto* self = static_cast<MemoryStream*>(stream);
    uint64_t base = 0;
    switch (origin) {
      case ZLIB_FILEFUNC_SEEK_SET: base = 0; break;
      case ZLIB_FILEFUNC_SEEK_CUR: base = self->position; break;
      case ZLIB_FILEFUNC_SEEK_END: base = self->size; break;
      default: return -1;
    }
    if (offset > self->size - base) return -1;
    self->position = static_cast<size_t>(base + offset);
    return 0;
  }
  static int ZCALLBACK Close(voidpf, voidpf) { return 0; }
  static int ZCALLBACK Error(voidpf, voidpf) { return 0; }
};

namespace {

std::string EntryName(const std::string& name) {
  std::string entry = name;
  std::replace(entry.begin(), entry.end(), '\\', '/');
  return entry;
}

}  // namespace

std::unique_ptr<CZipArchive> CZipArchive::OpenMemory(const uint8_t* data, size_t size, std::string password) {
  std::unique_ptr<CZipArchive> archive(new CZipArchive());
  archive->password_ = std::move(password);
  if (!archive->Open(data, size)) return nullptr;
  return archive;
}

std::unique_ptr<CZipArchive> CZipArchive::OpenOwned(std::vector<uint8_t> bytes, std::string password) {
  std::unique_ptr<CZipArchive> archive(new CZipArchive());
  archive->password_ = std::move(password);
  archive->ownedBytes_ = std::move(bytes);
  if (!archive->Open(archive->ownedBytes_.data(), archive->ownedBytes_.size())) return nullptr;
  return archive;
}

bool CZipArchive::Open(const uint8_t* data, size_t size) {
  if (data == nullptr || size == 0) return false;
  stream_ = std::make_unique<MemoryStream>();
  stream_->data = data;
  stream_->size = size;
  zlib_filefunc64_def functions{};
  functions.zopen64_file = &MemoryStream::Open;
  functions.zread_file = &MemoryStream::Read;
  functions.zwrite_file = &MemoryStream::Write;
  functions.ztell64_file = &MemoryStream::Tell;
  functions.zseek64_file = &MemoryStream::Seek;
  functions.zclose_file = &MemoryStream::Close;
  functions.zerror_file = &MemoryStream::Error;
  functions.opaque = stream_.get();
  file_ = unzOpen2_64("membuffer", &functions);
  return file_ != nullptr;
}

CZipArchive::~CZipArchive() {
  if (file_) unzClose(static_cast<unzFile>(file_));
}

bool CZipArchive::Locate(const std::string& name, uint64_t& size) {
  constexpr int kIgnoreCase = 2;
  const std::string entry = EntryName(name);
  if (entry.empty() || unzLocateFile(static_cast<unzFile>(file_), entry.c_str(), kIgnoreCase) != UNZ_OK) return false;
  unz_file_info64 info{};
  if (unzGetCurrentFileInfo64(static_cast<unzFile>(file_), &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK) {
    return false;
  }
  size = info.uncompressed_size;
  return true;
}

bool CZipArchive::HasEntry(const std::string& name) {
  uint64_t size = 0;
  return Locate(name, size) && size > 0;
}

CZipArchive::Status CZipArchive::Extract(const std::string& name, size_t limit, std::vector<uint8_t>& bytes) {
  uint64_t size = 0;
  if (!Locate(name, size)) return Status::kNotFound;
  if (size == 0) return Status::kEmpty;
  if (size > limit) return Status::kTooLarge;
  const auto file = static_cast<unzFile>(file_);
  if (unzOpenCurrentFilePassword(file, password_.empty() ? nullptr : password_.c_str()) != UNZ_OK) {
    return Status::kUnzipFailed;
  }
  try {
    bytes.resize(static_cast<size_t>(size));
  } catch (const std::bad_alloc&) {
    unzCloseCurrentFile(file);
    return Status::kUnzipFailed;
  }
  size_t done = 0;
  while (done < bytes.size()) {
    const unsigned chunk = static_cast<unsigned>(std::min<size_t>(bytes.size() - done, 1u << 20));
    const int read = unzReadCurrentFile(file, bytes.data() + done, chunk);
    if (read <= 0) break;
    done += static_cast<size_t>(read);
  }
  // Closing checks the entry's CRC once everything was read.
  const int closed = unzCloseCurrentFile(file);
  if (done != bytes.size() || closed != UNZ_OK) {
    bytes.clear();
    return Status::kUnzipFailed;
  }
  return Status::kOk;
}

}  // namespace SkinUI
