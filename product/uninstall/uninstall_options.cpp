#include "product/uninstall/uninstall_options.h"

#include "base/text_rules.h"

namespace {

UninstallReason& ReasonOf(UninstallOptions& options) {
  if (!options.reason) options.reason.emplace();
  return *options.reason;
}

}  // namespace

UninstallOptions ParseUninstallOptions(const std::vector<std::wstring>& arguments) {
  UninstallOptions options;
  for (const std::wstring& argument : arguments) {
    if (argument.size() < 2 || argument[0] != L'/') continue;
    const size_t colon = argument.find(L':');
    const std::wstring name = argument.substr(1, colon == std::wstring::npos ? std::wstring::npos : colon - 1);
    const std::wstring value = colon == std::wstring::npos ? std::wstring() : argument.substr(colon + 1);
    const bool hasValue = colon != std::wstring::npos;
    if (!hasValue && EqualsIgnoringCase(name, L"S")) {
      options.silent = true;
    } else if (!hasValue && EqualsIgnoringCase(name, L"ClearUserData")) {
      options.clearUserData = true;
    } else if (hasValue && EqualsIgnoringCase(name, L"reason")) {
      ReasonOf(options).ids = value;
    } else if (hasValue && EqualsIgnoringCase(name, L"suggest")) {
      ReasonOf(options).suggestion = value;
    } else if (hasValue && EqualsIgnoringCase(name, L"contact")) {
      ReasonOf(options).contact = value;
    } else if (hasValue && EqualsIgnoringCase(name, L"from")) {
      options.installFolder = value;
    }
  }
  return options;
}

std::wstring TemporaryCopySwitches(const std::wstring& installFolder) {
  return QuoteArgument(L"/from:" + installFolder);
}

// Backslashes are literal except before a quote: those before a quote, and
// those before the closing quote, are doubled.
std::wstring QuoteArgument(const std::wstring& argument) {
  std::wstring quoted = L"\"";
  size_t backslashes = 0;
  for (wchar_t c : argument) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    quoted.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
    backslashes = 0;
    quoted += c;
  }
  quoted.append(backslashes * 2, L'\\');
  quoted += L'"';
  return quoted;
}
