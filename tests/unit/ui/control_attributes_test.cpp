// The common markup attributes of controls, their scaled getters, and
// placing a control in its parent.
#include <gtest/gtest.h>

#include "tests/unit/ui/ui_test_support.h"
#include "ui/resources/resource_tables.h"

namespace SkinUI {
namespace {

TEST(ControlAttributesTest, PosSetsFixedPositionAndSize) {
  struct Case {
    const wchar_t* pos;
    SIZE xy;
    int width, height;
  };
  const Case cases[] = {
      {L"-100,10,-20,30", {-20, 10}, 80, 20},
      {L"0,25,0,0", {0, 25}, 0, 0},
      {L"10,-50,40,-30", {10, -30}, 30, 20},
      {L"5,5", {5, 5}, 0, 0},
  };
  for (const Case& c : cases) {
    CControlUI control;
    control.ApplyAttribute(L"pos", c.pos);
    EXPECT_EQ(control.FixedXY().cx, c.xy.cx) << c.pos;
    EXPECT_EQ(control.FixedXY().cy, c.xy.cy) << c.pos;
    EXPECT_EQ(control.FixedWidth(), c.width) << c.pos;
    EXPECT_EQ(control.FixedHeight(), c.height) << c.pos;
  }
}

TEST(ControlAttributesTest, UnknownNamesAreKeptAsCustomAttributesOnly) {
  CControlUI control, plain;
  control.ApplyAttribute(L"foo", L"bar");
  control.ApplyAttribute(L"Width", L"40");  // names are case-sensitive
  ASSERT_NE(control.CustomAttribute(L"foo"), nullptr);
  EXPECT_EQ(*control.CustomAttribute(L"foo"), L"bar");
  EXPECT_EQ(*control.CustomAttribute(L"Width"), L"40");
  EXPECT_EQ(control.FixedWidth(), plain.FixedWidth());
  EXPECT_EQ(control.ControlText(), plain.ControlText());
  EXPECT_EQ(control.BkColor(), plain.BkColor());
  EXPECT_EQ(control.CustomAttributes().size(), 2u);
}

TEST(ControlAttributesTest, TextsTurnTheirMarkersIntoLineBreaks) {
  CControlUI control;
  control.ApplyAttribute(L"text", L"a{\\n}b{\\n}");
  EXPECT_EQ(control.ControlText(), L"a\nb\n");
  control.ApplyAttribute(L"tooltip", L"one<n>two");
  EXPECT_EQ(control.ToolTip(), L"one\r\ntwo");
  control.ApplyAttribute(L"shortcut", L"Qx");
  EXPECT_EQ(control.Shortcut(), L'Q');
  control.ApplyAttribute(L"userdata", L"InstallPath");
  EXPECT_EQ(control.UserData(), L"InstallPath");
}

TEST(ControlAttributesTest, SizeRequestsIgnoreNegativeValues) {
  CControlUI control;
  control.ApplyAttribute(L"width", L"105");
  control.ApplyAttribute(L"width", L"-5");
  control.ApplyAttribute(L"minheight", L"3");
  control.ApplyAttribute(L"maxwidth", L"-1");
  EXPECT_EQ(control.FixedWidth(), 105);
  EXPECT_EQ(control.MinHeight(), 3);
  EXPECT_EQ(control.MaxWidth(), 9999);
  EXPECT_EQ(control.MaxHeight(), 9999);
}

TEST(ControlAttributesTest, FloatAndItsAlignment) {
  CControlUI control;
  control.ApplyAttribute(L"float", L"true");
  EXPECT_TRUE(control.IsFloat());
  control.ApplyAttribute(L"float", L"0.5,0,1,0.25");
  EXPECT_TRUE(control.IsFloat());
  EXPECT_DOUBLE_EQ(control.FloatPercentage().left, 0.5);
  EXPECT_DOUBLE_EQ(control.FloatPercentage().bottom, 0.25);
  struct Case {
    const wchar_t* value;
    UINT align;
  };
  const Case cases[] = {
      {L"right,vcenter", kFloatAlignRight | kFloatAlignVCenter},
      {L"center bottom", kFloatAlignCenter | kFloatAlignBottom},
      {L"right,left", 0},
      {L"left,right,top", kFloatAlignRight},
      {L"nullptr", 0},
  };
  for (const Case& c : cases) {
    CControlUI aligned;
    aligned.ApplyAttribute(L"floatalign", c.value);
    EXPECT_EQ(aligned.FloatAlignment(), c.align) << c.value;
  }
}

TEST(ControlAttributesTest, LookAndStateAttributes) {
  CControlUI control;
  control.ApplyAttribute(L"bkcolor", L"#FF2F6BFF");
  control.ApplyAttribute(L"bkcolor2", L"#FF000000");
  control.ApplyAttribute(L"bordersize", L"2");
  control.ApplyAttribute(L"leftbordersize", L"3");
  control.ApplyAttribute(L"gradient", L"HOR");
  control.ApplyAttribute(L"borderround", L"6,4");
  control.ApplyAttribute(L"bkimage", L"Image/BkViewInit.png");
  control.ApplyAttribute(L"cursor", L"hand");
  control.ApplyAttribute(L"enabled", L"false");
  control.ApplyAttribute(L"visible", L"no");
  control.ApplyAttribute(L"keyboard", L"0");
  control.ApplyAttribute(L"TabSuppot", L"true");
  control.ApplyAttribute(L"Tag", L"42");
  control.ApplyAttribute(L"horzpaddingcenter", L"TRUE");  // only exactly "true" counts
  control.ApplyAttribute(L"vertpaddingcenter", L"true");
  EXPECT_EQ(control.BkColor(), 0xFF2F6BFFu);
  EXPECT_EQ(control.BkColor2(), 0xFF000000u);
  EXPECT_EQ(control.BorderSize(), 2);
  EXPECT_EQ(control.PerSideBorderSize().left, 3);
  EXPECT_EQ(control.Gradient(), L"HOR");
  EXPECT_EQ(control.BorderRound().cx, 6);
  EXPECT_EQ(control.BkImage(), L"Image/BkViewInit.png");
  EXPECT_EQ(control.Cursor(), 32649);
  EXPECT_FALSE(control.IsEnabledUI());
  EXPECT_FALSE(control.IsShown());
  EXPECT_FALSE(control.IsKeyboardEnabled());
  EXPECT_TRUE(control.IsTabSupported());
  EXPECT_EQ(control.ControlTag(), 42u);
  EXPECT_FALSE(control.HorzPaddingCenter());
  EXPECT_TRUE(control.VertPaddingCenter());
  control.ApplyAttribute(L"bordersize", L"1,2,3,4");
  EXPECT_EQ(control.BorderSize(), 2);  // the per-side form leaves the uniform size
  EXPECT_EQ(control.PerSideBorderSize().bottom, 4);
  control.ApplyAttribute(L"cursor", L"pointer");
  EXPECT_EQ(control.Cursor(), 32649);  // unknown names change nothing
}

TEST(ControlAttributesTest, GettersScaleWithTheWindow) {
  CPaintManagerUI manager;
  manager.Dpi().SetDpi(120);
  CControlUI control;
  control.ApplyAttribute(L"width", L"105");
  control.ApplyAttribute(L"height", L"14");
  control.ApplyAttribute(L"padding", L"4,0,8,0");
  control.ApplyAttribute(L"bordersize", L"1");
  control.AttachManager(&manager, nullptr, false);
  EXPECT_EQ(control.FixedWidth(), 131);
  EXPECT_EQ(control.FixedHeight(), 18);
  EXPECT_EQ(control.Padding().left, 5);
  EXPECT_EQ(control.Padding().right, 10);
  EXPECT_EQ(control.BorderSize(), 1);
  EXPECT_EQ(control.ToolTipWidth(), 375);
  control.ApplyAttribute(L"DPIPadding", L"false");
  EXPECT_EQ(control.Padding().left, 4);
  EXPECT_EQ(control.MeasureSize({500, 500}).cx, 131);
}

TEST(ControlAttributesTest, AValueNamingAStyleAppliesTheStyle) {
  CPaintManagerUI manager;
  manager.AddStyle(L"wide", L"width='50' height='60'", false);
  CControlUI control;
  control.AttachManager(&manager, nullptr, false);
  control.ApplyAttribute(L"name", L"wide");
  EXPECT_EQ(control.ControlName(), L"");
  EXPECT_EQ(control.FixedWidth(), 50);
  EXPECT_EQ(control.FixedHeight(), 60);
  control.ApplyAttributeList(L"wide");
  control.ApplyAttribute(L"innerstyle", L"bkcolor='#FF010203' name='inner'");
  EXPECT_EQ(control.BkColor(), 0xFF010203u);
  EXPECT_EQ(control.ControlName(), L"inner");
}

TEST(ControlAttributesTest, SwitchableResourcesTakeTheNthKey) {
  ResourceTables::Get().SetImage(L"night", L"Image/Night.png");
  ResourceTables::Get().SetColour(L"dark", 0xFF101010);
  CControlUI control;
  control.ApplyAttribute(L"BkImageSwitchRes", L"day;night;rest");  // text after the last ";" is not a key
  control.ApplyAttribute(L"BkColorSwitchRes", L"light;dark;");
  EXPECT_EQ(control.BkImageSwitchKeys(), (std::vector<std::wstring>{L"day", L"night"}));
  control.SwitchResources(1);
  EXPECT_EQ(control.BkImage(), L"Image/Night.png");
  EXPECT_EQ(control.BkColor(), 0xFF101010u);
  control.SwitchResources(0);  // keys the tables do not hold change nothing
  EXPECT_EQ(control.BkImage(), L"Image/Night.png");
  ResourceTables::Get().Clear();
}

TEST(ControlAttributesTest, PlacingCentresInTheParentWhenAsked) {
  CPaintManagerUI manager;
  CControlUI parent;
  parent.AttachManager(&manager, nullptr, false);
  parent.PlaceAt({0, 0, 640, 500});
  struct Case {
    const char* what;
    const wchar_t* attribute;
    RECT given;
    RECT placed;
  };
  const Case cases[] = {
      {"horizontal centre", L"horzpaddingcenter", {30, 10, 246, 46}, {212, 10, 428, 46}},
      {"vertical centre", L"vertpaddingcenter", {30, 10, 246, 46}, {30, 232, 246, 268}},
      {"no centring", L"foo", {30, 10, 246, 46}, {30, 10, 246, 46}},
      {"inverted rectangles are normalised", L"foo", {30, 40, 10, 20}, {30, 40, 30, 40}},
  };
  for (const Case& c : cases) {
    CControlUI child;
    child.ApplyAttribute(c.attribute, L"true");
    child.AttachManager(&manager, &parent, false);
    int sized = 0;
    child.onSize.Add([&sized](CControlUI*) { return ++sized > 0; });
    child.PlaceAt(c.given);
    const RECT placed = child.ItemRect();
    EXPECT_TRUE(EqualRect(&placed, &c.placed)) << c.what << ": " << placed.left << "," << placed.top;
    EXPECT_EQ(sized, 1) << c.what;
    EXPECT_FALSE(child.NeedsUpdate()) << c.what;
  }
  CControlUI floating;
  floating.ApplyAttribute(L"horzpaddingcenter", L"true");
  floating.ApplyAttribute(L"float", L"true");
  floating.AttachManager(&manager, &parent, false);
  floating.PlaceAt({30, 10, 246, 46});
  EXPECT_EQ(floating.ItemRect().left, 30);
}

TEST(ControlAttributesTest, IdentityAndInterfaces) {
  CControlUI control;
  EXPECT_STREQ(control.ControlClass(), L"ControlUI");
  EXPECT_EQ(control.QueryInterfaceUI(L"Control"), &control);
  EXPECT_EQ(control.QueryInterfaceUI(kContainerInterfaceName), nullptr);
  EXPECT_EQ(control.ControlFlags(), 0u);
  control.ChangeName(L"BtnClose");
  EXPECT_EQ(control.LookupChild(L"BtnClose"), &control);
  EXPECT_EQ(control.LookupChild(L"other"), nullptr);
  EXPECT_TRUE(control.CanActivate(false));
  control.Show(false);
  EXPECT_FALSE(control.CanActivate(false));
}

}  // namespace
}  // namespace SkinUI
