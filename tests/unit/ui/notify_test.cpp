// Who sees which notification in which order: the sender's delegates, then
// the receivers in registration order; immediate sending at once, queued
// sending on the posted wake-up message, in the order queued. And the
// message maps: which handler of which table a record reaches.
#include <gtest/gtest.h>

#include <functional>

#include "tests/unit/ui/manager_window.h"
#include "ui/containers/container_ui.h"
#include "ui/host/notify_pump.h"

namespace SkinUI {
namespace {

constexpr wchar_t kTree[] = L"<Window><Container name=\"root\"><Control name=\"btn\"/></Container></Window>";

// A window whose tree holds one control, with a notify delegate on it and
// two receivers, all writing to one log.
struct NotifyScene {
  NotifyScene() {
    root = window.Attach(kTree);
    button = window.Manager().LookupControl(L"btn");
    button->onNotify.Add([this](NotifyRecord& record) {
      log.push_back(L"delegate " + record.type + L" " + record.senderName);
      return delegateAnswer(record);
    });
    window.Manager().AddReceiver(&first);
    window.Manager().AddReceiver(&second);
  }

  ManagerWindow window;
  CControlUI* root = nullptr;
  CControlUI* button = nullptr;
  std::vector<std::wstring> log;
  RecordingReceiver first{log, L"R1"};
  RecordingReceiver second{log, L"R2"};
  std::function<bool(NotifyRecord&)> delegateAnswer = [](NotifyRecord&) { return true; };
};

TEST(NotifyOrderTest, DeliveryOrderTable) {
  using Lines = std::vector<std::wstring>;
  struct Case {
    const char* name;
    std::function<void(NotifyScene&)> send;
    Lines beforePump;
    Lines afterPump;
  };
  const Case cases[] = {
      {"immediate: delegate, then the receivers in registration order",
       [](NotifyScene& t) { t.button->SendNotify(L"click"); },
       {L"delegate click btn", L"R1 click btn", L"R2 click btn"},
       {}},
      {"queued: nothing until the wake-up message, then the same order",
       [](NotifyScene& t) { t.button->SendNotify(L"click", 0, 0, true); },
       {},
       {L"delegate click btn", L"R1 click btn", L"R2 click btn"}},
      {"an immediate record overtakes queued ones, which keep their order",
       [](NotifyScene& t) {
         t.button->SendNotify(L"first", 0, 0, true);
         t.button->SendNotify(L"second", 0, 0, true);
         t.button->SendNotify(L"now");
       },
       {L"delegate now btn", L"R1 now btn", L"R2 now btn"},
       {L"delegate first btn", L"R1 first btn", L"R2 first btn", L"delegate second btn", L"R1 second btn",
        L"R2 second btn"}},
      {"a delegate answering false stops the delegates, not the receivers",
       [](NotifyScene& t) {
         t.delegateAnswer = [](NotifyRecord&) { return false; };
         t.button->onNotify.Add([&t](NotifyRecord&) {
           t.log.push_back(L"second delegate");
           return true;
         });
         t.button->SendNotify(L"click");
       },
       {L"delegate click btn", L"R1 click btn", L"R2 click btn"},
       {}},
      {"a sender that leaves the tree in its delegate reaches no receiver",
       [](NotifyScene& t) {
         t.delegateAnswer = [&t](NotifyRecord&) {
           static_cast<CContainerUI*>(t.root)->RemoveItem(t.button);
           return true;
         };
         t.button->SendNotify(L"click");
       },
       {L"delegate click btn"},
       {}},
  };
  for (const Case& c : cases) {
    NotifyScene scene;
    ASSERT_NE(scene.button, nullptr);
    c.send(scene);
    EXPECT_EQ(scene.log, c.beforePump) << c.name;
    scene.log.clear();
    scene.window.PumpFor(100);
    EXPECT_EQ(scene.log, c.afterPump) << c.name;
  }
}

TEST(NotifyOrderTest, TheFirstPaintSendsWindowInitAtOnceAndQueuesWindowSize) {
  NotifyScene scene;
  ShowWindow(scene.window.Window(), SW_SHOWNOACTIVATE);
  UpdateWindow(scene.window.Window());
  EXPECT_EQ(scene.log, (std::vector<std::wstring>{L"R1 windowinit root", L"R2 windowinit root"}));
  scene.log.clear();
  scene.window.PumpFor(100);
  EXPECT_EQ(scene.log, (std::vector<std::wstring>{L"R1 windowsize root", L"R2 windowsize root"}));
  EXPECT_EQ(scene.button->ItemRect().right, 400);
}

TEST(NotifyOrderTest, HidingTheFocusedControlSendsKillFocus) {
  NotifyScene scene;
  scene.button->TakeFocus();
  ASSERT_EQ(scene.window.Manager().FocusControl(), scene.button);
  scene.log.clear();
  scene.button->Show(false);
  EXPECT_EQ(scene.window.Manager().FocusControl(), nullptr);
  EXPECT_EQ(scene.log,
            (std::vector<std::wstring>{L"delegate killfocus btn", L"R1 killfocus btn", L"R2 killfocus btn"}));
}

// Message maps: a base window and two derived ones.
class BaseWindow : public CNotifyPump {
 public:
  std::vector<std::wstring> calls;
  void OnBaseClick(NotifyRecord& record) { calls.push_back(L"base click " + record.senderName); }
  void OnBaseTimer(WPARAM wParam, LPARAM lParam) {
    calls.push_back(L"base timer " + std::to_wstring(wParam) + L"," + std::to_wstring(lParam));
  }

 protected:
  static const MessageMapEntry kEntries[];
  static const MessageMap kMap;
  const MessageMap* NotifyMap() const override { return &kMap; }
};
const MessageMapEntry BaseWindow::kEntries[] = {
    OnNotifyRecord<BaseWindow>(L"click", L"", &BaseWindow::OnBaseClick),
    OnNotifyWords<BaseWindow>(L"timer", L"", &BaseWindow::OnBaseTimer),
    kMessageMapEnd,
};
const MessageMap BaseWindow::kMap{nullptr, BaseWindow::kEntries};

class DialogWindow : public BaseWindow {
 public:
  void OnClose(NotifyRecord&) { calls.push_back(L"dialog close"); }
  void OnAnyClickEarly(NotifyRecord&) { calls.push_back(L"dialog any click (early)"); }
  void OnAnyClickLate(NotifyRecord&) { calls.push_back(L"dialog any click (late)"); }

 protected:
  static const MessageMapEntry kEntries[];
  static const MessageMap kMap;
  const MessageMap* NotifyMap() const override { return &kMap; }
};
const MessageMapEntry DialogWindow::kEntries[] = {
    OnNotifyRecord<DialogWindow>(L"click", L"", &DialogWindow::OnAnyClickEarly),
    OnNotifyRecord<DialogWindow>(L"click", L"BtnClose", &DialogWindow::OnClose),
    OnNotifyRecord<DialogWindow>(L"click", L"", &DialogWindow::OnAnyClickLate),
    kMessageMapEnd,
};
const MessageMap DialogWindow::kMap{&BaseWindow::kMap, DialogWindow::kEntries};

class QuietWindow : public BaseWindow {
 public:
  void OnSelect(NotifyRecord&) { calls.push_back(L"quiet select"); }

 protected:
  static const MessageMapEntry kEntries[];
  static const MessageMap kMap;
  const MessageMap* NotifyMap() const override { return &kMap; }
};
const MessageMapEntry QuietWindow::kEntries[] = {
    OnNotifyRecord<QuietWindow>(L"selectchanged", L"", &QuietWindow::OnSelect),
    kMessageMapEnd,
};
const MessageMap QuietWindow::kMap{&BaseWindow::kMap, QuietWindow::kEntries};

TEST(NotifyPumpTest, MessageMapTable) {
  CControlUI sender;
  struct Case {
    const char* name;
    bool dialog;  // DialogWindow, else QuietWindow
    const wchar_t* type;
    const wchar_t* senderName;
    const wchar_t* expected;  // empty: no handler
  };
  const Case cases[] = {
      {"a named entry wins within its table", true, L"click", L"BtnClose", L"dialog close"},
      {"otherwise the last unnamed entry of the type", true, L"click", L"BtnOther", L"dialog any click (late)"},
      {"names compare with letter case", true, L"click", L"btnclose", L"dialog any click (late)"},
      {"types compare with letter case", true, L"Click", L"BtnClose", L""},
      {"the base table answers what the derived one lacks", true, L"timer", L"x", L"base timer 7,9"},
      {"a derived table without the type passes to the base", false, L"click", L"BtnClose", L"base click BtnClose"},
      {"the derived table's own type", false, L"selectchanged", L"opt", L"quiet select"},
      {"no table knows the type", false, L"menu", L"x", L""},
  };
  for (const Case& c : cases) {
    DialogWindow dialog;
    QuietWindow quiet;
    BaseWindow& pump = c.dialog ? static_cast<BaseWindow&>(dialog) : quiet;
    NotifyRecord record;
    record.type = c.type;
    record.senderName = c.senderName;
    record.sender = &sender;
    record.wParam = 7;
    record.lParam = 9;
    pump.NotifyPump(record);
    const std::vector<std::wstring> expected =
        *c.expected ? std::vector<std::wstring>{c.expected} : std::vector<std::wstring>{};
    EXPECT_EQ(pump.calls, expected) << c.name;
  }
}

TEST(NotifyPumpTest, VirtualWindowsAreTriedFirstAndRecordsWithoutSenderAreIgnored) {
  CControlUI sender;
  DialogWindow dialog;
  QuietWindow panel;
  ASSERT_TRUE(dialog.AddVirtualWindow(L"panel", &panel));
  EXPECT_FALSE(dialog.AddVirtualWindow(L"panel", &panel));
  NotifyRecord record;
  record.sender = &sender;
  record.virtualWindow = L"panel";
  record.type = L"click";
  record.senderName = L"BtnClose";
  dialog.NotifyPump(record);  // the panel's base table takes the click
  EXPECT_EQ(panel.calls, (std::vector<std::wstring>{L"base click BtnClose"}));
  EXPECT_TRUE(dialog.calls.empty());
  record.type = L"menu";
  dialog.NotifyPump(record);  // nobody: nothing
  record.virtualWindow.clear();
  record.type = L"click";
  record.sender = nullptr;
  dialog.NotifyPump(record);
  EXPECT_TRUE(dialog.calls.empty());
}

}  // namespace
}  // namespace SkinUI
