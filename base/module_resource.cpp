#include "base/module_resource.h"

ResourceStatus FindModuleResource(const wchar_t* type, const wchar_t* name, ResourceView& view) {
  const HMODULE self = GetModuleHandleW(nullptr);
  const HRSRC info = FindResourceW(self, name, type);
  const HGLOBAL loaded = info ? LoadResource(self, info) : nullptr;
  if (!loaded) return ResourceStatus::kNotLoadable;
  const void* data = LockResource(loaded);
  if (!data) return ResourceStatus::kNotLockable;
  view.data = static_cast<const unsigned char*>(data);
  view.size = SizeofResource(self, info);
  return view.size == 0 ? ResourceStatus::kEmpty : ResourceStatus::kFound;
}
