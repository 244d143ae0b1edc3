// Paths in the system's device form ("\Device\HarddiskVolume1\dir\a.exe"),
// as the kernel reports a process's image.
#pragma once

#include <string>
#include <string_view>

// The device part of such a path: everything before its third backslash
// ("\Device\HarddiskVolume1"); the whole path when it has fewer.
std::wstring DevicePrefix(std::wstring_view path);
