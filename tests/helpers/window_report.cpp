#include "tests/helpers/window_report.h"

#include <cwchar>

#include "base/text.h"

std::wstring WindowOptions::MarkupFolder() const {
  if (!skin.empty()) return skin.back() == L'\\' || skin.back() == L'/' ? skin : skin + L'\\';
  return markup.substr(0, markup.find_last_of(L"\\/") + 1);
}

std::wstring WindowOptions::MarkupFile() const {
  if (!skin.empty()) return markup;
  return markup.substr(markup.find_last_of(L"\\/") + 1);
}

bool ReadWindowOption(int argc, wchar_t** argv, int& i, WindowOptions& options) {
  const std::wstring arg = argv[i];
  if (i + 1 >= argc) return false;
  if (arg == L"--markup") options.markup = argv[++i];
  else if (arg == L"--skin") options.skin = argv[++i];
  else if (arg == L"--dpi") options.dpi = _wtoi(argv[++i]);
  else if (arg == L"--report") options.report = argv[++i];
  else if (arg == L"--events") options.events = argv[++i];
  else return false;
  return true;
}

void AppendEvent(const WindowOptions& options, const std::string& line) {
  if (options.events.empty()) return;
  FILE* file = _wfopen(options.events.c_str(), L"ab");
  if (file == nullptr) return;
  std::fprintf(file, "%s\n", line.c_str());
  std::fclose(file);
}

void WriteReportFile(const WindowOptions& options, const std::function<void(FILE*)>& write) {
  if (options.report.empty()) return;
  const std::wstring partial = options.report + L".part";
  FILE* file = _wfopen(partial.c_str(), L"wb");
  if (file == nullptr) return;
  write(file);
  std::fclose(file);
  MoveFileExW(partial.c_str(), options.report.c_str(), MOVEFILE_REPLACE_EXISTING);
}

void WriteControlLines(FILE* file, SkinUI::CPaintManagerUI& manager,
                       const std::function<void(FILE*, SkinUI::CControlUI*, const std::string&)>& more) {
  for (SkinUI::CControlUI* control : manager.CollectByClass(nullptr, L"*")) {
    const std::string name = WideToUtf8(control->ControlName());
    if (name.empty()) continue;
    const RECT item = control->ItemRect();
    std::fprintf(file, "control %s %ld %ld %ld %ld\n", name.c_str(), item.left, item.top, item.right, item.bottom);
    if (more) more(file, control, name);
  }
}
