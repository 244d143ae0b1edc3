// nebskin FOLDER [MARKUP] [--dpi N]: opens a skin folder's markup
// ("Layout/Layout.xml" unless another file of the folder is named) in a
// window of the UI framework, as the installer would show it, so that skin
// makers see their work without building an installer. Problems of the
// markup and of its pictures are printed with file, line and column before
// the window opens; a markup that does not build ends the tool with exit
// code 1.
#include <windows.h>

#include <cstdio>
#include <string>

#include "base/handles.h"
#include "base/text.h"
#include "ui/dpi/dpi_awareness.h"
#include "ui/render/gdiplus_session.h"
#include "ui/skin_check/skin_source_access.h"
#include "ui/window/window_impl_base.h"

namespace {

constexpr wchar_t kDefaultMarkup[] = L"Layout/Layout.xml";
constexpr char kUsage[] = "usage: nebskin FOLDER [MARKUP] [--dpi N]\n";

struct Options {
  std::wstring folder;
  std::wstring markup = kDefaultMarkup;
  int dpi = 0;  // 0: the monitor's
};

void Print(const std::wstring& text) { std::fputs(WideToUtf8(text + L"\n").c_str(), stdout); }

class PreviewWindow : public SkinUI::WindowImplBase {
 public:
  PreviewWindow(const std::wstring& markup, int dpi) : markup_(markup), dpi_(dpi) {}

  const wchar_t* WindowClassName() const override { return L"NEBSkinPreview"; }

 protected:
  std::wstring SkinFile() const override { return markup_; }

  void AfterSkinLoaded() override {
    if (dpi_ > 0) manager_.ApplyDpi(dpi_);
  }

  void SkinLoadFailed(const SkinUI::CLayoutBuilder&) override {
    Print(markup_ + L": the markup builds no window");
    std::fflush(stdout);
    ExitProcess(1);
  }

  LRESULT OnDestroy(UINT, WPARAM, LPARAM, bool& handled) override {
    PostQuitMessage(0);
    handled = false;
    return 0;
  }

 private:
  std::wstring markup_;
  int dpi_;
};

bool ReadOptions(int argc, wchar_t** argv, Options& options) {
  bool markupNamed = false;
  for (int i = 1; i < argc; ++i) {
    const std::wstring arg = argv[i];
    if (arg == L"--dpi" && i + 1 < argc) {
      options.dpi = _wtoi(argv[++i]);
    } else if (options.folder.empty()) {
      options.folder = arg;
    } else if (!markupNamed) {
      options.markup = arg;
      markupNamed = true;
    } else {
      return false;
    }
  }
  if (!options.folder.empty() && options.folder.back() != L'\\' && options.folder.back() != L'/') {
    options.folder += L'\\';
  }
  return !options.folder.empty();
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  Options options;
  if (!ReadOptions(argc, argv, options)) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  SkinUI::MakeProcessPerMonitorDpiAware();
  StartGdiplusOnce();
  const ScopedOleInit ole;
  SkinUI::CPaintManagerUI::SetInstance(GetModuleHandleW(nullptr));
  SkinUI::CPaintManagerUI::SetResourcePath(options.folder);

  nebskin::SkinSourceAccess skin;
  for (const nebskin::SkinProblem& problem : nebskin::CheckSkinMarkup(skin, options.markup)) {
    std::wstring where = problem.file;
    if (problem.line > 0) where += L":" + std::to_wstring(problem.line) + L":" + std::to_wstring(problem.column);
    Print(where + L": " + (problem.warning ? L"warning: " : L"") + problem.message);
  }
  std::fflush(stdout);

  PreviewWindow window(options.markup, options.dpi);
  if (window.OpenWindow(nullptr, L"nebskin", WS_POPUP | WS_VISIBLE, 0) == nullptr) return 1;
  window.CenterOnOwner();
  window.Show(true, true);
  SkinUI::CPaintManagerUI::RunMessageLoop();
  SkinUI::CPaintManagerUI::ShutdownFramework();
  return 0;
}
