// The process-wide skin source: where every file a window reads (markup,
// font table, pictures) comes from. A ZIP archive (usually the program's own
// resource held in memory), or plain files under a folder.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "ui/resources/skin_file_limits.h"

namespace SkinUI {

class CZipArchive;

class SkinSource {
 public:
  // The reserved archive name that stands for the archive held in memory.
  static constexpr wchar_t kMemoryArchiveName[] = L"membuffer";
  static constexpr size_t kMaxSkinFileSize = SkinUI::kMaxSkinFileSize;
  static constexpr size_t kMaxPictureFileSize = SkinUI::kMaxPictureFileSize;

  enum class ReadStatus {
    kOk,
    kArchiveNotOpened,
    kEntryMissing,
    kEmpty,
    kTooLarge,
    kUnzipFailed,
    kFileNotOpened,
    kShortRead,
  };

  static SkinSource& Get();

  void SetInstance(HINSTANCE instance) { instance_ = instance; }
  HINSTANCE Instance() const { return instance_; }
  void SetFolder(std::wstring folder) { folder_ = std::move(folder); }
  const std::wstring& Folder() const { return folder_; }
  // An archive file under the folder ("" for plain files). A cached archive
  // stays open once opened. Ignored once the archive in memory is in use.
  void SetArchiveFile(std::wstring name, bool cached, std::wstring password);
  // Takes the archive from memory; the bytes must stay valid until
  // shut-down. A second call changes nothing.
  void UseArchiveInMemory(const uint8_t* data, size_t size, const std::wstring& password);
  bool UsesArchive() const { return !zipName_.empty(); }
  bool UsesArchiveInMemory() const { return zipName_ == kMemoryArchiveName; }

  // The archive holds an entry of that name (letter case ignored, "\" read
  // as "/") with a non-zero size.
  bool HasEntry(const std::wstring& name);
  // The folder + name exists as a file.
  bool HasFolderFile(const std::wstring& name) const;
  // A skin file by name: the archive entry, or the folder's file.
  ReadStatus ReadSkinFile(const std::wstring& name, std::vector<uint8_t>& bytes);
  // A picture's bytes: the archive entry or the folder's file, and failing
  // both the name itself as a file path.
  bool ReadPictureBytes(const std::wstring& name, std::vector<uint8_t>& bytes);

  // Closes the cached archive (framework shut-down).
  void Close();

 private:
  SkinSource() = default;
  // The cached archive, or one opened for this call (kept in `opened`).
  CZipArchive* Archive(std::unique_ptr<CZipArchive>& opened);

  HINSTANCE instance_ = nullptr;
  std::wstring folder_;
  std::wstring zipName_;
  std::wstring password_;
  bool cached_ = false;
  std::unique_ptr<CZipArchive> archive_;
};

}  // namespace SkinUI
