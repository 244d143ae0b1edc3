// The one way to make a path absolute as the system would read it.
#pragma once

#include <string>

// The full path the system makes of `path`: the current folder (or the
// drive's) before a relative one, "." and ".." taken out, doubled
// separators and trailing dots dropped. The disk is not asked. False when
// the system cannot make one.
bool FullPathName(const std::wstring& path, std::wstring* full);
