// Decodes a picture of the skin source into a bitmap.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

#include "ui/resources/image_entry.h"

namespace SkinUI {

// `name` is a skin file name, or the decimal id of a resource of `resType`
// in `module` when a type is given. SVG names render at the scale their
// "@N" carries. None when the bytes are missing or do not decode.
std::unique_ptr<ImageEntry> LoadSkinImage(const std::wstring& name, const std::wstring& resType, uint32_t mask,
                                          HMODULE module);

}  // namespace SkinUI
