#include "ui/containers/rich_edit/rich_edit_ui.h"

#include <windowsx.h>
#include <imm.h>

#include <algorithm>
#include <cwchar>

#include "ui/containers/rich_edit/txt_win_host.h"
#include "ui/markup/value_formats.h"
#include "ui/render/render_kit.h"
#include "ui/resources/offscreen_bitmap.h"
#include "ui/resources/resource_tables.h"
#include "ui/controls/notify_kinds.h"

namespace SkinUI {

namespace {

// The state bits of the control.
constexpr UINT kFocused = 0x1;
constexpr UINT kDisabled = 0x4;
constexpr UINT kHot = 0x8;

constexpr DWORD kEventMask = ENM_CHANGE | ENM_DROPFILES | ENM_LINK;

// The context menu's commands and texts.
enum MenuCommand : UINT { kUndo = 101, kCut = 102, kCopy = 103, kPaste = 104, kClear = 105, kSelectAll = 106, kRedo = 107 };
constexpr wchar_t kMenuUndo[] = L"撤销(&U)";
constexpr wchar_t kMenuRedo[] = L"重做(&R)";
constexpr wchar_t kMenuCut[] = L"剪切(&X)";
constexpr wchar_t kMenuCopy[] = L"复制(&C)";
constexpr wchar_t kMenuPaste[] = L"粘贴(&V)";
constexpr wchar_t kMenuClear[] = L"清空(&L)";
constexpr wchar_t kMenuSelectAll[] = L"全选(&A)";

bool IsMouseMessage(UINT message) { return message >= WM_MOUSEFIRST && message <= WM_MOUSELAST; }

bool IsKeyMessage(UINT message) { return message >= WM_KEYFIRST && message <= WM_KEYLAST; }

bool IsMouseEvent(int kind) { return kind >= kEventMouseMove && kind <= kEventDragMoveEnd; }

// Notifications of the services that the window hears as WM_NOTIFY.
bool IsForwardedCode(DWORD code) {
  return code == EN_MSGFILTER || (code >= EN_SELCHANGE && code <= EN_PROTECTED) || code == EN_STOPNOUNDO ||
         (code >= EN_SAVECLIPBOARD && code <= EN_DRAGDROPDONE);
}

RECT Deflate(RECT rect, const RECT& by) {
  rect.left += by.left;
  rect.top += by.top;
  rect.right -= by.right;
  rect.bottom -= by.bottom;
  return rect;
}

RECT ScaleAsRect(const IControlHost* manager, const RECT& rect) {
  if (manager == nullptr) return rect;
  return ToRect(manager->Dpi().ScaleRect(ToUiRect(rect)));
}

}  // namespace

CRichEditUI::CRichEditUI() = default;

CRichEditUI::~CRichEditUI() {
  if (host_) {
    host_->SetActive(false);
    host_.Reset();
  }
  if (manager_) manager_->RemoveFilter(this);
}

void* CRichEditUI::QueryInterfaceUI(const wchar_t* name) {
  if (name && std::wcscmp(name, L"RichEdit") == 0) return this;
  if (name && std::wcscmp(name, IControlHost::kWantsTabInterface) == 0) return wantTab_ ? this : nullptr;
  return CContainerUI::QueryInterfaceUI(name);
}

std::wstring CRichEditUI::ControlText() const {
  if (!host_) return {};
  GETTEXTLENGTHEX lengthQuery{GTL_DEFAULT, 1200};
  LRESULT length = 0;
  host_->Services()->TxSendMessage(EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&lengthQuery), 0, &length);
  if (length <= 0) return {};
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  GETTEXTEX textQuery{static_cast<DWORD>((length + 1) * sizeof(wchar_t)), GT_DEFAULT, 1200, nullptr, nullptr};
  LRESULT copied = 0;
  host_->Services()->TxSendMessage(EM_GETTEXTEX, reinterpret_cast<WPARAM>(&textQuery),
                                   reinterpret_cast<LPARAM>(&text[0]), &copied);
  text.resize(std::wcslen(text.c_str()));
  return text;
}

void CRichEditUI::ChangeText(const std::wstring& text) {
  CControlUI::ChangeText(text);
  if (!host_) return;
  SelectAll();
  host_->Services()->TxSendMessage(EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text.c_str()), nullptr);
}

void CRichEditUI::SelectAll() {
  if (!host_) return;
  CHARRANGE all{0, -1};
  host_->Services()->TxSendMessage(EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&all), nullptr);
}

void CRichEditUI::ChangeTextColor(uint32_t colour) {
  textColour_ = colour;
  if (host_) host_->SetTextColour(colour);
  Invalidate();
}

void CRichEditUI::SetFontId(int id) {
  fontId_ = id;
  if (host_ && manager_) host_->SetFont(manager_->FontById(id));
  Invalidate();
}

void CRichEditUI::Enable(bool enabled) {
  CContainerUI::Enable(enabled);
  state_ = enabled ? (state_ & ~kDisabled) : (state_ | kDisabled);
  if (host_ && manager_) {
    host_->SetTextColour(enabled ? textColour_ : manager_->Attributes().disabledFontColour);
  }
}

void CRichEditUI::DoInitControl() {
  CContainerUI::DoInitControl();
  if (initialised_) return;
  initialised_ = true;
  host_ = CTxtWinHost::Create(this, style_, CControlUI::ControlText());
  if (!host_) return;
  ITextServices* services = host_->Services();
  if (transparent_) host_->SetTransparent(true);
  services->TxSendMessage(EM_SETLANGOPTIONS, 0, 0, nullptr);
  services->TxSendMessage(EM_SETEVENTMASK, 0, kEventMask, nullptr);
  // The services do not all ask the host for the limit when they start: a
  // "maxchar" of the markup is told to them.
  services->TxSendMessage(EM_EXLIMITTEXT, 0, static_cast<LPARAM>(maxChars_), nullptr);
  host_->SetActive(true);
  if (FAILED(services->OnTxInPlaceActivate(nullptr))) host_->SetActive(false);
  if (manager_) {
    manager_->AddFilter(this);
    if (manager_->IsLayered()) StartTimer(kCaretTimer, GetCaretBlinkTime());
    if (!IsEnabledUI()) host_->SetTextColour(manager_->Attributes().disabledFontColour);
  }
}

RECT CRichEditUI::EffectiveTextPadding() const {
  if (dpiTextPadding_ && IsScaleTextPadding()) return ScaleAsRect(manager_, textPadding_);
  return textPadding_;
}

RECT CRichEditUI::HostRect() const { return host_ ? host_->ClientRect() : Deflate(InnerRect(), EffectiveTextPadding()); }

void CRichEditUI::PlaceAt(RECT rect, bool invalidate) {
  CContainerUI::PlaceAt(rect, invalidate);
  // The container's inset counts as written, unscaled.
  RECT inner = Deflate(item_, UnscaledInset());
  if (const CScrollBarUI* bar = VerticalScrollBar()) inner.right -= bar->Thickness();
  if (const CScrollBarUI* bar = HorizontalScrollBar()) inner.bottom -= bar->Thickness();
  if (host_) host_->SetClientRect(Deflate(inner, EffectiveTextPadding()));
  // The services may scroll while the box has no size yet (to keep the
  // caret in an empty view): a text of several lines first shows its start.
  if (host_ && !placedWithSize_ && inner.bottom > inner.top && (style_ & CTxtWinHost::kStyleMultiLine)) {
    placedWithSize_ = true;
    ScrollServicesTo({0, 0});
  }
  FitBarsToServices();
}

// The text scrolls inside the services; the bars (kept shown, as the
// services' keep-scroll-bars style asks) only mirror them.
void CRichEditUI::LayOutContent() {
  SetScrollBarsShown(VerticalScrollBar() != nullptr, HorizontalScrollBar() != nullptr);
  PlaceScrollBars();
}

void CRichEditUI::FitBarsToServices() {
  const RECT host = HostRect();
  if (CScrollBarUI* bar = VerticalScrollBar()) {
    bar->SetRange(servicesContent_.cy, host.bottom - host.top);
    bar->SetPosition(servicesScroll_.y);
  }
  if (CScrollBarUI* bar = HorizontalScrollBar()) {
    bar->SetRange(servicesContent_.cx, host.right - host.left);
    bar->SetPosition(servicesScroll_.x);
  }
}

void CRichEditUI::ServicesScrollRange(int bar, int minimum, int maximum) {
  (bar == SB_VERT ? servicesContent_.cy : servicesContent_.cx) = maximum - minimum;
  FitBarsToServices();
}

void CRichEditUI::ServicesScrollPos(int bar, int position) {
  LONG& held = bar == SB_VERT ? servicesScroll_.y : servicesScroll_.x;
  if (held == position) return;
  held = position;
  FitBarsToServices();
  SendNotify(kNotifyScroll, static_cast<WPARAM>(servicesScroll_.y), static_cast<LPARAM>(servicesScroll_.x));
}

void CRichEditUI::ScrollServicesTo(POINT position) {
  LRESULT result = 0;
  SendToServices(EM_SETSCROLLPOS, 0, reinterpret_cast<LPARAM>(&position), &result);
}

void CRichEditUI::OnScrollBarMoved(bool horizontal, int position) {
  POINT target = servicesScroll_;
  (horizontal ? target.x : target.y) = position;
  ScrollServicesTo(target);
}

void CRichEditUI::MoveBy(int dx, int dy, bool invalidate) {
  CContainerUI::MoveBy(dx, dy, invalidate);
  if (host_) host_->SetClientRect(Deflate(item_, UnscaledInset()));
}

HRESULT CRichEditUI::SendToServices(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  if (!host_) return S_FALSE;
  if (message == WM_KEYDOWN) {
    if (wParam != VK_RETURN) {
      SendNotify(kNotifyKeyDown, wParam);
    } else {
      const bool control = (GetKeyState(VK_CONTROL) & 0x8000) != 0;
      if (!wantReturn_ || (control && !wantCtrlReturn_)) {
        SendNotify(kNotifyReturn);
        return S_OK;
      }
    }
  }
  return host_->Services()->TxSendMessage(message, wParam, lParam, result);
}

void CRichEditUI::ServicesNotify(DWORD code, void*) {
  if (code == EN_CHANGE) {
    SendNotify(kNotifyTextChanged);
    return;
  }
  if (!IsForwardedCode(code) || manager_ == nullptr) return;
  const HWND window = manager_->Window();
  NMHDR header{};
  header.hwndFrom = window;
  header.idFrom = static_cast<UINT_PTR>(GetWindowLongPtrW(window, GWLP_ID));
  header.code = code;
  SendMessageW(window, WM_NOTIFY, header.idFrom, reinterpret_cast<LPARAM>(&header));
}

void CRichEditUI::ApplyStyleBit(DWORD bit, bool on) { style_ = on ? (style_ | bit) : (style_ & ~bit); }

void CRichEditUI::ApplyAlign(const std::wstring& value) {
  if (value.find(L"left") != std::wstring::npos) style_ &= ~(CTxtWinHost::kStyleCentre | CTxtWinHost::kStyleRight);
  if (value.find(L"center") != std::wstring::npos) {
    style_ = (style_ & ~CTxtWinHost::kStyleRight) | CTxtWinHost::kStyleCentre;
  }
  if (value.find(L"right") != std::wstring::npos) {
    style_ = (style_ & ~CTxtWinHost::kStyleCentre) | CTxtWinHost::kStyleRight;
  }
}

void CRichEditUI::ApplyAttribute(const wchar_t* rawName, const wchar_t* rawValue) {
  const std::wstring name = rawName ? rawName : L"";
  const std::wstring value = rawValue ? rawValue : L"";
  const bool flag = ParseBool(value);
  const auto image = [this, &value](std::wstring& field) {
    field = value;
    Invalidate();
  };
  using Host = CTxtWinHost;
  // The bars are drawn by the container part, kept shown.
  if (name == L"vscrollbar") {
    if (flag) {
      style_ |= Host::kStyleVScroll | Host::kStyleKeepScrollBars;
      EnableScrollBars(true, HorizontalScrollBar() != nullptr);
    }
  } else if (name == L"autovscroll") { if (flag) style_ |= Host::kStyleAutoVScroll; }
  else if (name == L"hscrollbar") {
    if (flag) {
      style_ |= Host::kStyleHScroll | Host::kStyleKeepScrollBars;
      EnableScrollBars(VerticalScrollBar() != nullptr, true);
    }
  }
  else if (name == L"autohscroll") ApplyStyleBit(Host::kStyleAutoHScroll, flag);
  else if (name == L"multiline") ApplyStyleBit(Host::kStyleMultiLine, flag);
  else if (name == L"wanttab") wantTab_ = flag;
  else if (name == L"wantreturn") wantReturn_ = flag;
  else if (name == L"wantctrlreturn") wantCtrlReturn_ = flag;
  else if (name == L"transparent") {
    transparent_ = flag;
    if (host_) host_->SetTransparent(flag);
  } else if (name == L"rich") {
    rich_ = flag;
    if (host_) host_->SetRich(flag);
  } else if (name == L"readonly") {
    if (flag) {
      style_ |= Host::kStyleReadOnly;
      readOnly_ = true;
    }
  } else if (name == L"password") { if (flag) style_ |= Host::kStylePassword; }
  else if (name == L"align") ApplyAlign(value);
  else if (name == L"font") SetFontId(ParseInteger(value));
  else if (name == L"textcolor") ChangeTextColor(ParseColour(value));
  else if (name == L"maxchar") {
    const int limit = ParseInteger(value);
    maxChars_ = limit < 1 ? 0x7FFF : static_cast<DWORD>(limit);
    if (host_) host_->SetMaxLength(maxChars_);
  } else if (name == L"normalimage") image(normalImage_);
  else if (name == L"hotimage") image(hotImage_);
  else if (name == L"focusedimage") image(focusedImage_);
  else if (name == L"disabledimage") image(disabledImage_);
  else if (name == L"textpadding") {
    textPadding_ = ScaleAsRect(manager_, ToRect(ParseRect(value)));
    NeedLayout();
  } else if (name == L"tipvalue") { tipValue_ = value; Invalidate(); }
  else if (name == L"tipvaluecolor") { tipColour_ = ParseColour(value); Invalidate(); }
  else if (name == L"tipvalueendellipsis") tipEndEllipsis_ = flag;
  else if (name == L"tipvaluealign") {
    if (value == L"left") tipStyle_ = DT_SINGLELINE | DT_LEFT;
    if (value == L"center") tipStyle_ = DT_SINGLELINE | DT_CENTER;
    if (value == L"right") tipStyle_ = DT_SINGLELINE | DT_RIGHT;
  } else if (name == L"EnabledAlpha") enabledAlpha_ = flag;
  else if (name == L"WantMenu") wantMenu_ = flag;
  else if (name == L"CaretFollowTextColor") caretFollowTextColour_ = flag;
  else if (name == L"FocusShowTipValue") focusShowTip_ = flag;
  else if (name == L"autoselall") autoSelectAll_ = flag;
  else if (name == L"TipValuePadding") {
    tipPadding_ = ToRect(ParseRect(value));
  } else if (name == L"NormalImageSwitchRes") normalImageKeys_ = ParseSwitchKeys(value);
  else if (name == L"HotImageSwitchRes") hotImageKeys_ = ParseSwitchKeys(value);
  else if (name == L"FocusImageSwitchRes") focusImageKeys_ = ParseSwitchKeys(value);
  else if (name == L"TipTextColorSwitchRes") tipColourKeys_ = ParseSwitchKeys(value);
  else if (name == L"NativeBkColorSwitchRes") focusedBkColourKeys_ = ParseSwitchKeys(value);
  else if (name == L"NativeTextColorSwitchRes") focusedTextColourKeys_ = ParseSwitchKeys(value);
  else if (name == L"RichEditDpiTextPadding") {
    if (dpiTextPadding_ != flag) {
      dpiTextPadding_ = flag;
      NeedLayout();
    }
  } else CContainerUI::ApplyAttribute(rawName, rawValue);
}

void CRichEditUI::SwitchResources(int index) {
  const ResourceTables& tables = ResourceTables::Get();
  tables.SwitchImage(normalImageKeys_, index, normalImage_);
  tables.SwitchImage(hotImageKeys_, index, hotImage_);
  tables.SwitchImage(focusImageKeys_, index, focusedImage_);
  tables.SwitchColour(tipColourKeys_, index, tipColour_);
  tables.SwitchColour(focusedBkColourKeys_, index, focusedBkColour_);
  tables.SwitchColour(focusedTextColourKeys_, index, focusedTextColour_);
  CContainerUI::SwitchResources(index);
}

void CRichEditUI::HandleEvent(InputEvent& event) {
  if (!IsMouseEnabled() && IsMouseEvent(event.kind)) {
    if (parent_) parent_->HandleEvent(event);
    return;
  }
  switch (event.kind) {
    case kEventSetCursor:
      if (IsEnabledUI() && host_ && manager_) {
        const RECT client = host_->ClientRect();
        if (PtInRect(&client, event.mouse)) {
          host_->Services()->OnTxSetCursor(DVASPECT_CONTENT, 0, nullptr, nullptr, manager_->PaintDC(), nullptr,
                                           host_->IsActive() ? nullptr : &client, event.mouse.x, event.mouse.y);
          return;
        }
      }
      break;
    case kEventWindowSize:
      if (host_) host_->MarkSizeChanged();
      return;
    case kEventSetFocus:
      if (autoSelectAll_) SelectAll();
      if (host_ && focusedTextColour_ != 0) host_->SetTextColour(focusedTextColour_);
      if (host_) host_->Services()->TxSendMessage(WM_SETFOCUS, 0, 0, nullptr);
      state_ |= kFocused;
      CContainerUI::HandleEvent(event);
      return;
    case kEventKillFocus:
      if (host_ && focusedTextColour_ != 0) host_->SetTextColour(textColour_);
      if (host_) host_->Services()->TxSendMessage(WM_KILLFOCUS, 0, 0, nullptr);
      state_ &= ~kFocused;
      CContainerUI::HandleEvent(event);
      return;
    case kEventMouseEnter:
    case kEventMouseLeave:
      if (IsEnabledUI()) {
        state_ = event.kind == kEventMouseEnter ? (state_ | kHot) : (state_ & ~kHot);
        Invalidate();
      }
      return;
    case kEventScrollWheel:
      if (event.keyState & kKeyStateControl) return;
      // A text of several lines moves a step per notch; a single line
      // leaves the wheel to the containers around it.
      if (host_ && (style_ & CTxtWinHost::kStyleMultiLine)) {
        POINT position{};
        LRESULT result = 0;
        SendToServices(EM_GETSCROLLPOS, 0, reinterpret_cast<LPARAM>(&position), &result);
        position.y += event.wParam == 1 ? ScrollStepSize() : -ScrollStepSize();
        ScrollServicesTo({position.x, std::max<LONG>(0, position.y)});
        return;
      }
      break;
    case kEventTimer:
      if (event.wParam == kCaretTimer) {
        BlinkCaret();
        return;
      }
      SendNotify(kNotifyTimer, event.wParam, event.lParam);
      if (host_) host_->Services()->TxSendMessage(WM_TIMER, event.wParam, event.lParam, nullptr);
      return;
    case kEventKeyDown:
    case kEventKeyUp:
    case kEventChar:
    case kEventSysKey:
    case kEventMouseMove:
    case kEventButtonDown:
    case kEventButtonUp:
    case kEventDoubleClick:
      return;  // the message filter already served them
    default:
      break;
  }
  CContainerUI::HandleEvent(event);
}

RECT CRichEditUI::CaretRect() const {
  POINT position{};
  GetCaretPos(&position);
  const SIZE size = host_ ? host_->CaretSize() : SIZE{};
  return {position.x, position.y, position.x + size.cx, position.y + size.cy};
}

void CRichEditUI::BlinkCaret() {
  if (manager_ == nullptr || !manager_->IsLayered() || !IsFocused() || GetFocus() != manager_->Window()) return;
  caretBlinkOn_ = !caretBlinkOn_;
  RECT caret = CaretRect();
  if (!IntersectRect(&caret, &caret, &item_)) return;
  caret = ClipByAncestors(caret);
  if (!IsRectEmpty(&caret)) manager_->Invalidate(caret);
}

bool CRichEditUI::ServeMouse(UINT message, LPARAM lParam) {
  const bool hostCapture = host_ && host_->HasCapture();
  POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  if (message == WM_SETCURSOR) {
    GetCursorPos(&point);
    ScreenToClient(manager_->Window(), &point);
  } else if (message == WM_MOUSEWHEEL) {
    ScreenToClient(manager_->Window(), &point);
  }
  const bool counted = message == WM_MOUSEMOVE || message == WM_LBUTTONDOWN || message == WM_LBUTTONUP ||
                       message == WM_LBUTTONDBLCLK || message == WM_RBUTTONDOWN || message == WM_RBUTTONUP;
  if (!hostCapture && counted && manager_->LookupControlAt(point) != this) {
    if (autoSelectAll_ && message == WM_LBUTTONUP) clickSelect_ = false;
    return false;
  }
  const RECT client = HostRect();
  if (!hostCapture && !(PtInRect(&client, point) && GetCapture() != manager_->Window())) return false;
  if (message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN || message == WM_LBUTTONDBLCLK) {
    if (!manager_->Attributes().noActivate) SetFocus(manager_->Window());
    if (message != WM_LBUTTONDBLCLK && !IsFocused() && autoSelectAll_) clickSelect_ = true;
    TakeFocus();
  }
  if (autoSelectAll_ && clickSelect_) {
    // The select-all of the focus stays until the press is over.
    if (message == WM_LBUTTONUP) clickSelect_ = false;
    return false;
  }
  return true;
}

LRESULT CRichEditUI::FilterMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) {
  if (!IsShown() || !IsEnabledUI() || manager_ == nullptr) return 0;
  const bool mouse = IsMouseMessage(message) || message == WM_SETCURSOR;
  if (mouse && !IsMouseEnabled()) return 0;
  if (message == WM_MOUSEWHEEL && (LOWORD(wParam) & MK_CONTROL) == 0) return 0;
  if (message == WM_IME_COMPOSITION) {
    if (const HIMC context = ImmGetContext(manager_->Window())) {
      POINT caret{};
      GetCaretPos(&caret);
      COMPOSITIONFORM form{};
      form.dwStyle = CFS_POINT;
      form.ptCurrentPos = caret;
      ImmSetCompositionWindow(context, &form);
      ImmReleaseContext(manager_->Window(), context);
    }
    return 0;
  }
  if (mouse) {
    if (!ServeMouse(message, lParam)) return 0;
  } else if (IsKeyMessage(message)) {
    if (!IsFocused()) return 0;
  } else if (message == WM_CONTEXTMENU) {
    POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    ScreenToClient(manager_->Window(), &point);
    if (!wantMenu_ || manager_->LookupControlAt(point) != this) return 0;
    ShowContextMenu(lParam);
    handled = true;
    return 0;
  } else if (message == WM_COMMAND) {
    if (!IsFocused()) return 0;
    OnCommand(wParam);
    handled = true;
    return 0;
  } else if (message != WM_HELP) {
    return 0;
  }
  LRESULT result = 0;
  const HRESULT served = SendToServices(message, wParam, lParam, &result);
  if (IsKeyMessage(message)) handled = true;
  else if (message == WM_SETCURSOR || message == WM_HELP) handled = false;
  else handled = served == S_OK || (mouse && host_ && host_->HasCapture());
  return result;
}

void CRichEditUI::ShowContextMenu(LPARAM lParam) {
  const auto query = [this](UINT message) {
    LRESULT answer = 0;
    SendToServices(message, 0, 0, &answer);
    return answer;
  };
  const bool emptySelection = query(EM_SELECTIONTYPE) == SEL_EMPTY;
  const HMENU menu = CreatePopupMenu();
  if (menu == nullptr) return;
  const auto add = [menu](UINT id, const wchar_t* text, bool grayed) {
    AppendMenuW(menu, MF_STRING | (grayed ? MF_GRAYED : 0), id, text);
  };
  add(kUndo, kMenuUndo, query(EM_CANUNDO) != 1);
  add(kRedo, kMenuRedo, query(EM_CANREDO) != 1);
  AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
  add(kCut, kMenuCut, readOnly_ || emptySelection);
  add(kCopy, kMenuCopy, emptySelection);
  add(kPaste, kMenuPaste, readOnly_);
  add(kClear, kMenuClear, readOnly_ || emptySelection);
  AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
  add(kSelectAll, kMenuSelectAll, false);
  TrackPopupMenu(menu, TPM_RIGHTBUTTON, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam), 0, manager_->Window(), nullptr);
  DestroyMenu(menu);
}

void CRichEditUI::OnCommand(WPARAM wParam) {
  LRESULT ignored = 0;
  switch (LOWORD(wParam)) {
    case kUndo: SendToServices(EM_UNDO, 0, 0, &ignored); break;
    case kCut: SendToServices(WM_CUT, 0, 0, &ignored); break;
    case kCopy: SendToServices(WM_COPY, 0, 0, &ignored); break;
    case kPaste: SendToServices(WM_PASTE, 0, 0, &ignored); break;
    case kClear: SendToServices(WM_CLEAR, 0, 0, &ignored); break;
    case kSelectAll: SelectAll(); break;
    case kRedo: SendToServices(EM_REDO, 0, 0, &ignored); break;
    default: break;
  }
}

void CRichEditUI::FillBackColour(HDC dc) {
  if ((state_ & kFocused) && focusedBkColour_ != 0) {
    const SIZE round = BkRound();
    CRenderKit::DrawColor(dc, paintRect_, AdjustColour(focusedBkColour_), round.cx, round.cy);
    return;
  }
  CContainerUI::FillBackColour(dc);
}

void CRichEditUI::DrawStateImage(HDC dc) {
  const std::wstring* chosen = nullptr;
  if (!IsEnabledUI()) chosen = &disabledImage_;
  else if (IsFocused()) chosen = &focusedImage_;
  else if (state_ & kHot) chosen = &hotImage_;
  if (chosen && !chosen->empty() && DrawImage(dc, *chosen)) return;
  if (!normalImage_.empty()) DrawImage(dc, normalImage_);
}

void CRichEditUI::FixAlpha(HDC dc, const RECT& rect) {
  const int width = rect.right - rect.left, height = rect.bottom - rect.top;
  if (width <= 0 || height <= 0) return;
  COffscreenBitmap copy;
  if (!copy.Ensure(dc, width, height)) return;
  BitBlt(copy.Dc(), 0, 0, width, height, dc, rect.left, rect.top, SRCCOPY);
  uint32_t* pixels = copy.Pixels();
  const uint32_t firstAlpha = pixels[0] >> 24;
  for (int i = 0; i < width * height; ++i) {
    const uint32_t pixel = pixels[i];
    if ((pixel & 0xFFFFFF) == 0 || (pixel >> 24) != 0) continue;
    const uint32_t brightest = std::max({(pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF});
    pixels[i] = pixel | (std::max(brightest, firstAlpha) << 24);
  }
  BitBlt(dc, rect.left, rect.top, width, height, copy.Dc(), 0, 0, SRCCOPY);
}

void CRichEditUI::DrawCaret(HDC dc) {
  if (host_ == nullptr || !host_->IsCaretShown() || !IsFocused() || !caretBlinkOn_) return;
  const RECT caret = CaretRect();
  POINT position{caret.left, caret.top};
  if (!PtInRect(&item_, position)) return;
  CRenderKit::DrawColor(dc, caret, caretFollowTextColour_ ? (textColour_ | 0xFF000000) : 0xFF000000);
}

void CRichEditUI::DrawTip(HDC dc) {
  if (tipValue_.empty() || (IsFocused() && !focusShowTip_) || !ControlText().empty()) return;
  RECT rect = Deflate(Deflate(item_, EffectiveTextPadding()), tipPadding_);
  CRenderKit::DrawTextUI({dc, manager_}, rect, tipValue_, tipColour_, fontId_,
                         tipStyle_ | (tipEndEllipsis_ ? DT_END_ELLIPSIS : 0), true);
}

bool CRichEditUI::DoPaintControl(HDC dc, const RECT& dirty, CControlUI* stopControl) {
  RECT clip{};
  if (!IntersectRect(&clip, &dirty, &item_)) return true;
  const int saved = SaveDC(dc);
  IntersectClipRect(dc, clip.left, clip.top, clip.right, clip.bottom);
  CControlUI::DoPaintControl(dc, dirty, stopControl);
  if (host_) {
    RECT bounds = host_->ClientRect();
    RECT update = dirty;
    host_->Services()->TxDraw(DVASPECT_CONTENT, 0, nullptr, nullptr, dc, nullptr,
                              reinterpret_cast<LPCRECTL>(&bounds), nullptr, &update, nullptr, 0, TXTVIEW_ACTIVE);
    if (enabledAlpha_) FixAlpha(dc, bounds);
  }
  // The drawn scroll bars (the container part holds no children here).
  for (CScrollBarUI* bar : {VerticalScrollBar(), HorizontalScrollBar()}) {
    if (bar) bar->PaintControl(dc, dirty, stopControl);
  }
  if (manager_ && manager_->IsLayered()) DrawCaret(dc);
  DrawTip(dc);
  RestoreDC(dc, saved);
  return true;
}

}  // namespace SkinUI
