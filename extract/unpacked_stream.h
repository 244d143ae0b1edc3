// The unpacked bytes of all of an archive's solid blocks, in archive order,
// decoded on a thread of their own a little ahead of the reader. Memory: the
// block decoder's (its dictionary) plus a few fixed chunks.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

extern "C" {
#include <7z.h>
}

class UnpackedStream {
 public:
  // Starts decoding at once. The input belongs to the decoding thread until
  // this object is destroyed.
  UnpackedStream(const CSzArEx& db, ISeekInStream* input);
  // Stops the decoding thread, wherever it is, and waits for it.
  ~UnpackedStream();
  UnpackedStream(const UnpackedStream&) = delete;
  UnpackedStream& operator=(const UnpackedStream&) = delete;

  // Up to `wanted` (> 0) next bytes, valid until the next call. A decoding
  // error is reported once the bytes decoded before it were all taken.
  SRes Take(size_t wanted, const Byte** data, size_t* size);

  // Once every byte was taken: waits for the decoding thread to end and
  // gives what the end checks of the last block found (its checksum, the
  // end of its coder's stream, no packed bytes left over).
  SRes Finish();

 private:
  struct Chunk {
    std::unique_ptr<Byte[]> bytes;
    size_t size = 0;
  };

  void Decode();
  SRes DecodeBlocks();
  SRes Emit(const Byte* data, size_t size);
  void HandOver();
  // Gives the reader's chunk back to the decoding thread; with the lock held.
  void ReleaseReading();
  bool AwaitFreeChunk();

  const CSzArEx& db_;
  ISeekInStream* input_;

  std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<Chunk> free_;
  std::deque<Chunk> ready_;
  bool finished_ = false;
  bool stopping_ = false;
  SRes result_ = SZ_OK;

  Chunk filling_;     // the decoding thread's
  Chunk reading_;     // the reader's
  size_t readAt_ = 0;
  std::thread thread_;
};
