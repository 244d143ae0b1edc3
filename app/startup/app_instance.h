// The single-instance marker: a named mutex that the first instance creates
// and keeps open until it ends.
#pragma once

#include <windows.h>

#include <string>

constexpr wchar_t kDefaultMutexBaseName[] = L"Global\\{1CF5C34D-F0D8-4507-8600-70E64159BB61}";

// The object name: the base name, followed by the app id in decimal when a
// suffix is wanted and the id is not 0.
std::wstring AppInstanceName(const std::wstring& baseName, int appId, bool useSuffix);

// Creates the mutex `name`. Returns a handle only when another instance
// already holds the name (after bringing its dialog forward); otherwise null,
// and a mutex created here stays open until the process ends.
HANDLE CreateAppInstance(const std::wstring& name);
