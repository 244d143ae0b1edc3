// Answers the message box that a program under test shows: waits for a
// top-level dialog with the given caption, prints its message text (UTF-8)
// between "text-begin" and "text-end" lines, and presses its default button.
// Usage: box_answer CAPTION [--seconds N]   Exit code 0 when a box was
// answered, 1 when none appeared in time.
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

constexpr int kMessageTextId = 0xFFFF;  // the static control of a message box

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

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) return 2;
  const wchar_t* caption = argv[1];
  int seconds = 60;
  if (argc >= 4 && std::wcscmp(argv[2], L"--seconds") == 0) seconds = _wtoi(argv[3]);

  for (int waited = 0; waited < seconds * 10; ++waited) {
    const HWND box = FindWindowW(L"#32770", caption);
    if (box) {
      const HWND text = GetDlgItem(box, kMessageTextId);
      std::printf("text-begin\n%s\ntext-end\n", ToUtf8(text ? ControlText(text) : L"").c_str());
      std::fflush(stdout);
      PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
      return 0;
    }
    Sleep(100);
  }
  return 1;
}
