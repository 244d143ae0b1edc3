#include "hostapi/device_path.h"

namespace {

constexpr int kDeviceSeparators = 3;

}  // namespace

std::wstring DevicePrefix(std::wstring_view path) {
  size_t end = 0;
  for (int found = 0; found < kDeviceSeparators; ++found) {
    end = path.find(L'\\', found == 0 ? 0 : end + 1);
    if (end == std::wstring_view::npos) return std::wstring(path);
  }
  return std::wstring(path.substr(0, end));
}
