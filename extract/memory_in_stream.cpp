#include "extract/memory_in_stream.h"

#include <algorithm>

namespace {

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

MemoryInStream::MemoryInStream(const Byte* data, size_t size)
    : vt{MemoryRead, MemorySeek}, data(data), size(size) {}
