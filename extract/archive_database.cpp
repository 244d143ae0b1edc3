#include "extract/archive_database.h"

#include <cstdlib>
#include <mutex>

extern "C" {
#include <7zCrc.h>
}

#include "extract/lzma_heap.h"

namespace {

constexpr size_t kLookAheadBytes = 1 << 18;

}  // namespace

ArchiveDatabase::ArchiveDatabase(ISeekInStream* stream) {
  static std::once_flag crcTables;
  std::call_once(crcTables, CrcGenerateTable);
  LookToRead2_CreateVTable(&look_, False);
  look_.buf = static_cast<Byte*>(std::malloc(kLookAheadBytes));
  look_.bufSize = kLookAheadBytes;
  look_.realStream = stream;
  LookToRead2_INIT(&look_);
  SzArEx_Init(&db_);
}

ArchiveDatabase::~ArchiveDatabase() {
  SzArEx_Free(&db_, &kLzmaHeap);
  std::free(look_.buf);
}

SRes ArchiveDatabase::Open() {
  return look_.buf ? SzArEx_Open(&db_, &look_.vt, &kLzmaHeap, &kLzmaHeap) : SZ_ERROR_MEM;
}
