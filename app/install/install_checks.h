// The checks the install button (and the silent install) run before the
// install starts.
#pragma once

#include <cstdint>
#include <string>

// A folder the installer can use: it begins with a drive letter and a colon
// and exists as a folder (or file) once creating it has been tried. The
// folder is left created.
bool IsLegalInstallPath(const std::wstring& folder);

enum class InstallFolderCheck {
  kUsable,
  kIllegal,   // no folder from a drive's root, a well-known folder, inside the system folder, not creatable
  kOccupied,  // holds files of its own, and no earlier install of the product
};

// Checks the folder typed or given (`typed`, made into the install folder
// with InstallFolderOf and `baseName`) and, when usable, creates it and puts
// its full path, the one checked, in `folder`. The uninstall removes an install folder whole, so it must
// be one that holds nothing but the product.
InstallFolderCheck CheckInstallFolder(const std::wstring& typed, const std::wstring& baseName, std::wstring* folder);

// Free bytes on the drive of the folder ("D:" of "D:\Apps"); 0 when unknown.
uint64_t FreeBytesOnDrive(const std::wstring& folder);
