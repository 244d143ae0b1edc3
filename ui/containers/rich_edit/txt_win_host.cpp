#include "ui/containers/rich_edit/txt_win_host.h"

#include <cwchar>

#include "ui/containers/rich_edit/rich_edit_ui.h"
#include "ui/dpi/dpi_awareness.h"

namespace SkinUI {

namespace {

// {8D33F740-CF58-11CE-A89D-00AA006CADC5}
constexpr IID kIidTextServices = {0x8D33F740, 0xCF58, 0x11CE, {0xA8, 0x9D, 0x00, 0xAA, 0x00, 0x6C, 0xAD, 0xC5}};
// {C5BDD8D0-D26E-11CE-A89E-00AA006CADC5}
constexpr IID kIidTextHost = {0xC5BDD8D0, 0xD26E, 0x11CE, {0xA8, 0x9E, 0x00, 0xAA, 0x00, 0x6C, 0xAD, 0xC5}};

constexpr wchar_t kLibrary[] = L"Msftedit.dll";
constexpr char kCreateTextServices[] = "CreateTextServices";
using CreateTextServicesFn = HRESULT(WINAPI*)(IUnknown* outer, ITextHost* host, IUnknown** services);

constexpr int kHimetricPerInch = 2540;
constexpr LONG kTabStopTwips = 720;

COLORREF ToColorRef(uint32_t argb) {
  return RGB((argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF);
}

}  // namespace

Microsoft::WRL::ComPtr<CTxtWinHost> CTxtWinHost::Create(CRichEditUI* control, DWORD style,
                                                        const std::wstring& text) {
  Microsoft::WRL::ComPtr<CTxtWinHost> host;
  // Adopted without a new reference (created with count 1): MinGW's
  // ComPtr::Attach takes one more, so it is not used.
  *host.ReleaseAndGetAddressOf() = new CTxtWinHost(control, style);
  if (!host->StartServices(text)) return nullptr;
  return host;
}

CTxtWinHost::CTxtWinHost(CRichEditUI* control, DWORD style) : control_(control), style_(style) {
  rich_ = control->IsRich();
  transparent_ = control->IsTransparent();
  maxLength_ = control->MaxChars();
  wordWrap_ = (style & (kStyleHScroll | kStyleAutoHScroll)) == 0;

  charFormat_.cbSize = sizeof(charFormat_);
  paraFormat_.cbSize = sizeof(paraFormat_);
  paraFormat_.dwMask = PFM_STARTINDENT | PFM_RIGHTINDENT | PFM_OFFSET | PFM_ALIGNMENT | PFM_TABSTOPS |
                       PFM_NUMBERING | PFM_OFFSETINDENT | PFM_RTLPARA;
  paraFormat_.wAlignment = (style & kStyleCentre) ? PFA_CENTER : (style & kStyleRight) ? PFA_RIGHT : PFA_LEFT;
  paraFormat_.cTabCount = 1;
  paraFormat_.rgxTabs[0] = kTabStopTwips;
  IControlHost* manager = control->OwnerManager();
  SetFont(manager ? manager->FontById(control->FontId()) : nullptr);
}

CTxtWinHost::~CTxtWinHost() {
  if (services_) services_->OnTxInPlaceDeactivate();
}

bool CTxtWinHost::StartServices(const std::wstring& text) {
  library_.Reset(LoadLibraryExW(kLibrary, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32));
  if (!library_) return false;
  const auto create = reinterpret_cast<CreateTextServicesFn>(
      reinterpret_cast<void*>(GetProcAddress(library_.Get(), kCreateTextServices)));
  if (create == nullptr) return false;
  Microsoft::WRL::ComPtr<IUnknown> unknown;
  if (FAILED(create(nullptr, this, unknown.GetAddressOf())) || !unknown) return false;
  ITextServices* services = nullptr;
  if (FAILED(unknown->QueryInterface(kIidTextServices, reinterpret_cast<void**>(&services))) || services == nullptr) {
    return false;
  }
  *services_.ReleaseAndGetAddressOf() = services;  // adopts the reference the query gave
  return SUCCEEDED(services_->TxSetText(text.c_str()));
}

HRESULT CTxtWinHost::QueryInterface(REFIID iid, void** object) {
  if (object == nullptr) return E_POINTER;
  if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, kIidTextHost)) {
    *object = static_cast<ITextHost*>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

ULONG CTxtWinHost::AddRef() { return ++references_; }

ULONG CTxtWinHost::Release() {
  const ULONG left = --references_;
  if (left == 0) delete this;
  return left;
}

int CTxtWinHost::PaintDpi(int axis) const {
  IControlHost* manager = control_->OwnerManager();
  const int dpi = manager && manager->PaintDC() ? GetDeviceCaps(manager->PaintDC(), axis) : 0;
  return dpi > 0 ? dpi : DisplaySettingsDpi();
}

int CTxtWinHost::PaintDpiY() const { return PaintDpi(LOGPIXELSY); }

int CTxtWinHost::PaintDpiX() const { return PaintDpi(LOGPIXELSX); }

void CTxtWinHost::SetFont(HFONT font) {
  LOGFONTW logFont{};
  if (font == nullptr || GetObjectW(font, sizeof(logFont), &logFont) == 0) {
    GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof(logFont), &logFont);
  }
  charFormat_.dwMask = CFM_SIZE | CFM_OFFSET | CFM_FACE | CFM_CHARSET | CFM_COLOR | CFM_BOLD | CFM_ITALIC |
                       CFM_UNDERLINE;
  charFormat_.yHeight = logFont.lfHeight * -1440 / PaintDpiY();
  charFormat_.yOffset = 0;
  charFormat_.dwEffects = 0;
  if (logFont.lfWeight >= FW_BOLD) charFormat_.dwEffects |= CFE_BOLD;
  if (logFont.lfItalic) charFormat_.dwEffects |= CFE_ITALIC;
  if (logFont.lfUnderline) charFormat_.dwEffects |= CFE_UNDERLINE;
  charFormat_.bCharSet = logFont.lfCharSet;
  charFormat_.bPitchAndFamily = logFont.lfPitchAndFamily;
  std::wcsncpy(charFormat_.szFaceName, logFont.lfFaceName, LF_FACESIZE - 1);
  SetTextColour(control_->TextColor());
}

void CTxtWinHost::SetTextColour(uint32_t argb) {
  COLORREF colour = ToColorRef(argb);
  // The layered alpha fix leaves pure black transparent.
  IControlHost* manager = control_->OwnerManager();
  if (colour == 0 && manager && manager->IsLayered()) colour = RGB(0, 0, 1);
  charFormat_.crTextColor = colour;
  if (!services_) return;
  services_->OnTxPropertyBitsChange(TXTBIT_CHARFORMATCHANGE, TXTBIT_CHARFORMATCHANGE);
  // Text services may keep the format of the text they hold (Wine's do):
  // the text there now takes the new one as well.
  LRESULT result = 0;
  services_->TxSendMessage(EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&charFormat_), &result);
}

void CTxtWinHost::SetTransparent(bool on) {
  transparent_ = on;
  if (services_) services_->OnTxPropertyBitsChange(TXTBIT_BACKSTYLECHANGE, 0);
}

void CTxtWinHost::SetRich(bool on) {
  rich_ = on;
  if (services_) services_->OnTxPropertyBitsChange(TXTBIT_RICHTEXT, on ? TXTBIT_RICHTEXT : 0);
}

void CTxtWinHost::SetMaxLength(DWORD length) {
  maxLength_ = length;
  if (services_) services_->OnTxPropertyBitsChange(TXTBIT_MAXLENGTHCHANGE, TXTBIT_MAXLENGTHCHANGE);
}

void CTxtWinHost::SetClientRect(const RECT& rect) {
  client_ = rect;
  extent_.cx = (rect.right - rect.left) * kHimetricPerInch / PaintDpiX();
  extent_.cy = (rect.bottom - rect.top) * kHimetricPerInch / PaintDpiY();
  if (services_) services_->OnTxPropertyBitsChange(TXTBIT_CLIENTRECTCHANGE, TRUE);
}

HDC CTxtWinHost::TxGetDC() {
  IControlHost* manager = control_->OwnerManager();
  return manager ? manager->PaintDC() : nullptr;
}

INT CTxtWinHost::TxReleaseDC(HDC) { return 1; }

// The drawn bars stay shown (the keep-scroll-bars style); the range and
// position go to the control, which moves them.
WINBOOL CTxtWinHost::TxShowScrollBar(INT, WINBOOL) { return TRUE; }
WINBOOL CTxtWinHost::TxEnableScrollBar(INT, INT) { return TRUE; }
WINBOOL CTxtWinHost::TxSetScrollRange(INT bar, LONG minimum, INT maximum, WINBOOL) {
  control_->ServicesScrollRange(bar, minimum, maximum);
  return TRUE;
}
WINBOOL CTxtWinHost::TxSetScrollPos(INT bar, INT position, WINBOOL) {
  control_->ServicesScrollPos(bar, position);
  return TRUE;
}

void CTxtWinHost::TxInvalidateRect(LPCRECT rect, WINBOOL) {
  IControlHost* manager = control_->OwnerManager();
  if (manager) manager->Invalidate(rect ? *rect : client_);
}

void CTxtWinHost::TxViewChange(WINBOOL) { control_->Invalidate(); }

WINBOOL CTxtWinHost::TxCreateCaret(HBITMAP bitmap, INT width, INT height) {
  // As CreateCaret reads it: 0 stands for the system's border width (height).
  caretSize_ = {width ? width : GetSystemMetrics(SM_CXBORDER), height ? height : GetSystemMetrics(SM_CYBORDER)};
  IControlHost* manager = control_->OwnerManager();
  return manager ? CreateCaret(manager->Window(), bitmap, width, height) : FALSE;
}

WINBOOL CTxtWinHost::TxShowCaret(WINBOOL show) {
  caretShown_ = show != FALSE;
  IControlHost* manager = control_->OwnerManager();
  if (manager == nullptr) return FALSE;
  return show ? ShowCaret(manager->Window()) : HideCaret(manager->Window());
}

WINBOOL CTxtWinHost::TxSetCaretPos(INT x, INT y) {
  IControlHost* manager = control_->OwnerManager();
  if (manager == nullptr) return FALSE;
  const bool layered = manager->IsLayered();
  if (layered || sizeChanged_) {
    const RECT old{placedCaret_.x, placedCaret_.y, placedCaret_.x + placedCaretSize_.cx,
                   placedCaret_.y + placedCaretSize_.cy};
    if (!IsRectEmpty(&old)) manager->Invalidate(old);
    sizeChanged_ = false;
  }
  if (layered) {
    const RECT now{x, y, x + caretSize_.cx, y + caretSize_.cy};
    if (!IsRectEmpty(&now)) manager->Invalidate(now);
  }
  placedCaret_ = {x, y};
  placedCaretSize_ = caretSize_;
  return SetCaretPos(x, y);
}

WINBOOL CTxtWinHost::TxSetTimer(UINT id, UINT timeout) { return control_->StartTimer(id, timeout); }

void CTxtWinHost::TxKillTimer(UINT id) { control_->StopTimer(id); }

void CTxtWinHost::TxScrollWindowEx(INT, INT, LPCRECT, LPCRECT, HRGN, LPRECT, UINT) {}

void CTxtWinHost::TxSetCapture(WINBOOL capture) {
  IControlHost* manager = control_->OwnerManager();
  if (manager == nullptr) return;
  if (capture) SetCapture(manager->Window());
  else ReleaseCapture();
  captured_ = capture != FALSE;
}

void CTxtWinHost::TxSetFocus() { control_->TakeFocus(); }

void CTxtWinHost::TxSetCursor(HCURSOR cursor, WINBOOL) { ::SetCursor(cursor); }

WINBOOL CTxtWinHost::TxScreenToClient(LPPOINT point) {
  IControlHost* manager = control_->OwnerManager();
  return manager ? ScreenToClient(manager->Window(), point) : FALSE;
}

WINBOOL CTxtWinHost::TxClientToScreen(LPPOINT point) {
  IControlHost* manager = control_->OwnerManager();
  return manager ? ClientToScreen(manager->Window(), point) : FALSE;
}

HRESULT CTxtWinHost::TxActivate(LONG*) { return S_OK; }
HRESULT CTxtWinHost::TxDeactivate(LONG) { return S_OK; }

HRESULT CTxtWinHost::TxGetClientRect(LPRECT rect) {
  *rect = client_;
  return S_OK;
}

HRESULT CTxtWinHost::TxGetViewInset(LPRECT rect) {
  *rect = RECT{};
  return S_OK;
}

HRESULT CTxtWinHost::TxGetCharFormat(const CHARFORMATW** format) {
  *format = reinterpret_cast<const CHARFORMATW*>(&charFormat_);
  return S_OK;
}

HRESULT CTxtWinHost::TxGetParaFormat(const PARAFORMAT** format) {
  *format = reinterpret_cast<const PARAFORMAT*>(&paraFormat_);
  return S_OK;
}

COLORREF CTxtWinHost::TxGetSysColor(int index) { return GetSysColor(index); }

HRESULT CTxtWinHost::TxGetBackStyle(TXTBACKSTYLE* style) {
  *style = transparent_ ? TXTBACK_TRANSPARENT : TXTBACK_OPAQUE;
  return S_OK;
}

HRESULT CTxtWinHost::TxGetMaxLength(DWORD* length) {
  *length = maxLength_;
  return S_OK;
}

HRESULT CTxtWinHost::TxGetScrollBars(DWORD* bars) {
  *bars = style_ & (WS_VSCROLL | WS_HSCROLL | ES_AUTOVSCROLL | ES_AUTOHSCROLL | ES_DISABLENOSCROLL);
  return S_OK;
}

HRESULT CTxtWinHost::TxGetPasswordChar(TCHAR* character) {
  *character = L'*';
  return S_OK;
}

HRESULT CTxtWinHost::TxGetAcceleratorPos(LONG* position) {
  *position = -1;
  return S_OK;
}

HRESULT CTxtWinHost::TxGetExtent(LPSIZEL extent) {
  *extent = extent_;
  return S_OK;
}

HRESULT CTxtWinHost::OnTxCharFormatChange(const CHARFORMATW*) { return S_OK; }
HRESULT CTxtWinHost::OnTxParaFormatChange(const PARAFORMAT*) { return S_OK; }

HRESULT CTxtWinHost::TxGetPropertyBits(DWORD mask, DWORD* bits) {
  DWORD own = TXTBIT_HIDESELECTION;
  if (rich_) own |= TXTBIT_RICHTEXT;
  if (style_ & kStyleMultiLine) own |= TXTBIT_MULTILINE;
  if (style_ & kStyleReadOnly) own |= TXTBIT_READONLY;
  if (style_ & kStylePassword) own |= TXTBIT_USEPASSWORD;
  if (wordWrap_) own |= TXTBIT_WORDWRAP;
  *bits = own & mask;
  return S_OK;
}

HRESULT CTxtWinHost::TxNotify(DWORD code, void* data) {
  if (code == EN_REQUESTRESIZE) {
    const RECT& wanted = static_cast<REQRESIZE*>(data)->rc;
    SetClientRect({client_.left, client_.top, client_.left + (wanted.right - wanted.left),
                   client_.top + (wanted.bottom - wanted.top)});
    return S_OK;
  }
  control_->ServicesNotify(code, data);
  return S_OK;
}

HIMC CTxtWinHost::TxImmGetContext() { return nullptr; }
void CTxtWinHost::TxImmReleaseContext(HIMC) {}

HRESULT CTxtWinHost::TxGetSelectionBarWidth(LONG* width) {
  *width = 0;
  return S_OK;
}

}  // namespace SkinUI
