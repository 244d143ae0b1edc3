// The root `Window` element's attributes as the manager keeps them.
#include <gtest/gtest.h>

#include "ui/markup/window_attributes.h"

namespace SkinUI {
namespace {

TEST(WindowAttributesTest, KnownNamesAreStoredAndOthersIgnored) {
  WindowAttributes a;
  EXPECT_TRUE(ApplyWindowAttribute(a, L"size", L"640,500"));
  EXPECT_TRUE(ApplyWindowAttribute(a, L"caption", L"0,0,0,66"));
  EXPECT_TRUE(ApplyWindowAttribute(a, L"roundcorner", L"8,8"));
  EXPECT_TRUE(ApplyWindowAttribute(a, L"tooltipbkcolor", L"#FF333333"));
  EXPECT_TRUE(ApplyWindowAttribute(a, L"normaltab", L"false"));
  EXPECT_TRUE(ApplyWindowAttribute(a, L"opacity", L"300"));
  EXPECT_TRUE(ApplyWindowAttribute(a, L"bktrans", L"true"));
  EXPECT_TRUE(ApplyWindowAttribute(a, L"switchres", L"1"));
  EXPECT_FALSE(ApplyWindowAttribute(a, L"outlinetext", L"true"));
  EXPECT_FALSE(ApplyWindowAttribute(a, L"Size", L"1,1"));
  EXPECT_EQ(a.initialSize, (UiSize{640, 500}));
  EXPECT_EQ(a.caption, (UiRect{0, 0, 0, 66}));
  EXPECT_EQ(a.roundCorner, (UiSize{8, 8}));
  EXPECT_EQ(a.toolTipBkColour, 0xFF333333u);
  EXPECT_FALSE(a.normalTab);
  EXPECT_EQ(a.opacity, 255);
  EXPECT_TRUE(a.layered);
  EXPECT_EQ(a.switchResources, 1);
  EXPECT_EQ(a.defaultFontColour, 0xFF000000u);
}

}  // namespace
}  // namespace SkinUI
