#include "tools/nebpack/service_hosts.h"

namespace nebpack {

namespace {

constexpr size_t kMostHostCharacters = 253;
constexpr size_t kMostLabelCharacters = 63;

bool IsLabelCharacter(wchar_t c) {
  return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') || (c >= L'0' && c <= L'9') || c == L'-';
}

std::wstring LabelProblem(const std::wstring& label) {
  if (label.empty()) return L"has an empty part between dots";
  if (label.size() > kMostLabelCharacters) return L"has a part longer than 63 characters";
  if (label.front() == L'-' || label.back() == L'-') return L"has a part that begins or ends with \"-\"";
  for (wchar_t c : label) {
    if (!IsLabelCharacter(c)) return L"holds a character a host name cannot have";
  }
  return {};
}

std::wstring PortProblem(const std::wstring& digits) {
  if (digits.empty() || digits.size() > 5) return L"has no port number from 1 to 65535 after \":\"";
  for (wchar_t c : digits) {
    if (c < L'0' || c > L'9') return L"has no port number from 1 to 65535 after \":\"";
  }
  const unsigned long port = std::stoul(digits);
  return port >= 1 && port <= 65535 ? std::wstring() : L"has no port number from 1 to 65535 after \":\"";
}

}  // namespace

std::wstring HostProblem(const std::wstring& text, bool portAllowed) {
  std::wstring host = text;
  if (const size_t colon = text.find(L':'); colon != std::wstring::npos) {
    if (!portAllowed) return L"names a port, which this host cannot have";
    if (std::wstring problem = PortProblem(text.substr(colon + 1)); !problem.empty()) return problem;
    host = text.substr(0, colon);
  }
  if (host.empty()) return L"is empty";
  if (host.size() > kMostHostCharacters) return L"is longer than 253 characters";
  for (size_t start = 0;;) {
    const size_t dot = host.find(L'.', start);
    const std::wstring label = host.substr(start, dot == std::wstring::npos ? std::wstring::npos : dot - start);
    if (std::wstring problem = LabelProblem(label); !problem.empty()) return problem;
    if (dot == std::wstring::npos) return {};
    start = dot + 1;
  }
}

}  // namespace nebpack
