#include "ui/controls/option/option_ui.h"

#include <cwchar>

#include "ui/markup/value_formats.h"
#include "ui/render/render_kit.h"
#include "ui/resources/resource_tables.h"
#include "ui/controls/notify_kinds.h"

namespace SkinUI {

namespace {

std::wstring WithLineBreaks(std::wstring text) {
  for (size_t pos = text.find(L"<n>"); pos != std::wstring::npos; pos = text.find(L"<n>", pos + 2)) {
    text.replace(pos, 3, L"\r\n");
  }
  return text;
}

}  // namespace

COptionUI::~COptionUI() {
  if (!group_.empty() && manager_) manager_->OptionGroups().Leave(group_, this);
}

void* COptionUI::QueryInterfaceUI(const wchar_t* name) {
  if (name && std::wcscmp(name, L"Option") == 0) return this;
  return CButtonUI::QueryInterfaceUI(name);
}

bool COptionUI::CanActivate(bool rightButton) {
  if (!CButtonUI::CanActivate(rightButton)) return false;
  SetChecked(group_.empty() ? !selected_ : true, true);
  return true;
}

// An option taken out of its window (removed from its container, perhaps
// to be deleted later) leaves that window's group at once.
void COptionUI::AttachManager(IControlHost* manager, CControlUI* parent, bool init) {
  if (manager_ && manager != manager_ && !group_.empty()) manager_->OptionGroups().Leave(group_, this);
  CButtonUI::AttachManager(manager, parent, init);
}

void COptionUI::DoInitControl() {
  CButtonUI::DoInitControl();
  if (!group_.empty() && manager_) manager_->OptionGroups().Join(group_, this);
}

void COptionUI::SetGroup(const std::wstring& group) {
  if (group == group_) return;
  if (!group_.empty() && manager_) manager_->OptionGroups().Leave(group_, this);
  group_ = group;
  if (!group_.empty() && manager_) manager_->OptionGroups().Join(group_, this);
}

void COptionUI::SetChecked(bool selected, bool notify) {
  if (selected == selected_) return;
  selected_ = selected;
  state_ = selected ? (state_ | kStateSelected) : (state_ & ~kStateSelected);
  if (manager_) {
    if (!group_.empty() && selected_) {
      for (CControlUI* member : manager_->OptionGroups().Members(group_)) {
        if (member != this) static_cast<COptionUI*>(member)->DeselectForGroup(notify);
      }
    }
    if (notify) NotifySelectChanged();
  }
  Invalidate();
}

void COptionUI::SetSelectedToolTip(const std::wstring& text) { selectedToolTip_ = WithLineBreaks(text); }

void COptionUI::SetSelectedStateImage(const std::wstring& image) {
  selectedStateImage_ = image;
  Invalidate();
}

std::wstring COptionUI::ToolTip() const {
  return selected_ && !selectedToolTip_.empty() ? selectedToolTip_ : CButtonUI::ToolTip();
}

void COptionUI::SwitchResources(int index) {
  const ResourceTables& tables = ResourceTables::Get();
  tables.SwitchImage(selNormalKeys_, index, selectedImage_);
  tables.SwitchImage(selHotKeys_, index, selectedHotImage_);
  tables.SwitchImage(selPushedKeys_, index, selectedPushedImage_);
  tables.SwitchImage(selForeKeys_, index, selectedForeImage_);
  tables.SwitchColour(selTextColourKeys_, index, selectedTextColour_);
  tables.SwitchColour(selBkColourKeys_, index, selectedBkColour_);
  CButtonUI::SwitchResources(index);
}

void COptionUI::HandleEvent(InputEvent& event) {
  // A double click on a selected option does not capture: the button-up
  // that follows changes nothing.
  if (event.kind == kEventDoubleClick && selected_ && IsMouseEnabled() && IsEnabledUI() &&
      PtInRect(&item_, event.mouse)) {
    SendNotify(kNotifyDoubleClick);
    return;
  }
  CButtonUI::HandleEvent(event);
}

void COptionUI::ApplyAttribute(const wchar_t* rawName, const wchar_t* rawValue) {
  const std::wstring name = rawName ? rawName : L"";
  const std::wstring value = rawValue ? rawValue : L"";
  const auto image = [this, &value](std::wstring& field) {
    field = value;
    Invalidate();
  };
  if (name == L"group") SetGroup(value);
  else if (name == L"selected") SetChecked(ParseBool(value), true);
  else if (name == L"selectedimage") image(selectedImage_);
  else if (name == L"selectedhotimage") image(selectedHotImage_);
  else if (name == L"selectedpushedimage") image(selectedPushedImage_);
  else if (name == L"selecteddisabledimage") image(selectedDisabledImage_);
  else if (name == L"selectedforeimage") image(selectedForeImage_);
  else if (name == L"selectedstateimage") SetSelectedStateImage(value);
  else if (name == L"selectedstatecount") { selectedStateCount_ = ParseInteger(value); Invalidate(); }
  else if (name == L"selectedbkcolor") { selectedBkColour_ = ParseColour(value); Invalidate(); }
  else if (name == L"selectedtextcolor") { selectedTextColour_ = ParseColour(value); Invalidate(); }
  else if (name == L"selectedfont") { selectedFont_ = ParseInteger(value); RecomputeEstimate(); Invalidate(); }
  else if (name == L"selectedtooltip") SetSelectedToolTip(value);
  else if (name == L"SelNormalImageSwitchRes") selNormalKeys_ = ParseSwitchKeys(value);
  else if (name == L"SelHotImageSwitchRes") selHotKeys_ = ParseSwitchKeys(value);
  else if (name == L"SelPushedImageSwitchRes") selPushedKeys_ = ParseSwitchKeys(value);
  else if (name == L"SelForeImageSwitchRes") selForeKeys_ = ParseSwitchKeys(value);
  else if (name == L"SelTextColorSwitchRes") selTextColourKeys_ = ParseSwitchKeys(value);
  else if (name == L"SelBkColorSwitchRes") selBkColourKeys_ = ParseSwitchKeys(value);
  else CButtonUI::ApplyAttribute(rawName, rawValue);
}

void COptionUI::FillBackColour(HDC dc) {
  if (!selected_) {
    CButtonUI::FillBackColour(dc);
    return;
  }
  if (selectedBkColour_ == 0) return;
  const SIZE round = BkRound();
  CRenderKit::DrawColor(dc, paintRect_, AdjustColour(selectedBkColour_), round.cx, round.cy);
}

void COptionUI::DrawStateImage(HDC dc) {
  if (!selected_) {
    CButtonUI::DrawStateImage(dc);
    return;
  }
  if (!selectedStateImage_.empty() && selectedStateCount_ > 0 && selectedImage_.empty()) {
    const std::vector<std::wstring> strips = StateStrips(selectedStateImage_, selectedStateCount_);
    if (!strips.empty()) {
      selectedImage_ = strips[0];
      if (strips.size() > 1) selectedHotImage_ = selectedPushedImage_ = strips[1];
      if (strips.size() > 2) selectedPushedImage_ = strips[2];
      if (strips.size() > 3) selectedDisabledImage_ = strips[3];
    }
  }
  RefreshStateBits();
  const std::wstring* chosen = nullptr;
  if (state_ & kStatePushed) chosen = &selectedPushedImage_;
  else if (state_ & kStateHot) chosen = &selectedHotImage_;
  else if (state_ & kStateDisabled) chosen = &selectedDisabledImage_;
  if (chosen && DrawIfSet(dc, *chosen)) return;
  DrawIfSet(dc, selectedImage_);
}

void COptionUI::DrawForeImage(HDC dc) {
  if (selected_ && DrawIfSet(dc, selectedForeImage_)) return;
  CButtonUI::DrawForeImage(dc);
}

void COptionUI::DrawLabelText(HDC dc) {
  if (!selected_) {
    CButtonUI::DrawLabelText(dc);
    return;
  }
  uint32_t colour = DisabledTextColor();
  if (IsEnabledUI()) colour = selectedTextColour_ != 0 ? selectedTextColour_ : TextColor();
  const RECT rect = TextArea();
  DrawTextIn(dc, rect, colour, selectedFont_ != -1 ? selectedFont_ : FontId());
}

}  // namespace SkinUI
