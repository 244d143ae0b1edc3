// The text the skin puts in the dialog's path box, made into the folder it
// shows: a "$name$" in it stands for the script global `name`. Plain text
// arithmetic, tested on its own.
#pragma once

#include <functional>
#include <optional>
#include <string>

// The value of a script global by name; empty when it has none.
using GlobalTextLookup = std::function<std::wstring(const std::wstring& name)>;

// The text with every "$name$" of the first such pair replaced by the
// global's value, and `productFolder` ("\Lumetrica") appended unless the
// text ends in it. Nothing when the text holds no pair of "$" or the global
// is empty: the box keeps its text.
std::optional<std::wstring> ExpandPathBoxText(const std::wstring& text, const GlobalTextLookup& valueOf,
                                              const std::wstring& productFolder);
