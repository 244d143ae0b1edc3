#include "ui/skin_check/skin_source_access.h"

#include "ui/building/control_factory.h"
#include "ui/markup/markup.h"
#include "ui/resources/skin_source.h"

namespace nebskin {

bool SkinSourceAccess::ReadMarkupText(const std::wstring& name, std::wstring& text, std::wstring& error) {
  return SkinUI::CMarkup::ReadSkinText(name.c_str(), SkinUI::CMarkup::kEncodingUtf8, text, error);
}

bool SkinSourceAccess::ReadPictureBytes(const std::wstring& name, std::vector<uint8_t>& bytes) {
  return SkinUI::SkinSource::Get().ReadPictureBytes(name, bytes);
}

bool SkinSourceAccess::IsControlElement(const std::wstring& element) {
  return SkinUI::CControlFactory::Get().CreatesElement(element);
}

}  // namespace nebskin
