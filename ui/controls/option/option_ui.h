// A button that stays selected: alone it toggles, in a group it selects
// itself and deselects the others. The installer's check marks.
#pragma once

#include <string>
#include <vector>

#include "ui/controls/button/button_ui.h"
#include "ui/controls/notify_kinds.h"

namespace SkinUI {

class COptionUI : public CButtonUI {
 public:
  COptionUI() = default;
  ~COptionUI() override;

  const wchar_t* ControlClass() const override { return L"OptionUI"; }
  void* QueryInterfaceUI(const wchar_t* name) override;
  bool CanActivate(bool rightButton) override;
  void AttachManager(IControlHost* manager, CControlUI* parent, bool init) override;
  void DoInitControl() override;
  void SwitchResources(int index) override;
  std::wstring ToolTip() const override;
  void HandleEvent(InputEvent& event) override;
  void ApplyAttribute(const wchar_t* name, const wchar_t* value) override;
  void FillBackColour(HDC dc) override;
  void DrawStateImage(HDC dc) override;
  void DrawForeImage(HDC dc) override;
  void DrawLabelText(HDC dc) override;

  virtual std::wstring SelectedToolTip() const { return selectedToolTip_; }
  virtual void SetSelectedToolTip(const std::wstring& text);
  virtual const std::wstring& SelectedStateImage() const { return selectedStateImage_; }
  virtual void SetSelectedStateImage(const std::wstring& image);
  virtual void SetChecked(bool selected, bool notify = true);

  bool IsChecked() const { return selected_; }
  const std::wstring& Group() const { return group_; }
  void SetGroup(const std::wstring& group);

 protected:
  int MeasureFontId() const override { return selectedFont_ != -1 ? selectedFont_ : FontId(); }
  // "selectchanged" after a change of the selected flag.
  virtual void NotifySelectChanged() { SendNotify(kNotifySelectChanged); }
  // Another member of the group was selected.
  virtual void DeselectForGroup(bool notify) { SetChecked(false, notify); }

 private:
  bool selected_ = false;
  std::wstring group_;
  int selectedFont_ = -1;
  uint32_t selectedBkColour_ = 0;
  uint32_t selectedTextColour_ = 0;
  std::wstring selectedImage_, selectedHotImage_, selectedPushedImage_, selectedDisabledImage_;
  std::wstring selectedForeImage_, selectedStateImage_;
  int selectedStateCount_ = 0;
  std::wstring selectedToolTip_;
  std::vector<std::wstring> selNormalKeys_, selHotKeys_, selPushedKeys_, selForeKeys_;
  std::vector<std::wstring> selTextColourKeys_, selBkColourKeys_;
};

}  // namespace SkinUI
