# The extractor's parts with no business with Windows: the archive's
# database, the solid blocks' decoding (on a thread of its own) and each
# entry's bytes checked against their checksum. They build natively too, for
# the archive fuzzer (tests/fuzz/archive_fuzzer.cpp).
set(NEB_EXTRACT_PORTABLE_SOURCES
  archive_database.cpp
  block_decoder.cpp
  block_stages.cpp
  entry_bytes.cpp
  lzma_heap.cpp
  memory_in_stream.cpp
  unpacked_stream.cpp)
list(TRANSFORM NEB_EXTRACT_PORTABLE_SOURCES PREPEND ${CMAKE_CURRENT_LIST_DIR}/)
