// WinHTTP in its synchronous mode, on the calling thread: it does the TLS
// handshake and checks the certificate chain and the host name the way the
// system does for every client. Each step is given only the time left of
// the report's bound; the bound holds per step, as WinHTTP's timeouts do.
#include "product/rkstat/https_post.h"

#include <winhttp.h>

#include "base/handles.h"
#include "base/text.h"
#include "product/rkstat/deadline.h"

namespace {

struct InternetHandleTraits {
  using Handle = HINTERNET;
  static Handle Invalid() { return nullptr; }
  static bool IsValid(Handle h) { return h != nullptr; }
  static void Close(Handle h) { WinHttpCloseHandle(h); }
};
using InternetHandle = ScopedHandle<InternetHandleTraits>;

// Every timeout of the next step: what is left of the bound. False once
// nothing is left (0 would mean no timeout at all).
bool BoundNextStep(HINTERNET request, const Deadline& deadline) {
  const int left = static_cast<int>(deadline.RemainingMs());
  return left > 0 && WinHttpSetTimeouts(request, left, left, left, left);
}

bool AnsweredWithSuccess(HINTERNET request) {
  DWORD status = 0;
  DWORD size = sizeof(status);
  if (!WinHttpQueryHeaders(request, WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER,
                           WINHTTP_HEADER_NAME_BY_INDEX, &status, &size, WINHTTP_NO_HEADER_INDEX)) {
    return false;
  }
  return status >= 200 && status < 300;
}

}  // namespace

bool PostHttps(const HttpUrl& url, const std::string& body, bool waitForAnswer, DWORD boundMs) {
  const Deadline deadline(boundMs);
  // Straight to the server, as the plain HTTP reports go.
  InternetHandle session(WinHttpOpen(L"rkstat/2.0", WINHTTP_ACCESS_TYPE_NO_PROXY, WINHTTP_NO_PROXY_NAME,
                                     WINHTTP_NO_PROXY_BYPASS, 0));
  if (!session) return false;
  InternetHandle connection(WinHttpConnect(session.Get(), Utf8ToWide(url.host).c_str(), url.port, 0));
  if (!connection) return false;
  InternetHandle request(WinHttpOpenRequest(connection.Get(), L"POST", Utf8ToWide(url.target).c_str(), nullptr,
                                            WINHTTP_NO_REFERER, WINHTTP_DEFAULT_ACCEPT_TYPES, WINHTTP_FLAG_SECURE));
  if (!request) return false;
  // A redirection is an answer like any other that is not 2xx, as it is
  // for the plain HTTP reports.
  DWORD redirects = WINHTTP_OPTION_REDIRECT_POLICY_NEVER;
  if (!WinHttpSetOption(request.Get(), WINHTTP_OPTION_REDIRECT_POLICY, &redirects, sizeof(redirects))) return false;

  if (!BoundNextStep(request.Get(), deadline)) return false;
  const DWORD length = static_cast<DWORD>(body.size());
  if (!WinHttpSendRequest(request.Get(), L"Content-Type: application/json\r\n", static_cast<DWORD>(-1L),
                          const_cast<char*>(body.data()), length, length, 0)) {
    return false;
  }
  if (!waitForAnswer) return true;
  if (!BoundNextStep(request.Get(), deadline) || !WinHttpReceiveResponse(request.Get(), nullptr)) return false;
  return AnsweredWithSuccess(request.Get());
}
