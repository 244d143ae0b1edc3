// Sending an HTTP report over TLS. The server's certificate must chain to a
// trusted root and name the host the report goes to: a report is never
// handed to whoever answers in the server's place.
#pragma once

#include <windows.h>

#include <string>

#include "product/rkstat/http_text.h"

// An HTTPS POST of the body, within the bound. With waitForAnswer, true only
// when the server answered with a 2xx status; otherwise true once the
// request was written.
bool PostHttps(const HttpUrl& url, const std::string& body, bool waitForAnswer, DWORD boundMs);
