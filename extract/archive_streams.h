// A seekable input stream for the 7z decoder over an open file (the one over
// a block of memory is memory_in_stream.h).
#pragma once

#include <windows.h>

extern "C" {
#include <7zTypes.h>
}

struct FileInStream {
  explicit FileInStream(HANDLE file);
  ISeekInStream vt;
  HANDLE file;
};
