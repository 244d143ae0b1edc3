// The database of a 7z archive: names, sizes, attributes, times and
// checksums of its entries, and where its solid blocks lie. No Windows
// calls here.
#pragma once

extern "C" {
#include <7z.h>
#include <7zTypes.h>
}

class ArchiveDatabase {
 public:
  // Reads from `stream` once Open is called.
  explicit ArchiveDatabase(ISeekInStream* stream);
  ~ArchiveDatabase();
  ArchiveDatabase(const ArchiveDatabase&) = delete;
  ArchiveDatabase& operator=(const ArchiveDatabase&) = delete;

  SRes Open();
  const CSzArEx& Db() const { return db_; }

 private:
  CLookToRead2 look_;
  CSzArEx db_;
};
