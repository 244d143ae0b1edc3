// The window base on real windows under Wine: the hit test with the caption
// area and the controls that keep their clicks, resize borders, the
// minimum tracking size at a scale, the caption buttons; and the rich edit
// on the text services: text in and out, single-line return, padding at a
// scale.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "base/handles.h"
#include "tests/unit/ui/manager_window.h"
#include "ui/containers/rich_edit/rich_edit_ui.h"
#include "ui/render/gdiplus_session.h"
#include "ui/window/window_impl_base.h"

namespace SkinUI {
namespace {

class MarkupFrame : public WindowImplBase {
 public:
  explicit MarkupFrame(std::wstring markup) : markup_(std::move(markup)) {}
  const wchar_t* WindowClassName() const override { return L"NEBMarkupFrameTest"; }
  std::vector<std::wstring> clicks;

 protected:
  std::wstring SkinFile() const override { return markup_; }
  void OnNotify(NotifyRecord& record) override {
    if (record.type == L"click") clicks.push_back(record.senderName);
    WindowImplBase::OnNotify(record);
  }

 private:
  std::wstring markup_;
};

const wchar_t kFrameMarkup[] =
    L"<Window size=\"400,300\" caption=\"0,0,0,66\" mininfo=\"640,500\">"
    L"<VerticalLayout name=\"root\">"
    L"<HorizontalLayout name=\"top\" height=\"66\">"
    L"<Label name=\"title\" width=\"100\" /><Control />"
    L"<Button name=\"minbtn\" width=\"30\" /><Button name=\"BtnClose\" width=\"30\" />"
    L"</HorizontalLayout><Control name=\"body\" /></VerticalLayout></Window>";

class FrameTest : public ::testing::Test {
 protected:
  void SetUp() override {
    StartGdiplusOnce();
    CPaintManagerUI::SetInstance(GetModuleHandleW(nullptr));
    ASSERT_NE(frame_.OpenWindow(nullptr, L"frame test", WS_POPUP, 0, 0, 0, 100, 100), nullptr);
    frame_.Show(true, false);
    Pump();
  }
  void TearDown() override {
    if (IsWindow(frame_.Window())) DestroyWindow(frame_.Window());
  }
  void Pump() {
    MSG message;
    for (int round = 0; round < 20; ++round) {
      while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (!CPaintManagerUI::TranslateMessageUI(&message)) {
          TranslateMessage(&message);
          DispatchMessageW(&message);
        }
      }
      Sleep(5);
    }
  }
  LRESULT HitAt(int x, int y) {
    POINT point{x, y};
    ClientToScreen(frame_.Window(), &point);
    return SendMessageW(frame_.Window(), WM_NCHITTEST, 0, MAKELPARAM(point.x, point.y));
  }

  MarkupFrame frame_{kFrameMarkup};
};

TEST_F(FrameTest, CaptionAreaDragsOverPlainControlsOnly) {
  EXPECT_EQ(HitAt(50, 60), HTCAPTION);   // the title label
  EXPECT_EQ(HitAt(200, 10), HTCAPTION);  // the stretching spacer
  EXPECT_EQ(HitAt(355, 10), HTCLIENT);   // a button
  EXPECT_EQ(HitAt(200, 70), HTCLIENT);   // below the caption
  // No size box: the edges are client area.
  EXPECT_EQ(HitAt(0, 150), HTCLIENT);
  EXPECT_EQ(HitAt(399, 299), HTCLIENT);
  // At 150 % the caption reaches 99 pixels down.
  frame_.Manager().ApplyDpi(144);
  Pump();
  EXPECT_EQ(HitAt(50, 98), HTCAPTION);
  EXPECT_EQ(HitAt(50, 99), HTCLIENT);
}

TEST_F(FrameTest, MinimumTrackingSizeFollowsTheScale) {
  frame_.Manager().ApplyDpi(120);
  MINMAXINFO info{};
  SendMessageW(frame_.Window(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
  EXPECT_EQ(info.ptMinTrackSize.x, 800);
  EXPECT_EQ(info.ptMinTrackSize.y, 625);
}

TEST_F(FrameTest, MinbtnMinimisesWithoutAHandlerAndOtherNamesDoNothing) {
  CControlUI* close = frame_.Manager().LookupControl(L"BtnClose");
  ASSERT_NE(close, nullptr);
  close->CanActivate(false);
  Pump();
  EXPECT_TRUE(IsWindow(frame_.Window()));
  EXPECT_FALSE(IsIconic(frame_.Window()));
  frame_.Manager().LookupControl(L"minbtn")->CanActivate(false);
  Pump();
  EXPECT_TRUE(IsIconic(frame_.Window()));
  EXPECT_EQ(frame_.clicks, (std::vector<std::wstring>{L"BtnClose", L"minbtn"}));
}

class RichEditTest : public ::testing::Test {
 protected:
  CRichEditUI* Attach(const std::wstring& attributes) {
    StartGdiplusOnce();
    CControlUI* root = window_.Attach(L"<Window><VerticalLayout><RichEdit name=\"edit\" height=\"40\" " + attributes +
                                      L" /></VerticalLayout></Window>");
    window_.Manager().AddReceiver(&receiver_);
    window_.Layout();
    return root ? static_cast<CRichEditUI*>(window_.Manager().LookupControl(L"edit")) : nullptr;
  }

  ScopedOleInit ole_;
  ManagerWindow window_;
  RecordingReceiver receiver_{log_, L"r"};
  std::vector<std::wstring> log_;
};

TEST_F(RichEditTest, TextGoesInAndComesBackTheSame) {
  CRichEditUI* edit = Attach(L"multiline=\"false\" rich=\"false\" text=\"C:\\Lumetrica\"");
  ASSERT_NE(edit, nullptr);
  ASSERT_TRUE(edit->HasServices()) << "Msftedit.dll's text services";
  EXPECT_EQ(edit->ControlText(), L"C:\\Lumetrica");
  edit->ChangeText(L"D:\\产品\\目录");
  EXPECT_EQ(edit->ControlText(), L"D:\\产品\\目录");
  EXPECT_EQ(std::count(log_.begin(), log_.end(), L"r textchanged edit"), 1);
}

TEST_F(RichEditTest, ReturnIsReportedAndInsertsNothingWithoutWantReturn) {
  CRichEditUI* edit = Attach(L"multiline=\"false\" rich=\"false\" wantreturn=\"false\" text=\"abc\"");
  ASSERT_NE(edit, nullptr);
  edit->TakeFocus();
  LRESULT result = 0;
  EXPECT_EQ(edit->SendToServices(WM_KEYDOWN, VK_RETURN, 0, &result), S_OK);
  EXPECT_EQ(edit->ControlText(), L"abc");
  EXPECT_NE(std::find(log_.begin(), log_.end(), L"r return edit"), log_.end());
}

TEST_F(RichEditTest, TextPaddingScalesAgainAtTheWindowsScale) {
  CRichEditUI* edit = Attach(L"textpadding=\"15,8,0,8\" RichEditDpiTextPadding=\"true\"");
  ASSERT_NE(edit, nullptr);
  window_.Manager().ApplyDpi(144);
  window_.Layout();
  const RECT item = edit->ItemRect(), host = edit->HostRect();
  EXPECT_EQ(host.left - item.left, 23);
  EXPECT_EQ(host.top - item.top, 12);
}

TEST_F(RichEditTest, WithoutServicesTheTextIsEmptyAndNothingIsSent) {
  CRichEditUI edit;
  LRESULT result = 0;
  EXPECT_EQ(edit.SendToServices(WM_CHAR, 'a', 0, &result), S_FALSE);
  edit.ChangeText(L"kept");
  EXPECT_EQ(edit.ControlText(), L"");
}

}  // namespace
}  // namespace SkinUI
