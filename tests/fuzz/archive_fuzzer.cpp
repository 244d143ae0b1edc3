// The payload extraction's archive path on arbitrary bytes, as
// Lua_UnCompress7z and Lua_ExtractResource take it from an archive they are
// given: the 7z database read from memory, each entry's name checked as the
// extraction checks it, and every file's bytes decoded through its solid
// block on the decoding thread and checked against the stored checksum.
// Only the writing of files (the Win32 part) is left out.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "extract/archive_database.h"
#include "extract/entry_bytes.h"
#include "extract/memory_in_stream.h"
#include "extract/unpacked_stream.h"
#include "files/archive_entry_name.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  MemoryInStream stream(data, size);
  ArchiveDatabase archive(&stream.vt);
  if (archive.Open() != SZ_OK) return 0;
  const CSzArEx& db = archive.Db();
  UnpackedStream unpacked(db, &stream.vt);
  std::vector<UInt16> name;
  for (UInt32 i = 0; i < db.NumFiles; ++i) {
    name.resize(SzArEx_GetFileNameUtf16(&db, i, nullptr));
    SzArEx_GetFileNameUtf16(&db, i, name.data());
    std::wstring entry(name.begin(), name.end() - 1);
    std::replace(entry.begin(), entry.end(), L'/', L'\\');
    IsSafeEntryName(entry);
    if (SzArEx_IsDir(&db, i)) continue;
    if (PassEntryBytes(db, unpacked, i, {}) != SZ_OK) return 0;
  }
  unpacked.Finish();
  return 0;
}
