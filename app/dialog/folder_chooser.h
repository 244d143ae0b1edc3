// The install folder chooser: the system's folder picker, started where the
// path box points, and the rule that keeps the product's own folder at the
// end of what the user picks.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

// The picked folder with the base folder name appended unless the picked
// folder already ends in it.
std::wstring CheckDir(const std::wstring& picked, const std::wstring& baseName);

// Where the picker starts: the folder itself when it exists, else its
// parent, else Program Files.
std::wstring ChooserStartFolder(const std::wstring& current);

// Shows the picker over the owner; the picked folder's file-system path, or
// nothing when the user cancels or the picker cannot be made.
std::optional<std::wstring> PickFolder(HWND owner, const std::wstring& startFolder);
