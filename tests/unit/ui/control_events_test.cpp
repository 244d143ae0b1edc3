// Input events turned into notifications, focus, timers, delegates and the
// drag-and-drop hooks of the control base.
#include <gtest/gtest.h>

#include "tests/unit/ui/ui_test_support.h"

namespace SkinUI {
namespace {

struct Received {
  std::wstring type;
  std::wstring sender;
  WPARAM wParam;
};

class RecordingReceiver : public INotifyUI {
 public:
  void OnNotify(NotifyRecord& record) override { records.push_back({record.type, record.senderName, record.wParam}); }
  std::vector<std::wstring> Types() const {
    std::vector<std::wstring> types;
    for (const Received& r : records) types.push_back(r.type);
    return types;
  }
  std::vector<Received> records;
};

class ControlEventsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    manager_.BindWindow(window_.Get(), L"events");
    manager_.AddReceiver(&receiver_);
    parent_.ChangeName(L"parent");
    parent_.AttachManager(&manager_, nullptr, false);
    child_.ChangeName(L"child");
    child_.AttachManager(&manager_, &parent_, false);
  }

  void Send(CControlUI& control, int kind, WPARAM wParam = 0) {
    InputEvent event;
    event.kind = kind;
    event.sender = &control;
    event.wParam = wParam;
    control.RouteEvent(event);
  }

  HiddenWindow window_;
  CPaintManagerUI manager_;
  RecordingReceiver receiver_;
  CControlUI parent_;
  CControlUI child_;
};

TEST_F(ControlEventsTest, EventsBecomeNotifications) {
  struct Case {
    const char* what;
    const wchar_t* flag;  // attribute set to "true" first, or nullptr
    int kind;
    std::vector<std::wstring> types;
    const wchar_t* sender;
  };
  const Case cases[] = {
      {"timer", nullptr, kEventTimer, {L"timer"}, L"child"},
      {"hover", nullptr, kEventMouseHover, {L"mousehover"}, L"child"},
      {"move", nullptr, kEventMouseMove, {L"mousemove"}, L"child"},
      {"wheel", nullptr, kEventScrollWheel, {L"mousewheel"}, L"child"},
      {"key down", nullptr, kEventKeyDown, {L"keydown"}, L"child"},
      {"character", nullptr, kEventChar, {L"char"}, L"child"},
      {"context menu with the flag", L"menu", kEventContextMenu, {L"menu"}, L"child"},
      {"context menu without it", nullptr, kEventContextMenu, {}, nullptr},
      {"mouse enter with enter/leave", L"ReponseMouseEnterLeave", kEventMouseEnter, {L"mouseenter"}, L"child"},
      {"mouse leave with enter/leave", L"ReponseMouseEnterLeave", kEventMouseLeave, {L"mouseleave"}, L"child"},
      {"mouse enter without it", nullptr, kEventMouseEnter, {}, nullptr},
      {"drag begin with drag", L"drag", kEventDragBegin, {L"begindrag"}, L"child"},
      {"drag-move begin", L"dragmove", kEventDragMoveBegin, {L"dragmovebegin"}, L"child"},
      {"drag-moving", L"dragmove", kEventDragMoving, {L"dragmoving"}, L"child"},
      {"drag-move end", L"dragmove", kEventDragMoveEnd, {L"dragmoveend"}, L"child"},
      {"button down goes to the parent, which ignores it", nullptr, kEventButtonDown, {}, nullptr},
  };
  for (const Case& c : cases) {
    CControlUI control;
    control.ChangeName(L"child");
    control.AttachManager(&manager_, &parent_, false);
    if (c.flag) control.ApplyAttribute(c.flag, L"true");
    receiver_.records.clear();
    Send(control, c.kind, 7);
    EXPECT_EQ(receiver_.Types(), c.types) << c.what;
    if (!receiver_.records.empty()) {
      EXPECT_EQ(receiver_.records[0].sender, c.sender) << c.what;
      EXPECT_EQ(receiver_.records[0].wParam, 7u) << c.what;
    }
  }
}

TEST_F(ControlEventsTest, UnhandledEventsGoToTheParent) {
  parent_.ApplyAttribute(L"drag", L"true");
  Send(child_, kEventDragBegin);
  ASSERT_EQ(receiver_.records.size(), 1u);
  EXPECT_EQ(receiver_.records[0].type, L"begindrag");
  EXPECT_EQ(receiver_.records[0].sender, L"parent");
}

TEST_F(ControlEventsTest, DisabledControlsDoNotReportEnterAndLeave) {
  child_.ApplyAttribute(L"ReponseMouseEnterLeave", L"true");
  child_.Enable(false);
  Send(child_, kEventMouseEnter);
  EXPECT_TRUE(receiver_.records.empty());
}

TEST_F(ControlEventsTest, EventDelegatesCanStopTheHandling) {
  int seen = 0;
  child_.onEvent.Add([&seen](InputEvent&) { return ++seen == 0; });
  Send(child_, kEventMouseHover);
  EXPECT_EQ(seen, 1);
  EXPECT_TRUE(receiver_.records.empty());
}

TEST_F(ControlEventsTest, NotifyDelegatesRunBeforeReceivers) {
  std::vector<std::wstring> order;
  child_.onNotify.Add([&order](NotifyRecord& r) {
    order.push_back(L"first " + r.type);
    return false;  // stops the delegates, not the receivers
  });
  child_.onNotify.Add([&order](NotifyRecord&) {
    order.push_back(L"second");
    return true;
  });
  child_.SendNotify(L"click");
  EXPECT_EQ(order, (std::vector<std::wstring>{L"first click"}));
  EXPECT_EQ(receiver_.Types(), (std::vector<std::wstring>{L"click"}));
}

TEST_F(ControlEventsTest, QueuedNotificationsWaitForTheirTurn) {
  child_.SendNotify(L"windowsize", 0, 0, true);
  EXPECT_TRUE(receiver_.records.empty());
  MSG message{};
  EXPECT_TRUE(PeekMessageW(&message, window_.Get(), CPaintManagerUI::kMsgQueuedNotify,
                           CPaintManagerUI::kMsgQueuedNotify, PM_REMOVE));
  manager_.DrainQueuedNotifications();
  EXPECT_EQ(receiver_.Types(), (std::vector<std::wstring>{L"windowsize"}));
}

TEST_F(ControlEventsTest, FocusFollowsTheManagerAndHidingClearsIt) {
  child_.TakeFocus();
  EXPECT_TRUE(child_.IsFocused());
  EXPECT_EQ(manager_.FocusControl(), &child_);
  EXPECT_EQ(receiver_.Types(), (std::vector<std::wstring>{L"setfocus"}));

  receiver_.records.clear();
  child_.Show(false);
  EXPECT_FALSE(child_.IsFocused());
  EXPECT_EQ(manager_.FocusControl(), nullptr);
  EXPECT_EQ(receiver_.Types(), (std::vector<std::wstring>{L"killfocus"}));

  receiver_.records.clear();
  child_.TakeFocus();  // hidden controls do not take the focus
  EXPECT_EQ(manager_.FocusControl(), nullptr);
  child_.Show(true);
  child_.Enable(false);
  child_.TakeFocus();  // nor do disabled ones
  EXPECT_EQ(manager_.FocusControl(), nullptr);
  EXPECT_TRUE(receiver_.records.empty());
}

TEST_F(ControlEventsTest, TimersStartOnceAndRestartWithTheirNativeId) {
  EXPECT_TRUE(child_.StartTimer(3, 1000));
  EXPECT_FALSE(child_.StartTimer(3, 50));  // the first period stays
  UINT id = 0;
  UINT_PTR native = 0;
  for (UINT_PTR candidate = 0; candidate < 240 && !native; ++candidate) {
    if (manager_.TimerTarget(candidate, id) == &child_) native = candidate;
  }
  ASSERT_NE(native, 0u);
  EXPECT_EQ(id, 3u);
  EXPECT_TRUE(child_.StopTimer(3));
  EXPECT_FALSE(child_.StopTimer(3));
  EXPECT_EQ(manager_.TimerTarget(native, id), nullptr);
  EXPECT_TRUE(child_.StartTimer(3, 1000));
  EXPECT_EQ(manager_.TimerTarget(native, id), &child_);
  CControlUI detached;
  EXPECT_FALSE(detached.StartTimer(1, 10));
}

TEST_F(ControlEventsTest, DragAndDropHooksNotifyWhenDropsAreAccepted) {
  child_.OnDragEnter();
  EXPECT_TRUE(receiver_.records.empty());
  parent_.SetDropEnabled(true);
  child_.OnDragEnter();
  child_.OnDrop();
  ASSERT_EQ(receiver_.records.size(), 2u);
  EXPECT_EQ(receiver_.records[0].sender, L"parent");
  EXPECT_EQ(receiver_.Types(), (std::vector<std::wstring>{L"dragenter", L"drop"}));
}

TEST_F(ControlEventsTest, InitialisationRegistersTabSupportAndRunsDelegates) {
  CControlUI control;
  control.ApplyAttribute(L"TabSuppot", L"true");
  bool initialised = false;
  control.onInit.Add([&initialised](CControlUI*) { return initialised = true; });
  control.AttachManager(&manager_, &parent_, true);
  EXPECT_TRUE(initialised);
  EXPECT_EQ(manager_.TabSupportList(), (std::vector<CControlUI*>{&control}));
}

TEST_F(ControlEventsTest, ADestroyedControlLeavesTheManager) {
  auto* control = new CControlUI();
  control->AttachManager(&manager_, &parent_, false);
  control->TakeFocus();
  ASSERT_TRUE(control->StartTimer(1, 1000));
  delete control;
  EXPECT_EQ(manager_.FocusControl(), nullptr);
  UINT id = 0;
  for (UINT_PTR candidate = 0; candidate < 240; ++candidate) EXPECT_EQ(manager_.TimerTarget(candidate, id), nullptr);
}

TEST_F(ControlEventsTest, ControlsWithoutManagerSendNothing) {
  CControlUI control;
  control.SendNotify(L"click");
  InputEvent event;
  event.kind = kEventTimer;
  control.RouteEvent(event);
  EXPECT_TRUE(receiver_.records.empty());
}

}  // namespace
}  // namespace SkinUI
