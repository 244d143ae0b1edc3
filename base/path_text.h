// Paths taken apart and put together as text, without asking the file
// system.
#pragma once

#include <optional>
#include <string>

// The path without its last component, the way the shell cuts a path for a
// working folder: "C:\dir\file.exe" gives "C:\dir", "C:\file.exe" gives
// "C:\" (a drive root keeps its backslash), a bare name gives "".
std::wstring PathFolder(const std::wstring& path);

// The folder followed by the component, with a backslash between them when
// the folder does not end in one; an empty folder gives the component
// alone. Nothing when the result would not fit a 260-unit path buffer.
std::optional<std::wstring> JoinPath(const std::wstring& folder, const std::wstring& component);

// True for a path that names its drive and starts at its root ("C:\...")
// or a network path ("\\server\..."): one that no search order can turn
// into another file.
bool IsFullPath(const std::wstring& path);
