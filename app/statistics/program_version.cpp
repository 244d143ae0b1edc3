#include "app/statistics/program_version.h"

#include <vector>

#include "base/module_resource.h"

namespace {

constexpr std::array<DWORD, 4> kVersionWithoutRecord = {1, 0, 0, 1};
constexpr WORD kVersionRecordId = 1;  // VS_VERSION_INFO
constexpr wchar_t kFixedInfoBlock[] = L"\\";

}  // namespace

std::array<DWORD, 4> ProgramProductVersion() {
  ResourceView view;
  if (FindModuleResource(RT_VERSION, MAKEINTRESOURCEW(kVersionRecordId), view) != ResourceStatus::kFound) {
    return kVersionWithoutRecord;
  }
  // The query may write into the record, which is mapped read-only.
  std::vector<unsigned char> record(view.data, view.data + view.size);
  VS_FIXEDFILEINFO* info = nullptr;
  UINT length = 0;
  if (!VerQueryValueW(record.data(), kFixedInfoBlock, reinterpret_cast<void**>(&info), &length) || !info ||
      length < sizeof(VS_FIXEDFILEINFO)) {
    return kVersionWithoutRecord;
  }
  return {HIWORD(info->dwProductVersionMS), LOWORD(info->dwProductVersionMS),
          HIWORD(info->dwProductVersionLS), LOWORD(info->dwProductVersionLS)};
}
