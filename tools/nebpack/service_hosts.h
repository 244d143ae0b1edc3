// The hosts the settings name for the installer's web services: the number
// query's ("host" or "host:port", asked over https) and the statistics
// dispatch host (a bare host; the library adds its own port). Plain text
// rules, tested on their own.
#pragma once

#include <string>

namespace nebpack {

// Empty when the text is a host name (letters, digits and "-" in labels of
// 1 to 63 characters, neither starting nor ending with "-", joined by ".",
// 253 characters at most) or a dotted address, followed by ":port" (1 to
// 65535) when a port is allowed; otherwise what is wrong with it.
std::wstring HostProblem(const std::wstring& text, bool portAllowed);

}  // namespace nebpack
