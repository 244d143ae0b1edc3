// A label that reacts to the mouse and the keyboard: state pictures and
// colours for hot, pushed, focused and disabled, and "click".
#pragma once

#include <string>
#include <vector>

#include "ui/controls/label/label_ui.h"

namespace SkinUI {

// State bits of buttons and options.
enum ButtonState : UINT {
  kStateFocused = 0x1,
  kStateSelected = 0x2,
  kStateDisabled = 0x4,
  kStateHot = 0x8,
  kStatePushed = 0x10,
  kStateCaptured = 0x40,
};

class CButtonUI : public CLabelUI {
 public:
  CButtonUI();

  const wchar_t* ControlClass() const override { return L"ButtonUI"; }
  void* QueryInterfaceUI(const wchar_t* name) override;
  UINT ControlFlags() const override;
  bool CanActivate(bool rightButton) override;
  void Enable(bool enabled = true) override;
  void SwitchResources(int index) override;
  void HandleEvent(InputEvent& event) override;
  void ApplyAttribute(const wchar_t* name, const wchar_t* value) override;
  void FillBackColour(HDC dc) override;
  void DrawStateImage(HDC dc) override;
  void DrawForeImage(HDC dc) override;
  void DrawLabelText(HDC dc) override;

  virtual const std::wstring& NormalImage() const { return normalImage_; }
  virtual void SetNormalImage(const std::wstring& image);
  virtual const std::wstring& HotImage() const { return hotImage_; }
  virtual void SetHotImage(const std::wstring& image);
  virtual const std::wstring& PushedImage() const { return pushedImage_; }
  virtual void SetPushedImage(const std::wstring& image);
  virtual const std::wstring& FocusedImage() const { return focusedImage_; }
  virtual void SetFocusedImage(const std::wstring& image);
  virtual const std::wstring& DisabledImage() const { return disabledImage_; }
  virtual void SetDisabledImage(const std::wstring& image);
  virtual const std::wstring& HotForeImage() const { return hotForeImage_; }
  virtual void SetHotForeImage(const std::wstring& image);
  virtual const std::wstring& PushedForeImage() const { return pushedForeImage_; }
  virtual void SetPushedForeImage(const std::wstring& image);
  virtual const std::wstring& StateImage() const { return stateImage_; }
  virtual void SetStateImage(const std::wstring& image);

  UINT ButtonStateBits() const { return state_; }
  // Binds the button to a page of a tab layout, selected after its "click".
  void BindTabPageName(const std::wstring& name) { bindPageName_ = name; }

 protected:
  // The "res='..' restype='..' dest='..' source='..'" strings of the strips
  // of a state picture cut into `count`, from the first; none when the
  // picture is missing or empty.
  std::vector<std::wstring> StateStrips(const std::wstring& stateImage, int count);
  // Follows the focus, the enabled state and a disabled native window.
  void RefreshStateBits();
  bool DrawIfSet(HDC dc, const std::wstring& image);

  UINT state_ = 0;

 private:
  void SelectBoundPage();
  void ChangeImage(std::wstring& field, const std::wstring& image);

  bool keyboardActive_ = true;
  std::wstring normalImage_, hotImage_, pushedImage_, focusedImage_, disabledImage_;
  std::wstring hotForeImage_, pushedForeImage_, stateImage_;
  int stateCount_ = 0;
  uint32_t hotBkColour_ = 0, pushedBkColour_ = 0, disabledBkColour_ = 0;
  uint32_t hotTextColour_ = 0, pushedTextColour_ = 0, focusedTextColour_ = 0;
  int hotFont_ = -1, pushedFont_ = -1, focusedFont_ = -1;
  std::wstring bindLayoutName_;
  int bindPageIndex_ = -1;
  std::wstring bindPageName_;
  std::vector<std::wstring> normalImageKeys_, hotImageKeys_, pushedImageKeys_, disabledImageKeys_;
  std::vector<std::wstring> hotTextColourKeys_, pushedTextColourKeys_;
};

}  // namespace SkinUI
