// %NAME% references in paths that scripts hand to host functions.
#pragma once

#include <string>

// The text with %NAME% references replaced from the process environment.
// An expansion longer than a 260-unit path buffer is returned whole rather
// than cut: the system call that uses it then fails on its own terms, and a
// debug line records the length. A failed or empty expansion gives the empty
// text.
std::wstring ExpandEnvPath(const std::wstring& text);
