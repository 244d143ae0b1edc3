// The text host of a rich edit control: what the windowless text services
// of Msftedit.dll ask of their surroundings (device context, rectangles,
// formats, caret, timers, capture, notifications), answered for one
// `CRichEditUI` inside its window. Reference-counted, created with count 1.
//
// On i686 the text services call these methods with the thiscall
// convention: they are plain virtual members as textserv.h declares them.
#pragma once

#include <windows.h>
#include <richedit.h>
#include <textserv.h>
#include <wrl/client.h>

#include <string>

#include "base/handles.h"

namespace SkinUI {

class CRichEditUI;

class CTxtWinHost final : public ITextHost {
 public:
  // Style bits of the control (edit and window style meanings).
  static constexpr DWORD kStyleCentre = 0x1;
  static constexpr DWORD kStyleRight = 0x2;
  static constexpr DWORD kStyleMultiLine = 0x4;
  static constexpr DWORD kStylePassword = 0x20;
  static constexpr DWORD kStyleAutoVScroll = 0x40;
  static constexpr DWORD kStyleAutoHScroll = 0x80;
  static constexpr DWORD kStyleReadOnly = 0x800;
  static constexpr DWORD kStyleKeepScrollBars = 0x2000;
  static constexpr DWORD kStyleHScroll = 0x100000;
  static constexpr DWORD kStyleVScroll = 0x200000;

  // A host for the control with its text services; none when Msftedit.dll,
  // CreateTextServices, the interface or the initial text fails.
  static Microsoft::WRL::ComPtr<CTxtWinHost> Create(CRichEditUI* control, DWORD style, const std::wstring& text);

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;

  // ITextHost
  HDC TxGetDC() override;
  INT TxReleaseDC(HDC dc) override;
  WINBOOL TxShowScrollBar(INT bar, WINBOOL show) override;
  WINBOOL TxEnableScrollBar(INT flags, INT arrows) override;
  WINBOOL TxSetScrollRange(INT bar, LONG min, INT max, WINBOOL redraw) override;
  WINBOOL TxSetScrollPos(INT bar, INT pos, WINBOOL redraw) override;
  void TxInvalidateRect(LPCRECT rect, WINBOOL mode) override;
  void TxViewChange(WINBOOL update) override;
  WINBOOL TxCreateCaret(HBITMAP bitmap, INT width, INT height) override;
  WINBOOL TxShowCaret(WINBOOL show) override;
  WINBOOL TxSetCaretPos(INT x, INT y) override;
  WINBOOL TxSetTimer(UINT id, UINT timeout) override;
  void TxKillTimer(UINT id) override;
  void TxScrollWindowEx(INT dx, INT dy, LPCRECT scroll, LPCRECT clip, HRGN update, LPRECT updateRect,
                        UINT flags) override;
  void TxSetCapture(WINBOOL capture) override;
  void TxSetFocus() override;
  void TxSetCursor(HCURSOR cursor, WINBOOL text) override;
  WINBOOL TxScreenToClient(LPPOINT point) override;
  WINBOOL TxClientToScreen(LPPOINT point) override;
  HRESULT TxActivate(LONG* oldState) override;
  HRESULT TxDeactivate(LONG newState) override;
  HRESULT TxGetClientRect(LPRECT rect) override;
  HRESULT TxGetViewInset(LPRECT rect) override;
  HRESULT TxGetCharFormat(const CHARFORMATW** format) override;
  HRESULT TxGetParaFormat(const PARAFORMAT** format) override;
  COLORREF TxGetSysColor(int index) override;
  HRESULT TxGetBackStyle(TXTBACKSTYLE* style) override;
  HRESULT TxGetMaxLength(DWORD* length) override;
  HRESULT TxGetScrollBars(DWORD* bars) override;
  HRESULT TxGetPasswordChar(TCHAR* character) override;
  HRESULT TxGetAcceleratorPos(LONG* position) override;
  HRESULT TxGetExtent(LPSIZEL extent) override;
  HRESULT OnTxCharFormatChange(const CHARFORMATW* format) override;
  HRESULT OnTxParaFormatChange(const PARAFORMAT* format) override;
  HRESULT TxGetPropertyBits(DWORD mask, DWORD* bits) override;
  HRESULT TxNotify(DWORD code, void* data) override;
  HIMC TxImmGetContext() override;
  void TxImmReleaseContext(HIMC context) override;
  HRESULT TxGetSelectionBarWidth(LONG* width) override;

  ITextServices* Services() const { return services_.Get(); }
  const RECT& ClientRect() const { return client_; }
  // Sets the rectangle the text lies in (window coordinates), recomputes
  // the extent and tells the services.
  void SetClientRect(const RECT& rect);
  // The character format from a font of the window, in the text colour.
  void SetFont(HFONT font);
  void SetTextColour(uint32_t argb);
  void SetTransparent(bool on);
  void SetRich(bool on);
  void SetMaxLength(DWORD length);
  void SetActive(bool on) { active_ = on; }
  bool IsActive() const { return active_; }
  bool HasCapture() const { return captured_; }
  bool IsCaretShown() const { return caretShown_; }
  SIZE CaretSize() const { return caretSize_; }
  // The next caret move invalidates the old caret (after a size change).
  void MarkSizeChanged() { sizeChanged_ = true; }

 private:
  CTxtWinHost(CRichEditUI* control, DWORD style);
  ~CTxtWinHost();
  bool StartServices(const std::wstring& text);
  // The paint context's DPI along `axis` (LOGPIXELSX/Y); a context that
  // reports none takes the display estimate.
  int PaintDpi(int axis) const;
  int PaintDpiY() const;
  int PaintDpiX() const;

  ULONG references_ = 1;
  CRichEditUI* control_;
  UniqueModule library_;
  Microsoft::WRL::ComPtr<ITextServices> services_;
  DWORD style_;
  bool rich_ = true;
  bool wordWrap_ = false;
  bool active_ = false;
  bool transparent_ = true;
  bool captured_ = false;
  bool caretShown_ = false;
  bool sizeChanged_ = false;
  DWORD maxLength_ = 0x7FFF;
  RECT client_{};
  SIZEL extent_{};
  SIZE caretSize_{};
  SIZE placedCaretSize_{};
  POINT placedCaret_{};
  CHARFORMAT2W charFormat_{};
  PARAFORMAT2 paraFormat_{};
};

}  // namespace SkinUI
