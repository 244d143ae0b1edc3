// Read-only views of resources in the program's own module.
#pragma once

#include <windows.h>

#include <cstddef>

enum class ResourceStatus { kFound, kNotLoadable, kNotLockable, kEmpty };

struct ResourceView {
  const unsigned char* data = nullptr;
  size_t size = 0;
};

// Finds, loads and locks the resource. Resources of the running module stay
// mapped for the life of the process, so the view needs no release.
ResourceStatus FindModuleResource(const wchar_t* type, const wchar_t* name, ResourceView& view);
