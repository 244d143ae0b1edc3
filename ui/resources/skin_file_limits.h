// The largest skin files a window reads. No Windows calls here: the skin
// checks read a skin folder with the same limits on any system.
#pragma once

#include <cstddef>

namespace SkinUI {

// Skin files (markup) larger than this are refused.
constexpr size_t kMaxSkinFileSize = 4u * 1024 * 1024;
// Pictures larger than this are refused rather than read.
constexpr size_t kMaxPictureFileSize = 64u * 1024 * 1024;

}  // namespace SkinUI
