#include "extract/archive_streams.h"

#include <algorithm>

namespace {

constexpr DWORD kLargestRead = 1u << 30;

SRes FileRead(ISeekInStreamPtr p, void* buf, size_t* size) {
  const FileInStream* self = reinterpret_cast<const FileInStream*>(p);
  const DWORD wanted = static_cast<DWORD>(std::min<size_t>(*size, kLargestRead));
  DWORD got = 0;
  const BOOL ok = ReadFile(self->file, buf, wanted, &got, nullptr);
  *size = got;
  return ok ? SZ_OK : SZ_ERROR_READ;
}

SRes FileSeek(ISeekInStreamPtr p, Int64* pos, ESzSeek origin) {
  const FileInStream* self = reinterpret_cast<const FileInStream*>(p);
  LARGE_INTEGER distance;
  distance.QuadPart = *pos;
  LARGE_INTEGER now;
  const DWORD method = origin == SZ_SEEK_SET ? FILE_BEGIN : origin == SZ_SEEK_CUR ? FILE_CURRENT : FILE_END;
  if (!SetFilePointerEx(self->file, distance, &now, method)) return SZ_ERROR_READ;
  *pos = now.QuadPart;
  return SZ_OK;
}

}  // namespace

FileInStream::FileInStream(HANDLE file) : vt{FileRead, FileSeek}, file(file) {}
