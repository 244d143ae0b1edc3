// Attribute lists and every value format on arbitrary text, including the
// `Window` attributes that read them.
#include "tests/fuzz/fuzz_input.h"
#include "ui/markup/attribute_list.h"
#include "ui/markup/value_formats.h"
#include "ui/markup/window_attributes.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::wstring text = FuzzText(data, size);
  SkinUI::WindowAttributes window;
  for (const auto& [key, value] : SkinUI::ParseAttributeList(text)) {
    SkinUI::ApplyWindowAttribute(window, key, value);
    SkinUI::ParseInteger(value);
    SkinUI::ParseColour(value);
    SkinUI::ParseBool(value);
    float reals[4];
    SkinUI::ParseRealList(value, reals, 4);
  }
  SkinUI::ParseRect(text);
  float reals[4];
  SkinUI::ParseRealList(text, reals, 4);
  return 0;
}
