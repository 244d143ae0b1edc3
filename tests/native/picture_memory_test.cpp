// What a large picture costs: one at the pixel limit decodes, and becomes a
// bitmap, within two and a half blocks of its size (four blocks were held
// once); one over the limit is refused before anything is allocated; and
// memory running out on the way fails the picture, not the process. Each
// case runs in a child process whose address space is limited to what it
// uses already plus the case's budget, as a 32-bit process is limited.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>
#include <zlib.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "ui/resources/picture_pixels.h"

namespace SkinUI {
namespace {

constexpr int kSide = 4096;  // kMaxPicturePixels is kSide * kSide
constexpr size_t kBlock = size_t{kSide} * kSide * 4;
// The decoders' own small allocations, the input and the test's stack.
constexpr size_t kSlack = size_t{24} << 20;

void Chunk(std::string& png, const char* type, const std::string& data) {
  const uint32_t length = static_cast<uint32_t>(data.size());
  for (int shift = 24; shift >= 0; shift -= 8) png.push_back(static_cast<char>(length >> shift));
  const std::string body = type + data;
  png += body;
  const uint32_t crc = crc32(0, reinterpret_cast<const Bytef*>(body.data()), static_cast<uInt>(body.size()));
  for (int shift = 24; shift >= 0; shift -= 8) png.push_back(static_cast<char>(crc >> shift));
}

// An RGBA PNG of one half-transparent colour.
std::string Png(int width, int height) {
  std::string rows;
  const std::string row = std::string(1, '\0') + std::string(static_cast<size_t>(width) * 4, '\x80');
  for (int y = 0; y < height; ++y) rows += row;
  uLongf packedSize = compressBound(static_cast<uLong>(rows.size()));
  std::string packed(packedSize, '\0');
  compress2(reinterpret_cast<Bytef*>(packed.data()), &packedSize, reinterpret_cast<const Bytef*>(rows.data()),
            static_cast<uLong>(rows.size()), 9);
  packed.resize(packedSize);
  std::string header;
  for (const int side : {width, height}) {
    for (int shift = 24; shift >= 0; shift -= 8) header.push_back(static_cast<char>(side >> shift));
  }
  header += std::string("\x08\x06\x00\x00\x00", 5);  // 8 bits, RGBA, deflate, no filter, no interlace
  std::string png = "\x89PNG\r\n\x1a\n";
  Chunk(png, "IHDR", header);
  Chunk(png, "IDAT", packed);
  Chunk(png, "IEND", "");
  return png;
}

std::string Svg(int width, int height) {
  return "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + std::to_string(width) + "\" height=\"" +
         std::to_string(height) + "\"><rect width=\"10\" height=\"10\" fill=\"#336699\"/></svg>";
}

// Limits this process's address space to what it maps now plus `budget`.
void LimitAddressSpace(size_t budget) {
  size_t pages = 0;
  FILE* statm = std::fopen("/proc/self/statm", "r");
  if (statm == nullptr || std::fscanf(statm, "%zu", &pages) != 1) std::_Exit(3);
  std::fclose(statm);
  const rlimit limit = {pages * static_cast<size_t>(sysconf(_SC_PAGESIZE)) + budget, RLIM_INFINITY};
  if (setrlimit(RLIMIT_AS, &limit) != 0) std::_Exit(3);
}

// Decodes the picture and takes a block for its bitmap, as the program
// does, within the budget; exits 0 when both succeed and 1 when the
// picture failed.
[[noreturn]] void DecodeWithin(const std::wstring& name, const std::string& bytes, size_t budget) {
  LimitAddressSpace(budget);
  PicturePixels picture;
  if (!DecodeSkinPicture(name, reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), 0, picture)) {
    std::_Exit(1);
  }
  void* bitmap = std::malloc(static_cast<size_t>(picture.width) * picture.height * 4);
  std::_Exit(bitmap != nullptr && picture.width > 0 ? 0 : 2);
}

TEST(PictureMemoryTest, PicturesWithinAnAddressSpaceBudget) {
  const std::string atTheLimit = Png(kSide, kSide);
  const std::string overTheLimit = Png(kSide, kSide + 1);
  const std::string svgAtTheLimit = Svg(kSide, kSide);
  struct Case {
    const char* what;
    const wchar_t* name;
    const std::string& bytes;
    size_t budget;
    int exitCode;  // 0 decoded and made into a bitmap, 1 the picture failed
  };
  const Case cases[] = {
      {"a PNG at the limit in two and a half blocks", L"Image/Big.png", atTheLimit, kBlock * 5 / 2 + kSlack, 0},
      {"an SVG at the limit in two and a half blocks", L"Image/Big.svg", svgAtTheLimit, kBlock * 5 / 2 + kSlack, 0},
      {"a PNG whose decoder runs out of memory", L"Image/Big.png", atTheLimit, kBlock * 3 / 2, 1},
      {"an SVG whose pixels find no memory", L"Image/Big.svg", svgAtTheLimit, kBlock / 2, 1},
      {"a PNG over the limit, refused before any block", L"Image/Big.png", overTheLimit, kSlack, 1},
      {"an SVG over the limit at its scale", L"Image/Big@125.svg", svgAtTheLimit, kSlack, 1},
  };
  for (const Case& c : cases) {
    EXPECT_EXIT(DecodeWithin(c.name, c.bytes, c.budget), testing::ExitedWithCode(c.exitCode), "") << c.what;
  }
}

}  // namespace
}  // namespace SkinUI
