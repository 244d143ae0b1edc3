#include "log/old_logs.h"

#include <windows.h>

#include "base/handles.h"
#include "log/log_names.h"

namespace {

constexpr char kAllEntries[] = "\\*.*";

}  // namespace

CalendarDate LocalToday() {
  SYSTEMTIME now = {};
  GetLocalTime(&now);
  return {now.wYear, now.wMonth, now.wDay};
}

void RemoveOldLogs(const std::string& folder, const std::string& name, const CalendarDate& today) {
  WIN32_FIND_DATAA entry = {};
  UniqueFindHandle listing(FindFirstFileA((folder + kAllEntries).c_str(), &entry));
  if (!listing) return;
  do {
    if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    if (!IsOldLogName(entry.cFileName, name, today)) continue;
    // A file that another program holds open stays until a later run.
    DeleteFileA((folder + "\\" + entry.cFileName).c_str());
  } while (FindNextFileA(listing.Get(), &entry));
}
