#include "app/statistics/stat_export_table.h"

#include <iterator>

namespace {

// In the order of StatExport.
constexpr const char* kExportNames[] = {
    "stat_init",        "stat_proxy",       "stat_dispatch_addr", "stat_online_addr",
    "stat_action_addr", "stat_install_addr", "stat_loginout_addr", "stat_unionid",
    "stat_appid",       "stat_level",       "stat_version",       "stat_version_ex",
    "stat_online",      "stat_offline",     "stat_action",        "stat_mutilaction",
    "stat_install",     "stat_close",       "stat_app_install",   "stat_http_post",
};
static_assert(std::size(kExportNames) == static_cast<size_t>(StatExport::kCount),
              "one name for every entry point");

}  // namespace

void StatExportTable::LookUp(HMODULE library) {
  for (size_t i = 0; i < entries_.size(); ++i) entries_[i] = GetProcAddress(library, kExportNames[i]);
}
