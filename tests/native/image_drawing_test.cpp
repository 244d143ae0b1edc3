// Image drawing strings: keys and modifiers, the DPI variant choice and
// which rectangles scale, and where a picture lands in its item.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "ui/render/image_drawing.h"

namespace SkinUI {
namespace {

CDpiScaler ScalerAt(int percent) {
  CDpiScaler scaler;
  scaler.SetDpi(percent * 96 / 100);
  return scaler;
}

VariantExists Having(std::set<std::wstring> names) {
  return [names](const std::wstring& name) { return names.count(name) > 0; };
}

TEST(ImageDrawingTest, KeysNameThePictureAndHowToDrawIt) {
  const ImageDrawing drawing = ParseImageDrawing(
      L"file='Image/Btn.png' dest='1,2,3,4' source='0,0,50,30' corner='2,2,2,2' mask='#FFFF00FF' fade='128' "
      L"hole='true' xtiled='true' ytiled='false' hsl='true' iconsize='16,16' iconalign='left'",
      L"", ScalerAt(100), nullptr);
  EXPECT_EQ(drawing.name, L"Image/Btn.png");
  EXPECT_EQ(drawing.dest, (UiRect{1, 2, 3, 4}));
  EXPECT_EQ(drawing.source, (UiRect{0, 0, 50, 30}));
  EXPECT_EQ(drawing.corner, (UiRect{2, 2, 2, 2}));
  EXPECT_EQ(drawing.mask, 0xFFFF00FFu);
  EXPECT_EQ(drawing.fade, 128);
  EXPECT_TRUE(drawing.hole);
  EXPECT_TRUE(drawing.xtiled);
  EXPECT_FALSE(drawing.ytiled);
  EXPECT_TRUE(drawing.hsl);
  EXPECT_EQ(drawing.iconSize, (UiSize{16, 16}));
  EXPECT_EQ(drawing.iconAlign, L"left");
  EXPECT_FALSE(drawing.dpiPicture);
}

TEST(ImageDrawingTest, NamesComeFromFileResOrTheWholeString) {
  struct Case {
    const wchar_t* drawString;
    const wchar_t* modifier;
    const wchar_t* name;
    const wchar_t* resType;
  };
  const Case cases[] = {
      {L"Image/BkViewInit.png", L"", L"Image/BkViewInit.png", L""},
      {L"res='7' restype='PNG'", L"", L"7", L"PNG"},
      {L"file='a.png' res='b.png'", L"", L"b.png", L""},  // "res" is applied after "file"
      {L"file='a.png'", L"file='b.png'", L"b.png", L""},   // the modifier wins
      {L"", L"", L"", L""},
      {L"fade='10'", L"", L"fade='10'", L""},
  };
  for (const Case& c : cases) {
    const ImageDrawing drawing = ParseImageDrawing(c.drawString, c.modifier, ScalerAt(100), nullptr);
    EXPECT_EQ(drawing.name, c.name) << c.drawString;
    EXPECT_EQ(drawing.resType, c.resType) << c.drawString;
  }
}

TEST(ImageDrawingTest, FadeIsClampedToAByte) {
  EXPECT_EQ(ParseImageDrawing(L"file='a' fade='300'", L"", ScalerAt(100), nullptr).fade, 255);
  EXPECT_EQ(ParseImageDrawing(L"file='a' fade='-4'", L"", ScalerAt(100), nullptr).fade, 0);
}

TEST(ImageDrawingTest, DpiVariantsAndScaledRectangles) {
  struct Case {
    const char* what;
    int scale;
    const wchar_t* drawString;
    std::set<std::wstring> skin;
    const wchar_t* name;
    bool dpiPicture;
    UiRect dest, source, corner;
  };
  const Case cases[] = {
      {"variant found: source and corner scale too", 150,
       L"file='Image/BkViewInit.png' dest='0,0,10,10' source='0,0,20,20' corner='2,2,4,4'",
       {L"Image/BkViewInit@150.png"}, L"Image/BkViewInit@150.png", true,
       {0, 0, 15, 15}, {0, 0, 30, 30}, {3, 3, 6, 6}},
      {"no variant: the plain picture, only dest scales", 150,
       L"file='Image/QuickMark.png' dest='0,0,10,10' source='0,0,20,20' corner='2,2,2,2'",
       {}, L"Image/QuickMark.png", false, {0, 0, 15, 15}, {0, 0, 20, 20}, {2, 2, 2, 2}},
      {"SVG always takes the variant", 125, L"Image/BtnClose.svg", {}, L"Image/BtnClose@125.svg", true,
       {}, {}, {}},
      {"100 % takes no variant", 100, L"Image/BtnInstall.png", {L"Image/BtnInstall@100.png"},
       L"Image/BtnInstall.png", false, {}, {}, {}},
      {"scale-specific keys are used unscaled", 125,
       L"file='a.png' dest='0,0,10,10' dest125='1,1,5,5' source='0,0,8,8' source125='2,2,4,4'",
       {L"a@125.png"}, L"a@125.png", true, {1, 1, 5, 5}, {2, 2, 4, 4}, {}},
      {"keys of another scale are ignored", 125, L"file='a.png' dest150='1,1,5,5'", {}, L"a.png", false,
       {}, {}, {}},
      {"only the first dot takes the marker", 175, L"Skin.v2/a.png", {L"Skin@175.v2/a.png"},
       L"Skin@175.v2/a.png", true, {}, {}, {}},
      {"225 %: the 200 % picture, its source and corner in its own pixels", 225,
       L"file='Image/BkViewInit.png' dest='0,0,10,10' source='0,0,20,20' corner='2,2,4,4'",
       {L"Image/BkViewInit@200.png"}, L"Image/BkViewInit@200.png", true,
       {0, 0, 23, 23}, {0, 0, 40, 40}, {4, 4, 8, 8}},
      {"300 % with no 200 % picture: the plain one", 300, L"file='a.png' source='0,0,8,8'", {}, L"a.png", false,
       {}, {0, 0, 8, 8}, {}},
      {"SVG renders at the window's own scale", 300, L"Image/BtnClose.svg", {}, L"Image/BtnClose@300.svg", true,
       {}, {}, {}},
      {"a name without a dot has no variant", 150, L"Image/none", {}, L"Image/none", false, {}, {}, {}},
  };
  for (const Case& c : cases) {
    const ImageDrawing drawing = ParseImageDrawing(c.drawString, L"", ScalerAt(c.scale), Having(c.skin));
    EXPECT_EQ(drawing.name, c.name) << c.what;
    EXPECT_EQ(drawing.dpiPicture, c.dpiPicture) << c.what;
    EXPECT_EQ(drawing.dest, c.dest) << c.what;
    EXPECT_EQ(drawing.source, c.source) << c.what;
    EXPECT_EQ(drawing.corner, c.corner) << c.what;
  }
}

TEST(ImageDrawingTest, DestinationsInsideTheItem) {
  struct Case {
    const char* what;
    UiRect item, dest, result;
  };
  const Case cases[] = {
      {"all zero takes the item", {100, 10, 300, 50}, {0, 0, 0, 0}, {100, 10, 300, 50}},
      {"relative and clipped to the item", {100, 10, 300, 50}, {10, 5, 500, 20}, {110, 15, 300, 30}},
      {"both x negative anchors to the right edge", {100, 10, 300, 50}, {-20, 0, -4, 16}, {280, 10, 296, 26}},
      {"both y negative anchors to the bottom edge", {0, 0, 50, 100}, {0, -30, 10, -10}, {0, 70, 10, 90}},
  };
  for (const Case& c : cases) EXPECT_EQ(ImageDestination(c.item, c.dest), c.result) << c.what;
}

TEST(ImageDrawingTest, SourcesAreClippedToThePicture) {
  EXPECT_EQ(ImageSource({0, 0, 300, 20}, 200, 20), (UiRect{0, 0, 200, 20}));
  EXPECT_EQ(ImageSource({}, 200, 30), (UiRect{0, 0, 200, 30}));
  EXPECT_EQ(ImageSource({50, 0, 100, 90}, 200, 30), (UiRect{50, 0, 100, 30}));
}

}  // namespace
}  // namespace SkinUI
