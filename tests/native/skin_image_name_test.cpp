// Picture names: DPI variants and the scale an SVG name carries.
#include <gtest/gtest.h>

#include "ui/resources/skin_image_name.h"

namespace SkinUI {
namespace {

TEST(SkinImageNameTest, DpiVariantsMarkTheFirstDot) {
  EXPECT_EQ(DpiVariantName(L"Image/BtnInstall.png", 125), L"Image/BtnInstall@125.png");
  EXPECT_EQ(DpiVariantName(L"a.b/c.png", 150), L"a@150.b/c.png");
  EXPECT_EQ(DpiVariantName(L"noext", 200), L"noext");
}

TEST(SkinImageNameTest, SvgNamesCarryTheirScale) {
  struct Case {
    const wchar_t* name;
    const wchar_t* entry;
    float scale;
  };
  const Case cases[] = {
      {L"Image/CheckLicence@150.svg", L"Image/CheckLicence.svg", 1.5f},
      {L"Image/BtnClose@125.svg", L"Image/BtnClose.svg", 1.25f},
      {L"Image/BtnClose.svg", L"Image/BtnClose.svg", 1.0f},
      {L"Image/a@x.svg", L"Image/a.svg", 0.0f},           // no number: scale 0, which renders nothing
      {L"Image.d/a@150.svg", L"Image.d/a@150.svg", 1.0f},  // the "@" after the first "."
  };
  for (const Case& c : cases) {
    const SvgRenderRequest request = ParseSvgRenderName(c.name);
    EXPECT_EQ(request.entryName, c.entry) << c.name;
    EXPECT_FLOAT_EQ(request.scale, c.scale) << c.name;
  }
  EXPECT_TRUE(IsSvgName(L"a@125.svg"));
  EXPECT_FALSE(IsSvgName(L"a.png"));
}

}  // namespace
}  // namespace SkinUI
