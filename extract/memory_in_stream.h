// A seekable input stream for the 7z decoder over a block of memory (the
// private copy of an archive resource). No Windows calls here.
#pragma once

#include <cstddef>

extern "C" {
#include <7zTypes.h>
}

// Reads never go past the end of the block: a read near the end gives the
// bytes that remain.
struct MemoryInStream {
  MemoryInStream(const Byte* data, size_t size);
  ISeekInStream vt;
  const Byte* data;
  size_t size;
  size_t position = 0;
};
