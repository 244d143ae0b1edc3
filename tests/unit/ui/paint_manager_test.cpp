// The paint manager on a real window: control timers, the tab-support
// order, hit tests through the tree, tab pages, deferred deletion and a
// scale change of a living window.
#include <gtest/gtest.h>

#include "tests/unit/ui/manager_window.h"
#include "ui/containers/container_ui.h"
#include "ui/containers/tab_layout_ui.h"

namespace SkinUI {
namespace {

// Notifications of one type as "sender wParam,lParam" lines.
class TypeRecorder : public INotifyUI {
 public:
  explicit TypeRecorder(std::wstring type) : type_(std::move(type)) {}
  void OnNotify(NotifyRecord& record) override {
    if (record.type != type_) return;
    lines.push_back(record.senderName + L" " + std::to_wstring(record.wParam) + L"," +
                    std::to_wstring(record.lParam));
  }
  std::vector<std::wstring> lines;

 private:
  std::wstring type_;
};

constexpr wchar_t kTimerTree[] =
    L"<Window><Container name=\"root\"><Control name=\"ticker\"/><Control name=\"other\"/></Container></Window>";

TEST(ManagerTimerTest, AControlTimerFiresOnItsControlAndStopsWhenTheControlIsRemoved) {
  ManagerWindow window;
  ASSERT_NE(window.Attach(kTimerTree), nullptr);
  TypeRecorder timers(L"timer");
  window.Manager().AddReceiver(&timers);
  CControlUI* ticker = window.Manager().LookupControl(L"ticker");
  ASSERT_TRUE(ticker->StartTimer(5, 20));
  EXPECT_FALSE(ticker->StartTimer(5, 500));  // a live timer keeps its period
  ASSERT_TRUE(window.PumpUntil([&] { return timers.lines.size() >= 3; }));
  for (const std::wstring& line : timers.lines) EXPECT_EQ(line.substr(0, 9), L"ticker 5,");

  ASSERT_TRUE(static_cast<CContainerUI*>(window.Manager().Root())->RemoveItem(ticker));
  timers.lines.clear();
  window.PumpFor(200);
  EXPECT_TRUE(timers.lines.empty());
}

TEST(ManagerTimerTest, AStoppedTimerStartsAgainAndOtherControlsKeepTheirs) {
  ManagerWindow window;
  ASSERT_NE(window.Attach(kTimerTree), nullptr);
  TypeRecorder timers(L"timer");
  window.Manager().AddReceiver(&timers);
  CControlUI* ticker = window.Manager().LookupControl(L"ticker");
  CControlUI* other = window.Manager().LookupControl(L"other");
  ASSERT_TRUE(ticker->StartTimer(1, 20));
  ASSERT_TRUE(other->StartTimer(1, 20));
  ASSERT_TRUE(ticker->StopTimer(1));
  EXPECT_FALSE(ticker->StopTimer(1));
  window.PumpFor(150);
  ASSERT_FALSE(timers.lines.empty());
  for (const std::wstring& line : timers.lines) EXPECT_EQ(line.substr(0, 6), L"other ");
  EXPECT_TRUE(ticker->StartTimer(1, 20));  // restarted, not refused as live
  timers.lines.clear();
  ASSERT_TRUE(window.PumpUntil([&] {
    for (const std::wstring& line : timers.lines) {
      if (line.rfind(L"ticker ", 0) == 0) return true;
    }
    return false;
  }));
}

constexpr wchar_t kTabTree[] =
    L"<Window><VerticalLayout name=\"root\">"
    L"<Control name=\"A\" height=\"20\" TabSuppot=\"true\"/>"
    L"<Control name=\"plain\" height=\"20\"/>"
    L"<Control name=\"B\" height=\"20\" TabSuppot=\"true\"/>"
    L"<Control name=\"C\" height=\"20\" TabSuppot=\"true\"/>"
    L"</VerticalLayout></Window>";

TEST(ManagerTabTest, TabMovesForwardThroughTheTabSupportListAndSkipsHiddenControls) {
  ManagerWindow window;
  ASSERT_NE(window.Attach(kTabTree), nullptr);
  CPaintManagerUI& manager = window.Manager();
  const auto pressTab = [&] {
    MSG message{window.Window(), WM_KEYDOWN, VK_TAB, 0, 0, {}};
    EXPECT_TRUE(CPaintManagerUI::TranslateMessageUI(&message));  // always consumed
    const CControlUI* focus = manager.FocusControl();
    return focus ? focus->ControlName() : std::wstring(L"none");
  };
  manager.LookupControl(L"B")->TakeFocus();
  EXPECT_EQ(pressTab(), L"C");
  EXPECT_EQ(pressTab(), L"A");
  manager.LookupControl(L"B")->Show(false);
  EXPECT_EQ(pressTab(), L"C");
  manager.LookupControl(L"plain")->TakeFocus();  // not in the list: after the current index
  EXPECT_EQ(pressTab(), L"A");
}

TEST(ManagerTreeTest, HitTestsFindTheTopmostVisibleControl) {
  ManagerWindow window;
  ASSERT_NE(window.Attach(L"<Window><Container name=\"root\">"
                          L"<VerticalLayout name=\"column\" inset=\"10,10,10,10\">"
                          L"<Control name=\"top\" height=\"50\"/><Control name=\"hidden\" visible=\"false\"/>"
                          L"<Control name=\"disabled\" height=\"50\" enabled=\"false\"/></VerticalLayout>"
                          L"<Control name=\"badge\" float=\"true\" pos=\"300,0,400,40\"/>"
                          L"</Container></Window>"),
            nullptr);
  window.Layout();
  struct Case {
    POINT point;
    const wchar_t* expected;
  };
  const Case cases[] = {
      {{50, 30}, L"top"},      {{50, 80}, L"disabled"}, {{5, 5}, L"column"},
      {{350, 20}, L"badge"},   {{50, 200}, L"column"},  {{500, 500}, L""},
  };
  for (const Case& c : cases) {
    const CControlUI* found = window.Manager().LookupControlAt(c.point);
    EXPECT_EQ(found ? found->ControlName() : L"", c.expected) << c.point.x << "," << c.point.y;
  }
  EXPECT_EQ(window.Manager().CollectByClass(nullptr, L"ControlUI").size(), 4u);
  EXPECT_EQ(window.Manager().CollectByClass(nullptr, L"*").size(), 6u);
}

TEST(ManagerTreeTest, TabPagesShowOnlyTheCurrentOne) {
  ManagerWindow window;
  ASSERT_NE(window.Attach(L"<Window><TabLayout name=\"tabs\"><Control name=\"p0\"/><Control name=\"p1\"/>"
                          L"<Control name=\"p2\"/></TabLayout></Window>"),
            nullptr);
  window.Layout();
  TypeRecorder selects(L"tabselect");
  window.Manager().AddReceiver(&selects);
  auto* tabs = static_cast<CTabLayoutUI*>(window.Manager().Root());
  const auto shown = [&] {
    std::wstring names;
    for (int i = 0; i < tabs->ItemCount(); ++i) {
      if (tabs->ItemAt(i)->IsShown()) names += tabs->ItemAt(i)->ControlName();
    }
    return names;
  };
  EXPECT_EQ(shown(), L"p0");
  EXPECT_TRUE(tabs->PickPage(0));
  EXPECT_TRUE(selects.lines.empty());
  EXPECT_FALSE(tabs->PickPage(3));
  EXPECT_TRUE(tabs->PickPage(2));
  EXPECT_EQ(shown(), L"p2");
  EXPECT_EQ(selects.lines, (std::vector<std::wstring>{L"tabs 2,0"}));
  EXPECT_EQ(tabs->ItemAt(2)->ItemRect().right, 400);
  ASSERT_TRUE(tabs->RemoveItemAt(0));
  EXPECT_EQ(tabs->CurrentPage(), 1);
  ASSERT_TRUE(tabs->RemoveItemAt(1));
  EXPECT_EQ(tabs->CurrentPage(), 0);
  EXPECT_EQ(shown(), L"p1");
}

// A control that tells when it is deleted.
class MortalControl : public CControlUI {
 public:
  explicit MortalControl(bool& deleted) : deleted_(deleted) {}
  ~MortalControl() override { deleted_ = true; }

 private:
  bool& deleted_;
};

TEST(ManagerTreeTest, RemovedChildrenAreDeletedOnTheWakeUpMessage) {
  ManagerWindow window;
  auto* root = static_cast<CContainerUI*>(window.Attach(L"<Window><Container name=\"root\"/></Window>"));
  ASSERT_NE(root, nullptr);
  bool deleted = false;
  auto* child = new MortalControl(deleted);
  child->ChangeName(L"mortal");
  ASSERT_TRUE(root->AddItem(child));
  EXPECT_EQ(window.Manager().LookupControl(L"mortal"), child);
  ASSERT_TRUE(root->RemoveItem(child));
  EXPECT_EQ(window.Manager().LookupControl(L"mortal"), nullptr);
  EXPECT_FALSE(deleted);
  EXPECT_TRUE(window.PumpUntil([&] { return deleted; }));
  EXPECT_FALSE(root->RemoveItem(child));
  EXPECT_FALSE(root->AddItem(nullptr));
}

TEST(ManagerDpiTest, ApplyingADpiResizesTheWindowInProportionAndLaysItOutAgain) {
  ManagerWindow window;
  ASSERT_NE(window.Attach(L"<Window><HorizontalLayout name=\"root\"><Control name=\"fixed\" width=\"105\"/>"
                          L"<Control name=\"rest\"/></HorizontalLayout></Window>"),
            nullptr);
  TypeRecorder changes(L"dpichanged");
  window.Manager().AddReceiver(&changes);
  SetWindowPos(window.Window(), nullptr, 30, 40, 640, 500, SWP_NOZORDER | SWP_NOACTIVATE);
  window.Manager().ApplyDpi(144);
  RECT rect{};
  GetWindowRect(window.Window(), &rect);
  EXPECT_EQ(rect.left, 30);
  EXPECT_EQ(rect.top, 40);
  EXPECT_EQ(rect.right - rect.left, 960);
  EXPECT_EQ(rect.bottom - rect.top, 750);
  EXPECT_EQ(changes.lines, (std::vector<std::wstring>{L"root 0,0"}));
  MSG posted{};
  ASSERT_TRUE(PeekMessageW(&posted, window.Window(), CPaintManagerUI::kMsgScaleChanged,
                           CPaintManagerUI::kMsgScaleChanged, PM_REMOVE));
  EXPECT_EQ(posted.wParam, 100u);
  EXPECT_EQ(posted.lParam, 150);
  EXPECT_TRUE(window.Manager().LayoutNeeded());
  window.Layout();
  EXPECT_EQ(window.Manager().LookupControl(L"fixed")->ItemRect().right, 158);  // 105 at 150 %
  EXPECT_EQ(window.Manager().LookupControl(L"rest")->ItemRect().right, 960);
}

TEST(ManagerShutdownTest, FontsGoWithTheirWindowAndSharedOnesWithTheFramework) {
  HFONT oldOwn = nullptr, own = nullptr, ownDefault = nullptr, shared = nullptr, sharedDefault = nullptr;
  {
    ManagerWindow window;
    CPaintManagerUI& manager = window.Manager();
    ASSERT_NE(window.Attach(L"<Window><Container name=\"root\"/></Window>"), nullptr);
    manager.DefineDefaultFont(L"Arial", 12, false, false, false, true);
    sharedDefault = manager.FontInfoById(-1)->font;
    manager.DefineDefaultFont(L"Arial", 13, false, false, false, false);
    oldOwn = manager.DefineFont(1, L"Arial", 14, true, false, false, false);
    manager.DefineFont(2, L"Arial", 15, false, false, false, true);
    manager.ApplyDpi(144);  // every font is made again at the new size
    EXPECT_EQ(GetObjectType(oldOwn), 0u);
    own = manager.FontById(1);
    shared = manager.FontById(2);
    ownDefault = manager.FontById(-1);
    LOGFONTW font{};
    ASSERT_TRUE(GetObjectW(own, sizeof(font), &font));
    EXPECT_EQ(font.lfHeight, -21);  // 14 pixels at 150 %
    ShowWindow(window.Window(), SW_SHOWNOACTIVATE);
    UpdateWindow(window.Window());
  }
  EXPECT_EQ(GetObjectType(own), 0u);
  EXPECT_EQ(GetObjectType(ownDefault), 0u);
  EXPECT_EQ(GetObjectType(shared), static_cast<DWORD>(OBJ_FONT));
  CPaintManagerUI::ShutdownFramework();
  EXPECT_EQ(GetObjectType(shared), 0u);
  EXPECT_EQ(GetObjectType(sharedDefault), 0u);
}

}  // namespace
}  // namespace SkinUI
