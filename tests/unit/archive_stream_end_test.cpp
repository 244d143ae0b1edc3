// The extraction over archives crafted byte by byte: LZMA streams whose
// range coder stands at 0 where a piece of output ends, and solid blocks
// whose end is damaged after every file's bytes came out right.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" {
#include <7zCrc.h>
#include <Lzma2Enc.h>
#include <LzmaDec.h>
#include <LzmaEnc.h>
}

#include "extract/block_decoder.h"
#include "extract/extract_7z.h"
#include "extract/lzma_heap.h"
#include "extract/memory_in_stream.h"
#include "tools/nebpack/seven_zip_writer.h"

namespace {

namespace fs = std::filesystem;
using nebpack::ArchiveEntry;
using nebpack::SolidBlock;

struct File {
  std::u16string name;
  std::string bytes;
};

// Letters with a little repetition: compressible, but no long matches.
std::string Letters(size_t size) {
  std::string text(size, '\0');
  uint32_t state = 1;
  for (char& c : text) {
    state = state * 1103515245u + 12345u;
    c = static_cast<char>('a' + (state >> 16) % 7);
  }
  return text;
}

uint32_t Crc(const std::string& bytes) {
  CrcGenerateTable();
  return CrcCalc(bytes.data(), bytes.size());
}

std::string Archive(const std::vector<File>& files, const SolidBlock& block) {
  std::vector<ArchiveEntry> entries;
  for (const File& file : files) entries.push_back({file.name, false, file.bytes.size(), Crc(file.bytes)});
  return nebpack::SevenZipArchive(entries, block);
}

std::string Joined(const std::vector<File>& files) {
  std::string all;
  for (const File& file : files) all += file.bytes;
  return all;
}

// LZMA without an end mark. Properties and stream.
SolidBlock LzmaBlock(const std::string& data) {
  CLzmaEncProps props;
  LzmaEncProps_Init(&props);
  props.level = 5;
  props.dictSize = 1 << 22;
  props.writeEndMark = 0;
  SizeT size = data.size() + data.size() / 2 + 1024;
  std::string packed(size, '\0');
  Byte header[LZMA_PROPS_SIZE];
  SizeT headerSize = sizeof header;
  EXPECT_EQ(LzmaEncode(reinterpret_cast<Byte*>(packed.data()), &size, reinterpret_cast<const Byte*>(data.data()),
                       data.size(), &props, header, &headerSize, 0, nullptr, &kLzmaHeap, &kLzmaHeap),
            SZ_OK);
  packed.resize(size);
  return {packed, {{nebpack::kLzmaMethod, std::string(reinterpret_cast<char*>(header), headerSize)}}};
}

SolidBlock Lzma2Block(const std::string& data) {
  CLzma2EncHandle encoder = Lzma2Enc_Create(&kLzmaHeap, &kLzmaHeap);
  CLzma2EncProps props;
  Lzma2EncProps_Init(&props);
  props.lzmaProps.level = 5;
  props.numTotalThreads = 1;
  Lzma2EncProps_Normalize(&props);
  EXPECT_EQ(Lzma2Enc_SetProps(encoder, &props), SZ_OK);
  const Byte property = Lzma2Enc_WriteProperties(encoder);
  SizeT size = data.size() + data.size() / 2 + 1024;
  std::string packed(size, '\0');
  EXPECT_EQ(Lzma2Enc_Encode2(encoder, nullptr, reinterpret_cast<Byte*>(packed.data()), &size, nullptr,
                             reinterpret_cast<const Byte*>(data.data()), data.size(), nullptr),
            SZ_OK);
  Lzma2Enc_Destroy(encoder);
  packed.resize(size);
  return {packed, {{nebpack::kLzma2Method, std::string(1, static_cast<char>(property))}}};
}

// LZMA decoding over the block's whole stream: where it stands after `at`
// bytes of output, and how much input `total` bytes of output take.
struct DecodedState {
  ELzmaStatus statusAt = LZMA_STATUS_NOT_SPECIFIED;
  SizeT inputFor = 0;
  bool ok = false;
};

DecodedState DecodeWhole(const SolidBlock& block, size_t at, size_t total) {
  DecodedState state;
  CLzmaDec decoder;
  LzmaDec_CONSTRUCT(&decoder);
  const std::string& props = block.coders[0].properties;
  if (LzmaDec_AllocateProbs(&decoder, reinterpret_cast<const Byte*>(props.data()),
                            static_cast<unsigned>(props.size()), &kLzmaHeap) != SZ_OK) {
    return state;
  }
  std::vector<Byte> output(total);
  decoder.dic = output.data();
  decoder.dicBufSize = total;
  LzmaDec_Init(&decoder);
  const Byte* input = reinterpret_cast<const Byte*>(block.packed.data());
  SizeT first = block.packed.size();
  const SRes head = LzmaDec_DecodeToDic(&decoder, at, input, &first, LZMA_FINISH_ANY, &state.statusAt);
  SizeT rest = block.packed.size() - first;
  ELzmaStatus end = LZMA_STATUS_NOT_SPECIFIED;
  const SRes tail = LzmaDec_DecodeToDic(&decoder, total, input + first, &rest, LZMA_FINISH_END, &end);
  state.inputFor = first + rest;
  state.ok = head == SZ_OK && tail == SZ_OK && end == LZMA_STATUS_MAYBE_FINISHED_WITHOUT_MARK;
  LzmaDec_FreeProbs(&decoder, &kLzmaHeap);
  return state;
}

// A valid LZMA stream whose range coder's code is exactly 0 after the first
// piece of output the block decoder hands out. The encoder flushes its low
// end at the end of the first piece; zero bytes after that keep the code at
// 0, and decode as zero bytes, for as long as they last.
struct CraftedLzma {
  std::vector<File> files;
  SolidBlock block;
  ELzmaStatus statusAfterFirstPiece;
};

CraftedLzma CodeZeroAtPieceEnd() {
  constexpr size_t kZeros = 4096;
  CraftedLzma crafted;
  crafted.files = {{u"letters.txt", Letters(BlockDecoder::kPieceBytes)}, {u"zeros.bin", std::string(kZeros, '\0')}};
  crafted.block = LzmaBlock(crafted.files[0].bytes);
  crafted.block.packed.append(kZeros, '\0');
  const DecodedState state = DecodeWhole(crafted.block, BlockDecoder::kPieceBytes, Joined(crafted.files).size());
  EXPECT_TRUE(state.ok);
  crafted.block.packed.resize(state.inputFor);  // exactly the zeros it takes
  crafted.statusAfterFirstPiece = state.statusAt;
  return crafted;
}

class ArchiveStreamEndTest : public testing::Test {
 protected:
  void SetUp() override {
    wchar_t temp[MAX_PATH + 1] = {};
    ASSERT_GT(GetTempPathW(MAX_PATH + 1, temp), 0u);
    folder_ = fs::path(temp) / (L"neb-stream-end-" + std::to_wstring(GetCurrentProcessId()));
    fs::remove_all(folder_);
    ASSERT_TRUE(fs::create_directory(folder_));
  }
  void TearDown() override {
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
  }

  int Extract(const std::string& archive) {
    fs::remove_all(folder_);
    fs::create_directory(folder_);
    MemoryInStream stream(reinterpret_cast<const Byte*>(archive.data()), archive.size());
    return Extract7z(&stream.vt, folder_.wstring(), {});
  }

  std::string Read(const std::u16string& name) const {
    std::ifstream in(folder_ / fs::path(name), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

  fs::path folder_;
};

TEST_F(ArchiveStreamEndTest, AnLzmaStreamWhoseCodeIsZeroAtTheEndOfAPieceGoesOn) {
  const CraftedLzma crafted = CodeZeroAtPieceEnd();
  ASSERT_EQ(crafted.statusAfterFirstPiece, LZMA_STATUS_MAYBE_FINISHED_WITHOUT_MARK) << "the crafted state";
  EXPECT_EQ(Extract(Archive(crafted.files, crafted.block)), kExtractOk);
  for (const File& file : crafted.files) EXPECT_TRUE(Read(file.name) == file.bytes);
}

// Every file's bytes and checksum are right; only what follows the last of
// them in the block is wrong.
TEST_F(ArchiveStreamEndTest, ADamagedEndOfTheLastBlockFailsTheExtraction) {
  const std::vector<File> files = {{u"a.txt", Letters(300000)}, {u"b.txt", Letters(5000)}};
  const SolidBlock lzma2 = Lzma2Block(Joined(files));
  ASSERT_EQ(lzma2.packed.back(), '\0') << "LZMA2 ends with its end mark";
  SolidBlock withoutEndMark = lzma2, withMoreInput = lzma2;
  withoutEndMark.packed.pop_back();
  withMoreInput.packed.push_back('\0');
  const CraftedLzma crafted = CodeZeroAtPieceEnd();
  SolidBlock lzmaWithMoreInput = crafted.block;
  lzmaWithMoreInput.packed.push_back('\0');

  struct Case {
    const char* what;
    std::vector<File> files;
    SolidBlock block;
  };
  const Case cases[] = {
      {"an LZMA2 stream without its end mark", files, withoutEndMark},
      {"packed bytes after the end of the LZMA2 stream", files, withMoreInput},
      {"packed bytes after the end of an LZMA stream", crafted.files, lzmaWithMoreInput},
  };
  ASSERT_EQ(Extract(Archive(files, lzma2)), kExtractOk) << "the sound archive";
  for (const Case& c : cases) {
    EXPECT_EQ(Extract(Archive(c.files, c.block)), SZ_ERROR_DATA) << c.what;
    for (const File& file : c.files) EXPECT_TRUE(Read(file.name) == file.bytes) << c.what << ": the files stay";
  }
}

}  // namespace
