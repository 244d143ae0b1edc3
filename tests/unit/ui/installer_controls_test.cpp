// The installer's controls in-process under Wine: label text styles, option
// groups and their notification order, check boxes, the progress bar's
// range and foreground modifier.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/unit/ui/manager_window.h"
#include "ui/containers/container_ui.h"
#include "ui/controls/checkbox/check_box_ui.h"
#include "ui/controls/label/label_ui.h"
#include "ui/controls/option/option_ui.h"
#include "ui/controls/progress/progress_ui.h"

namespace SkinUI {
namespace {

// Notifications as "type sender wParam".
class WordsReceiver : public INotifyUI {
 public:
  void OnNotify(NotifyRecord& record) override {
    log.push_back(record.type + L" " + record.senderName + L" " + std::to_wstring(record.wParam));
  }
  std::vector<std::wstring> log;
};

TEST(LabelStyle, AlignAndValignAsTheAttributesSay) {
  struct Case {
    UINT start;
    const wchar_t* name;
    const wchar_t* value;
    UINT expected;
  } cases[] = {
      {0x26, L"align", L"center", 0x25},
      {0x24, L"align", L"left,right", 0x26},
      {0x25, L"align", L"left", 0x24},
      {0x2010, L"valign", L"vcenter", 0x2024},
      {0x24, L"valign", L"bottom", 0x28},
      {0x24, L"wordbreak", L"true", 0x2014},
      {0x2014, L"wordbreak", L"false", 0x24},
      {0x24, L"endellipsis", L"true", 0x8024},
  };
  for (const Case& c : cases) {
    CLabelUI label;
    label.SetTextStyle(c.start);
    label.ApplyAttribute(c.name, c.value);
    EXPECT_EQ(label.TextStyle(), c.expected) << c.name << "=" << c.value;
  }
}

TEST(ControlClasses, NamesFlagsAndInterfaces) {
  CButtonUI button;
  CCheckBoxUI check;
  CProgressUI progress;
  EXPECT_STREQ(button.ControlClass(), L"ButtonUI");
  EXPECT_EQ(button.ControlFlags(), 3u);
  button.SetKeyboardEnabled(false);
  EXPECT_EQ(button.ControlFlags(), 2u);
  EXPECT_NE(check.QueryInterfaceUI(L"Option"), nullptr);
  EXPECT_NE(check.QueryInterfaceUI(L"Label"), nullptr);
  EXPECT_EQ(progress.QueryInterfaceUI(L"Button"), nullptr);
  EXPECT_EQ(progress.TextStyle(), 0x21u);
}

class OptionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(window_.Attach(L"<Window><VerticalLayout>"
                             L"<Option name=\"a\" group=\"g\" selected=\"true\" height=\"20\" />"
                             L"<Option name=\"b\" group=\"g\" height=\"20\" />"
                             L"<Option name=\"c\" group=\"g\" height=\"20\" />"
                             L"<Option name=\"solo\" height=\"20\" />"
                             L"<CheckBox name=\"x\" group=\"h\" selected=\"true\" height=\"20\" />"
                             L"<CheckBox name=\"y\" group=\"h\" height=\"20\" />"
                             L"</VerticalLayout></Window>"),
              nullptr);
    window_.Manager().AddReceiver(&receiver_);
  }
  COptionUI* Option(const wchar_t* name) {
    return static_cast<COptionUI*>(window_.Manager().LookupControl(name)->QueryInterfaceUI(L"Option"));
  }

  ManagerWindow window_;
  WordsReceiver receiver_;
};

TEST_F(OptionTest, SelectingInAGroupDeselectsTheSelectedOneFirst) {
  ASSERT_TRUE(Option(L"b")->CanActivate(false));
  EXPECT_FALSE(Option(L"a")->IsChecked());
  EXPECT_TRUE(Option(L"b")->IsChecked());
  EXPECT_FALSE(Option(L"c")->IsChecked());
  EXPECT_EQ(receiver_.log, (std::vector<std::wstring>{L"click b 0", L"selectchanged a 0", L"selectchanged b 0"}));
  // A selected member of a group stays selected when activated again.
  receiver_.log.clear();
  Option(L"b")->CanActivate(false);
  EXPECT_TRUE(Option(L"b")->IsChecked());
  EXPECT_EQ(receiver_.log, (std::vector<std::wstring>{L"click b 0"}));
}

TEST_F(OptionTest, AnUngroupedOptionToggles) {
  Option(L"solo")->SetChecked(true, false);
  Option(L"solo")->CanActivate(false);
  EXPECT_FALSE(Option(L"solo")->IsChecked());
  EXPECT_EQ(receiver_.log, (std::vector<std::wstring>{L"click solo 0", L"selectchanged solo 0"}));
}

TEST_F(OptionTest, CheckBoxesCarryTheirStateAndAreDeselectedQuietly) {
  Option(L"y")->SetChecked(true, true);
  EXPECT_FALSE(Option(L"x")->IsChecked());
  EXPECT_EQ(receiver_.log, (std::vector<std::wstring>{L"selectchanged y 1"}));
}

TEST_F(OptionTest, AnOptionLeavesItsGroupWhenDestroyed) {
  auto* root = static_cast<CContainerUI*>(window_.Manager().Root());
  root->SetDelayedDestroy(false);
  root->RemoveItem(Option(L"c"));
  EXPECT_EQ(window_.Manager().OptionGroups().Members(L"g").size(), 2u);
  Option(L"a")->SetChecked(true, true);  // reaches only the living members
  EXPECT_TRUE(Option(L"a")->IsChecked());
}

TEST(Progress, ChangeValueKeepsInsideTheRange) {
  CProgressUI bar;
  bar.ChangeValue(40);
  EXPECT_EQ(bar.ProgressValue(), 40);
  bar.ChangeValue(101);
  EXPECT_EQ(bar.ProgressValue(), 40);
  bar.ChangeValue(-1);
  EXPECT_EQ(bar.ProgressValue(), 40);
  bar.ChangeValue(100);
  EXPECT_EQ(bar.ProgressValue(), 100);
}

TEST(Progress, ForegroundModifierCoversTheFilledPart) {
  struct Case {
    int width, height, value, min, max;
    bool horizontal, stretch;
    int scale;
    const wchar_t* expected;
  } cases[] = {
      {490, 6, 40, 0, 100, true, true, 100, L"dest='0,0,196,6'"},
      {735, 9, 40, 0, 100, true, true, 150, L"dest='0,0,196,6'"},
      {490, 6, 100, 0, 100, true, true, 100, L"dest='0,0,490,6'"},
      {490, 6, 0, 0, 100, true, false, 100, L"dest='0,0,0,6' source='0,0,0,6'"},
      {10, 100, 25, 0, 100, false, true, 100, L"dest='0,75,10,100'"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CProgressUI::ForeModifier(c.width, c.height, c.value, c.min, c.max, c.horizontal, c.stretch, c.scale),
              c.expected);
  }
}

}  // namespace
}  // namespace SkinUI
