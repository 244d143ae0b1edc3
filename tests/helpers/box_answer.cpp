// Answers the message box that a program under test shows: waits for a
// top-level dialog with the given caption, prints the ids of its visible
// buttons on a "buttons:" line and its message text (UTF-8) between
// "text-begin" and "text-end" lines, and presses a button: OK unless
// --press names another id (IDCANCEL 2, IDYES 6, ...).
// Usage: box_answer CAPTION [--seconds N] [--press ID]   Exit code 0 when a
// box was answered, 1 when none appeared in time.
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

constexpr int kMessageTextId = 0xFFFF;  // the static control of a message box
constexpr int kLastButtonId = IDCONTINUE;

std::string ToUtf8(const std::wstring& text) {
  if (text.empty()) return {};
  const int bytes = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                        nullptr, 0, nullptr, nullptr);
  std::string result(static_cast<size_t>(bytes), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), result.data(), bytes,
                      nullptr, nullptr);
  return result;
}

std::wstring ControlText(HWND control) {
  const int length = GetWindowTextLengthW(control);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  GetWindowTextW(control, text.data(), length + 1);
  text.resize(static_cast<size_t>(length));
  return text;
}

std::string VisibleButtons(HWND box) {
  std::string ids;
  for (int id = IDOK; id <= kLastButtonId; ++id) {
    const HWND button = GetDlgItem(box, id);
    if (button && IsWindowVisible(button)) ids += " " + std::to_string(id);
  }
  return ids;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) return 2;
  const wchar_t* caption = argv[1];
  int seconds = 60;
  int press = IDOK;
  for (int i = 2; i + 1 < argc; i += 2) {
    if (std::wcscmp(argv[i], L"--seconds") == 0) seconds = _wtoi(argv[i + 1]);
    if (std::wcscmp(argv[i], L"--press") == 0) press = _wtoi(argv[i + 1]);
  }

  for (int waited = 0; waited < seconds * 10; ++waited) {
    const HWND box = FindWindowW(L"#32770", caption);
    // The box is found as soon as it exists; its text and buttons are final
    // once it is shown.
    if (box && IsWindowVisible(box)) {
      const HWND text = GetDlgItem(box, kMessageTextId);
      std::printf("buttons:%s\n", VisibleButtons(box).c_str());
      std::printf("text-begin\n%s\ntext-end\n", ToUtf8(text ? ControlText(text) : L"").c_str());
      std::fflush(stdout);
      PostMessageW(box, WM_COMMAND, MAKEWPARAM(press, BN_CLICKED), 0);
      return 0;
    }
    Sleep(100);
  }
  return 1;
}
