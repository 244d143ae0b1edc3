// One archive entry's bytes, taken from the decoding thread in archive order
// and checked against the stored checksum. No Windows calls here.
#pragma once

#include <cstddef>
#include <functional>

extern "C" {
#include <7z.h>
}

class UnpackedStream;

// Where an entry's bytes go, a piece at a time; false when a piece could
// not be taken whole (a full disk).
using EntrySink = std::function<bool(const Byte* data, size_t size)>;

// Takes all of entry `index`'s bytes, hands them to `sink` (empty: they are
// passed over) and checks them against the stored checksum: SZ_OK, the
// decoder's error, or SZ_ERROR_CRC. When the sink refuses a piece, the
// result is SZ_ERROR_WRITE and `sinkRefused` (when given) is set.
SRes PassEntryBytes(const CSzArEx& db, UnpackedStream& unpacked, UInt32 index, const EntrySink& sink,
                    bool* sinkRefused = nullptr);
