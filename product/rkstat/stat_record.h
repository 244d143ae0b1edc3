// What the statistics library sends: one JSON object per report, naming the
// application, its channel, version and report level, then the event.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

struct StatIdentity {
  unsigned appId = 0;
  std::uint32_t unionId = 0;
  std::uint32_t version[4] = {0, 0, 0, 0};
  int level = 0;
};

// An install event: 1 install, 2 uninstall, 3 install over an earlier one.
std::string InstallRecord(const StatIdentity& identity, int kind);
// Action codes reported together.
std::string ActionRecord(const StatIdentity& identity, const std::uint32_t* codes, size_t count);
// The body of an HTTP report whose caller gave none: the identity and the
// last install event sent (0 when none was).
std::string ReportRecord(const StatIdentity& identity, int lastInstallKind);
