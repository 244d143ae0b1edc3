// The switches another program passes to the installer: "/Name value"
// pieces of the command line. No Windows calls here, so the parser can be
// tested and fuzzed on its own.
#pragma once

#include <map>
#include <string>
#include <string_view>

class CCmdLineSwitches {
 public:
  // Fills the map from the whole command line, program path included.
  // Returns true when at least one piece was found.
  bool Parse(std::wstring_view commandLine);

  // True and the value when the name is present (exact, case-sensitive).
  bool GetSwitch(const std::wstring& name, std::wstring& value) const;
  bool Has(const std::wstring& name) const;

  const std::map<std::wstring, std::wstring>& All() const { return switches_; }

 private:
  std::map<std::wstring, std::wstring> switches_;
};

// Decimal numbers as the switches carry them: leading white space skipped, an
// optional sign, digits up to the first non-digit, 0 when there is no digit.
unsigned long ReadUnsignedDecimal(std::wstring_view text);
long ReadSignedDecimal(std::wstring_view text);
