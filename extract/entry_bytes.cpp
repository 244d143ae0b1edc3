#include "extract/entry_bytes.h"

#include <algorithm>
#include <cstdint>

extern "C" {
#include <7zCrc.h>
}

#include "extract/unpacked_stream.h"

SRes PassEntryBytes(const CSzArEx& db, UnpackedStream& unpacked, UInt32 index, const EntrySink& sink,
                    bool* sinkRefused) {
  UInt32 crc = CRC_INIT_VAL;
  for (UInt64 left = SzArEx_GetFileSize(&db, index); left > 0;) {
    const Byte* data = nullptr;
    size_t count = 0;
    const SRes taken = unpacked.Take(static_cast<size_t>(std::min<UInt64>(left, SIZE_MAX)), &data, &count);
    if (taken != SZ_OK) return taken;
    crc = CrcUpdate(crc, data, count);
    if (sink && !sink(data, count)) {
      if (sinkRefused) *sinkRefused = true;
      return SZ_ERROR_WRITE;
    }
    left -= count;
  }
  if (SzBitWithVals_Check(&db.CRCs, index) && CRC_GET_DIGEST(crc) != db.CRCs.Vals[index]) return SZ_ERROR_CRC;
  return SZ_OK;
}
