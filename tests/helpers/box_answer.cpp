// Answers the message box that a program under test shows: waits for a
// top-level dialog with the given caption, prints its message text (UTF-8)
// between "text-begin" and "text-end" lines followed by the ids of its
// visible buttons on a "buttons:" line, presses a button (the default
// OK unless --button names another) and waits until the box has closed, so
// that a following answer cannot meet the same box again.
// Usage: box_answer CAPTION [--seconds N] [--button ok|cancel|abort|retry|ignore|yes|no] [--hold]
// --hold: after printing the text, wait for a line on standard input before
// pressing, so the caller can change the world while the box is up.
// Exit code 0 when a box was answered, 1 when none appeared in time, 2 for a
// bad command line.
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

#include "base/text.h"

namespace {

constexpr int kMessageTextId = 0xFFFF;  // the static control of a message box
constexpr int kPollMilliseconds = 100;
constexpr int kLastButtonId = IDCONTINUE;

struct ButtonName {
  const wchar_t* name;
  int id;
};
constexpr ButtonName kButtons[] = {
    {L"ok", IDOK},         {L"cancel", IDCANCEL}, {L"abort", IDABORT}, {L"retry", IDRETRY},
    {L"ignore", IDIGNORE}, {L"yes", IDYES},       {L"no", IDNO},
};

struct Options {
  const wchar_t* caption = nullptr;
  int seconds = 60;
  int button = IDOK;
  bool hold = false;
};

bool ParseButton(const wchar_t* name, int& id) {
  for (const ButtonName& button : kButtons) {
    if (std::wcscmp(button.name, name) == 0) {
      id = button.id;
      return true;
    }
  }
  return false;
}

bool ParseOptions(int argc, wchar_t** argv, Options& options) {
  if (argc < 2) return false;
  options.caption = argv[1];
  for (int i = 2; i < argc; ++i) {
    const bool hasValue = i + 1 < argc;
    if (std::wcscmp(argv[i], L"--seconds") == 0 && hasValue) {
      options.seconds = _wtoi(argv[++i]);
    } else if (std::wcscmp(argv[i], L"--button") == 0 && hasValue) {
      if (!ParseButton(argv[++i], options.button)) return false;
    } else if (std::wcscmp(argv[i], L"--hold") == 0) {
      options.hold = true;
    } else {
      return false;
    }
  }
  return true;
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

HWND WaitForBox(const Options& options) {
  for (int waited = 0; waited < options.seconds * 1000; waited += kPollMilliseconds) {
    // A box is visible once its text and buttons are in place.
    const HWND box = FindWindowW(L"#32770", options.caption);
    if (box && IsWindowVisible(box)) return box;
    Sleep(kPollMilliseconds);
  }
  return nullptr;
}

void WaitUntilClosed(HWND box, int seconds) {
  for (int waited = 0; IsWindow(box) && waited < seconds * 1000; waited += kPollMilliseconds) {
    Sleep(kPollMilliseconds);
  }
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  Options options;
  if (!ParseOptions(argc, argv, options)) return 2;

  const HWND box = WaitForBox(options);
  if (!box) return 1;
  const HWND text = GetDlgItem(box, kMessageTextId);
  std::printf("text-begin\n%s\ntext-end\n", WideToUtf8(text ? ControlText(text) : L"").c_str());
  std::printf("buttons:%s\n", VisibleButtons(box).c_str());
  std::fflush(stdout);
  if (options.hold) {
    char line[16];
    std::fgets(line, sizeof line, stdin);
  }
  PostMessageW(box, WM_COMMAND, MAKEWPARAM(options.button, BN_CLICKED), 0);
  WaitUntilClosed(box, options.seconds);
  return 0;
}
