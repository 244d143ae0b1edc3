#include "ui/resources/font_entry.h"

#include <cwchar>

namespace SkinUI {

namespace {

LOGFONTW LogicalFont(const FontEntry& entry, const CDpiScaler& scaler) {
  LOGFONTW font{};
  GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof(font), &font);
  std::wcsncpy(font.lfFaceName, entry.face.c_str(), LF_FACESIZE - 1);
  font.lfFaceName[LF_FACESIZE - 1] = L'\0';
  font.lfCharSet = DEFAULT_CHARSET;
  font.lfHeight = -scaler.ScaleValue(entry.size);
  font.lfWidth = 0;
  font.lfWeight = entry.bold ? FW_BOLD : FW_NORMAL;
  font.lfUnderline = entry.underline ? TRUE : FALSE;
  font.lfItalic = entry.italic ? TRUE : FALSE;
  return font;
}

void ReadMetrics(FontEntry& entry, HDC dc) {
  entry.metrics = TEXTMETRICW{};
  if (dc == nullptr || entry.font == nullptr) return;
  const HGDIOBJ old = SelectObject(dc, entry.font);
  GetTextMetricsW(dc, &entry.metrics);
  SelectObject(dc, old);
}

}  // namespace

std::unique_ptr<FontEntry> MakeFontEntry(const std::wstring& face, int size, bool bold, bool underline, bool italic,
                                         const CDpiScaler& scaler, HDC dc) {
  auto entry = std::make_unique<FontEntry>();
  entry->face = face.substr(0, LF_FACESIZE - 1);
  entry->size = size;
  entry->bold = bold;
  entry->underline = underline;
  entry->italic = italic;
  const LOGFONTW logical = LogicalFont(*entry, scaler);
  entry->font = CreateFontIndirectW(&logical);
  if (entry->font == nullptr) return nullptr;
  ReadMetrics(*entry, dc);
  return entry;
}

void RecreateFont(FontEntry& entry, const CDpiScaler& scaler, HDC dc) {
  entry.fallbacks.clear();
  if (entry.font) DeleteObject(entry.font);
  LOGFONTW logical = LogicalFont(entry, scaler);
  logical.lfQuality = CLEARTYPE_QUALITY;
  entry.font = CreateFontIndirectW(&logical);
  ReadMetrics(entry, dc);
}

}  // namespace SkinUI
