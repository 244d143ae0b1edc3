// A skinned window on the framework's window base, built from a test
// markup, for the tests that drive it with real input. After its first
// paint it writes a report (client coordinates unless said otherwise):
//   window L T R B                   (screen coordinates)
//   control NAME L T R B
//   selected NAME 0|1                (options and check boxes)
//   progress NAME VALUE
//   text NAME HEX                    (rich edit text, UTF-8 in hex)
//   focus NAME
//   caret X Y
//   hit X Y CODE                     (WM_NCHITTEST at client points of --hit)
//   state normal|iconic|zoomed
//   opacity N                        (a window the system fades as a whole)
// Notifications are appended to the events file as they come:
//   notify TYPE SENDER WPARAM
// Lines on the standard input are commands:
//   report                          write the report again
//   progress NAME VALUE             set a progress bar's value
//   enable NAME 0|1                 enable or disable a control
//   text NAME HEX                   set a rich edit's text
//   clipboard HEX                   put text on the clipboard
//   dpichanged DPI                  the system's message of a move to a
//                                   monitor of that DPI, suggesting the
//                                   window's rectangle scaled and moved
//                                   10 pixels right and down
//   close                           close the window
// With --cycles N the window is opened, painted and closed N + 1 times
// and the report holds the process's GDI object and kernel handle counts
// after the first and after the last cycle:
//   counts gdi|handles FIRST LAST
// --backdrop puts a white window over the whole screen behind it, so that
// its shadow shows in screenshots.
// With --exit-after-paint the window closes after its first paint and the
// program prints the milliseconds from its launch to the end of that paint
// ("first-paint-ms N"), for the launch benchmark.
// Usage: frame_window --markup FILE [--skin FOLDER] [--dpi N] [--report FILE]
//                     [--events FILE] [--cycles N] [--hit X,Y;X,Y...]
//                     [--backdrop] [--exit-after-paint]
#include <windows.h>
#include <winternl.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <cwchar>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "base/handles.h"
#include "base/text.h"
#include "tests/helpers/launch_clock.h"
#include "tests/helpers/window_report.h"
#include "ui/containers/rich_edit/rich_edit_ui.h"
#include "ui/controls/option/option_ui.h"
#include "ui/controls/progress/progress_ui.h"
#include "ui/dpi/dpi_awareness.h"
#include "ui/render/gdiplus_session.h"
#include "ui/window/window_impl_base.h"

namespace {

using SkinUI::CControlUI;
using SkinUI::CPaintManagerUI;

constexpr UINT kMsgCommand = WM_APP + 7;
constexpr UINT kMsgFirstPaintDone = WM_APP + 8;

struct Options : WindowOptions {
  int cycles = 0;
  std::vector<POINT> hits;
  bool backdrop = false;
  bool exitAfterPaint = false;
};

std::string Hex(const std::string& bytes) {
  static const char digits[] = "0123456789abcdef";
  std::string hex;
  for (unsigned char c : bytes) {
    hex += digits[c >> 4];
    hex += digits[c & 15];
  }
  return hex.empty() ? "-" : hex;
}

std::string Unhex(const std::string& hex) {
  std::string bytes;
  for (size_t i = 0; i + 1 < hex.size(); i += 2) bytes += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
  return bytes;
}

class FrameWindow : public SkinUI::WindowImplBase {
 public:
  FrameWindow(const Options& options, bool closeAfterPaint)
      : options_(options), closeAfterPaint_(closeAfterPaint) {}

  const wchar_t* WindowClassName() const override { return L"NEBFrameWindow"; }

  LRESULT RouteMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    const LRESULT result = WindowImplBase::RouteMessage(message, wParam, lParam);
    // A layered window paints on the manager's own message.
    if ((message == WM_PAINT || message == CPaintManagerUI::kMsgLayeredPaint) && !painted_) {
      painted_ = true;
      if (options_.exitAfterPaint) std::printf("first-paint-ms %.2f\n", MillisecondsSinceProcessStart());
    }
    return result;
  }

  void OnNotify(SkinUI::NotifyRecord& record) override {
    AppendEvent(options_, "notify " + WideToUtf8(record.type) + " " + WideToUtf8(record.senderName) + " " +
                std::to_string(record.wParam));
    // Sent while the first paint lays the tree out: the report follows that paint.
    if (record.type == L"windowinit") PostToWindow(kMsgFirstPaintDone);
    WindowImplBase::OnNotify(record);
  }

 protected:
  std::wstring SkinFile() const override { return options_.MarkupFile(); }

  void AfterSkinLoaded() override {
    if (options_.dpi != 96) manager_.ApplyDpi(options_.dpi);
  }

  LRESULT OnDestroy(UINT, WPARAM, LPARAM, bool& handled) override {
    PostQuitMessage(0);
    handled = false;
    return 0;
  }

  LRESULT OnOtherMessage(UINT message, WPARAM, LPARAM lParam, bool& handled) override {
    if (message == kMsgFirstPaintDone) {
      WriteReport();
      if (closeAfterPaint_) DestroyWindow(Window());
      return 0;
    } else if (message == kMsgCommand) {
      std::unique_ptr<std::string> command(reinterpret_cast<std::string*>(lParam));
      Execute(*command);
      return 0;
    }
    handled = false;
    return 0;
  }

 private:
  void Execute(const std::string& line) {
    char verb[32] = {}, name[128] = {}, value[4096] = {};
    std::sscanf(line.c_str(), "%31s %127s %4095s", verb, name, value);
    CControlUI* control = manager_.LookupControl(Utf8ToWide(name));
    const std::string what = verb;
    if (what == "report") {
      WriteReport();
    } else if (what == "progress" && control) {
      static_cast<SkinUI::CProgressUI*>(control->QueryInterfaceUI(L"Progress"))->ChangeValue(std::atoi(value));
    } else if (what == "enable" && control) {
      control->Enable(std::atoi(value) != 0);
    } else if (what == "text" && control) {
      control->ChangeText(Utf8ToWide(Unhex(value)));
    } else if (what == "dpichanged") {
      SuggestDpi(std::atoi(name));
    } else if (what == "clipboard") {
      PutOnClipboard(Utf8ToWide(Unhex(name)));
    } else if (what == "close") {
      PostToWindow(WM_CLOSE);
    }
  }

  void SuggestDpi(int dpi) {
    RECT now{};
    GetWindowRect(Window(), &now);
    const int oldDpi = manager_.Dpi().Dpi();
    RECT suggested{now.left + 10, now.top + 10, 0, 0};
    suggested.right = suggested.left + MulDiv(now.right - now.left, dpi, oldDpi);
    suggested.bottom = suggested.top + MulDiv(now.bottom - now.top, dpi, oldDpi);
    SendToWindow(WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
  }

  void PutOnClipboard(const std::wstring& text) {
    if (!OpenClipboard(Window())) return;
    EmptyClipboard();
    const size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    if (const HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes)) {
      std::memcpy(GlobalLock(memory), text.c_str(), bytes);
      GlobalUnlock(memory);
      if (!SetClipboardData(CF_UNICODETEXT, memory)) GlobalFree(memory);
    }
    CloseClipboard();
  }

  void WriteReport() {
    WriteReportFile(options_, [this](FILE* file) { WriteState(file); });
  }

  void WriteState(FILE* file) {
    RECT window{};
    GetWindowRect(Window(), &window);
    std::fprintf(file, "window %ld %ld %ld %ld\n", window.left, window.top, window.right, window.bottom);
    WriteControlLines(file, manager_, [](FILE* out, CControlUI* control, const std::string& name) {
      if (auto* option = static_cast<SkinUI::COptionUI*>(control->QueryInterfaceUI(L"Option"))) {
        std::fprintf(out, "selected %s %d\n", name.c_str(), option->IsChecked() ? 1 : 0);
      }
      if (auto* progress = static_cast<SkinUI::CProgressUI*>(control->QueryInterfaceUI(L"Progress"))) {
        std::fprintf(out, "progress %s %d\n", name.c_str(), progress->ProgressValue());
      }
      if (control->QueryInterfaceUI(L"RichEdit")) {
        std::fprintf(out, "text %s %s\n", name.c_str(), Hex(WideToUtf8(control->ControlText())).c_str());
      }
    });
    if (CControlUI* focus = manager_.FocusControl()) {
      std::fprintf(file, "focus %s\n", WideToUtf8(focus->ControlName()).c_str());
    }
    POINT caret{};
    GetCaretPos(&caret);
    std::fprintf(file, "caret %ld %ld\n", caret.x, caret.y);
    std::fprintf(file, "state %s\n", IsIconic(Window()) ? "iconic" : IsZoomed(Window()) ? "zoomed" : "normal");
    BYTE opacity = 0;
    DWORD flags = 0;
    if (GetLayeredWindowAttributes(Window(), nullptr, &opacity, &flags) && (flags & LWA_ALPHA)) {
      std::fprintf(file, "opacity %u\n", opacity);
    }
    for (POINT point : options_.hits) {
      POINT screen = point;
      ClientToScreen(Window(), &screen);
      const LRESULT code = SendToWindow(WM_NCHITTEST, 0, MAKELPARAM(screen.x, screen.y));
      std::fprintf(file, "hit %ld %ld %ld\n", point.x, point.y, static_cast<long>(code));
    }
  }

  Options options_;
  bool closeAfterPaint_;
  bool painted_ = false;
};

Options ReadOptions(int argc, wchar_t** argv) {
  Options options;
  for (int i = 1; i < argc; ++i) {
    if (ReadWindowOption(argc, argv, i, options)) continue;
    const std::wstring arg = argv[i];
    const bool hasValue = i + 1 < argc;
    if (arg == L"--cycles" && hasValue) options.cycles = _wtoi(argv[++i]);
    else if (arg == L"--backdrop") options.backdrop = true;
    else if (arg == L"--exit-after-paint") options.exitAfterPaint = true;
    else if (arg == L"--hit" && hasValue) {
      const std::wstring list = argv[++i];
      for (size_t start = 0; start < list.size();) {
        const size_t end = std::min(list.find(L';', start), list.size());
        POINT point{};
        if (std::swscanf(list.substr(start, end - start).c_str(), L"%ld,%ld", &point.x, &point.y) == 2) {
          options.hits.push_back(point);
        }
        start = end + 1;
      }
    }
  }
  return options;
}

bool OpenFrame(FrameWindow& window) {
  if (window.OpenWindow(nullptr, L"frame window", WS_POPUP | WS_VISIBLE, 0, 100, 100, 200, 200) == nullptr) {
    return false;
  }
  window.CenterOnOwner();
  window.Show(true, true);
  return true;
}

// A plain white window over the whole screen.
void OpenBackdrop() {
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = DefWindowProcW;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  windowClass.lpszClassName = L"NEBFrameBackdrop";
  RegisterClassW(&windowClass);
  CreateWindowExW(WS_EX_NOACTIVATE, windowClass.lpszClassName, nullptr, WS_POPUP | WS_VISIBLE, 0, 0,
                  GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), nullptr, nullptr,
                  windowClass.hInstance, nullptr);
}

struct Counts {
  DWORD gdi, handles;
};

// GetGuiResources and GetProcessHandleCount answer 0 under Wine; the GDI
// handle table that the process block points to and the system's handle
// list count the same things there.
DWORD GdiObjectCount() {
  if (const DWORD counted = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS)) return counted;
  constexpr size_t kTableOffset = 0xF8;  // GdiSharedHandleTable in the 64-bit process block
  constexpr size_t kEntrySize = 24;
  constexpr size_t kEntries = 0x10000;
  using Query = LONG(WINAPI*)(HANDLE, PROCESSINFOCLASS, PVOID, ULONG, PULONG);
  const auto query = reinterpret_cast<Query>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationProcess")));
  PROCESS_BASIC_INFORMATION basic{};
  if (query(GetCurrentProcess(), ProcessBasicInformation, &basic, sizeof(basic), nullptr) < 0) return 0;
  const auto* peb = reinterpret_cast<const uint8_t*>(basic.PebBaseAddress);
  const auto* table = *reinterpret_cast<const uint8_t* const*>(peb + kTableOffset);
  if (table == nullptr) return 0;
  const USHORT self = static_cast<USHORT>(GetCurrentProcessId());
  DWORD count = 0;
  for (size_t i = 0; i < kEntries; ++i) {
    const uint8_t* entry = table + i * kEntrySize;
    USHORT owner = 0;
    std::memcpy(&owner, entry + 8, sizeof(owner));
    if (entry[14] != 0 && (owner == 0 || owner == self)) ++count;
  }
  return count;
}

DWORD KernelHandleCount() {
  DWORD counted = 0;
  if (GetProcessHandleCount(GetCurrentProcess(), &counted) && counted) return counted;
  struct Entry {
    ULONG ownerPid;
    BYTE objectType;
    BYTE flags;
    USHORT handle;
    PVOID object;
    ULONG access;
  };
  struct Information {
    ULONG count;
    Entry entries[1];
  };
  using Query = LONG(WINAPI*)(ULONG, PVOID, ULONG, PULONG);
  const auto query = reinterpret_cast<Query>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQuerySystemInformation")));
  constexpr ULONG kSystemHandleInformation = 16;
  constexpr LONG kInfoLengthMismatch = static_cast<LONG>(0xC0000004);
  std::vector<uint8_t> buffer(1 << 16);
  LONG status = 0;
  while ((status = query(kSystemHandleInformation, buffer.data(), static_cast<ULONG>(buffer.size()), nullptr)) ==
         kInfoLengthMismatch) {
    buffer.resize(buffer.size() * 2);
  }
  if (status < 0) return 0;
  const auto* information = reinterpret_cast<const Information*>(buffer.data());
  for (ULONG i = 0; i < information->count; ++i) {
    if (information->entries[i].ownerPid == GetCurrentProcessId()) ++counted;
  }
  return counted;
}

Counts ProcessCounts() { return {GdiObjectCount(), KernelHandleCount()}; }

// Opens and closes the window again and again; the counts after the first
// round (when every shared resource exists) and after the last must agree.
int RunCycles(const Options& options) {
  Counts first{};
  Options quiet = options;
  quiet.report.clear();
  for (int round = 0; round <= options.cycles; ++round) {
    {
      FrameWindow window(quiet, true);
      if (!OpenFrame(window)) return 3;
      CPaintManagerUI::RunMessageLoop();
    }
    if (round == 0) first = ProcessCounts();
  }
  const Counts last = ProcessCounts();
  FILE* file = _wfopen(options.report.c_str(), L"wb");
  if (file == nullptr) return 4;
  std::fprintf(file, "counts gdi %lu %lu\ncounts handles %lu %lu\n", first.gdi, last.gdi, first.handles,
               last.handles);
  std::fclose(file);
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const Options options = ReadOptions(argc, argv);
  if (options.markup.empty()) return 2;
  SkinUI::MakeProcessPerMonitorDpiAware();
  StartGdiplusOnce();
  const ScopedOleInit ole;
  CPaintManagerUI::SetInstance(GetModuleHandleW(nullptr));
  CPaintManagerUI::SetResourcePath(options.MarkupFolder());
  if (options.cycles > 0) return RunCycles(options);

  if (options.backdrop) OpenBackdrop();
  FrameWindow window(options, options.exitAfterPaint);
  if (!OpenFrame(window)) return 3;
  if (!options.exitAfterPaint) {
    const HWND handle = window.Window();
    std::thread([handle] {
      char line[8192];
      while (std::fgets(line, sizeof(line), stdin)) {
        line[std::strcspn(line, "\r\n")] = 0;
        PostMessageW(handle, kMsgCommand, 0, reinterpret_cast<LPARAM>(new std::string(line)));
        if (std::strncmp(line, "close", 5) == 0) return;
      }
      PostMessageW(handle, WM_CLOSE, 0, 0);
    }).detach();
  }
  CPaintManagerUI::RunMessageLoop();
  CPaintManagerUI::ShutdownFramework();
  return 0;
}
