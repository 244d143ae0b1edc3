#include "hostapi/missing_path.h"

#include "base/debug_line.h"

void ReportMissingPath(const wchar_t* function, const std::wstring& path) {
  DebugLine(L"Fun:%ls, Description:%ls it's not exists!\r\n", function, path.c_str());
}
