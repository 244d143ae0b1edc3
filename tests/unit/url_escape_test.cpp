#include "http/url_escape.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(EscapeUrlBytes, EscapesEveryByteFrom0x80Up) {
  const struct {
    std::string url;
    std::string escaped;
  } cases[] = {
      {"", ""},
      {"https://h/api/qmdesktop.php", "https://h/api/qmdesktop.php"},
      // Blanks, reserved characters and existing escapes stay as they are.
      {"http://h/a b?x=1&y=%41#top", "http://h/a b?x=1&y=%41#top"},
      {"/q?n=\xE4\xB8\xAD\xE6\x96\x87", "/q?n=%E4%B8%AD%E6%96%87"},  // 中文
      {"\xE4\xB8\x80", "%E4%B8%80"},                                // 一 ends in 0x80
      {"\x7F\x80\x81\xFF", "\x7F%80%81%FF"},
      {"/\xF0\x9F\x98\x80/", "/%F0%9F%98%80/"},  // outside the BMP: four bytes
  };
  for (const auto& c : cases) EXPECT_EQ(EscapeUrlBytes(c.url), c.escaped) << "url \"" << c.url << "\"";
}

TEST(EscapeUrlBytes, KeepsEveryByteBelow0x80) {
  std::string ascii;
  for (int byte = 0; byte < 0x80; ++byte) ascii += static_cast<char>(byte);
  EXPECT_EQ(EscapeUrlBytes(ascii), ascii);
}

}  // namespace
