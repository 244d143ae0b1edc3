#include "extract/unpacked_stream.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <system_error>

#include "extract/block_decoder.h"

namespace {

// Enough chunks for the reader to write one while the decoder fills
// another, and to even out small files against large ones.
constexpr size_t kChunkCount = 4;
constexpr size_t kChunkBytes = size_t{2} << 20;

}  // namespace

UnpackedStream::UnpackedStream(const CSzArEx& db, ISeekInStream* input) : db_(db), input_(input) {
  for (size_t i = 0; i < kChunkCount; ++i) {
    Chunk chunk;
    chunk.bytes.reset(new (std::nothrow) Byte[kChunkBytes]);
    if (!chunk.bytes) {
      finished_ = true;
      result_ = SZ_ERROR_MEM;
      return;
    }
    free_.push_back(std::move(chunk));
  }
  try {
    thread_ = std::thread(&UnpackedStream::Decode, this);
  } catch (const std::system_error&) {
    finished_ = true;
    result_ = SZ_ERROR_MEM;
  }
}

UnpackedStream::~UnpackedStream() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = true;
  }
  changed_.notify_all();
  if (thread_.joinable()) thread_.join();
}

void UnpackedStream::Decode() {
  const SRes result = DecodeBlocks();
  std::lock_guard<std::mutex> lock(mutex_);
  if (filling_.bytes && filling_.size > 0) ready_.push_back(std::move(filling_));
  finished_ = true;
  result_ = result;
  changed_.notify_all();
}

SRes UnpackedStream::DecodeBlocks() {
  BlockDecoder decoder(db_, input_);
  for (UInt32 block = 0; block < db_.db.NumFolders; ++block) {
    // A block no file takes bytes from is not read, as the files' bytes
    // follow each other across the blocks.
    if (db_.FolderToFile[block + 1] == db_.FolderToFile[block]) continue;
    const SRes opened = decoder.Open(block);
    if (opened != SZ_OK) return opened;
    for (;;) {
      const Byte* data = nullptr;
      size_t size = 0;
      const SRes read = decoder.Read(&data, &size);
      if (read != SZ_OK) return read;
      if (size == 0) break;
      const SRes emitted = Emit(data, size);
      if (emitted != SZ_OK) return emitted;
    }
  }
  return SZ_OK;
}

// Copies decoded bytes into chunks, handing each over once it is full.
SRes UnpackedStream::Emit(const Byte* data, size_t size) {
  while (size > 0) {
    if (!filling_.bytes && !AwaitFreeChunk()) return SZ_ERROR_PROGRESS;
    const size_t count = std::min(size, kChunkBytes - filling_.size);
    std::memcpy(filling_.bytes.get() + filling_.size, data, count);
    filling_.size += count;
    data += count;
    size -= count;
    if (filling_.size == kChunkBytes) HandOver();
  }
  return SZ_OK;
}

void UnpackedStream::HandOver() {
  std::lock_guard<std::mutex> lock(mutex_);
  ready_.push_back(std::move(filling_));
  filling_ = Chunk();
  changed_.notify_all();
}

// False once the reader has stopped.
bool UnpackedStream::AwaitFreeChunk() {
  std::unique_lock<std::mutex> lock(mutex_);
  changed_.wait(lock, [this] { return stopping_ || !free_.empty(); });
  if (stopping_) return false;
  filling_ = std::move(free_.back());
  free_.pop_back();
  filling_.size = 0;
  return true;
}

SRes UnpackedStream::Take(size_t wanted, const Byte** data, size_t* size) {
  *size = 0;
  if (readAt_ == reading_.size) {
    std::unique_lock<std::mutex> lock(mutex_);
    ReleaseReading();
    changed_.wait(lock, [this] { return finished_ || !ready_.empty(); });
    if (ready_.empty()) return result_ != SZ_OK ? result_ : SZ_ERROR_INPUT_EOF;
    reading_ = std::move(ready_.front());
    ready_.pop_front();
    readAt_ = 0;
  }
  *data = reading_.bytes.get() + readAt_;
  *size = std::min(wanted, reading_.size - readAt_);
  readAt_ += *size;
  return SZ_OK;
}

SRes UnpackedStream::Finish() {
  if (readAt_ != reading_.size) return SZ_ERROR_DATA;  // bytes no file took
  std::unique_lock<std::mutex> lock(mutex_);
  ReleaseReading();
  changed_.wait(lock, [this] { return finished_ || !ready_.empty(); });
  return ready_.empty() ? result_ : SZ_ERROR_DATA;
}

void UnpackedStream::ReleaseReading() {
  if (!reading_.bytes) return;
  free_.push_back(std::move(reading_));
  reading_ = Chunk();
  readAt_ = 0;
  changed_.notify_all();
}
