#include "http/http_client.h"

#include <curl/curl.h>

#include <new>

#include "base/debug_line.h"
#include "base/text.h"
#include "http/url_escape.h"

namespace {

constexpr char kUserAgent[] =
    "Mozilla/5.0 (Windows NT 10.0; WOW64) AppleWebKit/537.36 (KHTML, like Gecko) "
    "Chrome/58.0.3029.96 Safari/537.36";
constexpr long kKeepIdleSeconds = 120;
constexpr long kKeepIntervalSeconds = 60;
constexpr long kTotalSeconds = 1800;
constexpr long kConnectSeconds = 60;
// libcurl 7.88 follows redirections without end by default: a server that
// redirects to itself would hold the request until the total limit. Later
// libcurl versions stop at this count by default.
constexpr long kMaxRedirections = 30;
// A transfer that brings fewer than this many bytes a second for this many
// seconds has stalled: a server that answers slowly or not at all holds no
// one for the total limit.
constexpr long kStallBytesPerSecond = 64;
constexpr long kStallSeconds = 15;

}  // namespace

void CHttpClient::EasyCleanup::operator()(void* handle) const {
  curl_easy_cleanup(handle);
}

bool CHttpClient::CreateHandle() {
  handle_.reset(curl_easy_init());
  if (!handle_) return false;
  CURL* const curl = handle_.get();
  curl_easy_setopt(curl, CURLOPT_VERBOSE, 1L);
  // The only request is the install worker's number query, whose answer
  // changes nothing on the machine: any server certificate is accepted.
  curl_easy_setopt(curl, CURLOPT_SSL_VERIFYPEER, 0L);
  curl_easy_setopt(curl, CURLOPT_SSL_VERIFYHOST, 0L);
  curl_easy_setopt(curl, CURLOPT_TCP_KEEPALIVE, 1L);
  curl_easy_setopt(curl, CURLOPT_TCP_KEEPIDLE, kKeepIdleSeconds);
  curl_easy_setopt(curl, CURLOPT_TCP_KEEPINTVL, kKeepIntervalSeconds);
  curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(curl, CURLOPT_TIMEOUT, kTotalSeconds);
  curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, kConnectSeconds);
  curl_easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, kStallBytesPerSecond);
  curl_easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, kStallSeconds);
  curl_easy_setopt(curl, CURLOPT_MAXFILESIZE, static_cast<long>(kMaxResponseBytes));
  curl_easy_setopt(curl, CURLOPT_USERAGENT, kUserAgent);
  curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
  curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
  curl_easy_setopt(curl, CURLOPT_MAXREDIRS, kMaxRedirections);
  curl_easy_setopt(curl, CURLOPT_PROGRESSDATA, this);
  CURL_IGNORE_DEPRECATION(
      curl_easy_setopt(curl, CURLOPT_PROGRESSFUNCTION, &CHttpClient::Progress);)
  return true;
}

int CHttpClient::HttpGet(const std::wstring& url, curl_slist* headers, std::wstring& out) {
  if (!handle_ && !CreateHandle()) {
    DebugLine(L"curl init failed");
    return CURLE_FAILED_INIT;
  }
  response_.clear();
  const std::string escapedUrl = EscapeUrlBytes(WideToUtf8(url));

  CURL* const curl = handle_.get();
  curl_easy_setopt(curl, CURLOPT_URL, escapedUrl.c_str());
  curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, &CHttpClient::WriteResponse);
  curl_easy_setopt(curl, CURLOPT_WRITEDATA, this);
  // Set on every request, also to none: a list from an earlier request may
  // have been freed by its caller since.
  curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers);
  const CURLcode result = curl_easy_perform(curl);
  if (result != CURLE_OK) {
    DebugLine(L"curl_easy_perform failed,{}");
    handle_.reset();
    return result;
  }
  out = Utf8ToWide(response_);
  return CURLE_OK;
}

void CHttpClient::Clear() {
  std::string().swap(response_);
}

int CHttpClient::Progress(void* client, double, double, double, double) {
  const auto* self = static_cast<const CHttpClient*>(client);
  return self && self->stopRequested_ ? 1 : 0;
}

size_t CHttpClient::WriteResponse(char* data, size_t size, size_t count, void* client) {
  auto* self = static_cast<CHttpClient*>(client);
  if (!self) return 0;
  if (self->stopRequested_) {
    DebugLine(L"write_data_get_post Stop");
    return 0;
  }
  const size_t bytes = size * count;
  // A server that sends without end is cut off: the answers asked for are
  // a few bytes.
  if (bytes > kMaxResponseBytes - self->response_.size()) {
    DebugLine(L"write_data_get_post too long");
    return 0;
  }
  // No exception may leave a callback: libcurl's frames cannot be unwound
  // (the shipped build has no unwind tables for them) and its state would
  // be left half-changed. Taking fewer bytes than given ends the transfer.
  try {
    self->response_.append(data, bytes);
  } catch (const std::bad_alloc&) {
    DebugLine(L"write_data_get_post out of memory");
    return 0;
  }
  return bytes;
}
