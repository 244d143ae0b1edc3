#include "extract/block_decoder.h"

extern "C" {
#include <7zCrc.h>
}

#include "extract/block_stages.h"

namespace {

// The coder chains decoded here piece by piece: one main coder reading the
// block's only packed stream, or that coder followed by one filter.
bool IsStreamed(const CSzFolder& folder) {
  const CSzCoderInfo& main = folder.Coders[0];
  if (main.NumStreams != 1 || !IsMainMethod(main.MethodID)) return false;
  if (folder.NumPackStreams != 1 || folder.PackStreams[0] != 0) return false;
  if (folder.NumCoders == 1) return folder.NumBonds == 0;
  if (folder.NumCoders != 2) return false;
  const CSzCoderInfo& filter = folder.Coders[1];
  return filter.NumStreams == 1 && IsFilterMethod(filter.MethodID) && folder.NumBonds == 1 &&
         folder.Bonds[0].InIndex == 1 && folder.Bonds[0].OutIndex == 0;
}

}  // namespace

BlockDecoder::BlockDecoder(const CSzArEx& db, ISeekInStream* input) : db_(db), input_(input) {}

BlockDecoder::~BlockDecoder() = default;

SRes BlockDecoder::Open(UInt32 block) {
  stage_.reset();
  const CSzAr& ar = db_.db;
  const Byte* coders = ar.CodersData + ar.FoCodersOffsets[block];
  CSzData description = {coders, ar.FoCodersOffsets[block + 1] - ar.FoCodersOffsets[block]};
  CSzFolder folder;
  const SRes parsed = SzGetNextFolderItem(&folder, &description);
  if (parsed != SZ_OK) return parsed;
  if (description.Size != 0 || folder.UnpackStream != ar.FoToMainUnpackSizeIndex[block]) return SZ_ERROR_FAIL;

  expected_ = SzAr_GetFolderUnpackSize(&ar, block);
  produced_ = 0;
  crc_ = CRC_INIT_VAL;
  checkCrc_ = SzBitWithVals_Check(&ar.FolderCRCs, block);
  storedCrc_ = checkCrc_ ? ar.FolderCRCs.Vals[block] : 0;
  if (!IsStreamed(folder)) return MakeWholeBlockStage(db_, block, input_, &stage_);

  const UInt32 firstPack = ar.FoStartPackStreamIndex[block];
  const PackedRange packed = {input_, db_.dataPos + ar.PackPositions[firstPack],
                              ar.PackPositions[firstPack + 1] - ar.PackPositions[firstPack]};
  std::unique_ptr<BlockStage> main;
  const SRes made = MakeCoderStage(folder.Coders[0], coders + folder.Coders[0].PropsOffset, packed, expected_, &main);
  if (made != SZ_OK || folder.NumCoders == 1) {
    stage_ = std::move(main);
    return made;
  }
  return MakeFilterStage(folder.Coders[1], coders + folder.Coders[1].PropsOffset, std::move(main), &stage_);
}

SRes BlockDecoder::Read(const Byte** data, size_t* size) {
  *size = 0;
  if (!stage_) return SZ_ERROR_FAIL;
  const SRes read = stage_->Read(data, size);
  if (read != SZ_OK) return read;
  if (*size > expected_ - produced_) return SZ_ERROR_DATA;
  produced_ += *size;
  if (checkCrc_) crc_ = CrcUpdate(crc_, *data, *size);
  if (*size > 0) return SZ_OK;
  if (produced_ != expected_) return SZ_ERROR_DATA;
  if (checkCrc_ && CRC_GET_DIGEST(crc_) != storedCrc_) return SZ_ERROR_CRC;
  stage_.reset();
  return SZ_OK;
}
