#include "extract/block_stages.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <utility>

extern "C" {
#include <Bra.h>
#include <Delta.h>
#include <Lzma2Dec.h>
#include <LzmaDec.h>
#include <Ppmd7.h>
}

#include "extract/block_decoder.h"
#include "extract/lzma_heap.h"

namespace {

constexpr UInt32 kCopy = 0;
constexpr UInt32 kLzma2 = 0x21;
constexpr UInt32 kLzma = 0x30101;
constexpr UInt32 kPpmd = 0x30401;
constexpr UInt32 kDelta = 3;
constexpr UInt32 kX86 = 0x3030103;
constexpr UInt32 kPowerPc = 0x3030205;
constexpr UInt32 kIa64 = 0x3030401;
constexpr UInt32 kArm = 0x3030501;
constexpr UInt32 kArmThumb = 0x3030701;
constexpr UInt32 kSparc = 0x3030805;
constexpr UInt32 kArm64 = 0xa;
constexpr UInt32 kRiscV = 0xb;

constexpr size_t kPiece = BlockDecoder::kPieceBytes;
constexpr size_t kInputBytes = size_t{1} << 18;
constexpr size_t kLookAheadBytes = size_t{1} << 18;
// A branch converter leaves the last bytes of a piece, which may begin an
// instruction, for the next piece; this is more than any of them leaves.
constexpr size_t kHeldBackBytes = 64;

struct FreeBuffer {
  void operator()(Byte* p) const { std::free(p); }
};
using Buffer = std::unique_ptr<Byte, FreeBuffer>;

Buffer AllocateBuffer(size_t size) { return Buffer(static_cast<Byte*>(std::malloc(size ? size : 1))); }

UInt32 ReadUi32(const Byte* p) {
  return p[0] | (UInt32{p[1]} << 8) | (UInt32{p[2]} << 16) | (UInt32{p[3]} << 24);
}

// The packed stream, read forward through a small buffer.
class PackedInput {
 public:
  explicit PackedInput(const PackedRange& range) : range_(range), left_(range.size) {}

  SRes Init() {
    buffer_ = AllocateBuffer(kInputBytes);
    if (!buffer_) return SZ_ERROR_MEM;
    Int64 position = static_cast<Int64>(range_.offset);
    return ISeekInStream_Seek(range_.input, &position, SZ_SEEK_SET);
  }
  // Reads more once everything read so far was used; at the end of the
  // packed stream nothing more is available.
  SRes Fill() {
    if (pos_ < end_ || left_ == 0) return SZ_OK;
    size_t size = static_cast<size_t>(std::min<UInt64>(left_, kInputBytes));
    const SRes read = ISeekInStream_Read(range_.input, buffer_.get(), &size);
    if (read != SZ_OK) return read;
    if (size == 0) return SZ_ERROR_INPUT_EOF;
    pos_ = buffer_.get();
    end_ = pos_ + size;
    left_ -= size;
    return SZ_OK;
  }
  const Byte* Data() const { return pos_; }
  size_t Available() const { return static_cast<size_t>(end_ - pos_); }
  void Skip(size_t count) { pos_ += count; }
  bool Exhausted() const { return pos_ == end_ && left_ == 0; }

 private:
  PackedRange range_;
  UInt64 left_;
  Buffer buffer_;
  const Byte* pos_ = nullptr;
  const Byte* end_ = nullptr;
};

class CopyStage : public BlockStage {
 public:
  explicit CopyStage(const PackedRange& packed) : input_(packed) {}
  SRes Init() { return input_.Init(); }
  SRes Read(const Byte** data, size_t* size) override {
    const SRes filled = input_.Fill();
    if (filled != SZ_OK) return filled;
    *data = input_.Data();
    *size = std::min(input_.Available(), kPiece);
    input_.Skip(*size);
    return SZ_OK;
  }

 private:
  PackedInput input_;
};

// LZMA or LZMA2 decoding into a circular window the size of the
// dictionary (or of the output, when that is smaller).
class DictionaryStage : public BlockStage {
 public:
  DictionaryStage(const PackedRange& packed, UInt64 unpackSize, bool lzma2)
      : input_(packed), left_(unpackSize), lzma2_(lzma2) {
    Lzma2Dec_CONSTRUCT(&lzma2Decoder_);
    LzmaDec_CONSTRUCT(&lzmaDecoder_);
  }
  ~DictionaryStage() override {
    if (lzma2_) {
      Lzma2Dec_FreeProbs(&lzma2Decoder_, &kLzmaHeap);
    } else {
      LzmaDec_FreeProbs(&lzmaDecoder_, &kLzmaHeap);
    }
  }

  SRes Init(const Byte* props, unsigned propsSize) {
    UInt32 dictionary = 0;
    if (lzma2_) {
      if (propsSize != 1 || props[0] > 40) return SZ_ERROR_UNSUPPORTED;
      dictionary = props[0] == 40 ? 0xFFFFFFFF : (2u | (props[0] & 1u)) << (props[0] / 2 + 11);
      const SRes allocated = Lzma2Dec_AllocateProbs(&lzma2Decoder_, props[0], &kLzmaHeap);
      if (allocated != SZ_OK) return allocated;
    } else {
      CLzmaProps decoded;
      const SRes valid = LzmaProps_Decode(&decoded, props, propsSize);
      if (valid != SZ_OK) return valid;
      dictionary = decoded.dicSize;
      const SRes allocated = LzmaDec_AllocateProbs(&lzmaDecoder_, props, propsSize, &kLzmaHeap);
      if (allocated != SZ_OK) return allocated;
    }
    const UInt64 window = std::max<UInt64>(1, std::min<UInt64>(dictionary, left_));
    if (window != static_cast<size_t>(window)) return SZ_ERROR_MEM;
    window_ = AllocateBuffer(static_cast<size_t>(window));
    if (!window_) return SZ_ERROR_MEM;
    CLzmaDec& decoder = Decoder();
    decoder.dic = window_.get();
    decoder.dicBufSize = static_cast<SizeT>(window);
    if (lzma2_) {
      Lzma2Dec_Init(&lzma2Decoder_);
    } else {
      LzmaDec_Init(&lzmaDecoder_);
    }
    return input_.Init();
  }

  SRes Read(const Byte** data, size_t* size) override {
    *size = 0;
    if (left_ == 0) return finished_ ? SZ_OK : Finish();
    CLzmaDec& decoder = Decoder();
    // Everything handed out before was used: the window may wrap.
    if (decoder.dicPos == decoder.dicBufSize) decoder.dicPos = 0;
    const SizeT start = decoder.dicPos;
    const SizeT count = static_cast<SizeT>(
        std::min<UInt64>(std::min<UInt64>(left_, decoder.dicBufSize - start), kPiece));
    const ELzmaFinishMode mode = count == left_ ? LZMA_FINISH_END : LZMA_FINISH_ANY;
    while (decoder.dicPos < start + count) {
      if (status_ == LZMA_STATUS_FINISHED_WITH_MARK) return SZ_ERROR_DATA;  // the stream ended before its size
      const SRes stepped = Step(start + count, mode);
      if (stepped != SZ_OK) return stepped;
    }
    *data = decoder.dic + start;
    *size = count;
    left_ -= count;
    return SZ_OK;
  }

 private:
  CLzmaDec& Decoder() { return lzma2_ ? lzma2Decoder_.decoder : lzmaDecoder_; }

  // Whether the stream may end where the decoder stopped. An LZMA stream
  // without an end mark "may be finished" wherever a piece ends with the
  // range coder's code at 0; that means something only at the last byte,
  // so within the stream only the end mark counts as its end.
  bool Ended() const {
    return status_ == LZMA_STATUS_FINISHED_WITH_MARK ||
           (!lzma2_ && status_ == LZMA_STATUS_MAYBE_FINISHED_WITHOUT_MARK);
  }

  SRes Step(SizeT limit, ELzmaFinishMode mode) {
    const SRes filled = input_.Fill();
    if (filled != SZ_OK) return filled;
    SizeT used = input_.Available();
    const SizeT before = Decoder().dicPos;
    const SRes decoded =
        lzma2_ ? Lzma2Dec_DecodeToDic(&lzma2Decoder_, limit, input_.Data(), &used, mode, &status_)
               : LzmaDec_DecodeToDic(&lzmaDecoder_, limit, input_.Data(), &used, mode, &status_);
    input_.Skip(used);
    if (decoded != SZ_OK) return decoded;
    if (used == 0 && Decoder().dicPos == before && !Ended()) return SZ_ERROR_DATA;
    return SZ_OK;
  }

  // After the last byte: the stream must end there, with its whole input.
  SRes Finish() {
    const SizeT end = Decoder().dicPos;
    while (!Ended()) {
      const SRes stepped = Step(end, LZMA_FINISH_END);
      if (stepped != SZ_OK) return stepped;
    }
    if (!input_.Exhausted()) return SZ_ERROR_DATA;
    finished_ = true;
    return SZ_OK;
  }

  PackedInput input_;
  UInt64 left_;
  bool lzma2_;
  bool finished_ = false;
  CLzma2Dec lzma2Decoder_;
  CLzmaDec lzmaDecoder_;
  ELzmaStatus status_ = LZMA_STATUS_NOT_SPECIFIED;
  Buffer window_;
};

class PpmdStage : public BlockStage {
 public:
  PpmdStage(const PackedRange& packed, UInt64 unpackSize) : input_(packed), left_(unpackSize) {
    Ppmd7_Construct(&model_);
    reader_.vt.Read = ReadByte;
    reader_.input = &input_;
  }
  ~PpmdStage() override { Ppmd7_Free(&model_, &kLzmaHeap); }

  SRes Init(const Byte* props, unsigned propsSize) {
    if (propsSize != 5) return SZ_ERROR_UNSUPPORTED;
    const unsigned order = props[0];
    const UInt32 memory = ReadUi32(props + 1);
    if (order < PPMD7_MIN_ORDER || order > PPMD7_MAX_ORDER || memory < PPMD7_MIN_MEM_SIZE ||
        memory > PPMD7_MAX_MEM_SIZE) {
      return SZ_ERROR_UNSUPPORTED;
    }
    output_ = AllocateBuffer(kPiece);
    if (!output_ || !Ppmd7_Alloc(&model_, memory, &kLzmaHeap)) return SZ_ERROR_MEM;
    Ppmd7_Init(&model_, order);
    const SRes opened = input_.Init();
    if (opened != SZ_OK) return opened;
    model_.rc.dec.Stream = &reader_.vt;
    if (!Ppmd7z_RangeDec_Init(&model_.rc.dec) || reader_.beyondEnd) return Failure();
    return SZ_OK;
  }

  SRes Read(const Byte** data, size_t* size) override {
    *size = 0;
    if (left_ == 0) return SZ_OK;
    const size_t count = static_cast<size_t>(std::min<UInt64>(left_, kPiece));
    Byte* out = output_.get();
    for (size_t i = 0; i < count; ++i) {
      const int symbol = Ppmd7z_DecodeSymbol(&model_);
      if (reader_.beyondEnd || symbol < 0) return Failure();
      out[i] = static_cast<Byte>(symbol);
    }
    left_ -= count;
    if (left_ == 0 && (!Ppmd7z_RangeDec_IsFinishedOK(&model_.rc.dec) || !input_.Exhausted())) {
      return SZ_ERROR_DATA;
    }
    *data = out;
    *size = count;
    return SZ_OK;
  }

 private:
  struct ByteReader {
    IByteIn vt;
    PackedInput* input = nullptr;
    bool beyondEnd = false;
    SRes error = SZ_OK;
  };

  static Byte ReadByte(IByteInPtr p) {
    ByteReader* reader = reinterpret_cast<ByteReader*>(const_cast<IByteIn*>(p));
    if (reader->input->Available() == 0) {
      const SRes filled = reader->input->Fill();
      if (filled != SZ_OK) reader->error = filled;
      if (reader->input->Available() == 0) {
        reader->beyondEnd = true;
        return 0;
      }
    }
    const Byte value = *reader->input->Data();
    reader->input->Skip(1);
    return value;
  }

  SRes Failure() const { return reader_.error != SZ_OK ? reader_.error : SZ_ERROR_DATA; }

  PackedInput input_;
  UInt64 left_;
  CPpmd7 model_;
  ByteReader reader_;
  Buffer output_;
};

// A filter over another stage's output, converted in a buffer of its own:
// the coder below still refers back to its output as it was.
class FilterStage : public BlockStage {
 public:
  FilterStage(UInt32 method, std::unique_ptr<BlockStage> inner) : method_(method), inner_(std::move(inner)) {}

  SRes Init(const Byte* props, unsigned propsSize) {
    buffer_ = AllocateBuffer(kPiece + kHeldBackBytes);
    if (!buffer_) return SZ_ERROR_MEM;
    if (method_ == kDelta) {
      if (propsSize != 1) return SZ_ERROR_UNSUPPORTED;
      delta_ = props[0] + 1u;
      Delta_Init(deltaState_);
      return SZ_OK;
    }
    if (method_ == kArm64 || method_ == kRiscV) {
      if (propsSize == 4) {
        position_ = ReadUi32(props);
        if (position_ & (method_ == kArm64 ? 3u : 1u)) return SZ_ERROR_UNSUPPORTED;
      } else if (propsSize != 0) {
        return SZ_ERROR_UNSUPPORTED;
      }
      return SZ_OK;
    }
    return propsSize == 0 ? SZ_OK : SZ_ERROR_UNSUPPORTED;
  }

  SRes Read(const Byte** data, size_t* size) override {
    Byte* buffer = buffer_.get();
    for (;;) {
      std::memmove(buffer, buffer + heldAt_, held_);
      heldAt_ = 0;
      const Byte* piece = nullptr;
      size_t count = 0;
      const SRes read = inner_->Read(&piece, &count);
      if (read != SZ_OK) return read;
      if (count == 0) {
        // The end: bytes held back stay as they are, as in a whole block.
        *data = buffer;
        *size = held_;
        held_ = 0;
        return SZ_OK;
      }
      std::memcpy(buffer + held_, piece, count);
      const size_t length = held_ + count;
      const size_t converted = Convert(buffer, length);
      if (length - converted > kHeldBackBytes) return SZ_ERROR_FAIL;
      heldAt_ = converted;
      held_ = length - converted;
      if (converted > 0) {
        *data = buffer;
        *size = converted;
        return SZ_OK;
      }
    }
  }

 private:
  size_t Convert(Byte* data, size_t size) {
    Byte* end = data + size;
    switch (method_) {
      case kDelta:
        Delta_Decode(deltaState_, delta_, data, size);
        break;
      case kX86:
        end = z7_BranchConvSt_X86_Dec(data, size, position_, &x86State_);
        break;
      case kPowerPc:
        end = Z7_BRANCH_CONV_DEC_2(BranchConv_PPC)(data, size, position_);
        break;
      case kIa64:
        end = Z7_BRANCH_CONV_DEC(IA64)(data, size, position_);
        break;
      case kSparc:
        end = Z7_BRANCH_CONV_DEC(SPARC)(data, size, position_);
        break;
      case kArm:
        end = Z7_BRANCH_CONV_DEC(ARM)(data, size, position_);
        break;
      case kArmThumb:
        end = Z7_BRANCH_CONV_DEC(ARMT)(data, size, position_);
        break;
      case kArm64:
        end = z7_BranchConv_ARM64_Dec(data, size, position_);
        break;
      case kRiscV:
        end = z7_BranchConv_RISCV_Dec(data, size, position_);
        break;
    }
    const size_t converted = static_cast<size_t>(end - data);
    position_ += static_cast<UInt32>(converted);
    return converted;
  }

  UInt32 method_;
  std::unique_ptr<BlockStage> inner_;
  Buffer buffer_;
  size_t held_ = 0;
  size_t heldAt_ = 0;
  UInt32 position_ = 0;
  UInt32 x86State_ = Z7_BRANCH_CONV_ST_X86_STATE_INIT_VAL;
  Byte deltaState_[DELTA_STATE_SIZE];
  unsigned delta_ = 1;
};

class WholeBlockStage : public BlockStage {
 public:
  SRes Init(const CSzArEx& db, UInt32 block, ISeekInStream* input) {
    const UInt64 size = SzAr_GetFolderUnpackSize(&db.db, block);
    if (size != static_cast<size_t>(size)) return SZ_ERROR_MEM;
    size_ = static_cast<size_t>(size);
    buffer_ = AllocateBuffer(size_);
    Buffer lookAhead = AllocateBuffer(kLookAheadBytes);
    if (!buffer_ || !lookAhead) return SZ_ERROR_MEM;
    CLookToRead2 look;
    LookToRead2_CreateVTable(&look, False);
    look.buf = lookAhead.get();
    look.bufSize = kLookAheadBytes;
    look.realStream = input;
    LookToRead2_INIT(&look);
    return SzAr_DecodeFolder(&db.db, block, &look.vt, db.dataPos, buffer_.get(), size_, &kLzmaHeap);
  }

  SRes Read(const Byte** data, size_t* size) override {
    *data = buffer_.get();
    *size = std::exchange(size_, 0);
    return SZ_OK;
  }

 private:
  Buffer buffer_;
  size_t size_ = 0;
};

template <typename Stage>
SRes Keep(std::unique_ptr<Stage> made, SRes initialised, std::unique_ptr<BlockStage>* stage) {
  if (initialised == SZ_OK) *stage = std::move(made);
  return initialised;
}

}  // namespace

bool IsMainMethod(UInt32 method) {
  return method == kCopy || method == kLzma || method == kLzma2 || method == kPpmd;
}

bool IsFilterMethod(UInt32 method) {
  switch (method) {
    case kDelta:
    case kX86:
    case kPowerPc:
    case kIa64:
    case kSparc:
    case kArm:
    case kArmThumb:
    case kArm64:
    case kRiscV:
      return true;
    default:
      return false;
  }
}

SRes MakeCoderStage(const CSzCoderInfo& coder, const Byte* props, const PackedRange& packed,
                    UInt64 unpackSize, std::unique_ptr<BlockStage>* stage) {
  switch (coder.MethodID) {
    case kCopy: {
      if (packed.size != unpackSize) return SZ_ERROR_DATA;
      auto made = std::make_unique<CopyStage>(packed);
      const SRes initialised = made->Init();
      return Keep(std::move(made), initialised, stage);
    }
    case kLzma:
    case kLzma2: {
      auto made = std::make_unique<DictionaryStage>(packed, unpackSize, coder.MethodID == kLzma2);
      const SRes initialised = made->Init(props, coder.PropsSize);
      return Keep(std::move(made), initialised, stage);
    }
    case kPpmd: {
      auto made = std::make_unique<PpmdStage>(packed, unpackSize);
      const SRes initialised = made->Init(props, coder.PropsSize);
      return Keep(std::move(made), initialised, stage);
    }
    default:
      return SZ_ERROR_UNSUPPORTED;
  }
}

SRes MakeFilterStage(const CSzCoderInfo& coder, const Byte* props, std::unique_ptr<BlockStage> inner,
                     std::unique_ptr<BlockStage>* stage) {
  if (!IsFilterMethod(coder.MethodID)) return SZ_ERROR_UNSUPPORTED;
  auto made = std::make_unique<FilterStage>(coder.MethodID, std::move(inner));
  const SRes initialised = made->Init(props, coder.PropsSize);
  return Keep(std::move(made), initialised, stage);
}

SRes MakeWholeBlockStage(const CSzArEx& db, UInt32 block, ISeekInStream* input,
                         std::unique_ptr<BlockStage>* stage) {
  auto made = std::make_unique<WholeBlockStage>();
  const SRes initialised = made->Init(db, block, input);
  return Keep(std::move(made), initialised, stage);
}
