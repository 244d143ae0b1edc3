#include "app/dialog/dlg_install.h"

#include <shellapi.h>

#include <optional>
#include <string>
#include <vector>

#include "app/dialog/dialog_controls.h"
#include "app/dialog/folder_chooser.h"
#include "app/dialog/number_box_text.h"
#include "app/dialog/path_box_text.h"
#include "app/dialog/product_launch.h"
#include "app/install/install_checks.h"
#include "app/install/install_done.h"
#include "app/install/install_mgr.h"
#include "app/install/install_path_rules.h"
#include "app/install/install_worker.h"
#include "app/install/window_messages.h"
#include "app/statistics/statistics.h"
#include "base/debug_line.h"
#include "base/handles.h"
#include "base/module_resource.h"
#include "base/text.h"
#include "script/nebscript_engine.h"
#include "script/script_globals.h"
#include "scripts/global_names.h"
#include "ui/containers/horizontal_layout_ui.h"
#include "ui/containers/rich_edit/rich_edit_ui.h"
#include "ui/containers/tab_layout_ui.h"
#include "ui/containers/vertical_layout_ui.h"
#include "ui/controls/button/button_ui.h"
#include "ui/controls/label/label_ui.h"
#include "ui/controls/option/option_ui.h"
#include "ui/controls/progress/progress_ui.h"
#include "ui/dpi/dpi_awareness.h"
#include "ui/controls/notify_kinds.h"
#include "base/text_rules.h"

using SkinUI::NotifyRecord;

namespace {

constexpr UINT TIMER_BK_ROTATE = 1989;
constexpr UINT TIMER_PROGRESS = 1990;
constexpr UINT kProgressPeriodMs = 150;
constexpr UINT kIconResource = 128;
constexpr WPARAM kCloseAsked = 2;
constexpr UINT kForegroundAnswerMs = 500;

constexpr wchar_t kProductFolder[] = L"\\Lumetrica";
constexpr wchar_t kPathFrame[] = L"-----------------------------";
constexpr wchar_t kPayloadName[] = L"APP.7Z";
constexpr wchar_t kPayloadType[] = L"_7Z";
// The pace the script reads: progress ticks per payload byte, per hundred.
constexpr double kElapsePerByte = 0.000309651279221807;

constexpr wchar_t kIllegalPath[] = L"安装路径非法，请重新修改！";
constexpr wchar_t kIllegalBackupPath[] = L"备份路径非法，请重新修改！";
// The uninstall removes the install folder whole: a folder of other files
// is no install folder.
constexpr wchar_t kOccupiedPath[] = L"所选文件夹中已有其他文件，请选择空文件夹，或在其中新建一个子文件夹来安装！";
constexpr wchar_t kConfirmExit[] = L"您确定要退出安装程序？";

template <typename Control>
Control* As(SkinUI::CControlUI* control, const wchar_t* kind) {
  return control ? static_cast<Control*>(control->QueryInterfaceUI(kind)) : nullptr;
}

template <typename Control>
Control* InWindow(SkinUI::CPaintManagerUI& manager, const DialogControl& which) {
  return As<Control>(manager.LookupControl(which.name), which.kind);
}

template <typename Control>
Control* InView(SkinUI::CControlUI* view, const DialogControl& which) {
  return view ? As<Control>(view->LookupChild(which.name), which.kind) : nullptr;
}

// The engine, held until the access goes: the worker does not reach it
// while the window's thread reads or writes between the events.
NEBScriptEngine::Access Engine() { return NEBScriptEngine::Instance().Lock(); }

size_t PayloadSize() {
  ResourceView payload;
  return FindModuleResource(kPayloadType, kPayloadName, payload) == ResourceStatus::kFound ? payload.size : 0;
}

}  // namespace

const SkinUI::MessageMap* CDlgInstall::NotifyMap() const {
  using SkinUI::OnNotifyRecord;
  static const SkinUI::MessageMapEntry entries[] = {
      OnNotifyRecord<CDlgInstall>(SkinUI::kNotifyClick, L"BtnClose", &CDlgInstall::OnCloseClick),
      OnNotifyRecord<CDlgInstall>(SkinUI::kNotifyClick, L"BtnLicenceLink", &CDlgInstall::OnLicenceLink),
      OnNotifyRecord<CDlgInstall>(SkinUI::kNotifyClick, L"BtnInstall", &CDlgInstall::OnInstallClick),
      OnNotifyRecord<CDlgInstall>(SkinUI::kNotifyClick, L"BtnSelectPath", &CDlgInstall::OnSelectPath),
      OnNotifyRecord<CDlgInstall>(SkinUI::kNotifyClick, L"BtnStart", &CDlgInstall::StartProduct),
      OnNotifyRecord<CDlgInstall>(SkinUI::kNotifySelectChanged, L"CheckLicence", &CDlgInstall::OnLicenceChanged),
      OnNotifyRecord<CDlgInstall>(SkinUI::kNotifyTimer, L"", &CDlgInstall::OnTimer),
      SkinUI::kMessageMapEnd,
  };
  static const SkinUI::MessageMap map{WindowImplBase::NotifyMap(), entries};
  return &map;
}

void CDlgInstall::AfterSkinLoaded() {
  ApplyIcon(kIconResource);
  SetWindowTextW(Window(), (GetGlobalText(Engine().State(), script_names::kProductName) + L"安装").c_str());
  LookupControls();
  manager_.ApplyDpi(SkinUI::WindowMonitorDpi(Window()));
  InitViews();
  CenterOnOwner();
}

void CDlgInstall::LookupControls() {
  using namespace dialog_controls;
  tabMain_ = InWindow<SkinUI::CTabLayoutUI>(manager_, kTabMain);
  initView_ = InWindow<SkinUI::CVerticalLayoutUI>(manager_, kInitView);
  installView_ = InWindow<SkinUI::CVerticalLayoutUI>(manager_, kInstallView);
  completeView_ = InWindow<SkinUI::CVerticalLayoutUI>(manager_, kCompleteView);
  updateView_ = InWindow<SkinUI::CVerticalLayoutUI>(manager_, kUpdateView);
  infoTipView_ = InWindow<SkinUI::CVerticalLayoutUI>(manager_, kInfoTipView);
  captionButtons_ = InWindow<SkinUI::CHorizontalLayoutUI>(manager_, kCaptionButtons);
  install_ = InView<SkinUI::CButtonUI>(initView_, kInstall);
  licence_ = InView<SkinUI::COptionUI>(initView_, kLicence);
  licenceLink_ = InView<SkinUI::CButtonUI>(initView_, kLicenceLink);
  installPath_ = InView<SkinUI::CRichEditUI>(initView_, kInstallPath);
  selectPath_ = InView<SkinUI::CButtonUI>(initView_, kSelectPath);
  startMenuShortcut_ = InView<SkinUI::COptionUI>(initView_, kStartMenuShortcut);
  desktopShortcut_ = InView<SkinUI::COptionUI>(initView_, kDesktopShortcut);
  autoStartup_ = InView<SkinUI::COptionUI>(initView_, kAutoStartup);
  progress_ = InView<SkinUI::CProgressUI>(installView_, kProgress);
  progressLabel_ = InView<SkinUI::CLabelUI>(installView_, kProgressLabel);
  completeTitle_ = InView<SkinUI::CLabelUI>(completeView_, kCompleteTitle);
  start_ = InView<SkinUI::CButtonUI>(completeView_, kStart);
  numberBox_ = InView<SkinUI::CHorizontalLayoutUI>(completeView_, kNumberBox);
}

void CDlgInstall::InitViews() {
  if (!initView_ || !completeTitle_) return;
  const NEBScriptEngine::Access engine = Engine();
  lua_State* L = engine.State();
  if (autoStartup_) {
    autoStartup_->Show(GetGlobalFlag(L, script_names::kStartupCheckVisible));
    autoStartup_->SetChecked(GetGlobalFlag(L, script_names::kStartupCheck), true);
  }
  if (!installPath_) return;
  const std::wstring text = installPath_->ControlText();
  DebugLine(L"%ls", text.c_str());
  const std::optional<std::wstring> expanded = ExpandPathBoxText(
      text, [L](const std::wstring& name) { return GetGlobalText(L, WideToUtf8(name).c_str()); }, kProductFolder);
  if (!expanded) return;
  installPath_->ChangeText(*expanded);
  DebugLine(L"%ls", kPathFrame);
  DebugLine(L"%ls", expanded->c_str());
  DebugLine(L"%ls", kPathFrame);
}

void CDlgInstall::OnLicenceChanged(NotifyRecord&) {
  if (licence_ && install_) install_->Enable(licence_->IsChecked());
}

void CDlgInstall::OnLicenceLink(NotifyRecord&) {
  const std::wstring url = GetGlobalText(Engine().State(), script_names::kLicenceUrl);
  ShellExecuteW(Window(), nullptr, url.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void CDlgInstall::OnSelectPath(NotifyRecord&) {
  const std::wstring start = ChooserStartFolder(installPath_ ? installPath_->ControlText() : std::wstring());
  DebugLine(L"%ls", start.c_str());
  const auto picked = PickFolder(Window(), start);
  if (!picked || !installPath_) return;
  installPath_->ChangeText(CheckDir(*picked, GetGlobalText(Engine().State(), script_names::kInstallBasePath)));
}

void CDlgInstall::WriteOptionGlobals() {
  const NEBScriptEngine::Access engine = Engine();
  lua_State* L = engine.State();
  for (SkinUI::CControlUI* control : manager_.CollectByClass(initView_, L"OptionUI")) {
    auto* option = As<SkinUI::COptionUI>(control, L"Option");
    if (option && !option->UserData().empty()) {
      SetGlobalFlag(L, WideToUtf8(option->UserData()).c_str(), option->IsChecked());
    }
  }
}

void CDlgInstall::OnInstallClick(NotifyRecord&) {
  if (!installPath_ || installing_) return;
  const NEBScriptEngine::Access engine = Engine();
  lua_State* L = engine.State();
  std::wstring typed = installPath_->ControlText();
  // Cut to the length a path may have before the check: a cut afterwards
  // could name another folder than the one checked.
  if (typed.size() > MAX_PATH) typed.resize(MAX_PATH);
  std::wstring folder;
  switch (CheckInstallFolder(typed, GetGlobalText(L, script_names::kInstallBasePath), &folder)) {
    case InstallFolderCheck::kUsable:
      break;
    case InstallFolderCheck::kIllegal:
      MessageBoxW(Window(), kIllegalPath, L"错误", MB_OK | MB_ICONWARNING);
      return;
    case InstallFolderCheck::kOccupied:
      MessageBoxW(Window(), kOccupiedPath, L"错误", MB_OK | MB_ICONWARNING);
      return;
  }
  SetGlobalText(L, WideToUtf8(installPath_->UserData()).c_str(), folder);
  if (initView_) WriteOptionGlobals();

  const std::wstring backup = GetGlobalText(L, script_names::kBackUpPath);
  if (!backup.empty()) {
    DebugLine(L"backpath = %ls", backup.c_str());
    if (!IsLegalInstallPath(backup)) {
      MessageBoxW(Window(), kIllegalBackupPath, L"错误", MB_OK | MB_ICONWARNING);
      return;
    }
  }

  const uint64_t needed = ReadNeededBytes(GetGlobalText(L, script_names::kNeedDiskSpace));
  if (FreeBytesOnDrive(folder) < needed) {
    MessageBoxW(Window(), DiskSpaceMessage(needed).c_str(), L"提示", MB_OK | MB_ICONINFORMATION);
    return;
  }
  CInstallMgr::Instance().BeforeInstall();
  StartInstall();
}

void CDlgInstall::StartInstall() {
  if (!tabMain_ || !installView_ || !progress_ || !captionButtons_) return;
  tabMain_->PickPage(installView_);
  captionButtons_->Show(false);
  const int elapse = static_cast<int>(PayloadSize() * kElapsePerByte / 100);
  if (const auto engine = NEBScriptEngine::Instance().TryLock()) {
    SetGlobalNumber(engine->State(), script_names::kInstallProgressElapse, elapse);
  }

  worker_ = NewInstallWorkerState(Window());
  installing_ = StartInstallWorker(worker_);

  progress_->ChangeValue(0);
  manager_.StartTimer(progress_, TIMER_PROGRESS, kProgressPeriodMs);
  manager_.StartTimer(installView_, TIMER_BK_ROTATE, static_cast<UINT>(installView_->ControlTag()));
  installView_->ChangeTag(0);
}

void CDlgInstall::OnTimer(NotifyRecord& record) {
  const UINT id = static_cast<UINT>(record.wParam);
  if (id == TIMER_BK_ROTATE && installView_ && record.sender == installView_) {
    const UINT_PTR next = installView_->ControlTag() == 0 ? 1 : 0;
    installView_->ChangeTag(next);
    installView_->ChangeBkImage(L"Image/InstallBk" + DecimalText(next) + L".svg");
  } else if (id == TIMER_PROGRESS && progress_ && record.sender == progress_) {
    if (progress_->ProgressValue() + 1 < progress_->ProgressMax()) {
      progress_->ChangeValue(progress_->ProgressValue() + 1);
    }
    UpdateProgressLabel();
    const int position = progress_->ProgressValue();
    // The worker holds the engine while the script installs; the next tick
    // writes the position again.
    if (const auto engine = NEBScriptEngine::Instance().TryLock()) {
      SetGlobalNumber(engine->State(), script_names::kInstallProgressPos, position);
    }
    if (position >= progress_->ProgressMax()) CompleteInstall(number_);
  }
}

void CDlgInstall::UpdateProgressLabel() {
  if (!progressLabel_ || !progress_) return;
  progressLabel_->ChangeText(L"安装中...  (" + DecimalText(progress_->ProgressValue()) + L"％)");
}

LRESULT CDlgInstall::OnOtherMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) {
  // Only the worker knows the token; a message posted from outside before
  // the script is done ends nothing.
  if (message == UM_QUERY_RESULT && worker_ && lParam == worker_->token && worker_->scriptDone) {
    installing_ = false;
    // The shipped skin has no place for the number: it goes to the debugger.
    DebugLine(L"query number %ld", static_cast<long>(wParam));
    if (progress_) {
      number_ = static_cast<long>(wParam);
      progress_->ChangeValue(progress_->ProgressMax());
    }
  }
  handled = false;
  return 0;
}

void CDlgInstall::CompleteInstall(long number) {
  if (!tabMain_ || !start_ || !captionButtons_ || !installView_ || !progress_) return;
  ReportChosenOptions(desktopShortcut_ && desktopShortcut_->IsChecked(), autoStartup_ && autoStartup_->IsChecked());
  manager_.StopTimer(installView_, TIMER_BK_ROTATE);
  manager_.StopTimer(progress_, TIMER_PROGRESS);
  progress_->ChangeValue(progress_->ProgressMax());
  UpdateProgressLabel();
  UpdateWindow(Window());
  captionButtons_->Show(true);
  SendInstallDone(listenWindow_);
  BringToForeground();
  if (GetGlobalFlag(Engine().State(), script_names::kShowCompleteWindow) && completeView_) {
    ShowNumber(number);
    tabMain_->PickPage(completeView_);
    start_->TakeFocus();
  } else {
    NotifyRecord none;
    StartProduct(none);
  }
}

// The shipped skin has no number box; a product's skin may.
void CDlgInstall::ShowNumber(long number) {
  if (numberBox_ == nullptr) return;
  const std::vector<std::wstring> texts = NumberBoxTexts(number, static_cast<size_t>(numberBox_->ItemCount()));
  for (size_t i = 0; i < texts.size(); ++i) numberBox_->ItemAt(static_cast<int>(i))->ChangeText(texts[i]);
}

void CDlgInstall::BringToForeground() {
  // Input is shared only with a foreground window that answers: attached to
  // a thread that pumps no messages, the calls below would wait for it.
  const HWND foreground = GetForegroundWindow();
  DWORD_PTR answer = 0;
  const bool answers = foreground && SendMessageTimeoutW(foreground, WM_NULL, 0, 0, SMTO_ABORTIFHUNG | SMTO_BLOCK,
                                                         kForegroundAnswerMs, &answer) != 0;
  const DWORD foregroundThread = answers ? GetWindowThreadProcessId(foreground, nullptr) : 0;
  const DWORD ownThread = GetCurrentThreadId();
  const bool attached =
      foregroundThread && foregroundThread != ownThread && AttachThreadInput(ownThread, foregroundThread, TRUE);
  // Showing a window that is shown already is no change, and Wine then
  // loses a layered window's picture.
  if (IsIconic(Window()) || !IsWindowVisible(Window())) ShowWindow(Window(), SW_SHOWNORMAL);
  SetWindowPos(Window(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  SetWindowPos(Window(), HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  SetForegroundWindow(Window());
  if (attached) AttachThreadInput(ownThread, foregroundThread, FALSE);
}

void CDlgInstall::StartProduct(NotifyRecord&) {
  LaunchInstalledProduct();
  CInstallMgr::Instance().AfterComplete();
  RequestClose(1);
}

void CDlgInstall::OnCloseClick(NotifyRecord&) {
  if (completeView_ && completeView_->IsShown()) {
    RequestClose(1);
    return;
  }
  if (MessageBoxW(Window(), kConfirmExit, L"提醒", MB_OKCANCEL | MB_ICONQUESTION) == IDOK) {
    SendToWindow(WM_CLOSE, kCloseAsked);
  }
}

// While the worker installs, a close from the system (Alt+F4, the task bar,
// another program) is refused: ending the process then would leave a
// half-written install behind. The caption buttons are hidden meanwhile.
LRESULT CDlgInstall::OnClose(UINT, WPARAM, LPARAM, bool& handled) {
  // Once the script has returned, only the number query is left: the
  // install is whole and the window may close.
  if (installing_ && !(worker_ && worker_->scriptDone)) {
    DebugLine(L"close refused while installing\r\n");
    handled = true;
    return 0;
  }
  handled = false;
  return 0;
}

LRESULT CDlgInstall::OnDestroy(UINT, WPARAM, LPARAM, bool& handled) {
  PostQuitMessage(0);
  handled = false;
  return 0;
}
