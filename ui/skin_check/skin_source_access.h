// The skin checks reading the process's skin source, with the control
// classes of the framework's factory.
#pragma once

#include "ui/skin_check/skin_check.h"

namespace nebskin {

class SkinSourceAccess : public SkinAccess {
 public:
  bool ReadMarkupText(const std::wstring& name, std::wstring& text, std::wstring& error) override;
  bool ReadPictureBytes(const std::wstring& name, std::vector<uint8_t>& bytes) override;
  bool IsControlElement(const std::wstring& element) override;
};

}  // namespace nebskin
