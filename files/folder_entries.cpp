#include "files/folder_entries.h"

#include <winternl.h>

#include "files/relative_files.h"

namespace {

// Members of the native file interface that the SDK headers leave out.
constexpr ULONG kOpenForBackupIntent = 0x00004000;  // FILE_OPEN_FOR_BACKUP_INTENT
constexpr auto kFileBasicInformation = static_cast<FILE_INFORMATION_CLASS>(4);
constexpr auto kFileInternalInformation = static_cast<FILE_INFORMATION_CLASS>(6);
constexpr auto kFileDispositionInformation = static_cast<FILE_INFORMATION_CLASS>(13);
constexpr auto kFileIdBothDirectoryInformation = static_cast<FILE_INFORMATION_CLASS>(37);
constexpr NTSTATUS kNoMoreFiles = static_cast<NTSTATUS>(0x80000006);

struct BasicInformation {
  LARGE_INTEGER creationTime, lastAccessTime, lastWriteTime, changeTime;
  ULONG attributes;
};

struct IdBothDirectoryEntry {
  ULONG nextEntryOffset;
  ULONG fileIndex;
  LARGE_INTEGER creationTime, lastAccessTime, lastWriteTime, changeTime;
  LARGE_INTEGER endOfFile, allocationSize;
  ULONG attributes;
  ULONG nameLength;
  ULONG eaSize;
  CCHAR shortNameLength;
  WCHAR shortName[12];
  LARGE_INTEGER fileId;
  WCHAR name[1];
};

extern "C" NTSTATUS NTAPI NtQueryDirectoryFile(HANDLE, HANDLE, PVOID, PVOID, PIO_STATUS_BLOCK, PVOID,
                                               ULONG, FILE_INFORMATION_CLASS, BOOLEAN, PUNICODE_STRING,
                                               BOOLEAN);

constexpr ULONG kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

ACCESS_MASK AccessFor(bool forDeletion) {
  const ACCESS_MASK read = FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES | SYNCHRONIZE;
  return forDeletion ? read | DELETE | FILE_WRITE_ATTRIBUTES : read;
}

}  // namespace

std::vector<FolderEntry> ListFolder(HANDLE folder) {
  std::vector<FolderEntry> entries;
  alignas(8) static thread_local unsigned char buffer[64 * 1024];
  for (BOOLEAN restart = TRUE;; restart = FALSE) {
    IO_STATUS_BLOCK io = {};
    const NTSTATUS status = NtQueryDirectoryFile(folder, nullptr, nullptr, nullptr, &io, buffer,
                                                 sizeof buffer, kFileIdBothDirectoryInformation,
                                                 FALSE, nullptr, restart);
    if (status == kNoMoreFiles || !NT_SUCCESS(status)) return entries;
    for (const unsigned char* at = buffer;;) {
      const auto* record = reinterpret_cast<const IdBothDirectoryEntry*>(at);
      std::wstring name(record->name, record->nameLength / sizeof(WCHAR));
      if (name != L"." && name != L"..") {
        entries.push_back({std::move(name), record->attributes,
                           static_cast<uint64_t>(record->fileId.QuadPart)});
      }
      if (record->nextEntryOffset == 0) break;
      at += record->nextEntryOffset;
    }
  }
}

UniqueHandle OpenInFolder(HANDLE folder, const std::wstring& name, bool forDeletion, DWORD& error) {
  UniqueHandle handle;
  const RelativeOpen how = {AccessFor(forDeletion), kShareAll, FILE_OPEN, kOpenForBackupIntent};
  error = OpenRelative(folder, name, how, &handle);
  return handle;
}

UniqueHandle OpenPath(const std::wstring& path, bool forDeletion, DWORD& error) {
  UniqueHandle handle(CreateFileW(path.c_str(), AccessFor(forDeletion), kShareAll, nullptr, OPEN_EXISTING,
                                  FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  error = handle ? ERROR_SUCCESS : GetLastError();
  return handle;
}

DWORD AttributesOf(HANDLE file) {
  BasicInformation basic = {};
  IO_STATUS_BLOCK io = {};
  if (!NT_SUCCESS(NtQueryInformationFile(file, &io, &basic, sizeof basic, kFileBasicInformation))) return 0;
  return basic.attributes;
}

uint64_t FileIdOf(HANDLE file) {
  LARGE_INTEGER id = {};
  IO_STATUS_BLOCK io = {};
  if (!NT_SUCCESS(NtQueryInformationFile(file, &io, &id, sizeof id, kFileInternalInformation))) return 0;
  return static_cast<uint64_t>(id.QuadPart);
}

void ClearReadOnly(HANDLE file, DWORD attributes) {
  BasicInformation basic = {};  // times of 0 stay as they are
  basic.attributes = (attributes & ~FILE_ATTRIBUTE_READONLY) ? attributes & ~FILE_ATTRIBUTE_READONLY
                                                             : FILE_ATTRIBUTE_NORMAL;
  IO_STATUS_BLOCK io = {};
  NtSetInformationFile(file, &io, &basic, sizeof basic, kFileBasicInformation);
}

bool MarkForDeletion(HANDLE file, DWORD& error) {
  BOOLEAN deleteFile = TRUE;
  IO_STATUS_BLOCK io = {};
  const NTSTATUS status = NtSetInformationFile(file, &io, &deleteFile, sizeof deleteFile,
                                               kFileDispositionInformation);
  error = NT_SUCCESS(status) ? ERROR_SUCCESS : RtlNtStatusToDosError(status);
  return NT_SUCCESS(status);
}
