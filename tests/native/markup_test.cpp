// The markup grammar: elements, attributes, entities, whitespace, the
// attribute limit, and the error texts with the text where parsing stopped.
#include <gtest/gtest.h>

#include <string>

#include "ui/markup/markup.h"

namespace SkinUI {
namespace {

TEST(MarkupTest, MalformedTextFailsWithItsErrorAndPosition) {
  struct Case {
    const wchar_t* text;
    const wchar_t* error;
    const wchar_t* location;
  };
  const Case cases[] = {
      {L"<Window a='1'/>", L"Expected attribute value", L"'1'/>"},
      {L"<Window></Windows>", L"Unmatched closing tag", L">"},
      {L"<Window></window>", L"Unmatched closing tag", L">"},
      {L"<Window></Window x>", L"Unmatched closing tag", L"x>"},
      {L"text", L"Expected start tag", L"text"},
      {L"<Window/> tail", L"Expected start tag", L"tail"},
      {L"<>", L"Error parsing element name", L">"},
      {L"< Window/>", L"Error parsing element name", L" Window/>"},
      {L"<Window a/>", L"Error while parsing attributes", L"/>"},
      {L"<Window =\"1\"/>", L"Error while parsing attributes", L"=\"1\"/>"},
      {L"<Window a=\"1/>", L"Error while parsing attribute string", L"1/>"},
      {L"<Window a=\"1\"", L"Expected start-tag closing", L""},
      {L"<Window a=\"1\"/ >", L"Expected start-tag closing", L"/ >"},
      {L"<Window>text", L"Expected end-tag start", L""},
      {L"<Window><Control>", L"Expected end-tag start", L""},
      {L"<Window><!-- never closed", L"Expected end-tag start", L""},
      {L"", L"Expected start tag", L""},
      {L"  <!-- only a comment -->  ", L"Expected start tag", L""},
  };
  for (const Case& c : cases) {
    CMarkup markup;
    EXPECT_FALSE(markup.ParseText(c.text)) << c.text;
    EXPECT_EQ(markup.LastError(), c.error) << c.text;
    EXPECT_EQ(markup.ErrorLocation(), c.location) << c.text;
    EXPECT_FALSE(markup.Root().IsValid()) << c.text;
  }
}

TEST(MarkupTest, WellFormedTextBuildsTheElementTree) {
  CMarkup markup;
  ASSERT_TRUE(markup.ParseText(
      L"<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n"
      L"<!-- the dialog -->\n"
      L"<Window size=\"640,500\" caption = \"0,0,0,66\">\n"
      L"  <Font id=\"0\" name=\"a\"/>\n"
      L"  <VerticalLayout><Label text=\"x\"/><!-- between --><Button/></VerticalLayout>\n"
      L"</Window >"))
      << markup.LastError();
  const CMarkupNode root = markup.Root();
  EXPECT_STREQ(root.Name(), L"Window");
  ASSERT_EQ(root.AttributeCount(), 2);
  EXPECT_STREQ(root.AttributeName(1), L"caption");
  EXPECT_STREQ(root.AttributeValue(L"size"), L"640,500");
  EXPECT_STREQ(root.AttributeValue(L"missing"), L"");
  EXPECT_FALSE(root.HasAttribute(L"Size"));  // names are case-sensitive
  EXPECT_STREQ(root.AttributeName(7), L"");

  const CMarkupNode font = root.FirstChild();
  EXPECT_STREQ(font.Name(), L"Font");
  EXPECT_FALSE(font.HasChildren());
  const CMarkupNode layout = font.NextSibling();
  EXPECT_STREQ(layout.Name(), L"VerticalLayout");
  EXPECT_STREQ(layout.FirstChild().Name(), L"Label");
  EXPECT_STREQ(layout.FirstChild().NextSibling().Name(), L"Button");
  EXPECT_FALSE(layout.FirstChild().NextSibling().NextSibling().IsValid());
  EXPECT_STREQ(layout.FirstChild().Parent().Name(), L"VerticalLayout");
  EXPECT_FALSE(layout.NextSibling().IsValid());
  EXPECT_FALSE(root.Parent().IsValid());
}

TEST(MarkupTest, EntitiesAndSpacesDecodeInValuesAndText) {
  struct Case {
    const wchar_t* value;  // as written between the quotes
    std::wstring decoded;
  };
  const Case cases[] = {
      {L"a  \n  b", L"a b"},   // whitespace after a space collapses into it
      {L"a\nb", L"a\nb"},      // other whitespace stays
      {L"a\n  b", L"a\n b"},   // a space after a line break still drops what follows it
      {L"&amp;&lt;&gt;&quot;&apos;", L"&<>\"'"},
      {L"&copy; &amp", L"&copy; &amp"},  // other "&" text is copied
      {L"&amp;lt;", L"&lt;"},             // decoded once
      {L"\t x", L"\t x"},
  };
  for (const Case& c : cases) {
    CMarkup markup;
    ASSERT_TRUE(markup.ParseText(std::wstring(L"<a v=\"") + c.value + L"\">" + c.value + L"</a>")) << c.value;
    EXPECT_EQ(markup.Root().AttributeValue(L"v"), c.decoded) << c.value;
    EXPECT_EQ(markup.Root().Text(), c.decoded) << c.value;
  }
}

TEST(MarkupTest, PreservedWhitespaceKeepsRunsOfSpaces) {
  CMarkup markup;
  markup.SetPreserveWhitespace(true);
  ASSERT_TRUE(markup.ParseText(L"<a v=\"a  \n  b\"/>"));
  EXPECT_STREQ(markup.Root().AttributeValue(L"v"), L"a  \n  b");
}

TEST(MarkupTest, OnlyTheFirstSixtyFourAttributesAreRecognised) {
  std::wstring text = L"<a";
  for (int i = 0; i < 70; ++i) text += L" n" + std::to_wstring(i) + L"=\"" + std::to_wstring(i) + L"\"";
  text += L"/>";
  CMarkup markup;
  ASSERT_TRUE(markup.ParseText(text));
  EXPECT_EQ(markup.Root().AttributeCount(), CMarkup::kMaxAttributes);
  EXPECT_STREQ(markup.Root().AttributeValue(L"n63"), L"63");
  EXPECT_FALSE(markup.Root().HasAttribute(L"n64"));
}

TEST(MarkupTest, DeepNestingParsesWithoutRecursion) {
  std::wstring text;
  for (int i = 0; i < 200000; ++i) text += L"<a>";
  for (int i = 0; i < 200000; ++i) text += L"</a>";
  CMarkup markup;
  EXPECT_TRUE(markup.ParseText(text));
}

TEST(MarkupTest, AFailedParseDiscardsTheEarlierDocument) {
  CMarkup markup;
  ASSERT_TRUE(markup.ParseText(L"<a/>"));
  EXPECT_FALSE(markup.ParseText(L"<a>"));
  EXPECT_FALSE(markup.IsValid());
  EXPECT_TRUE(markup.ParseText(L"<b/>"));
  EXPECT_TRUE(markup.LastError().empty());
}

}  // namespace
}  // namespace SkinUI
