// Writes a program's resources through the system's resource-update API,
// for comparing nebpack's own resource writer with it.
// Usage: update_resources PROGRAM RESOURCES
// PROGRAM is changed in place: its resources are replaced by those of the
// RESOURCES file, one a line:   TYPE NAME LANGUAGE DATAFILE
// where TYPE and NAME are "#n" for a number or a text. (Wine's
// UpdateResource does not remove a single resource, so the whole table is
// written again.) Exit code 0 when every resource was written, 1 otherwise.
#include <windows.h>

#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

#include "base/text.h"

namespace {

// "#n" as the number the API takes in place of a text, or the text.
const wchar_t* ResourceName(const std::wstring& text) {
  return text[0] == L'#' ? MAKEINTRESOURCEW(std::stoi(text.substr(1))) : text.c_str();
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 3) return 2;
  std::ifstream changes(argv[2]);
  // Without the listing, BeginUpdateResourceW would still wipe every resource.
  if (!changes) return 1;
  HANDLE update = BeginUpdateResourceW(argv[1], TRUE);
  if (update == nullptr) return 1;
  bool written = true;
  std::string line;
  while (written && std::getline(changes, line)) {
    std::istringstream fields(line);
    std::string type, name, file;
    int language = 0;
    if (!(fields >> type >> name >> language >> file)) continue;
    const std::wstring wideType = Utf8ToWide(type), wideName = Utf8ToWide(name);
    std::ifstream in(file, std::ios::binary);
    std::string data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    written = in.good() || in.eof();
    written = written && UpdateResourceW(update, ResourceName(wideType), ResourceName(wideName),
                                         static_cast<WORD>(language), data.data(),
                                         static_cast<DWORD>(data.size())) != FALSE;
  }
  return EndUpdateResourceW(update, written ? FALSE : TRUE) && written ? 0 : 1;
}
