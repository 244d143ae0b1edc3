// Image drawing strings at every scale step, split into a drawing string and
// a modifier at the first newline; the destination arithmetic runs on what
// they give.
#include "tests/fuzz/fuzz_input.h"
#include "ui/render/image_drawing.h"
#include "ui/resources/skin_image_name.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::wstring text = FuzzText(data, size);
  const size_t split = text.find(L'\n');
  const std::wstring drawString = text.substr(0, split);
  const std::wstring modifier = split == std::wstring::npos ? std::wstring() : text.substr(split + 1);
  const SkinUI::VariantExists everyOther = [](const std::wstring& name) { return name.size() % 2 == 0; };
  for (int dpi : {96, 120, 144, 168, 192}) {
    SkinUI::CDpiScaler scaler;
    scaler.SetDpi(dpi);
    const SkinUI::ImageDrawing drawing = SkinUI::ParseImageDrawing(drawString, modifier, scaler, everyOther);
    SkinUI::ImageDestination({100, 10, 300, 50}, drawing.dest);
    SkinUI::ImageSource(drawing.source, 200, 30);
    SkinUI::ParseSvgRenderName(drawing.name);
  }
  return 0;
}
