#include "product/rkstat/net_send.h"

#include <winsock2.h>
#include <ws2tcpip.h>

#include "base/text.h"
#include "product/rkstat/deadline.h"

namespace {

timeval RemainingTimeval(const Deadline& deadline) {
  const DWORD ms = deadline.RemainingMs();
  return timeval{static_cast<long>(ms / 1000), static_cast<long>((ms % 1000) * 1000)};
}

class WinsockSession {
 public:
  WinsockSession() : started_(WSAStartup(MAKEWORD(2, 2), &data_) == 0) {}
  WinsockSession(const WinsockSession&) = delete;
  WinsockSession& operator=(const WinsockSession&) = delete;
  ~WinsockSession() { if (started_) WSACleanup(); }
  bool Started() const { return started_; }

 private:
  WSADATA data_;
  bool started_;
};

class Socket {
 public:
  explicit Socket(SOCKET s) : s_(s) {}
  Socket(const Socket&) = delete;
  Socket& operator=(const Socket&) = delete;
  ~Socket() { if (s_ != INVALID_SOCKET) closesocket(s_); }
  SOCKET Get() const { return s_; }
  bool Valid() const { return s_ != INVALID_SOCKET; }

 private:
  SOCKET s_;
};

struct Endpoint {
  sockaddr_storage address{};
  int length = 0;
};

bool CopyFirst(const sockaddr* address, size_t length, Endpoint& out) {
  if (!address || length > sizeof(out.address)) return false;
  memcpy(&out.address, address, length);
  out.length = static_cast<int>(length);
  return true;
}

// An address written as numbers needs no resolver.
bool ResolveNumeric(const std::wstring& host, const std::wstring& port, int socketType, Endpoint& out) {
  ADDRINFOW hints{};
  hints.ai_flags = AI_NUMERICHOST;
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = socketType;
  ADDRINFOW* found = nullptr;
  if (GetAddrInfoW(host.c_str(), port.c_str(), &hints, &found) != 0) return false;
  const bool copied = CopyFirst(found->ai_addr, found->ai_addrlen, out);
  FreeAddrInfoW(found);
  return copied;
}

using OverlappedResultFn = INT(WSAAPI*)(LPOVERLAPPED);
using CancelFn = INT(WSAAPI*)(LPHANDLE);

// One asynchronous lookup. The system writes into it until the lookup has
// completed; a lookup that neither completes nor cancels within the bound
// is left to the system and its block is never freed.
struct Lookup {
  OVERLAPPED overlapped{};
  ADDRINFOEXW* result = nullptr;
  HANDLE cancelHandle = nullptr;
};

constexpr DWORD kCancelGraceMs = 200;

bool ResolveName(const std::wstring& host, const std::wstring& port, int socketType, const Deadline& deadline,
                 Endpoint& out) {
  HMODULE ws2 = GetModuleHandleW(L"ws2_32.dll");
  auto overlappedResult = reinterpret_cast<OverlappedResultFn>(
      reinterpret_cast<void*>(GetProcAddress(ws2, "GetAddrInfoExOverlappedResult")));
  auto cancel = reinterpret_cast<CancelFn>(reinterpret_cast<void*>(GetProcAddress(ws2, "GetAddrInfoExCancel")));
  if (!overlappedResult || !cancel) return false;

  ADDRINFOEXW hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = socketType;
  auto* lookup = new Lookup;
  lookup->overlapped.hEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  if (!lookup->overlapped.hEvent) {
    delete lookup;
    return false;
  }
  int status = GetAddrInfoExW(host.c_str(), port.c_str(), NS_DNS, nullptr, &hints, &lookup->result, nullptr,
                              &lookup->overlapped, nullptr, &lookup->cancelHandle);
  if (status == WSA_IO_PENDING) {
    bool done = WaitForSingleObject(lookup->overlapped.hEvent, deadline.RemainingMs()) == WAIT_OBJECT_0;
    if (!done) {
      cancel(&lookup->cancelHandle);
      done = WaitForSingleObject(lookup->overlapped.hEvent, kCancelGraceMs) == WAIT_OBJECT_0;
    }
    if (!done) return false;  // the block stays with the system
    status = overlappedResult(&lookup->overlapped);
  }
  const bool copied = status == 0 && lookup->result &&
                      CopyFirst(lookup->result->ai_addr, lookup->result->ai_addrlen, out);
  if (lookup->result) FreeAddrInfoExW(lookup->result);
  CloseHandle(lookup->overlapped.hEvent);
  delete lookup;
  return copied;
}

bool Resolve(const std::wstring& host, unsigned short port, int socketType, const Deadline& deadline,
             Endpoint& out) {
  const std::wstring service = std::to_wstring(port);
  return ResolveNumeric(host, service, socketType, out) || ResolveName(host, service, socketType, deadline, out);
}

// Waits until the socket can be written (or read) or the deadline passes.
bool WaitReady(SOCKET s, bool forWrite, const Deadline& deadline) {
  fd_set ready, failed;
  FD_ZERO(&ready);
  FD_ZERO(&failed);
  FD_SET(s, &ready);
  FD_SET(s, &failed);
  timeval wait = RemainingTimeval(deadline);
  const int count = forWrite ? select(0, nullptr, &ready, &failed, &wait) : select(0, &ready, nullptr, &failed, &wait);
  return count > 0 && FD_ISSET(s, &ready) && !FD_ISSET(s, &failed);
}

bool ConnectWithin(SOCKET s, const Endpoint& to, const Deadline& deadline) {
  if (connect(s, reinterpret_cast<const sockaddr*>(&to.address), to.length) == 0) return true;
  if (WSAGetLastError() != WSAEWOULDBLOCK) return false;
  if (!WaitReady(s, true, deadline)) return false;
  int error = 0;
  int length = sizeof(error);
  return getsockopt(s, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&error), &length) == 0 && error == 0;
}

bool SendAllWithin(SOCKET s, const std::string& bytes, const Deadline& deadline) {
  size_t sent = 0;
  while (sent < bytes.size()) {
    if (!WaitReady(s, true, deadline)) return false;
    const int n = send(s, bytes.data() + sent, static_cast<int>(bytes.size() - sent), 0);
    if (n == SOCKET_ERROR) {
      if (WSAGetLastError() == WSAEWOULDBLOCK) continue;
      return false;
    }
    sent += static_cast<size_t>(n);
  }
  return true;
}

// Reads until the status line is complete; its code, or 0.
int ReadStatusWithin(SOCKET s, const Deadline& deadline) {
  std::string answer;
  char buffer[512];
  while (answer.find("\r\n") == std::string::npos) {
    if (!WaitReady(s, false, deadline)) return 0;
    const int n = recv(s, buffer, sizeof(buffer), 0);
    if (n == 0) break;
    if (n == SOCKET_ERROR) {
      if (WSAGetLastError() == WSAEWOULDBLOCK) continue;
      return 0;
    }
    answer.append(buffer, static_cast<size_t>(n));
  }
  return HttpStatusCode(answer);
}

}  // namespace

bool SendDatagram(const std::wstring& host, unsigned short port, const std::string& bytes, DWORD boundMs) {
  const Deadline deadline(boundMs);
  WinsockSession winsock;
  Endpoint to;
  if (!winsock.Started() || !Resolve(host, port, SOCK_DGRAM, deadline, to)) return false;
  Socket s(socket(to.address.ss_family, SOCK_DGRAM, IPPROTO_UDP));
  if (!s.Valid()) return false;
  return sendto(s.Get(), bytes.data(), static_cast<int>(bytes.size()), 0,
                reinterpret_cast<const sockaddr*>(&to.address), to.length) == static_cast<int>(bytes.size());
}

bool PostHttp(const HttpUrl& url, const std::string& body, bool waitForAnswer, DWORD boundMs) {
  const Deadline deadline(boundMs);
  WinsockSession winsock;
  Endpoint to;
  if (!winsock.Started() || !Resolve(Utf8ToWide(url.host), url.port, SOCK_STREAM, deadline, to)) return false;
  Socket s(socket(to.address.ss_family, SOCK_STREAM, IPPROTO_TCP));
  u_long nonBlocking = 1;
  if (!s.Valid() || ioctlsocket(s.Get(), FIONBIO, &nonBlocking) != 0) return false;
  if (!ConnectWithin(s.Get(), to, deadline)) return false;
  if (!SendAllWithin(s.Get(), HttpPostRequest(url, body), deadline)) return false;
  if (!waitForAnswer) return true;
  const int status = ReadStatusWithin(s.Get(), deadline);
  return status >= 200 && status < 300;
}
