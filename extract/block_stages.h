// The stages a solid block's bytes pass through on their way out: the
// packed input, one coder, and at most one filter. Each hands out its
// output a piece at a time and keeps only what its coder needs (the LZMA
// dictionary, the PPMd model, a few bytes a filter holds back). No Windows
// calls here.
#pragma once

#include <cstddef>
#include <memory>

extern "C" {
#include <7z.h>
}

class BlockStage {
 public:
  virtual ~BlockStage() = default;
  // The next piece, valid until the next call; size 0 at the end.
  virtual SRes Read(const Byte** data, size_t* size) = 0;
};

// Where a coder's packed stream lies in the archive.
struct PackedRange {
  ISeekInStream* input;
  UInt64 offset;
  UInt64 size;
};

// A main coder (copy, LZMA, LZMA2, PPMd) over its packed stream, giving
// `unpackSize` bytes; null with SZ_ERROR_UNSUPPORTED for another method.
SRes MakeCoderStage(const CSzCoderInfo& coder, const Byte* props, const PackedRange& packed,
                    UInt64 unpackSize, std::unique_ptr<BlockStage>* stage);

// A branch converter or delta filter over another stage.
SRes MakeFilterStage(const CSzCoderInfo& coder, const Byte* props, std::unique_ptr<BlockStage> inner,
                     std::unique_ptr<BlockStage>* stage);

// The LZMA SDK's own decoding of a whole block into one buffer, for the
// coder chains that are not streamed.
SRes MakeWholeBlockStage(const CSzArEx& db, UInt32 block, ISeekInStream* input,
                         std::unique_ptr<BlockStage>* stage);

bool IsFilterMethod(UInt32 method);
bool IsMainMethod(UInt32 method);
