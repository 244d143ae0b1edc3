#include "product/rkstat/stat_record.h"

namespace {

// The fields every record starts with, after the event's name.
std::string Head(const StatIdentity& identity, const char* event) {
  std::string version;
  for (int i = 0; i < 4; ++i) {
    if (i) version += '.';
    version += std::to_string(identity.version[i]);
  }
  return std::string("{\"event\":\"") + event + "\",\"appid\":" + std::to_string(identity.appId) +
         ",\"unionid\":" + std::to_string(identity.unionId) + ",\"version\":\"" + version +
         "\",\"level\":" + std::to_string(identity.level);
}

}  // namespace

std::string InstallRecord(const StatIdentity& identity, int kind) {
  return Head(identity, "install") + ",\"type\":" + std::to_string(kind) + "}";
}

std::string ActionRecord(const StatIdentity& identity, const std::uint32_t* codes, size_t count) {
  std::string list;
  for (size_t i = 0; i < count; ++i) {
    if (i) list += ',';
    list += std::to_string(codes[i]);
  }
  return Head(identity, "action") + ",\"codes\":[" + list + "]}";
}

std::string ReportRecord(const StatIdentity& identity, int lastInstallKind) {
  return Head(identity, "report") + ",\"type\":" + std::to_string(lastInstallKind) + "}";
}
