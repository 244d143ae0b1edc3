#include "ui/skin_check/folder_skin_access.h"

#include <fstream>

#include "base/text.h"
#include "ui/building/built_in_controls.h"
#include "ui/resources/skin_file_limits.h"

namespace nebskin {

namespace fs = std::filesystem;

namespace {

enum class ReadStatus { kOk, kFileNotOpened, kEmpty, kTooLarge, kShortRead };

ReadStatus ReadWholeFile(const fs::path& path, size_t limit, std::vector<uint8_t>& bytes) {
  bytes.clear();
  std::ifstream in(path, std::ios::binary);
  std::error_code failed;
  const uintmax_t size = fs::file_size(path, failed);
  if (!in || failed) return ReadStatus::kFileNotOpened;
  if (size == 0) return ReadStatus::kEmpty;
  if (size > limit) return ReadStatus::kTooLarge;
  bytes.resize(static_cast<size_t>(size));
  if (!in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()))) {
    bytes.clear();
    return ReadStatus::kShortRead;
  }
  return ReadStatus::kOk;
}

// The skin source's texts for the same failures.
const wchar_t* ReadFailureText(ReadStatus status) {
  switch (status) {
    case ReadStatus::kEmpty: return L"File is empty";
    case ReadStatus::kTooLarge: return L"File too large";
    case ReadStatus::kFileNotOpened: return L"Error opening file";
    case ReadStatus::kShortRead: return L"Could not read file";
    default: return L"";
  }
}

}  // namespace

bool FolderSkinAccess::ReadMarkupText(const std::wstring& name, std::wstring& text, std::wstring& error) {
  std::vector<uint8_t> bytes;
  const ReadStatus status = ReadWholeFile(folder_ / fs::path(name), SkinUI::kMaxSkinFileSize, bytes);
  if (status != ReadStatus::kOk) {
    error = ReadFailureText(status);
    return false;
  }
  // Markup is UTF-8, with or without its byte order mark.
  const bool bom = bytes.size() >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF;
  text = Utf8ToWide({reinterpret_cast<const char*>(bytes.data()) + (bom ? 3 : 0), bytes.size() - (bom ? 3 : 0)});
  return true;
}

// As the skin source: the skin's own file first, then the name as a path.
bool FolderSkinAccess::ReadPictureBytes(const std::wstring& name, std::vector<uint8_t>& bytes) {
  return ReadWholeFile(folder_ / fs::path(name), SkinUI::kMaxPictureFileSize, bytes) == ReadStatus::kOk ||
         ReadWholeFile(fs::path(name), SkinUI::kMaxPictureFileSize, bytes) == ReadStatus::kOk;
}

bool FolderSkinAccess::IsControlElement(const std::wstring& element) {
  return SkinUI::IsBuiltInControlElement(element);
}

}  // namespace nebskin
