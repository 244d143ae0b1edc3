// One font of a window's font table: the handle and what is needed to make
// it again at another scale.
#pragma once

#include <windows.h>

#include <map>
#include <memory>
#include <string>

#include "base/handles.h"
#include "ui/dpi/dpi_scaler.h"

namespace SkinUI {

struct FontHandleTraits {
  using Handle = HFONT;
  static Handle Invalid() { return nullptr; }
  static bool IsValid(Handle h) { return h != nullptr; }
  static void Close(Handle h) { DeleteObject(h); }
};
using UniqueFont = ScopedHandle<FontHandleTraits>;

struct FontEntry {
  FontEntry() = default;
  FontEntry(const FontEntry&) = delete;
  FontEntry& operator=(const FontEntry&) = delete;
  ~FontEntry() {
    if (font) DeleteObject(font);
  }

  HFONT font = nullptr;
  std::wstring face;  // at most 31 characters, as a logical font holds them
  int size = 0;       // character height in pixels at 100 %
  bool bold = false;
  bool underline = false;
  bool italic = false;
  TEXTMETRICW metrics{};
  // The same font in the system's face for a script the face lacks, by
  // character set, made on first use (font_fallback.h); a null one when it
  // could not be made. Dropped when the font is made again.
  mutable std::map<BYTE, UniqueFont> fallbacks;
};

// A font from the system's default GUI font with the face, the size scaled
// for the window, DEFAULT_CHARSET, weight 700 when bold. Metrics are read
// through `dc` when there is one. None when the font cannot be created.
std::unique_ptr<FontEntry> MakeFontEntry(const std::wstring& face, int size, bool bold, bool underline, bool italic,
                                         const CDpiScaler& scaler, HDC dc);

// Deletes the handle and creates the font again at the scaler's scale, with
// ClearType output quality; the metrics are read again.
void RecreateFont(FontEntry& entry, const CDpiScaler& scaler, HDC dc);

}  // namespace SkinUI
