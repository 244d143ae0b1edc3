// Registry keys opened and created one way everywhere, each held in a
// UniqueRegKey.
#pragma once

#include <windows.h>

#include <string>

#include "base/handles.h"

// Opens `path` below `parent` (a null parent: ERROR_INVALID_HANDLE) with
// `access`; the system's status, and the key in `key` on success.
LSTATUS OpenRegistryKey(HKEY parent, const std::wstring& path, REGSAM access, UniqueRegKey& key);

// Opens or creates `path` below `root` with `access`; no key when either
// fails (or `root` is null).
UniqueRegKey CreateRegistryKey(HKEY root, const std::wstring& path, REGSAM access);
