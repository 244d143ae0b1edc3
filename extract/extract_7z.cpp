#include "extract/extract_7z.h"

#include <algorithm>
#include <new>
#include <vector>

extern "C" {
#include <7z.h>
}

#include "base/debug_line.h"
#include "base/full_path_name.h"
#include "base/handles.h"
#include "extract/archive_database.h"
#include "extract/entry_bytes.h"
#include "extract/extract_tree.h"
#include "extract/unpacked_stream.h"
#include "files/archive_entry_name.h"
#include "files/install_record.h"

namespace {

constexpr int kAnswerRetry = 0;
constexpr int kAnswerSkip = 1;
// Attributes with the high word set carry a POSIX mode (archives made on
// Unix); only the low Windows bits apply here.
constexpr UInt32 kPosixModeBits = 0xF0000000;
constexpr UInt32 kWindowsAttributeBits = 0x7FFF;

enum class Creation { kCreated, kSkipped, kGivenUp };

// One run over the archive's entries in archive order, on the calling
// thread; the bytes come from the decoding thread.
class Extraction {
 public:
  Extraction(const CSzArEx& db, const std::wstring& folder, UnpackedStream& unpacked, const ExtractReports& reports)
      : db_(db), folder_(folder), tree_(folder), unpacked_(unpacked), reports_(reports) {}

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
        if (tree_.MakeFolders(relative) == ERROR_SUCCESS) RecordWritten(path, true);
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
      bool skipped = false;
      const int written = Write(i, path, relative, &file, &skipped);
      if (written != kExtractOk) return written;
      if (skipped) {
        if (deferred == kExtractOk) deferred = kExtractWriteFailed;
        continue;
      }
      RecordWritten(path, false);
      if (reports_.progress) {
        tree_.Release();
        reports_.progress(path);
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

  // The script's answer to a file that cannot be made or put in place. A
  // link on the way is told without its path (kReparsePointRefused): a
  // path-based answer would follow it.
  int Ask(const std::wstring& path, DWORD error) {
    // The script may change the disk: nothing of ours stays open meanwhile.
    tree_.Release();
    return reports_.onError(error == kReparsePointRefused ? std::wstring() : path, error);
  }

  DWORD PrepareFile(const std::wstring& relative, UniqueHandle* file) {
    const DWORD error = tree_.PrepareReplace(relative);
    return error == ERROR_SUCCESS ? tree_.CreateTemporary(relative, file) : error;
  }

  Creation CreateWithRetry(const std::wstring& path, const std::wstring& relative, UniqueHandle* file) {
    const DWORD error = PrepareFile(relative, file);
    if (error == ERROR_SUCCESS) return Creation::kCreated;
    if (!reports_.onError) return Creation::kGivenUp;
    const int answer = Ask(path, error);
    if (answer == kAnswerSkip) return Creation::kSkipped;
    if (answer != kAnswerRetry) return Creation::kGivenUp;
    return PrepareFile(relative, file) == ERROR_SUCCESS ? Creation::kCreated : Creation::kGivenUp;
  }

  // Puts the written file in place of the old one; a program that holds the
  // old one (a running program's file) is the script's to deal with, as for
  // a file that cannot be created.
  Creation PlaceWithRetry(const std::wstring& path, const std::wstring& relative, HANDLE file) {
    const DWORD error = tree_.Replace(relative, file);
    if (error == ERROR_SUCCESS) return Creation::kCreated;
    if (!reports_.onError) return Creation::kGivenUp;
    const int answer = Ask(path, error);
    if (answer == kAnswerSkip) return Creation::kSkipped;
    if (answer != kAnswerRetry) return Creation::kGivenUp;
    if (tree_.PrepareReplace(relative) != ERROR_SUCCESS) return Creation::kGivenUp;
    return tree_.Replace(relative, file) == ERROR_SUCCESS ? Creation::kCreated : Creation::kGivenUp;
  }

  // Writes the entry's bytes as they come into the temporary file, sets the
  // stored time and attributes, and puts it in place of the old file. Bytes
  // that turn out damaged, a disk that does not take them whole, or a file
  // that cannot be put in place leave the old file as it was.
  int Write(UInt32 index, const std::wstring& path, const std::wstring& relative, UniqueHandle* file,
            bool* skipped) {
    bool diskFailed = false;
    const int passed = Pass(index, file->Get(), &diskFailed);
    if (passed != kExtractOk) {
      ExtractTree::Discard(file->Get());
      return diskFailed ? kExtractWriteFailed : passed;
    }
    const Creation placed = PlaceWithRetry(path, relative, file->Get());
    if (placed != Creation::kCreated) ExtractTree::Discard(file->Get());
    *skipped = placed == Creation::kSkipped;
    if (placed == Creation::kGivenUp) return kExtractWriteFailed;
    // Set once in place: a read-only temporary file could not be discarded.
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
    EntrySink write;
    if (file) {
      write = [file](const Byte* data, size_t count) {
        DWORD written = 0;
        return WriteFile(file, data, static_cast<DWORD>(count), &written, nullptr) && written == count;
      };
    }
    bool refused = false;
    const SRes passed = PassEntryBytes(db_, unpacked_, index, write, &refused);
    if (refused) {
      *diskFailed = true;
      return kExtractWriteFailed;
    }
    return passed;
  }

  const CSzArEx& db_;
  const std::wstring& folder_;
  std::wstring base_;
  ExtractTree tree_;
  UnpackedStream& unpacked_;
  const ExtractReports& reports_;
};

}  // namespace

int Extract7z(ISeekInStream* stream, const std::wstring& folder, const ExtractReports& reports) {
  ArchiveDatabase archive(stream);
  const SRes opened = archive.Open();
  if (opened != SZ_OK) return opened;
  UnpackedStream unpacked(archive.Db(), stream);
  return Extraction(archive.Db(), folder, unpacked, reports).Run();
}
