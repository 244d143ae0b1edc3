#include "product/lumetrica/event_record.h"

#include <windows.h>
#include <shlobj.h>

#include "base/handles.h"
#include "base/system_folders.h"
#include "base/text.h"

namespace {

std::wstring RecordPath() {
  const std::wstring localData = SpecialFolder(CSIDL_LOCAL_APPDATA, true);
  if (localData.empty()) return L"";
  const std::wstring folder = localData + L"\\Lumetrica";
  CreateDirectoryW(folder.c_str(), nullptr);
  return folder + L"\\events.log";
}

}  // namespace

void RecordEvent(const std::wstring& line) {
  const std::wstring path = RecordPath();
  if (path.empty()) return;
  UniqueHandle file(CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return;
  const std::string bytes = WideToUtf8(line) + "\r\n";
  DWORD written = 0;
  WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}
