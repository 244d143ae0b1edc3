#include "product/rkstat/http_text.h"

#include <cctype>

namespace {

struct Scheme {
  std::string_view prefix;
  unsigned short defaultPort;
  bool secure;
};
constexpr Scheme kSchemes[] = {{"http://", 80, false}, {"https://", 443, true}};

bool AllDigits(std::string_view text) {
  if (text.empty()) return false;
  for (char c : text) {
    if (!std::isdigit(static_cast<unsigned char>(c))) return false;
  }
  return true;
}

bool StartsWithNoCase(std::string_view text, std::string_view head) {
  if (text.size() < head.size()) return false;
  for (size_t i = 0; i < head.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(text[i])) != head[i]) return false;
  }
  return true;
}

const Scheme* SchemeOf(std::string_view url) {
  for (const Scheme& scheme : kSchemes) {
    if (StartsWithNoCase(url, scheme.prefix)) return &scheme;
  }
  return nullptr;
}

unsigned short DefaultPort(bool secure) {
  for (const Scheme& scheme : kSchemes) {
    if (scheme.secure == secure) return scheme.defaultPort;
  }
  return 0;
}

}  // namespace

bool ParseHttpUrl(std::string_view url, HttpUrl& out) {
  const Scheme* scheme = SchemeOf(url);
  if (!scheme) return false;
  std::string_view rest = url.substr(scheme->prefix.size());
  const size_t targetStart = rest.find_first_of("/?");
  std::string_view authority = rest.substr(0, targetStart);
  std::string target = targetStart == std::string_view::npos ? "/" : std::string(rest.substr(targetStart));
  if (target[0] == '?') target.insert(0, "/");

  unsigned port = scheme->defaultPort;
  const size_t colon = authority.rfind(':');
  if (colon != std::string_view::npos) {
    std::string_view digits = authority.substr(colon + 1);
    if (!AllDigits(digits) || digits.size() > 5) return false;
    port = static_cast<unsigned>(std::stoul(std::string(digits)));
    if (port == 0 || port > 65535) return false;
    authority = authority.substr(0, colon);
  }
  if (authority.empty()) return false;
  out.host = std::string(authority);
  out.port = static_cast<unsigned short>(port);
  out.target = std::move(target);
  out.secure = scheme->secure;
  return true;
}

std::string HttpPostRequest(const HttpUrl& url, std::string_view body) {
  std::string host = url.host;
  if (url.port != DefaultPort(url.secure)) host += ":" + std::to_string(url.port);
  std::string request = "POST " + url.target + " HTTP/1.1\r\n";
  request += "Host: " + host + "\r\n";
  request += "User-Agent: rkstat/2.0\r\n";
  request += "Content-Type: application/json\r\n";
  request += "Content-Length: " + std::to_string(body.size()) + "\r\n";
  request += "Connection: close\r\n\r\n";
  request.append(body);
  return request;
}

int HttpStatusCode(std::string_view answer) {
  const size_t lineEnd = answer.find("\r\n");
  if (lineEnd == std::string_view::npos) return 0;
  std::string_view line = answer.substr(0, lineEnd);
  if (!StartsWithNoCase(line, "http/1.")) return 0;
  const size_t space = line.find(' ');
  if (space == std::string_view::npos) return 0;
  std::string_view code = line.substr(space + 1, 3);
  if (code.size() != 3 || !AllDigits(code)) return 0;
  if (line.size() > space + 4 && line[space + 4] != ' ') return 0;
  return std::stoi(std::string(code));
}
