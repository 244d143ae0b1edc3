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

SRes MemoryRead(ISeekInStreamPtr p, void* buf, size_t* size) {
  MemoryInStream* self = reinterpret_cast<MemoryInStream*>(const_cast<ISeekInStream*>(p));
  const size_t remaining = self->position < self->size ? self->size - self->position : 0;
  const size_t count = std::min(*size, remaining);
  std::copy_n(self->data + self->position, count, static_cast<Byte*>(buf));
  self->position += count;
  *size = count;
  return SZ_OK;
}

SRes MemorySeek(ISeekInStreamPtr p, Int64* pos, ESzSeek origin) {
  MemoryInStream* self = reinterpret_cast<MemoryInStream*>(const_cast<ISeekInStream*>(p));
  const Int64 base = origin == SZ_SEEK_SET   ? 0
                     : origin == SZ_SEEK_CUR ? static_cast<Int64>(self->position)
                                             : static_cast<Int64>(self->size);
  const Int64 target = base + *pos;
  if (target < 0) return SZ_ERROR_READ;
  // Past the end is allowed, as with files; reads there give nothing.
  self->position = static_cast<size_t>(target);
  *pos = target;
  return SZ_OK;
}

}  // namespace

FileInStream::FileInStream(HANDLE file) : vt{FileRead, FileSeek}, file(file) {}

MemoryInStream::MemoryInStream(const Byte* data, size_t size)
    : vt{MemoryRead, MemorySeek}, data(data), size(size) {}
