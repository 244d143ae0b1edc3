#include "http/curl_global_init.h"

#include <curl/curl.h>

#include "base/debug_line.h"

// Every feature, TLS and the system's socket library included.
ScopedCurlGlobalInit::ScopedCurlGlobalInit()
    : initialised_(curl_global_init(CURL_GLOBAL_ALL) == CURLE_OK) {
  if (!initialised_) DebugLine(L"curl_global_init failed\r\n");
}

ScopedCurlGlobalInit::~ScopedCurlGlobalInit() {
  if (initialised_) curl_global_cleanup();
}
