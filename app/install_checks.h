// The checks the install button runs before the install starts.
#pragma once

#include <cstdint>
#include <string>

// A folder the installer can use: it begins with a drive letter and a colon
// and exists as a folder (or file) once creating it has been tried. The
// folder is left created.
bool IsLegalInstallPath(const std::wstring& folder);

// Free bytes on the drive of the folder ("D:" of "D:\Apps"); 0 when unknown.
uint64_t FreeBytesOnDrive(const std::wstring& folder);
