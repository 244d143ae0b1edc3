// A window built from a test markup with the UI framework, for the tests
// and the launch benchmark. It opens at 100 %, applies the DPI it is given
// (as the install dialog does once its tree is attached), and after its
// first paint writes a report: the scale, the window rectangle and the
// rectangle of every named control, in client coordinates:
//   scale 150
//   window L T R B
//   control NAME L T R B
// Notifications are appended to the events file as they come:
//   notify TYPE SENDER [WPARAM]
//   notify scroll SENDER VERTICAL HORIZONTAL
//   notify link SENDER INDEX TARGET CURSOR   (CURSOR: hand or arrow)
//   notify textchanged SENDER [TEXT]
//   painted                      (the end of the first paint)
// Usage: skin_window --markup FILE [--skin FOLDER] [--dpi N] [--report FILE] [--events FILE]
//                    [--layered] [--exit-after-paint]
// With --layered the window paints as a layered window (per-pixel alpha,
// UpdateLayeredWindow).
// With --exit-after-paint the window closes after its first paint and the
// program prints the milliseconds from its launch to the end of that paint
// ("first-paint-ms N"), for the launch benchmark.
// A line "close" on the standard input closes the window.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <cwchar>
#include <memory>
#include <string>
#include <thread>

#include "base/text.h"
#include "tests/helpers/launch_clock.h"
#include "tests/helpers/window_report.h"
#include "ui/building/layout_builder.h"
#include "ui/controls/control_ui.h"
#include "ui/controls/text/text_ui.h"
#include "ui/dpi/dpi_awareness.h"
#include "ui/host/paint_manager_ui.h"
#include "ui/render/gdiplus_session.h"

namespace {

using SkinUI::CControlUI;
using SkinUI::CPaintManagerUI;

constexpr UINT kMsgFirstPaintDone = WM_APP + 0x100;  // clear of the framework's own messages
constexpr wchar_t kClassName[] = L"NEBSkinWindow";

struct Options : WindowOptions {
  bool exitAfterPaint = false;
  bool layered = false;
};

class SkinWindow : public SkinUI::INotifyUI {
 public:
  explicit SkinWindow(const Options& options) : options_(options) {}

  HWND Window() const { return window_; }

  bool Create() {
    WNDCLASSW windowClass{};
    windowClass.style = CS_DBLCLKS;
    windowClass.lpfnWndProc = &SkinWindow::Procedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = kClassName;
    RegisterClassW(&windowClass);
    window_ = CreateWindowExW(0, kClassName, L"skin window", WS_POPUP | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, 0, 0, 100,
                              100, nullptr, nullptr, windowClass.hInstance, this);
    return window_ != nullptr;
  }

  void OnNotify(SkinUI::NotifyRecord& record) override {
    std::string line = "notify " + WideToUtf8(record.type) + " " + WideToUtf8(record.senderName);
    if (record.type == L"timer" || record.type == L"tabselect") line += " " + std::to_string(record.wParam);
    if (record.type == L"scroll") line += " " + std::to_string(record.wParam) + " " + std::to_string(record.lParam);
    if (record.type == L"link") {
      auto* text = static_cast<SkinUI::CTextUI*>(record.sender->QueryInterfaceUI(L"Text"));
      const bool hand = GetCursor() == LoadCursorW(nullptr, IDC_HAND);
      line += " " + std::to_string(record.wParam) + " " +
              (text ? WideToUtf8(text->LinkTarget(static_cast<int>(record.wParam))) : "-") + (hand ? " hand" : " arrow");
    }
    if (record.type == L"textchanged") line += " [" + WideToUtf8(record.sender->ControlText()) + "]";
    AppendEvent(options_, line);
  }

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
      auto* self = static_cast<SkinWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
      SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
      self->window_ = window;
    }
    auto* self = reinterpret_cast<SkinWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    return self ? self->Handle(message, wParam, lParam) : DefWindowProcW(window, message, wParam, lParam);
  }

  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
      case WM_CREATE:
        return Build() ? 0 : -1;
      case WM_PAINT:
      case CPaintManagerUI::kMsgLayeredPaint: {  // a layered window paints on the latter
        LRESULT result = 0;
        manager_.HandleWindowMessage(message, wParam, lParam, result);
        if (!painted_) {
          painted_ = true;
          if (options_.exitAfterPaint) std::printf("first-paint-ms %.2f\n", MillisecondsSinceProcessStart());
          AppendEvent(options_, "painted");
          PostMessageW(window_, kMsgFirstPaintDone, 0, 0);
        }
        return result;
      }
      case kMsgFirstPaintDone:
        WriteReport();
        if (options_.exitAfterPaint) DestroyWindow(window_);
        return 0;
      case WM_DESTROY:
        PostQuitMessage(0);
        break;
      default:
        break;
    }
    LRESULT result = 0;
    if (manager_.HandleWindowMessage(message, wParam, lParam, result)) return result;
    return DefWindowProcW(window_, message, wParam, lParam);
  }

  bool Build() {
    CPaintManagerUI::SetResourcePath(options_.MarkupFolder());
    manager_.BindWindow(window_, L"skin window");
    SkinUI::CLayoutBuilder builder;
    std::unique_ptr<CControlUI> root = builder.Build(options_.MarkupFile(), L"", nullptr, &manager_);
    if (root == nullptr) return false;
    manager_.AttachRoot(std::move(root));
    manager_.AddReceiver(this);
    const SkinUI::UiSize size = manager_.Attributes().initialSize;
    SetWindowPos(window_, nullptr, 0, 0, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
    if (options_.dpi != 96) manager_.ApplyDpi(options_.dpi);
    if (options_.layered) manager_.SetLayeredMode(true);
    return true;
  }

  void WriteReport() {
    WriteReportFile(options_, [this](FILE* file) {
      RECT window{};
      GetWindowRect(window_, &window);
      std::fprintf(file, "scale %d\nwindow %ld %ld %ld %ld\n", manager_.Scale(), window.left, window.top,
                   window.right, window.bottom);
      WriteControlLines(file, manager_);
    });
  }

  Options options_;
  HWND window_ = nullptr;
  CPaintManagerUI manager_;
  bool painted_ = false;
};

Options ReadOptions(int argc, wchar_t** argv) {
  Options options;
  for (int i = 1; i < argc; ++i) {
    if (ReadWindowOption(argc, argv, i, options)) continue;
    const std::wstring arg = argv[i];
    if (arg == L"--exit-after-paint") options.exitAfterPaint = true;
    else if (arg == L"--layered") options.layered = true;
  }
  return options;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const Options options = ReadOptions(argc, argv);
  if (options.markup.empty()) return 2;
  SkinUI::MakeProcessPerMonitorDpiAware();
  StartGdiplusOnce();
  CPaintManagerUI::SetInstance(GetModuleHandleW(nullptr));
  SkinWindow window(options);
  if (!window.Create()) return 3;
  ShowWindow(window.Window(), SW_SHOWNORMAL);
  if (!options.exitAfterPaint) {
    const HWND handle = window.Window();
    std::thread([handle] {
      char line[64];
      while (std::fgets(line, sizeof(line), stdin)) {
        if (std::strncmp(line, "close", 5) == 0) break;
      }
      PostMessageW(handle, WM_CLOSE, 0, 0);
    }).detach();
  }
  CPaintManagerUI::RunMessageLoop();
  CPaintManagerUI::ShutdownFramework();
  return 0;
}
