// A resource markup into the switch tables and the markup-name table.
#include <gtest/gtest.h>

#include "ui/markup/markup.h"
#include "ui/resources/resource_markup.h"

namespace SkinUI {
namespace {

TEST(ResourceMarkupTest, EntriesFillTheTables) {
  CMarkup markup;
  ASSERT_TRUE(markup.ParseText(
      L"<Resource>"
      L"<Image key=\"night\" value=\"file='Image/Night.png'\" />"
      L"<Color key=\"dark\" value=\"#FF101010\" />"
      L"<Color key=\"dark\" value=\"#FF202020\" />"  // the later entry wins
      L"<Color value=\"#FF303030\" />"                 // no key: skipped
      L"<Markup name=\"Layout/Panel.xml\" file=\"Layout/PanelNight.xml\" />"
      L"<Markup name=\"Layout/Empty.xml\" />"          // no file: the name stays
      L"<Unknown key=\"x\" value=\"y\" />"
      L"</Resource>"));
  ResourceTables tables;
  LoadResourceMarkup(markup.Root(), tables);
  ASSERT_NE(tables.Image(L"night"), nullptr);
  EXPECT_EQ(*tables.Image(L"night"), L"file='Image/Night.png'");
  ASSERT_NE(tables.Colour(L"dark"), nullptr);
  EXPECT_EQ(*tables.Colour(L"dark"), 0xFF202020u);
  EXPECT_EQ(tables.Colour(L""), nullptr);
  EXPECT_EQ(tables.Image(L"x"), nullptr);
  EXPECT_EQ(tables.MarkupFile(L"Layout/Panel.xml"), L"Layout/PanelNight.xml");
  EXPECT_EQ(tables.MarkupFile(L"Layout/Empty.xml"), L"Layout/Empty.xml");
  EXPECT_EQ(tables.MarkupFile(L"Layout/Other.xml"), L"Layout/Other.xml");
  tables.Clear();
  EXPECT_EQ(tables.MarkupFile(L"Layout/Panel.xml"), L"Layout/Panel.xml");
}

}  // namespace
}  // namespace SkinUI
