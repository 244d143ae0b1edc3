// The text of the statistics library's HTTP exchange: the address it is
// given, the request it writes and the answer's status. No sockets here.
#pragma once

#include <string>
#include <string_view>

struct HttpUrl {
  std::string host;
  unsigned short port = 80;
  std::string target;  // path and query, "/" at least
  bool secure = false;  // https: the exchange goes over TLS
};

// "http://host[:port][/path][?query]", or "https://..." with 443 as the
// port it leaves out. False for another scheme, an empty host or a port
// that is not a number from 1 to 65535.
bool ParseHttpUrl(std::string_view url, HttpUrl& out);

// A complete POST request with the body, closing the connection after the
// answer.
std::string HttpPostRequest(const HttpUrl& url, std::string_view body);

// The status code of the answer's first line once that line is complete
// ("HTTP/1.x 200 ..."); 0 while it is incomplete or when it is not a status
// line.
int HttpStatusCode(std::string_view answer);
