#include "files/relative_files.h"

#include <winternl.h>

#include <vector>

namespace {

constexpr LONG kStatusObjectNameCollision = static_cast<LONG>(0xC0000035);
constexpr LONG kStatusFileIsADirectory = static_cast<LONG>(0xC00000BA);
constexpr LONG kStatusNotADirectory = static_cast<LONG>(0xC0000103);
constexpr size_t kLongestName = 32767;

constexpr auto kFileRenameInformation = static_cast<FILE_INFORMATION_CLASS>(10);

using NtCreateFileFn = NTSTATUS(NTAPI*)(PHANDLE, ACCESS_MASK, POBJECT_ATTRIBUTES, PIO_STATUS_BLOCK, PLARGE_INTEGER,
                                        ULONG, ULONG, ULONG, ULONG, PVOID, ULONG);
using NtSetInformationFileFn = NTSTATUS(NTAPI*)(HANDLE, PIO_STATUS_BLOCK, PVOID, ULONG, FILE_INFORMATION_CLASS);
using RtlNtStatusToDosErrorFn = ULONG(NTAPI*)(NTSTATUS);

// The native calls, from the system's own ntdll (always loaded).
struct NativeApi {
  NativeApi() {
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    Resolve(ntdll, "NtCreateFile", &createFile);
    Resolve(ntdll, "NtSetInformationFile", &setInformationFile);
    Resolve(ntdll, "RtlNtStatusToDosError", &statusToError);
  }
  template <typename Function>
  static void Resolve(HMODULE module, const char* name, Function* function) {
    *function = reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
  }
  NtCreateFileFn createFile;
  NtSetInformationFileFn setInformationFile;
  RtlNtStatusToDosErrorFn statusToError;
};

// The native rename request (FILE_RENAME_INFORMATION).
struct RenameInformation {
  BOOLEAN replaceIfExists;
  HANDLE rootDirectory;
  ULONG fileNameLength;
  WCHAR fileName[1];
};

const NativeApi& Native() {
  static const NativeApi api;
  return api;
}

// The error CreateFileW would report for the same failure.
DWORD ErrorOf(NTSTATUS status) {
  if (status == kStatusFileIsADirectory) return ERROR_ACCESS_DENIED;
  if (status == kStatusNotADirectory) return ERROR_PATH_NOT_FOUND;
  if (status == kStatusObjectNameCollision) return ERROR_FILE_EXISTS;
  return Native().statusToError(status);
}

class RelativeName {
 public:
  RelativeName(HANDLE folder, std::wstring_view name) {
    text_.Buffer = const_cast<wchar_t*>(name.data());
    text_.Length = text_.MaximumLength = static_cast<USHORT>(name.size() * sizeof(wchar_t));
    InitializeObjectAttributes(&attributes_, &text_, OBJ_CASE_INSENSITIVE, folder, nullptr);
  }
  POBJECT_ATTRIBUTES Get() { return &attributes_; }

 private:
  UNICODE_STRING text_;
  OBJECT_ATTRIBUTES attributes_;
};

}  // namespace

DWORD OpenRelative(HANDLE folder, std::wstring_view name, const RelativeOpen& how, UniqueHandle* opened,
                   bool* created) {
  if (name.size() > kLongestName) return ERROR_FILENAME_EXCED_RANGE;
  RelativeName relative(folder, name);
  IO_STATUS_BLOCK io = {};
  HANDLE handle = nullptr;
  const NTSTATUS status = Native().createFile(
      &handle, how.access | SYNCHRONIZE, relative.Get(), &io, nullptr, FILE_ATTRIBUTE_NORMAL, how.sharing,
      how.disposition, how.options | FILE_SYNCHRONOUS_IO_NONALERT | FILE_OPEN_REPARSE_POINT, nullptr, 0);
  if (!NT_SUCCESS(status)) return ErrorOf(status);
  opened->Reset(handle);
  if (created) *created = io.Information == FILE_CREATED;
  return ERROR_SUCCESS;
}

DWORD RenameRelative(HANDLE file, HANDLE folder, std::wstring_view name) {
  if (name.size() > kLongestName) return ERROR_FILENAME_EXCED_RANGE;
  std::vector<unsigned char> buffer(sizeof(RenameInformation) + name.size() * sizeof(wchar_t));
  auto* rename = reinterpret_cast<RenameInformation*>(buffer.data());
  rename->replaceIfExists = TRUE;
  rename->rootDirectory = folder;
  rename->fileNameLength = static_cast<ULONG>(name.size() * sizeof(wchar_t));
  name.copy(rename->fileName, name.size());
  IO_STATUS_BLOCK io = {};
  const NTSTATUS status =
      Native().setInformationFile(file, &io, rename, static_cast<ULONG>(buffer.size()), kFileRenameInformation);
  return NT_SUCCESS(status) ? ERROR_SUCCESS : ErrorOf(status);
}

bool IsLink(HANDLE opened) {
  FILE_ATTRIBUTE_TAG_INFO tag = {};
  return GetFileInformationByHandleEx(opened, FileAttributeTagInfo, &tag, sizeof tag) &&
         (tag.FileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) && IsReparseTagNameSurrogate(tag.ReparseTag);
}

bool FinalPath(HANDLE opened, std::wstring* path) {
  path->assign(MAX_PATH, L'\0');
  DWORD length = GetFinalPathNameByHandleW(opened, path->data(), static_cast<DWORD>(path->size()), 0);
  if (length >= path->size()) {
    path->assign(length, L'\0');
    length = GetFinalPathNameByHandleW(opened, path->data(), static_cast<DWORD>(path->size()), 0);
  }
  if (length == 0 || length >= path->size()) {
    path->clear();
    return false;
  }
  path->resize(length);
  return true;
}

bool IsEntryPath(std::wstring_view path, std::wstring_view folderPath, std::wstring_view name) {
  if (folderPath.empty()) return false;
  std::wstring expected(folderPath);
  if (expected.back() != L'\\') expected += L'\\';
  expected.append(name);
  return CompareStringOrdinal(path.data(), static_cast<int>(path.size()), expected.data(),
                              static_cast<int>(expected.size()), TRUE) == CSTR_EQUAL;
}
