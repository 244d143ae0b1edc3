#include "base/registry_key.h"

LSTATUS OpenRegistryKey(HKEY parent, const std::wstring& path, REGSAM access, UniqueRegKey& key) {
  if (!parent) return ERROR_INVALID_HANDLE;
  HKEY opened = nullptr;
  const LSTATUS status = RegOpenKeyExW(parent, path.c_str(), 0, access, &opened);
  if (status == ERROR_SUCCESS) key.Reset(opened);
  return status;
}

UniqueRegKey CreateRegistryKey(HKEY root, const std::wstring& path, REGSAM access) {
  HKEY created = nullptr;
  if (!root || RegCreateKeyExW(root, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, access, nullptr, &created,
                               nullptr) != ERROR_SUCCESS) {
    return UniqueRegKey();
  }
  return UniqueRegKey(created);
}
