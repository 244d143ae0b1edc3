// The whole path a skin takes through nebskin and nebpack before a window
// opens: the skin's ZIP archive read from memory, its markup parsed with the
// files it includes, its pictures decoded, and the skin checks over all of
// them. The input is either a ZIP archive as it is (beginning "PK"), or a
// list of files ("#file NAME" lines, each followed by the file's bytes)
// that is packed into an archive first, so that mutations reach the markup
// and the pictures behind a sound archive too.
#include <cstring>
#include <string>
#include <vector>

#include <zip.h>

#include "ui/resources/zip_archive.h"
#include "ui/skin_check/skin_check.h"

namespace {

constexpr char kFileMarker[] = "#file ";
// The largest markup file and picture the skin source reads.
constexpr size_t kMostMarkupBytes = size_t{4} << 20;
constexpr size_t kMostPictureBytes = size_t{64} << 20;

// minizip's file functions over a string, for the packed archive.
struct MemoryFile {
  std::string bytes;
  size_t position = 0;

  static voidpf ZCALLBACK Open(voidpf opaque, const void*, int) { return opaque; }
  static uLong ZCALLBACK Read(voidpf, voidpf, void*, uLong) { return 0; }
  static uLong ZCALLBACK Write(voidpf, voidpf stream, const void* buf, uLong size) {
    MemoryFile& file = *static_cast<MemoryFile*>(stream);
    if (file.position + size > file.bytes.size()) file.bytes.resize(file.position + size);
    std::memcpy(&file.bytes[file.position], buf, size);
    file.position += size;
    return size;
  }
  static ZPOS64_T ZCALLBACK Tell(voidpf, voidpf stream) { return static_cast<MemoryFile*>(stream)->position; }
  static long ZCALLBACK Seek(voidpf, voidpf stream, ZPOS64_T offset, int origin) {
    MemoryFile& file = *static_cast<MemoryFile*>(stream);
    const size_t base = origin == ZLIB_FILEFUNC_SEEK_CUR ? file.position
                        : origin == ZLIB_FILEFUNC_SEEK_END ? file.bytes.size()
                                                           : 0;
    file.position = base + static_cast<size_t>(offset);
    return 0;
  }
  static int ZCALLBACK Close(voidpf, voidpf) { return 0; }
  static int ZCALLBACK Error(voidpf, voidpf) { return 0; }
};

std::string PackFiles(const std::string& list) {
  MemoryFile memory;
  zlib_filefunc64_def functions = {MemoryFile::Open, MemoryFile::Read,  MemoryFile::Write, MemoryFile::Tell,
                                   MemoryFile::Seek, MemoryFile::Close, MemoryFile::Error, &memory};
  zipFile zip = zipOpen2_64("skin", APPEND_STATUS_CREATE, nullptr, &functions);
  if (zip == nullptr) return {};
  size_t at = list.find(kFileMarker);
  while (at != std::string::npos) {
    const size_t nameStart = at + std::strlen(kFileMarker);
    const size_t nameEnd = list.find('\n', nameStart);
    if (nameEnd == std::string::npos) break;
    const size_t next = list.find(std::string("\n") + kFileMarker, nameEnd);
    const size_t end = next == std::string::npos ? list.size() : next;
    const std::string name = list.substr(nameStart, nameEnd - nameStart);
    const std::string data = list.substr(nameEnd + 1, end - nameEnd - 1);
    zip_fileinfo info{};
    if (zipOpenNewFileInZip64(zip, name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr, Z_DEFLATED, 1, 0) ==
        ZIP_OK) {
      zipWriteInFileInZip(zip, data.data(), static_cast<unsigned>(data.size()));
      zipCloseFileInZip(zip);
    }
    at = next == std::string::npos ? next : next + 1;
  }
  zipClose(zip, nullptr);
  return std::move(memory.bytes);
}

// UTF-8 as the program decodes it, with any byte that does not fit read as
// one character.
std::wstring Utf8Text(const std::vector<uint8_t>& bytes) {
  std::wstring text;
  size_t i = bytes.size() >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF ? 3 : 0;
  while (i < bytes.size()) {
    const uint8_t lead = bytes[i];
    const int extra = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : 0;
    uint32_t code = extra == 0 ? lead : lead & (0x3F >> extra);
    size_t j = 1;
    for (; j <= static_cast<size_t>(extra) && i + j < bytes.size() && (bytes[i + j] & 0xC0) == 0x80; ++j) {
      code = (code << 6) | (bytes[i + j] & 0x3F);
    }
    if (j != static_cast<size_t>(extra) + 1) {
      code = lead;
      j = 1;
    }
    text.push_back(static_cast<wchar_t>(code));
    i += j;
  }
  return text;
}

class ArchiveSkin : public nebskin::SkinAccess {
 public:
  explicit ArchiveSkin(SkinUI::CZipArchive& archive) : archive_(archive) {}

  bool ReadMarkupText(const std::wstring& name, std::wstring& text, std::wstring& error) override {
    std::vector<uint8_t> bytes;
    if (archive_.Extract(Narrow(name), kMostMarkupBytes, bytes) !=
        SkinUI::CZipArchive::Status::kOk) {
      error = L"Could not unzip file";
      return false;
    }
    text = Utf8Text(bytes);
    return true;
  }
  bool ReadPictureBytes(const std::wstring& name, std::vector<uint8_t>& bytes) override {
    return archive_.Extract(Narrow(name), kMostPictureBytes, bytes) ==
           SkinUI::CZipArchive::Status::kOk;
  }
  bool IsControlElement(const std::wstring& element) override {
    for (const wchar_t* known : {L"Control", L"Container", L"VerticalLayout", L"HorizontalLayout", L"TabLayout",
                                 L"Label", L"Button", L"Option", L"CheckBox", L"Text", L"Progress", L"RichEdit"}) {
      if (element == known) return true;
    }
    return false;
  }

 private:
  static std::string Narrow(const std::wstring& name) {
    std::string narrow;
    for (const wchar_t c : name) narrow.push_back(static_cast<char>(c));
    return narrow;
  }

  SkinUI::CZipArchive& archive_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  const std::string zip = input.compare(0, 2, "PK") == 0 ? input : PackFiles(input);
  auto archive = SkinUI::CZipArchive::OpenMemory(reinterpret_cast<const uint8_t*>(zip.data()), zip.size(), "");
  if (!archive) return 0;
  ArchiveSkin skin(*archive);
  nebskin::CheckSkinMarkup(skin, L"Layout/Layout.xml");
  std::vector<nebskin::MarkupControl> controls;
  nebskin::NamedControls(skin, L"Layout/Layout.xml", controls);
  return 0;
}
