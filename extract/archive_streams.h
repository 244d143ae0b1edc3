// Seekable input streams for the 7z decoder: over an open file, or over a
// block of memory (the private copy of an archive resource).
#pragma once

#include <windows.h>

#include <cstddef>

extern "C" {
#include <7zTypes.h>
}

struct FileInStream {
  explicit FileInStream(HANDLE file);
  ISeekInStream vt;
  HANDLE file;
};

// Reads never go past the end of the block: a read near the end gives the
// bytes that remain.
struct MemoryInStream {
  MemoryInStream(const Byte* data, size_t size);
  ISeekInStream vt;
  const Byte* data;
  size_t size;
  size_t position = 0;
};
