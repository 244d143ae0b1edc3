#include "hostapi/extract_7z.h"

#include <cstdlib>
#include <mutex>
#include <new>
#include <unordered_set>
#include <vector>

extern "C" {
#include <7z.h>
#include <7zCrc.h>
}

#include "base/debug_line.h"
#include "base/handles.h"
#include "hostapi/archive_entry_name.h"
#include "hostapi/host_args.h"

namespace {

constexpr size_t kLookAheadBytes = 1 << 18;
constexpr DWORD kLargestWrite = 1u << 30;
constexpr int kAnswerRetry = 0;
constexpr int kAnswerSkip = 1;
// Attributes with the high word set carry a POSIX mode (archives made on
// Unix); only the low Windows bits apply here.
constexpr UInt32 kPosixModeBits = 0xF0000000;
constexpr UInt32 kWindowsAttributeBits = 0x7FFF;

void* HeapAllocate(ISzAllocPtr, size_t size) { return std::malloc(size); }
void HeapFree(ISzAllocPtr, void* address) { std::free(address); }
const ISzAlloc kHeap = {HeapAllocate, HeapFree};

// The decoder's state for one run: the archive database and the last
// decoded solid block, which every file of that block is cut from.
class Decoder {
 public:
  explicit Decoder(ISeekInStream* stream) {
    static std::once_flag crcTables;
    std::call_once(crcTables, CrcGenerateTable);
    LookToRead2_CreateVTable(&look_, False);
    look_.buf = static_cast<Byte*>(std::malloc(kLookAheadBytes));
    look_.bufSize = kLookAheadBytes;
    look_.realStream = stream;
    LookToRead2_INIT(&look_);
    SzArEx_Init(&db_);
  }
  ~Decoder() {
    std::free(block_);
    SzArEx_Free(&db_, &kHeap);
    std::free(look_.buf);
  }
  Decoder(const Decoder&) = delete;
  Decoder& operator=(const Decoder&) = delete;

  SRes Open() { return look_.buf ? SzArEx_Open(&db_, &look_.vt, &kHeap, &kHeap) : SZ_ERROR_MEM; }

  const CSzArEx& Db() const { return db_; }

  SRes Extract(UInt32 index, const Byte*& data, size_t& size) {
    size_t offset = 0;
    const SRes res = SzArEx_Extract(&db_, &look_.vt, index, &blockIndex_, &block_, &blockSize_,
                                    &offset, &size, &kHeap, &kHeap);
    data = block_ + offset;
    return res;
  }

 private:
  CLookToRead2 look_;
  CSzArEx db_;
  UInt32 blockIndex_ = 0xFFFFFFFF;
  Byte* block_ = nullptr;
  size_t blockSize_ = 0;
};

// The folders this run has already made sure of. Archives list many files
// per folder, and asking the file system again for each of them is most of
// the cost of small files. Anything the script runs may change the disk, so
// the set is forgotten whenever a callback has run.
class KnownFolders {
 public:
  // Creates the folders of the entry's name below the target folder and
  // turns its separators into backslashes.
  void CreateEntryFolders(std::wstring& path, size_t nameStart) {
    for (size_t i = nameStart; i < path.size(); ++i) {
      if (path[i] != L'/') continue;
      path[i] = L'\0';
      if (known_.insert(path.substr(0, i)).second) CreateDirectoryW(path.c_str(), nullptr);
      path[i] = L'\\';
    }
  }
  void Forget() { known_.clear(); }

 private:
  std::unordered_set<std::wstring> known_;
};

HANDLE CreateEntryFile(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
    SetFileAttributesW(path.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
  }
  return CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                     FILE_ATTRIBUTE_NORMAL, nullptr);
}

bool WriteAll(HANDLE file, const Byte* data, size_t size) {
  do {
    const DWORD chunk = size > kLargestWrite ? kLargestWrite : static_cast<DWORD>(size);
    DWORD written = 0;
    if (!WriteFile(file, data, chunk, &written, nullptr) || written != chunk) return false;
    data += chunk;
    size -= chunk;
  } while (size > 0);
  return true;
}

enum class Creation { kCreated, kSkipped, kGivenUp };

Creation CreateWithRetry(const std::wstring& path, ScriptCallback* onError, KnownFolders& folders,
                         UniqueHandle& file) {
  file.Reset(CreateEntryFile(path));
  if (file) return Creation::kCreated;
  const DWORD error = GetLastError();
  if (!onError || !onError->Valid()) return Creation::kGivenUp;
  const int answer = onError->Call(path, error);
  folders.Forget();
  if (answer == kAnswerSkip) return Creation::kSkipped;
  if (answer != kAnswerRetry) return Creation::kGivenUp;
  file.Reset(CreateEntryFile(path));
  return file ? Creation::kCreated : Creation::kGivenUp;
}

}  // namespace

int Extract7z(ISeekInStream* stream, const std::wstring& folder, ScriptCallback* progress,
              ScriptCallback* onError) {
  Decoder decoder(stream);
  const SRes opened = decoder.Open();
  if (opened != SZ_OK) return opened;
  const CSzArEx& db = decoder.Db();

  int deferred = kExtractOk;
  KnownFolders folders;
  std::vector<UInt16> name;
  for (UInt32 i = 0; i < db.NumFiles; ++i) {
    std::wstring path;
    try {
      name.resize(SzArEx_GetFileNameUtf16(&db, i, nullptr));
      SzArEx_GetFileNameUtf16(&db, i, name.data());
      path = folder + L"\\" + std::wstring(name.begin(), name.end() - 1);
    } catch (const std::bad_alloc&) {
      return kExtractNoMemory;
    }
    const size_t nameStart = folder.size() + 1;
    if (!IsSafeEntryName(std::wstring_view(path).substr(nameStart))) {
      DebugLine(L"Extract7z: refused an entry outside the folder: %ls\r\n", path.c_str() + nameStart);
      deferred = SZ_ERROR_ARCHIVE;
      continue;
    }

    const bool isFolder = SzArEx_IsDir(&db, i);
    const Byte* data = nullptr;
    size_t size = 0;
    if (!isFolder) {
      const SRes decoded = decoder.Extract(i, data, size);
      if (decoded != SZ_OK) return decoded;
    }
    folders.CreateEntryFolders(path, nameStart);
    if (isFolder) {
      CreateDirectoryW(path.c_str(), nullptr);
      continue;
    }

    UniqueHandle file;
    switch (CreateWithRetry(path, onError, folders, file)) {
      case Creation::kCreated:
        break;
      case Creation::kSkipped:
        if (deferred == kExtractOk) deferred = kExtractWriteFailed;
        continue;
      case Creation::kGivenUp:
        return kExtractWriteFailed;
    }
    if (!WriteAll(file.Get(), data, size)) return kExtractWriteFailed;
    if (SzBitWithVals_Check(&db.MTime, i)) {
      const FILETIME modified = {db.MTime.Vals[i].Low, db.MTime.Vals[i].High};
      SetFileTime(file.Get(), nullptr, nullptr, &modified);
    }
    if (!CloseHandle(file.Release())) return kExtractWriteFailed;
    if (SzBitWithVals_Check(&db.Attribs, i)) {
      UInt32 attributes = db.Attribs.Vals[i];
      if (attributes & kPosixModeBits) attributes &= kWindowsAttributeBits;
      SetFileAttributesW(path.c_str(), attributes);
    }
    if (progress && progress->Valid()) {
      progress->Call(path);
      folders.Forget();
    }
  }
  return deferred;
}
