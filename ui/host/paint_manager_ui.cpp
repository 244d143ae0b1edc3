#include "ui/host/paint_manager_ui.h"

#include <algorithm>

#include "ui/controls/control_ui.h"
#include "ui/resources/hsl_colour.h"
#include "ui/resources/skin_image_loader.h"
#include "ui/resources/skin_source.h"
#include "ui/controls/notify_kinds.h"
#include "base/text_rules.h"

namespace SkinUI {

// Tables shared by every window of the process; they live until the
// framework is shut down.
struct CPaintManagerUI::SharedTables {
  ImageMap images;
  FontMap fonts;
  std::unique_ptr<FontEntry> defaultFont;
  TextMap defaultAttributeLists;
  TextMap styles;
};

CPaintManagerUI::SharedTables& CPaintManagerUI::Shared() {
  static SharedTables tables;
  return tables;
}

CPaintManagerUI::CPaintManagerUI() = default;

CPaintManagerUI::~CPaintManagerUI() {
  // The tree goes first: its controls still reach this manager on the way out.
  std::vector<CControlUI*> queued;
  queued.swap(deleteQueue_);
  for (CControlUI* control : queued) delete control;
  delete root_;
  root_ = nullptr;
  for (const TimerRecord& timer : timers_) {
    if (!timer.killed && window_) KillTimer(window_, timer.nativeId);
  }
  if (toolTip_) DestroyWindow(toolTip_);
  if (paintDc_) ReleaseDC(window_, paintDc_);
  LeaveManagerList(this);
}

void CPaintManagerUI::SetInstance(HINSTANCE instance) { SkinSource::Get().SetInstance(instance); }
HINSTANCE CPaintManagerUI::Instance() { return SkinSource::Get().Instance(); }
void CPaintManagerUI::SetResourcePath(const std::wstring& folder) { SkinSource::Get().SetFolder(folder); }

void CPaintManagerUI::SetResourceZip(const std::wstring& name, bool cached, const std::wstring& password) {
  SkinSource::Get().SetArchiveFile(name, cached, password);
}

void CPaintManagerUI::UseSkinZipInMemory(const void* data, size_t size, const std::wstring& password) {
  SkinSource::Get().UseArchiveInMemory(static_cast<const uint8_t*>(data), size, password);
}

bool CPaintManagerUI::SkinHasEntry(const std::wstring& name) { return SkinSource::Get().HasEntry(name); }

void CPaintManagerUI::ShutdownFramework() {
  SharedTables& shared = Shared();
  shared.images.clear();
  shared.fonts.clear();
  shared.defaultFont.reset();
  shared.defaultAttributeLists.clear();
  shared.styles.clear();
  SkinSource::Get().Close();
}

void CPaintManagerUI::BindWindow(HWND window, const std::wstring& name) {
  if (paintDc_) ReleaseDC(window_, paintDc_);
  window_ = window;
  name_ = name;
  images_.clear();
  drawings_.clear();
  fonts_.clear();
  defaultFont_.reset();
  defaultAttributeLists_.clear();
  styles_.clear();
  names_.clear();
  paintDc_ = window ? GetDC(window) : nullptr;
  if (window) JoinManagerList(this);
}

const ImageEntry* CPaintManagerUI::ObtainImage(const std::wstring& name, const std::wstring& resType, uint32_t mask,
                                               bool useHsl, HMODULE module) {
  if (const auto own = images_.find(name); own != images_.end()) return own->second.get();
  const ImageMap& shared = Shared().images;
  if (const auto found = shared.find(name); found != shared.end()) return found->second.get();
  return CacheImage(name, resType, mask, useHsl, false, module);
}

const ImageEntry* CPaintManagerUI::CacheImage(const std::wstring& name, const std::wstring& resType, uint32_t mask,
                                              bool useHsl, bool shared, HMODULE module) {
  if (name.empty()) return nullptr;
  if (!resType.empty() && !(name[0] >= L'0' && name[0] <= L'9')) return nullptr;
  std::unique_ptr<ImageEntry> entry = LoadSkinImage(name, resType, mask, module ? module : Instance());
  if (!entry) return nullptr;
  entry->resType = resType;
  entry->mask = mask;
  entry->useHsl = useHsl;
  if (useHsl) {
    BITMAP info{};
    if (GetObjectW(entry->bitmap, sizeof(info), &info) && info.bmBits) {
      const auto* first = static_cast<const uint32_t*>(info.bmBits);
      entry->originalPixels.assign(first, first + static_cast<size_t>(entry->width) * entry->height);
      if (!attributes_.hsl.IsIdentity()) AdjustPicture(*entry, attributes_.hsl);
    }
  }
  ImageMap& target = shared || useSharedResources_ ? Shared().images : images_;
  auto& slot = target[name];
  slot = std::move(entry);  // an older entry of the name is freed here
  return slot.get();
}

const ImageDrawing& CPaintManagerUI::ObtainDrawing(const std::wstring& drawString, const std::wstring& modifier) {
  const std::wstring key = drawString + modifier;
  auto& slot = drawings_[key];
  if (!slot) {
    SkinSource& source = SkinSource::Get();
    const VariantExists variantExists = [&source](const std::wstring& variant) {
      return source.UsesArchiveInMemory() ? source.HasEntry(variant) : source.HasFolderFile(variant);
    };
    slot = std::make_unique<ImageDrawing>(ParseImageDrawing(drawString, modifier, dpi_, variantExists));
  }
  return *slot;
}

void CPaintManagerUI::DropScaledResources() {
  drawings_.clear();
  images_.clear();
}

HFONT CPaintManagerUI::DefineFont(int id, const std::wstring& face, int size, bool bold, bool underline, bool italic,
                                  bool shared) {
  std::unique_ptr<FontEntry> entry = MakeFontEntry(face, size, bold, underline, italic, dpi_, paintDc_);
  if (!entry) return nullptr;
  FontMap& target = shared || useSharedResources_ ? Shared().fonts : fonts_;
  auto& slot = target[DecimalText(id)];
  slot = std::move(entry);  // an older font of the id is deleted here
  return slot->font;
}

void CPaintManagerUI::DefineDefaultFont(const std::wstring& face, int size, bool bold, bool underline, bool italic,
                                        bool shared) {
  std::unique_ptr<FontEntry> entry = MakeFontEntry(face, size, bold, underline, italic, dpi_, paintDc_);
  if (!entry) return;
  (shared ? Shared().defaultFont : defaultFont_) = std::move(entry);
}

const FontEntry* CPaintManagerUI::FontInfoById(int id) const {
  if (id >= 0) {
    const std::wstring key = DecimalText(id);
    if (const auto own = fonts_.find(key); own != fonts_.end()) return own->second.get();
    const FontMap& shared = Shared().fonts;
    if (const auto found = shared.find(key); found != shared.end()) return found->second.get();
  }
  if (defaultFont_) return defaultFont_.get();
  return Shared().defaultFont.get();
}

HFONT CPaintManagerUI::FontById(int id) const {
  const FontEntry* entry = FontInfoById(id);
  if (entry && entry->font) return entry->font;
  return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

void CPaintManagerUI::RecreateFonts() {
  for (auto& [key, entry] : fonts_) RecreateFont(*entry, dpi_, paintDc_);
  if (defaultFont_) RecreateFont(*defaultFont_, dpi_, paintDc_);
  for (auto& [key, entry] : Shared().fonts) RecreateFont(*entry, dpi_, paintDc_);
  if (Shared().defaultFont) RecreateFont(*Shared().defaultFont, dpi_, paintDc_);
}

void CPaintManagerUI::AddDefaultAttributeList(const std::wstring& controlName, const std::wstring& list, bool shared) {
  (shared || useSharedResources_ ? Shared().defaultAttributeLists : defaultAttributeLists_)[controlName] = list;
}

const std::wstring* CPaintManagerUI::DefaultAttributeList(const std::wstring& controlName) const {
  if (const auto own = defaultAttributeLists_.find(controlName); own != defaultAttributeLists_.end()) {
    return &own->second;
  }
  const TextMap& shared = Shared().defaultAttributeLists;
  const auto found = shared.find(controlName);
  return found == shared.end() ? nullptr : &found->second;
}

void CPaintManagerUI::AddStyle(const std::wstring& name, const std::wstring& value, bool shared) {
  (shared || useSharedResources_ ? Shared().styles : styles_)[name] = value;
}

const std::wstring* CPaintManagerUI::Style(const std::wstring& name) const {
  if (const auto own = styles_.find(name); own != styles_.end()) return &own->second;
  const TextMap& shared = Shared().styles;
  const auto found = shared.find(name);
  return found == shared.end() ? nullptr : &found->second;
}

void CPaintManagerUI::ApplyWindowAttribute(const std::wstring& name, const std::wstring& value) {
  const HslAdjustment before = attributes_.hsl;
  SkinUI::ApplyWindowAttribute(attributes_, name, value);
  if (!(attributes_.hsl == before)) SetHslAdjustment(attributes_.hsl);
}

void CPaintManagerUI::AdjustPicture(ImageEntry& entry, const HslAdjustment& adjustment) {
  BITMAP info{};
  const size_t count = entry.originalPixels.size();
  if (!entry.useHsl || count == 0 || !GetObjectW(entry.bitmap, sizeof(info), &info) || !info.bmBits) return;
  const size_t rows = static_cast<size_t>(info.bmHeight < 0 ? -info.bmHeight : info.bmHeight);
  if (static_cast<size_t>(info.bmWidth) * rows != count) return;
  AdjustPremultipliedPixels(entry.originalPixels.data(), static_cast<uint32_t*>(info.bmBits), count, adjustment);
  GdiFlush();  // the bitmap's pixels were written behind GDI's back
}

void CPaintManagerUI::SetHslAdjustment(const HslAdjustment& adjustment) {
  attributes_.hsl = adjustment;
  for (auto& [name, entry] : images_) AdjustPicture(*entry, adjustment);
  for (auto& [name, entry] : Shared().images) AdjustPicture(*entry, adjustment);
  RECT client{};
  if (window_ != nullptr && GetClientRect(window_, &client)) Invalidate(client);
}

bool CPaintManagerUI::IsInTree(const CControlUI* control) const {
  if (control == nullptr || control->OwnerManager() != this) return false;
  if (root_ == nullptr) return true;
  const CControlUI* top = control;
  while (top->ParentControl()) top = top->ParentControl();
  return top == root_;
}

void CPaintManagerUI::Invalidate(const RECT& rect) {
  if (!window_) return;
  InvalidateRect(window_, &rect, FALSE);
  if (!IsLayered()) return;
  UnionRect(&layeredDirty_, &layeredDirty_, &rect);
  if (!layeredPaintPosted_) layeredPaintPosted_ = PostMessageW(window_, kMsgLayeredPaint, 0, 0) != FALSE;
}

void CPaintManagerUI::NeedLayout() {
  layoutNeeded_ = true;
  if (!window_) return;
  RECT client{};
  GetClientRect(window_, &client);
  Invalidate(client);
}

void CPaintManagerUI::SetFocusControl(CControlUI* control) {
  if (control == focus_) return;
  if (window_ && control && GetFocus() != window_) SetFocus(window_);
  if (CControlUI* old = focus_) {
    focus_ = nullptr;
    InputEvent event;
    event.kind = kEventKillFocus;
    event.sender = old;
    event.timestamp = GetTickCount();
    event.wParam = reinterpret_cast<WPARAM>(control);
    old->RouteEvent(event);
    DispatchNotify(old, kNotifyKillFocus, reinterpret_cast<WPARAM>(control), 0, false);
  }
  if (control == nullptr || control->OwnerManager() != this || !control->IsShown() || !control->IsEnabledUI()) {
    return;
  }
  focus_ = control;
  InputEvent event;
  event.kind = kEventSetFocus;
  event.sender = control;
  event.timestamp = GetTickCount();
  control->RouteEvent(event);
  DispatchNotify(control, kNotifySetFocus, 0, 0, false);
}

void CPaintManagerUI::AddTabSupport(CControlUI* control) {
  if (std::find(tabSupport_.begin(), tabSupport_.end(), control) == tabSupport_.end()) tabSupport_.push_back(control);
}

void CPaintManagerUI::ForgetControl(CControlUI* control) {
  if (focus_ == control) focus_ = nullptr;
  if (root_ == control) root_ = nullptr;
  if (captured_ == control) captured_ = nullptr;
  if (hover_ == control) hover_ = nullptr;
  if (keyDown_ == control) keyDown_ = nullptr;
  if (toolTipControl_ == control) toolTipControl_ = nullptr;
  for (auto entry = names_.begin(); entry != names_.end();) {
    entry = entry->second == control ? names_.erase(entry) : std::next(entry);
  }
  postPaint_.erase(std::remove(postPaint_.begin(), postPaint_.end(), control), postPaint_.end());
  tabSupport_.erase(std::remove(tabSupport_.begin(), tabSupport_.end(), control), tabSupport_.end());
  for (const TimerRecord& timer : timers_) {
    if (timer.control == control && !timer.killed && window_) KillTimer(window_, timer.nativeId);
  }
  timers_.erase(std::remove_if(timers_.begin(), timers_.end(),
                               [control](const TimerRecord& timer) { return timer.control == control; }),
                timers_.end());
  for (NotifyRecord& record : queued_) {
    if (record.sender == control) record.sender = nullptr;
  }
}

bool CPaintManagerUI::StartTimer(CControlUI* control, UINT id, UINT periodMs) {
  for (TimerRecord& timer : timers_) {
    if (timer.control == control && timer.id == id) {
      if (!timer.killed) return false;
      if (!window_ || !SetTimer(window_, timer.nativeId, periodMs, nullptr)) return false;
      timer.killed = false;
      return true;
    }
  }
  const UINT_PTR nativeId = (timerCounter_ + 1) % 240;
  if (!window_ || !SetTimer(window_, nativeId, periodMs, nullptr)) return false;
  timerCounter_ = nativeId;
  timers_.push_back({control, id, nativeId, false});
  return true;
}

bool CPaintManagerUI::StopTimer(CControlUI* control, UINT id) {
  for (TimerRecord& timer : timers_) {
    if (timer.control == control && timer.id == id && !timer.killed) {
      if (window_) KillTimer(window_, timer.nativeId);
      timer.killed = true;
      return true;
    }
  }
  return false;
}

CControlUI* CPaintManagerUI::TimerTarget(UINT_PTR nativeId, UINT& id) const {
  for (const TimerRecord& timer : timers_) {
    if (timer.nativeId == nativeId && !timer.killed) {
      id = timer.id;
      return timer.control;
    }
  }
  return nullptr;
}

void CPaintManagerUI::AddReceiver(INotifyUI* receiver) {
  if (std::find(receivers_.begin(), receivers_.end(), receiver) == receivers_.end()) receivers_.push_back(receiver);
}

void CPaintManagerUI::RemoveReceiver(INotifyUI* receiver) {
  receivers_.erase(std::remove(receivers_.begin(), receivers_.end(), receiver), receivers_.end());
}

void CPaintManagerUI::DispatchNotify(CControlUI* sender, const wchar_t* type, WPARAM wParam, LPARAM lParam,
                                     bool queued) {
  NotifyRecord record;
  record.type = type;
  record.sender = sender;
  record.senderName = sender ? sender->ControlName() : std::wstring();
  record.virtualWindow = sender ? sender->VirtualWindow() : std::wstring();
  record.timestamp = GetTickCount();
  record.mouse = lastMouse_;
  record.wParam = wParam;
  record.lParam = lParam;
  if (!queued) {
    Deliver(record);
    return;
  }
  queued_.push_back(std::move(record));
  PostQueueMessage();
}

void CPaintManagerUI::DrainQueuedNotifications() {
  queuePosted_ = false;
  std::vector<CControlUI*> doomed;
  doomed.swap(deleteQueue_);
  for (CControlUI* control : doomed) delete control;
  while (!queued_.empty()) {
    NotifyRecord record = std::move(queued_.front());
    queued_.pop_front();
    Deliver(record);
  }
}

void CPaintManagerUI::Deliver(NotifyRecord& record) {
  CControlUI* sender = record.sender;
  if (sender) {
    sender->onNotify.Run(record, [this, sender] { return IsInTree(sender); });
    if (!IsInTree(sender)) return;
  }
  const std::vector<INotifyUI*> receivers = receivers_;
  for (INotifyUI* receiver : receivers) receiver->OnNotify(record);
}

}  // namespace SkinUI
