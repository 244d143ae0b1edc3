// rkstat.dll: the product's statistics client. The installer's statistics
// module and the install scripts load it from the install folder and call
// these exports by name, with the standard calling convention; texts come
// from the module in the ANSI code page and from the scripts in UTF-8.
//
// The identity and the endpoints are given first (stat_appid, stat_unionid,
// stat_version_ex, stat_level, stat_dispatch_addr, stat_install_addr); the
// reports then go out at once: install events as UDP datagrams to the
// install endpoint, action codes as datagrams to the dispatch endpoint,
// and stat_http_post as an HTTP or HTTPS POST. No call waits longer than a
// short bound for the network and the library starts no thread.
#include <windows.h>

#include <cstdint>
#include <cwchar>
#include <mutex>
#include <string>

#include "base/text.h"
#include "product/rkstat/https_post.h"
#include "product/rkstat/net_send.h"
#include "product/rkstat/stat_record.h"

#define STAT_EXPORT extern "C" __declspec(dllexport)

namespace {

constexpr DWORD kDatagramBoundMs = 1000;
constexpr DWORD kHttpBoundMs = 3000;

struct Endpoint {
  std::wstring host;
  unsigned short port = 0;
  bool Set() const { return !host.empty() && port != 0; }
};

struct StatState {
  StatIdentity identity;
  Endpoint dispatch;
  Endpoint install;
  int lastInstallKind = 0;
  bool online = true;
  bool closed = false;
};

std::mutex stateLock;
StatState state;

StatState Snapshot() {
  std::lock_guard<std::mutex> hold(stateLock);
  return state;
}

unsigned short PortOf(unsigned value) {
  return value <= 65535 ? static_cast<unsigned short>(value) : 0;
}

// A deployment may route the action reports elsewhere than the installer
// says, with RKSTAT_DISPATCH=host:port (the tests send them to a local
// collector this way).
bool DispatchOverride(Endpoint& endpoint) {
  wchar_t text[256] = {};
  const DWORD length = GetEnvironmentVariableW(L"RKSTAT_DISPATCH", text, 256);
  if (length == 0 || length >= 256) return false;
  const std::wstring value(text, length);
  const size_t colon = value.rfind(L':');
  if (colon == std::wstring::npos || colon == 0) return false;
  endpoint = {value.substr(0, colon), PortOf(static_cast<unsigned>(std::wcstoul(value.c_str() + colon + 1, nullptr, 10)))};
  return endpoint.Set();
}

}  // namespace

STAT_EXPORT void __stdcall stat_appid(unsigned char appId) {
  std::lock_guard<std::mutex> hold(stateLock);
  state.identity.appId = appId;
}

STAT_EXPORT void __stdcall stat_unionid(std::uint32_t unionId) {
  std::lock_guard<std::mutex> hold(stateLock);
  state.identity.unionId = unionId;
}

STAT_EXPORT void __stdcall stat_version_ex(std::uint32_t major, std::uint32_t minor, std::uint32_t build,
                                           std::uint32_t revision) {
  std::lock_guard<std::mutex> hold(stateLock);
  state.identity.version[0] = major;
  state.identity.version[1] = minor;
  state.identity.version[2] = build;
  state.identity.version[3] = revision;
}

STAT_EXPORT void __stdcall stat_level(int level) {
  std::lock_guard<std::mutex> hold(stateLock);
  state.identity.level = level;
}

STAT_EXPORT void __stdcall stat_dispatch_addr(const char* host, unsigned port) {
  std::lock_guard<std::mutex> hold(stateLock);
  if (!DispatchOverride(state.dispatch)) state.dispatch = {host ? AnsiToWide(host) : std::wstring(), PortOf(port)};
}

STAT_EXPORT void __stdcall stat_install_addr(const char* host, unsigned port) {
  std::lock_guard<std::mutex> hold(stateLock);
  state.install = {host ? Utf8ToWide(host) : std::wstring(), PortOf(port)};
}

// Ready once the application is named; reports need their endpoints too.
STAT_EXPORT BOOL __stdcall stat_init() {
  std::lock_guard<std::mutex> hold(stateLock);
  state.online = true;
  return !state.closed && state.identity.appId != 0;
}

// 1 when the event datagram went out.
STAT_EXPORT int __stdcall stat_install(int kind) {
  const StatState now = Snapshot();
  if (now.closed || !now.install.Set()) return 0;
  {
    std::lock_guard<std::mutex> hold(stateLock);
    state.lastInstallKind = kind;
  }
  return SendDatagram(now.install.host, now.install.port, InstallRecord(now.identity, kind), kDatagramBoundMs)
             ? 1 : 0;
}

// Posts `length` bytes of `body`, or the library's own report when body is
// null. With waitForAnswer the server must accept it (2xx); 1 when sent.
STAT_EXPORT int __stdcall stat_http_post(const char* url, const char* body, unsigned length, BOOL waitForAnswer) {
  const StatState now = Snapshot();
  HttpUrl target;
  if (now.closed || !url || !ParseHttpUrl(url, target)) return 0;
  const std::string content = body ? std::string(body, length) : ReportRecord(now.identity, now.lastInstallKind);
  const bool wait = waitForAnswer != FALSE;
  const bool sent = target.secure ? PostHttps(target, content, wait, kHttpBoundMs)
                                  : PostHttp(target, content, wait, kHttpBoundMs);
  return sent ? 1 : 0;
}

STAT_EXPORT void __stdcall stat_mutilaction(const std::uint32_t* codes, unsigned count, unsigned char) {
  const StatState now = Snapshot();
  if (now.closed || !now.online || !now.dispatch.Set() || !codes || count == 0) return;
  SendDatagram(now.dispatch.host, now.dispatch.port, ActionRecord(now.identity, codes, count), kDatagramBoundMs);
}

// No more action reports until the next stat_init.
STAT_EXPORT void __stdcall stat_offline() {
  std::lock_guard<std::mutex> hold(stateLock);
  state.online = false;
}

// Nothing is pending between calls, so closing only forgets the identity
// and the endpoints; later reports are refused.
STAT_EXPORT void __stdcall stat_close(unsigned) {
  std::lock_guard<std::mutex> hold(stateLock);
  state = StatState{};
  state.closed = true;
}
