// Decodes one solid block of an opened 7z archive a piece at a time, so
// that memory follows the coder's dictionary, not the block's size. No
// Windows calls here.
#pragma once

#include <cstddef>
#include <memory>

extern "C" {
#include <7z.h>
}

class BlockStage;

class BlockDecoder {
 public:
  // The input is read from its current position after any seek of ours;
  // nothing else may read it while a block is open.
  BlockDecoder(const CSzArEx& db, ISeekInStream* input);
  ~BlockDecoder();
  BlockDecoder(const BlockDecoder&) = delete;
  BlockDecoder& operator=(const BlockDecoder&) = delete;

  // Starts decoding block `block`; the previous one is let go.
  SRes Open(UInt32 block);

  // The next piece of the block's unpacked bytes, valid until the next
  // call; size 0 once the block is complete and its checksum, if stored,
  // matched. Streamed: one coder (copy, LZMA, LZMA2, PPMd), optionally
  // followed by one branch or delta filter. Other chains (BCJ2) are decoded
  // whole by the LZMA SDK and handed out in one piece.
  SRes Read(const Byte** data, size_t* size);

  // The largest piece Read hands out for a streamed block.
  static constexpr size_t kPieceBytes = size_t{1} << 20;

 private:
  const CSzArEx& db_;
  ISeekInStream* input_;
  std::unique_ptr<BlockStage> stage_;
  UInt64 expected_ = 0;
  UInt64 produced_ = 0;
  UInt32 crc_ = 0;
  bool checkCrc_ = false;
  UInt32 storedCrc_ = 0;
};
