// Building control trees from markup: resource elements, `Window`
// attributes, includes with their count, default attribute lists before the
// element's own, styles, unknown elements, parents without a container, and
// markup that does not parse.
#include <gtest/gtest.h>

#include <memory>

#include "tests/unit/ui/ui_test_support.h"
#include "ui/building/dialog_builder_callback.h"
#include "ui/building/layout_builder.h"
#include "ui/resources/resource_tables.h"

namespace SkinUI {
namespace {

// Records the order in which attributes arrive.
class RecordingControl : public CControlUI {
 public:
  void ApplyAttribute(const wchar_t* name, const wchar_t* value) override {
    order.push_back(name);
    CControlUI::ApplyAttribute(name, value);
  }
  std::vector<std::wstring> order;
};

class TestCallback : public IDialogBuilderCallback {
 public:
  CControlUI* CreateCustomControl(const wchar_t* elementName) override {
    asked.push_back(elementName);
    if (std::wcscmp(elementName, L"TestBox") == 0) return new TestBox();
    if (std::wcscmp(elementName, L"Recording") == 0) return new RecordingControl();
    return nullptr;
  }
  std::vector<std::wstring> asked;
};

class LayoutBuilderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(UseFixtureSkin());
    manager_.BindWindow(window_.Get(), L"builder");
  }

  std::unique_ptr<CControlUI> Build(const std::wstring& source) {
    CLayoutBuilder builder;
    std::unique_ptr<CControlUI> root(builder.Build(source, L"", &callback_, &manager_));
    lastError_ = builder.Markup().LastError();
    return root;
  }

  HiddenWindow window_;
  CPaintManagerUI manager_;
  TestCallback callback_;
  std::wstring lastError_;
};

TEST_F(LayoutBuilderTest, TheDialogMarkupBuildsItsTreeAndResources) {
  const std::unique_ptr<CControlUI> root = Build(L"Layout/Layout.xml");
  ASSERT_TRUE(root) << lastError_;
  ASSERT_NE(root->QueryInterfaceUI(kContainerInterfaceName), nullptr);
  auto* box = static_cast<TestBox*>(root.get());
  EXPECT_EQ(root->ControlName(), L"root");
  // "Unknown" has no class: it is skipped with its subtree. The row file is
  // included twice.
  ASSERT_EQ(box->ItemNames(), (std::vector<std::wstring>{L"first", L"styled", L"row", L"row"}));

  CControlUI* first = box->ItemAt(0);
  EXPECT_EQ(first->BkColor(), 0xFF123456u);  // its own value after the default list
  EXPECT_EQ(first->FixedHeight(), 7);        // from the default list
  EXPECT_EQ(first->OwnerManager(), nullptr); // attached for good only with the window's tree
  EXPECT_EQ(box->ItemAt(1)->BkColor(), 0xFFFF0000u);  // a value naming a style applies the style

  EXPECT_EQ(manager_.Attributes().initialSize, (UiSize{640, 500}));
  EXPECT_EQ(manager_.Attributes().caption, (UiRect{0, 0, 0, 66}));
  const HFONT stock = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  EXPECT_NE(manager_.FontById(5), stock);
  EXPECT_NE(manager_.FontById(7), stock);  // from the included row file
  EXPECT_NE(manager_.FontById(-1), stock); // font 0 is the default font
  EXPECT_EQ(manager_.FontInfoById(5)->size, 14);
  EXPECT_NE(std::find(callback_.asked.begin(), callback_.asked.end(), L"Unknown"), callback_.asked.end());
}

TEST_F(LayoutBuilderTest, AnIncludeCountedTwiceDefinesEveryFontTwice) {
  const HFONT before = manager_.DefineFont(7, L"Tahoma", 9, false, false, false, false);
  const std::unique_ptr<CControlUI> root =
      Build(L"<Window><TestBox><Include source=\"row.xml\" count=\"2\"/></TestBox></Window>");
  ASSERT_TRUE(root) << lastError_;
  EXPECT_EQ(static_cast<TestBox*>(root.get())->ItemNames(), (std::vector<std::wstring>{L"row", L"row"}));
  EXPECT_EQ(GetObjectType(before), 0u);
  EXPECT_EQ(manager_.FontInfoById(7)->size, 18);
}

TEST_F(LayoutBuilderTest, AResourceMarkupSwitchesTheTreeAndSendsMarkupNamesElsewhere) {
  std::unique_ptr<CControlUI> root = Build(
      L"<Window switchres=\"1\"><Resource source=\"resource.xml\"/><Resource source=\"missing.xml\"/>"
      L"<VerticalLayout><Control name=\"c\" bkcolor=\"#FFFFFFFF\" BkColorSwitchRes=\"light;dark;\" "
      L"BkImageSwitchRes=\"day;night;\"/><Include source=\"row.xml\"/></VerticalLayout></Window>");
  ASSERT_TRUE(root) << lastError_;
  auto* box = static_cast<IContainerUI*>(root->QueryInterfaceUI(kContainerInterfaceName));
  ASSERT_EQ(box->ItemCount(), 2);
  EXPECT_EQ(box->ItemAt(1)->ControlName(), L"nightrow");  // row.xml read as nightrow.xml
  EXPECT_EQ(manager_.Attributes().switchResources, 1);
  // Entry 1 of every list is taken when the tree is attached to the window.
  CControlUI* control = box->ItemAt(0);
  EXPECT_EQ(control->BkColor(), 0xFFFFFFFFu);
  manager_.AttachRoot(std::move(root));  // the manager owns the tree from here
  EXPECT_EQ(control->BkColor(), 0xFF101010u);
  EXPECT_EQ(control->BkImage(), L"Image/QuickMark.png");
  ResourceTables::Get().Clear();
}

TEST_F(LayoutBuilderTest, ElementClassesIgnoreLetterCase) {
  for (const wchar_t* markup : {L"<Window><Control name=\"c\"/></Window>", L"<Window><control name=\"c\"/></Window>",
                                L"<Window><CONTROL name=\"c\"/></Window>"}) {
    const std::unique_ptr<CControlUI> root = Build(markup);
    ASSERT_TRUE(root) << markup;
    EXPECT_STREQ(root->ControlClass(), L"ControlUI");
    EXPECT_EQ(root->ControlName(), L"c");
  }
}

TEST_F(LayoutBuilderTest, AParentWithoutContainerStopsItsLevel) {
  const std::unique_ptr<CControlUI> root = Build(
      L"<Window><TestBox><Control name=\"a\"><Control name=\"b\"/><Control name=\"c\"/></Control>"
      L"<Control name=\"d\"/></TestBox></Window>");
  ASSERT_TRUE(root);
  EXPECT_EQ(static_cast<TestBox*>(root.get())->ItemNames(), (std::vector<std::wstring>{L"a", L"d"}));
}

TEST_F(LayoutBuilderTest, DefaultListsApplyInKeyOrderBeforeTheElementsOwnAttributes) {
  const std::unique_ptr<CControlUI> root = Build(
      L"<Window><Default name=\"Recording\" value=\"width=&quot;10&quot; height=&quot;20&quot;\"/>"
      L"<Recording name=\"r\" text=\"a{\\n}b\" foo=\"bar\"/></Window>");
  ASSERT_TRUE(root);
  const auto& order = static_cast<RecordingControl*>(root.get())->order;
  EXPECT_EQ(order, (std::vector<std::wstring>{L"height", L"width", L"name", L"text", L"foo"}));
  EXPECT_EQ(root->ControlText(), L"a\nb");
  ASSERT_NE(root->CustomAttribute(L"foo"), nullptr);
  EXPECT_EQ(*root->CustomAttribute(L"foo"), L"bar");
}

TEST_F(LayoutBuilderTest, ARefusedControlIsSkipped) {
  auto parent = std::make_unique<TestBox>();
  parent->RefuseItems();
  CLayoutBuilder builder;
  EXPECT_EQ(builder.Build(L"<Window><Control/></Window>", L"", &callback_, &manager_, parent.get()), nullptr);
  EXPECT_EQ(parent->ItemCount(), 0);
}

TEST_F(LayoutBuilderTest, BadMarkupGivesNoTreeAndTheRestStillBuilds) {
  EXPECT_FALSE(Build(L"NotXml.xml"));
  EXPECT_EQ(lastError_, L"Expected start tag");
  EXPECT_FALSE(Build(L"Missing.xml"));
  EXPECT_EQ(lastError_, L"Could not find ziped file");
  EXPECT_FALSE(Build(L"<Window><Control></Window>"));
  EXPECT_EQ(lastError_, L"Unmatched closing tag");
  // An include that does not read, and pictures that do not decode, leave
  // the rest of the window in place.
  const std::unique_ptr<CControlUI> root = Build(
      L"<Window><TestBox><Include source=\"NotXml.xml\"/><Include source=\"Missing.xml\"/>"
      L"<Control name=\"a\" bkimage=\"Image/Broken.png\"/><Control name=\"b\" bkimage=\"Image/Bad.svg\"/>"
      L"</TestBox></Window>");
  ASSERT_TRUE(root);
  EXPECT_EQ(static_cast<TestBox*>(root.get())->ItemNames(), (std::vector<std::wstring>{L"a", L"b"}));
}

TEST_F(LayoutBuilderTest, AFileThatIncludesItselfEndsAtTheNestingLimit) {
  const std::unique_ptr<CControlUI> root =
      Build(L"<Window><TestBox><Include source=\"Self.xml\"/></TestBox></Window>");
  ASSERT_TRUE(root);
  EXPECT_EQ(static_cast<TestBox*>(root.get())->ItemCount(), kMaxIncludeDepth);
}

TEST_F(LayoutBuilderTest, AFileThatIncludesItselfEightTimesEndsAtTheExpansionBudget) {
  auto box = std::make_unique<TestBox>();
  CLayoutBuilder builder;
  builder.Build(L"<Window><Include source=\"Eightfold.xml\"/></Window>", L"", &callback_, &manager_, box.get());
  EXPECT_TRUE(builder.ExpansionCut());
  // The outer markup holds two elements; each file read after it holds
  // three, and gives the box one control.
  EXPECT_EQ(box->ItemCount(), static_cast<int>((ExpansionBudget::kMostElements - 2) / 3));
}

}  // namespace
}  // namespace SkinUI
