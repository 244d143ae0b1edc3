// Unpacks a 7z archive into a folder, entry by entry, reporting to its
// caller (the archive host functions hand on to the script's callbacks).
#pragma once

#include <cstdint>
#include <functional>
#include <string>

extern "C" {
#include <7zTypes.h>
}

// Result codes besides the decoder's own (SZ_ERROR_*).
constexpr int kExtractOk = 0;
constexpr int kExtractNoMemory = 2;
constexpr int kExtractWriteFailed = 11;

// What an extraction tells its caller as it goes; either may be empty.
struct ExtractReports {
  // After each file written, with its path.
  std::function<void(const std::wstring& path)> progress;
  // When a file cannot be created or put in place, with the system's error
  // code; the answer: 0 try once more, 1 skip it, other stop.
  std::function<int(const std::wstring& path, uint32_t code)> onError;
};

// A skipped file makes the result kExtractWriteFailed once the rest
// is extracted: the archive was not extracted whole. An entry whose name
// would lead outside the folder or names a device is refused (nothing
// written for it) and makes the result SZ_ERROR_ARCHIVE once the rest is
// extracted. A junction or symbolic link on an entry's way is refused as a
// file that cannot be created: onError gets an empty path and
// kReparsePointRefused, never a path that leads through the link.
// Each solid block is decoded on a second thread through a window the size
// of its dictionary, and each file written as its bytes come: memory does
// not follow the block's size. A file's bytes go to a temporary file beside
// it, which replaces the old file only once they are whole and match their
// checksum: a decoding fault, a full disk or a file that cannot be replaced
// leaves the old file as it was. Files put in place before a fault (of the
// same solid block too) stay new. A damaged end of the last block (its
// checksum, the end of its coder's stream, packed bytes left over) fails the
// extraction once its files are written.
int Extract7z(ISeekInStream* stream, const std::wstring& folder, const ExtractReports& reports);
