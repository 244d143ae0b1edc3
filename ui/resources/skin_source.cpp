#include "ui/resources/skin_source.h"

#include <new>

#include "base/handles.h"
#include "base/text.h"
#include "ui/resources/zip_archive.h"

namespace SkinUI {

namespace {

// A whole file; kFileNotOpened, kEmpty, kTooLarge or kShortRead when it cannot be had.
SkinSource::ReadStatus ReadWholeFile(const std::wstring& path, size_t limit, std::vector<uint8_t>& bytes) {
  bytes.clear();
  UniqueHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return SkinSource::ReadStatus::kFileNotOpened;
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.Get(), &size)) return SkinSource::ReadStatus::kFileNotOpened;
  if (size.QuadPart == 0) return SkinSource::ReadStatus::kEmpty;
  if (static_cast<unsigned long long>(size.QuadPart) > limit || size.QuadPart > MAXDWORD) {
    return SkinSource::ReadStatus::kTooLarge;
  }
  try {
    bytes.resize(static_cast<size_t>(size.QuadPart));
  } catch (const std::bad_alloc&) {
    return SkinSource::ReadStatus::kTooLarge;
  }
  DWORD read = 0;
  if (!ReadFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) || read != bytes.size()) {
    bytes.clear();
    return SkinSource::ReadStatus::kShortRead;
  }
  return SkinSource::ReadStatus::kOk;
}

}  // namespace

SkinSource& SkinSource::Get() {
  static SkinSource source;
  return source;
}

void SkinSource::SetArchiveFile(std::wstring name, bool cached, std::wstring password) {
  if (UsesArchiveInMemory()) return;
  archive_.reset();
  zipName_ = std::move(name);
  cached_ = cached;
  password_ = std::move(password);
}

void SkinSource::UseArchiveInMemory(const uint8_t* data, size_t size, const std::wstring& password) {
  if (UsesArchiveInMemory()) return;
  archive_.reset();
  zipName_ = kMemoryArchiveName;
  cached_ = true;
  password_ = password;
  archive_ = CZipArchive::OpenMemory(data, size, WideToAnsi(password));
}

CZipArchive* SkinSource::Archive(std::unique_ptr<CZipArchive>& opened) {
  if (archive_) return archive_.get();
  std::vector<uint8_t> bytes;
  if (ReadWholeFile(folder_ + zipName_, SIZE_MAX, bytes) != ReadStatus::kOk) return nullptr;
  opened = CZipArchive::OpenOwned(std::move(bytes), WideToAnsi(password_));
  if (!opened) return nullptr;
  if (!cached_ || UsesArchiveInMemory()) return opened.get();
  archive_ = std::move(opened);
  return archive_.get();
}

bool SkinSource::HasEntry(const std::wstring& name) {
  std::unique_ptr<CZipArchive> opened;
  CZipArchive* archive = UsesArchive() ? Archive(opened) : nullptr;
  return archive != nullptr && archive->HasEntry(WideToUtf8(name));
}

bool SkinSource::HasFolderFile(const std::wstring& name) const {
  const DWORD attributes = GetFileAttributesW((folder_ + name).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

SkinSource::ReadStatus SkinSource::ReadSkinFile(const std::wstring& name, std::vector<uint8_t>& bytes) {
  bytes.clear();
  if (!UsesArchive()) return ReadWholeFile(folder_ + name, kMaxSkinFileSize, bytes);
  std::unique_ptr<CZipArchive> opened;
  CZipArchive* archive = Archive(opened);
  if (archive == nullptr) return ReadStatus::kArchiveNotOpened;
  switch (archive->Extract(WideToUtf8(name), kMaxSkinFileSize, bytes)) {
    case CZipArchive::Status::kOk: return ReadStatus::kOk;
    case CZipArchive::Status::kNotFound: return ReadStatus::kEntryMissing;
    case CZipArchive::Status::kEmpty: return ReadStatus::kEmpty;
    case CZipArchive::Status::kTooLarge: return ReadStatus::kTooLarge;
    default: return ReadStatus::kUnzipFailed;
  }
}

bool SkinSource::ReadPictureBytes(const std::wstring& name, std::vector<uint8_t>& bytes) {
  bytes.clear();
  if (UsesArchive()) {
    std::unique_ptr<CZipArchive> opened;
    CZipArchive* archive = Archive(opened);
    if (archive && archive->Extract(WideToUtf8(name), kMaxPictureFileSize, bytes) == CZipArchive::Status::kOk) {
      return true;
    }
  } else if (ReadWholeFile(folder_ + name, kMaxPictureFileSize, bytes) == ReadStatus::kOk) {
    return true;
  }
  return ReadWholeFile(name, kMaxPictureFileSize, bytes) == ReadStatus::kOk;
}

void SkinSource::Close() { archive_.reset(); }

}  // namespace SkinUI
