#include "hostapi/extract_7z.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <mutex>
#include <new>
#include <vector>

extern "C" {
#include <7z.h>
#include <7zCrc.h>
}

#include "base/debug_line.h"
#include "base/handles.h"
#include "hostapi/archive_entry_name.h"
#include "hostapi/extract_tree.h"
#include "hostapi/host_args.h"
#include "hostapi/lzma_heap.h"
#include "hostapi/unpacked_stream.h"

namespace {

constexpr size_t kLookAheadBytes = 1 << 18;
constexpr int kAnswerRetry = 0;
constexpr int kAnswerSkip = 1;
// Attributes with the high word set carry a POSIX mode (archives made on
// Unix); only the low Windows bits apply here.
constexpr UInt32 kPosixModeBits = 0xF0000000;
constexpr UInt32 kWindowsAttributeBits = 0x7FFF;

// The archive's database: names, sizes, attributes, times and checksums of
// its entries, and where its solid blocks lie.
class ArchiveDatabase {
 public:
  explicit ArchiveDatabase(ISeekInStream* stream) {
    static std::once_flag crcTables;
    std::call_once(crcTables, CrcGenerateTable);
    LookToRead2_CreateVTable(&look_, False);
    look_.buf = static_cast<Byte*>(std::malloc(kLookAheadBytes));
    look_.bufSize = kLookAheadBytes;
    look_.realStream = stream;
    LookToRead2_INIT(&look_);
    SzArEx_Init(&db_);
  }
  ~ArchiveDatabase() {
    SzArEx_Free(&db_, &kLzmaHeap);
    std::free(look_.buf);
  }
  ArchiveDatabase(const ArchiveDatabase&) = delete;
  ArchiveDatabase& operator=(const ArchiveDatabase&) = delete;

  SRes Open() { return look_.buf ? SzArEx_Open(&db_, &look_.vt, &kLzmaHeap, &kLzmaHeap) : SZ_ERROR_MEM; }
  const CSzArEx& Db() const { return db_; }

 private:
  CLookToRead2 look_;
  CSzArEx db_;
};

// The full path the system makes of `path` (dropping "." components,
// trailing dots, doubled separators), without asking the disk.
bool FullPathName(const std::wstring& path, std::wstring* full) {
  const DWORD needed = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
  if (needed == 0) return false;
  full->assign(needed, L'\0');
  const DWORD length = GetFullPathNameW(path.c_str(), needed, full->data(), nullptr);
  if (length == 0 || length >= needed) return false;
  full->resize(length);
  return true;
}

enum class Creation { kCreated, kSkipped, kGivenUp };

// One run over the archive's entries in archive order, on the calling
// thread; the bytes come from the decoding thread.
class Extraction {
 public:
  Extraction(const CSzArEx& db, const std::wstring& folder, UnpackedStream& unpacked, ScriptCallback* progress,
             ScriptCallback* onError)
      : db_(db), folder_(folder), tree_(folder), unpacked_(unpacked), progress_(progress), onError_(onError) {}

  int Run() {
    if (!FullPathName(folder_ + L"\\", &base_)) return kExtractWriteFailed;
    int deferred = kExtractOk;
    std::vector<UInt16> name;
    for (UInt32 i = 0; i < db_.NumFiles; ++i) {
      std::wstring path;
      try {
        name.resize(SzArEx_GetFileNameUtf16(&db_, i, nullptr));
        SzArEx_GetFileNameUtf16(&db_, i, name.data());
        path = folder_ + L"\\" + std::wstring(name.begin(), name.end() - 1);
      } catch (const std::bad_alloc&) {
        return kExtractNoMemory;
      }
      const size_t nameStart = folder_.size() + 1;
      std::replace(path.begin() + nameStart, path.end(), L'/', L'\\');
      std::wstring relative;
      if (!IsSafeEntryName(std::wstring_view(path).substr(nameStart)) || !RelativePath(path, &relative)) {
        DebugLine(L"Extract7z: refused an unsafe entry name: %ls\r\n", path.c_str() + nameStart);
        deferred = SZ_ERROR_ARCHIVE;
        const int skipped = Pass(i, nullptr);
        if (skipped != kExtractOk) return skipped;
        continue;
      }
      if (SzArEx_IsDir(&db_, i)) {
        tree_.MakeFolders(relative);
        continue;
      }

      UniqueHandle file;
      switch (CreateWithRetry(path, relative, &file)) {
        case Creation::kCreated:
          break;
        case Creation::kSkipped: {
          if (deferred == kExtractOk) deferred = kExtractWriteFailed;
          const int skipped = Pass(i, nullptr);
          if (skipped != kExtractOk) return skipped;
          continue;
        }
        case Creation::kGivenUp:
          return kExtractWriteFailed;
      }
      const int written = Write(i, relative, &file);
      if (written != kExtractOk) return written;
      if (progress_ && progress_->Valid()) {
        tree_.Release();
        progress_->Call(path);
      }
    }
    // The last block's end is checked after its last file was written.
    const SRes ended = unpacked_.Finish();
    return ended != SZ_OK ? ended : deferred;
  }

 private:
  // The entry's path below the target folder as the system reads it; false
  // when the system would read it as somewhere else.
  bool RelativePath(const std::wstring& path, std::wstring* relative) const {
    std::wstring full;
    if (!FullPathName(path, &full) || full.size() <= base_.size() || full.compare(0, base_.size(), base_) != 0) {
      return false;
    }
    relative->assign(full, base_.size(), std::wstring::npos);
    return true;
  }

  Creation CreateWithRetry(const std::wstring& path, const std::wstring& relative, UniqueHandle* file) {
    const DWORD error = tree_.CreateFile(relative, file);
    if (error == ERROR_SUCCESS) return Creation::kCreated;
    if (!onError_ || !onError_->Valid()) return Creation::kGivenUp;
    // The script may change the disk: nothing of ours stays open meanwhile.
    tree_.Release();
    const int answer = onError_->Call(path, error);
    if (answer == kAnswerSkip) return Creation::kSkipped;
    if (answer != kAnswerRetry) return Creation::kGivenUp;
    return tree_.CreateFile(relative, file) == ERROR_SUCCESS ? Creation::kCreated : Creation::kGivenUp;
  }

  // Writes the entry's bytes as they come, then sets the stored time and
  // attributes on the open file. A file whose bytes turn out damaged is
  // removed again; one the disk did not take whole stays as it is.
  int Write(UInt32 index, const std::wstring& relative, UniqueHandle* file) {
    bool diskFailed = false;
    const int passed = Pass(index, file->Get(), &diskFailed);
    if (diskFailed) return kExtractWriteFailed;
    if (passed != kExtractOk) {
      file->Reset();
      tree_.RemoveFile(relative);
      return passed;
    }
    FILE_BASIC_INFO info = {};
    if (SzBitWithVals_Check(&db_.MTime, index)) {
      info.LastWriteTime.LowPart = db_.MTime.Vals[index].Low;
      info.LastWriteTime.HighPart = static_cast<LONG>(db_.MTime.Vals[index].High);
    }
    if (SzBitWithVals_Check(&db_.Attribs, index)) {
      UInt32 attributes = db_.Attribs.Vals[index];
      if (attributes & kPosixModeBits) attributes &= kWindowsAttributeBits;
      info.FileAttributes = (attributes & ~FILE_ATTRIBUTE_DIRECTORY) | FILE_ATTRIBUTE_NORMAL;
    }
    if (info.LastWriteTime.QuadPart != 0 || info.FileAttributes != 0) {
      SetFileInformationByHandle(file->Get(), FileBasicInfo, &info, sizeof info);
    }
    if (!CloseHandle(file->Release())) return kExtractWriteFailed;
    return kExtractOk;
  }

  // Takes the entry's bytes from the decoder, writes them to `file` unless
  // it is null, and checks them against the stored checksum. `diskFailed`
  // tells a failed write from a decoder's failure.
  int Pass(UInt32 index, HANDLE file, bool* diskFailed = nullptr) {
    UInt32 crc = CRC_INIT_VAL;
    for (UInt64 left = SzArEx_GetFileSize(&db_, index); left > 0;) {
      const Byte* data = nullptr;
      size_t count = 0;
      const SRes taken = unpacked_.Take(static_cast<size_t>(std::min<UInt64>(left, SIZE_MAX)), &data, &count);
      if (taken != SZ_OK) return taken;
      crc = CrcUpdate(crc, data, count);
      DWORD written = 0;
      if (file && (!WriteFile(file, data, static_cast<DWORD>(count), &written, nullptr) || written != count)) {
        *diskFailed = true;
        return kExtractWriteFailed;
      }
      left -= count;
    }
    if (SzBitWithVals_Check(&db_.CRCs, index) && CRC_GET_DIGEST(crc) != db_.CRCs.Vals[index]) return SZ_ERROR_CRC;
    return kExtractOk;
  }

  const CSzArEx& db_;
  const std::wstring& folder_;
  std::wstring base_;
  ExtractTree tree_;
  UnpackedStream& unpacked_;
  ScriptCallback* progress_;
  ScriptCallback* onError_;
};

}  // namespace

int Extract7z(ISeekInStream* stream, const std::wstring& folder, ScriptCallback* progress,
              ScriptCallback* onError) {
  ArchiveDatabase archive(stream);
  const SRes opened = archive.Open();
  if (opened != SZ_OK) return opened;
  UnpackedStream unpacked(archive.Db(), stream);
  return Extraction(archive.Db(), folder, unpacked, progress, onError).Run();
}
