#include "files/install_record.h"

#include <windows.h>

#include <mutex>
#include <string_view>
#include <unordered_set>

#include "base/handles.h"
#include "base/text.h"
#include "files/archive_entry_name.h"
#include "files/link_free_path.h"

namespace {

constexpr char kFirstLine[] = "NEBInstaller install record";
constexpr DWORD kLargestRecord = 16 * 1024 * 1024;

struct Notes {
  std::mutex lock;
  bool keeping = false;
  std::vector<std::wstring> paths;  // full paths, a folder's with a closing backslash
};

Notes& TheNotes() {
  static Notes notes;
  return notes;
}

std::wstring Lowered(std::wstring text) {
  CharLowerBuffW(text.data(), static_cast<DWORD>(text.size()));
  return text;
}

bool ReadAll(const std::wstring& path, std::string* bytes) {
  const LinkFreePath held(path);
  if (held.RefusedFor(L"ReadInstallRecord")) return false;
  const UniqueHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                      FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  LARGE_INTEGER size = {};
  if (!file || !GetFileSizeEx(file.Get(), &size) || size.QuadPart > kLargestRecord) return false;
  bytes->resize(static_cast<size_t>(size.QuadPart));
  DWORD read = 0;
  return ReadFile(file.Get(), bytes->data(), static_cast<DWORD>(bytes->size()), &read, nullptr) &&
         read == bytes->size();
}

// The relative lines of a record, without the first line.
std::vector<std::wstring> RecordLines(const std::wstring& recordPath) {
  std::string bytes;
  std::vector<std::wstring> lines;
  if (!ReadAll(recordPath, &bytes)) return lines;
  std::string_view text = bytes;
  bool first = true;
  while (!text.empty()) {
    const size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (first) {
      if (line != kFirstLine) return {};
      first = false;
      continue;
    }
    // A line that would lead outside the folder (as an archive entry's name
    // would) is no line of ours, whoever wrote it.
    const std::wstring relative = Utf8ToWide(line);
    if (IsSafeEntryName(relative)) lines.push_back(relative);
  }
  return lines;
}

// The lines of a record, each once (letter case aside), in the order they
// come.
class RecordLineSet {
 public:
  explicit RecordLineSet(std::vector<std::wstring> lines) {
    for (std::wstring& line : lines) Add(std::move(line));
  }
  void Add(std::wstring line) {
    if (known_.insert(Lowered(line)).second) lines_.push_back(std::move(line));
  }
  // A written entry and every folder on its way below the install folder:
  // the install folder held nothing but an install of the product, so the
  // folders in it are the install's too.
  void AddWithFolders(const std::wstring& relative) {
    for (size_t slash = relative.find(L'\\'); slash != std::wstring::npos && slash + 1 < relative.size();
         slash = relative.find(L'\\', slash + 1)) {
      Add(relative.substr(0, slash + 1));
    }
    Add(relative);
  }
  const std::vector<std::wstring>& Lines() const { return lines_; }

 private:
  std::unordered_set<std::wstring> known_;
  std::vector<std::wstring> lines_;
};

bool WriteRecord(const std::wstring& recordPath, const std::vector<std::wstring>& lines) {
  std::string text = std::string(kFirstLine) + "\r\n";
  for (const std::wstring& line : lines) text += WideToUtf8(line) + "\r\n";
  const LinkFreePath held(recordPath);
  if (held.RefusedFor(L"FinishInstallRecord")) return false;
  const UniqueHandle file(CreateFileW(recordPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  DWORD written = 0;
  return file && WriteFile(file.Get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
         written == text.size();
}

}  // namespace

void StartInstallRecord() {
  Notes& notes = TheNotes();
  std::lock_guard<std::mutex> hold(notes.lock);
  notes.keeping = true;
  notes.paths.clear();
}

void RecordWritten(const std::wstring& path, bool folder) {
  Notes& notes = TheNotes();
  std::lock_guard<std::mutex> hold(notes.lock);
  if (!notes.keeping) return;
  std::wstring noted = path;
  while (!noted.empty() && noted.back() == L'\\') noted.pop_back();
  if (folder) noted += L'\\';
  notes.paths.push_back(std::move(noted));
}

bool FinishInstallRecord(const std::wstring& installFolder) {
  Notes& notes = TheNotes();
  std::vector<std::wstring> paths;
  {
    std::lock_guard<std::mutex> hold(notes.lock);
    notes.keeping = false;
    paths.swap(notes.paths);
  }
  std::wstring folder = installFolder;
  while (!folder.empty() && folder.back() == L'\\') folder.pop_back();
  const std::wstring prefix = Lowered(folder + L"\\");
  std::vector<std::wstring> inside;
  for (const std::wstring& path : paths) {
    if (!folder.empty() && path.size() > prefix.size() && Lowered(path.substr(0, prefix.size())) == prefix) {
      inside.push_back(path.substr(prefix.size()));
    }
  }
  if (inside.empty()) return true;  // nothing of the install in it
  const std::wstring recordPath = folder + L"\\" + kInstallRecordName;
  RecordLineSet lines(RecordLines(recordPath));
  for (const std::wstring& relative : inside) lines.AddWithFolders(relative);
  lines.Add(kInstallRecordName);
  return WriteRecord(recordPath, lines.Lines());
}

std::vector<std::wstring> ReadInstallRecord(const std::wstring& installFolder) {
  std::wstring folder = installFolder;
  while (!folder.empty() && folder.back() == L'\\') folder.pop_back();
  std::vector<std::wstring> paths;
  for (const std::wstring& line : RecordLines(folder + L"\\" + kInstallRecordName)) {
    paths.push_back(folder + L"\\" + line);
  }
  return paths;
}
