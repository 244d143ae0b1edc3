// Sending to the statistics endpoints. Every call returns within its bound,
// whether the network answers or not, and leaves no thread behind: name
// lookups run in the system's own asynchronous resolver and everything else
// on non-blocking sockets of the calling thread.
#pragma once

#include <windows.h>

#include <string>

#include "product/rkstat/http_text.h"

// One UDP datagram to host:port. True when it was handed to the network.
bool SendDatagram(const std::wstring& host, unsigned short port, const std::string& bytes, DWORD boundMs);

// An HTTP POST of the body. With waitForAnswer, true only when the server
// answered with a 2xx status; otherwise true once the request was written.
bool PostHttp(const HttpUrl& url, const std::string& body, bool waitForAnswer, DWORD boundMs);
