// The parts of CMarkup that read bytes and skin files: text decoding through
// the system's code pages and the skin source.
#include <vector>

#include "base/text.h"
#include "ui/markup/markup.h"
#include "ui/resources/skin_source.h"

namespace SkinUI {

namespace {

std::wstring DecodeUtf16(const unsigned char* bytes, size_t length) {
  if (length < 2) return {};
  const bool littleEndian = bytes[0] == 0xFF && bytes[1] == 0xFE;
  const bool bigEndian = bytes[0] == 0xFE && bytes[1] == 0xFF;
  if (!littleEndian && !bigEndian) return {};
  const size_t count = length / 2 - 1;
  std::wstring text(count, L'\0');
  for (size_t i = 0; i < count; ++i) {
    const unsigned char first = bytes[2 + i * 2], second = bytes[3 + i * 2];
    text[i] = static_cast<wchar_t>(littleEndian ? (first | (second << 8)) : ((first << 8) | second));
  }
  return text;
}

const wchar_t* ReadFailureText(SkinSource::ReadStatus status) {
  switch (status) {
    case SkinSource::ReadStatus::kArchiveNotOpened: return L"Error opening zip file";
    case SkinSource::ReadStatus::kEntryMissing: return L"Could not find ziped file";
    case SkinSource::ReadStatus::kEmpty: return L"File is empty";
    case SkinSource::ReadStatus::kTooLarge: return L"File too large";
    case SkinSource::ReadStatus::kUnzipFailed: return L"Could not unzip file";
    case SkinSource::ReadStatus::kFileNotOpened: return L"Error opening file";
    case SkinSource::ReadStatus::kShortRead: return L"Could not read file";
    default: return L"";
  }
}

}  // namespace

std::wstring CMarkup::DecodeBytes(const unsigned char* bytes, size_t length, Encoding encoding) {
  switch (encoding) {
    case kEncodingUtf8: {
      const bool bom = length >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF;
      const size_t skip = bom ? 3 : 0;
      return Utf8ToWide({reinterpret_cast<const char*>(bytes) + skip, length - skip});
    }
    case kEncodingUtf16:
      return DecodeUtf16(bytes, length);
    default:
      return AnsiToWide({reinterpret_cast<const char*>(bytes), length});
  }
}

bool CMarkup::ParseBytes(const unsigned char* bytes, size_t length, Encoding encoding) {
  return ParseText(DecodeBytes(bytes, length, encoding));
}

bool CMarkup::ReadSkinText(const wchar_t* name, Encoding encoding, std::wstring& text, std::wstring& error) {
  std::vector<uint8_t> bytes;
  const SkinSource::ReadStatus status = SkinSource::Get().ReadSkinFile(name ? name : L"", bytes);
  if (status != SkinSource::ReadStatus::kOk) {
    error = ReadFailureText(status);
    return false;
  }
  text = DecodeBytes(bytes.data(), bytes.size(), encoding);
  return true;
}

bool CMarkup::ReadSkinFile(const wchar_t* name, Encoding encoding) {
  Release();
  std::wstring text, error;
  if (!ReadSkinText(name, encoding, text, error)) {
    SetError(error);
    return false;
  }
  return ParseText(text);
}

}  // namespace SkinUI
