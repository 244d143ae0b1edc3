// Fetches URLs one after the other with one HTTP client, as the install
// worker does, and prints one line per request:
//   code=N body=HEX
// N is libcurl's result and HEX the UTF-16 units of the text the client
// handed back, big-endian, four digits each. The text starts as "unchanged"
// and is passed to every request, so a failed request shows what it left.
// Usage: http_get [--stop-before | --stop-after-ms MS] [--header-first LINE] URL...
// --stop-before asks the client to stop before the first request;
// --stop-after-ms asks it from another thread while the first one runs;
// --header-first gives the first request one extra header line, in a list
// that stays alive until the end, and the later requests none.
#include <curl/curl.h>
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <thread>

#include "base/text.h"
#include "http/curl_global_init.h"
#include "http/http_client.h"

namespace {

void PrintResult(int code, const std::wstring& body) {
  std::printf("code=%d body=", code);
  for (const wchar_t unit : body) std::printf("%04X", static_cast<unsigned>(unit));
  std::printf("\n");
  std::fflush(stdout);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  ScopedCurlGlobalInit curl;
  if (!curl.Initialised()) return 3;

  CHttpClient client;
  int first = 1;
  DWORD stopAfterMs = 0;
  curl_slist* firstHeaders = nullptr;
  for (; first < argc && std::wcsncmp(argv[first], L"--", 2) == 0; ++first) {
    if (std::wcscmp(argv[first], L"--stop-before") == 0) {
      client.RequestStop();
    } else if (first + 1 < argc && std::wcscmp(argv[first], L"--stop-after-ms") == 0) {
      stopAfterMs = static_cast<DWORD>(_wtoi(argv[++first]));
    } else if (first + 1 < argc && std::wcscmp(argv[first], L"--header-first") == 0) {
      firstHeaders = curl_slist_append(firstHeaders, WideToUtf8(argv[++first]).c_str());
    } else {
      return 2;
    }
  }
  if (first >= argc) return 2;

  std::thread stopper;
  if (stopAfterMs > 0) {
    stopper = std::thread([&client, stopAfterMs] {
      Sleep(stopAfterMs);
      client.RequestStop();
    });
  }
  std::wstring body = L"unchanged";
  for (int i = first; i < argc; ++i) {
    PrintResult(client.HttpGet(argv[i], i == first ? firstHeaders : nullptr, body), body);
  }
  if (stopper.joinable()) stopper.join();
  curl_slist_free_all(firstHeaders);
  return 0;
}
