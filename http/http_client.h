// The program's HTTP client: one libcurl easy handle that fetches a URL with
// a GET, follows redirections and hands the body back as UTF-16 text.
// libcurl's global state must be set up first (ScopedCurlGlobalInit).
//
// libcurl's header is kept out of this one: it brings the system's socket
// header, which must come before <windows.h> in every file that includes it.
#pragma once

#include <atomic>
#include <cstddef>
#include <memory>
#include <string>

struct curl_slist;

class CHttpClient {
 public:
  // The longest response body taken; a longer one fails the request
  // (CURLE_WRITE_ERROR or CURLE_FILESIZE_EXCEEDED).
  static constexpr size_t kMaxResponseBytes = 8 * 1024;

  CHttpClient() = default;
  CHttpClient(const CHttpClient&) = delete;
  CHttpClient& operator=(const CHttpClient&) = delete;

  // Fetches `url` (escaped with EscapeUrlBytes) with the caller's extra
  // headers, if any. Answers libcurl's result code (a CURLcode): CURLE_OK
  // (0) with the body in `out`; CURLE_FAILED_INIT (2) when no handle could
  // be made; otherwise the code of the failed transfer, with `out`
  // unchanged and the handle dropped so that the next request starts on a
  // fresh one. An HTTP error status is not a failure: its page comes back
  // with CURLE_OK.
  int HttpGet(const std::wstring& url, curl_slist* headers, std::wstring& out);

  // Frees the last response body; the handle stays for the next request.
  void Clear();

  // Abandons the running transfer and every later one: the next callback
  // ends it. Safe to call from any thread.
  void RequestStop() { stopRequested_ = true; }

  // libcurl's write callback: appends to the client's response.
  static size_t WriteResponse(char* data, size_t size, size_t count, void* client);

 private:
  struct EasyCleanup {
    void operator()(void* handle) const;
  };

  bool CreateHandle();
  static int Progress(void* client, double, double, double, double);

  std::unique_ptr<void, EasyCleanup> handle_;  // libcurl's easy handle, null until the first request
  std::atomic<bool> stopRequested_{false};
  std::string response_;  // the raw body of the current request
};
