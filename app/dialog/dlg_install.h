// The installer's window in an interactive install: the install folder and
// options, the progress while the worker installs, and the start of the
// product. Built from the skin's "Layout/Layout.xml".
#pragma once

#include <windows.h>

#include <memory>

#include <string>

#include "app/install/install_worker.h"
#include "ui/window/window_impl_base.h"

namespace SkinUI {
class CButtonUI;
class CHorizontalLayoutUI;
class CLabelUI;
class COptionUI;
class CProgressUI;
class CRichEditUI;
class CTabLayoutUI;
class CVerticalLayoutUI;
}  // namespace SkinUI

class CDlgInstall : public SkinUI::WindowImplBase {
 public:
  explicit CDlgInstall(HWND listenWindow) : listenWindow_(listenWindow) {}
  ~CDlgInstall() override = default;

  const wchar_t* WindowClassName() const override { return L"CDlgInstall"; }

 protected:
  void AfterSkinLoaded() override;
  void OnTimer(SkinUI::NotifyRecord& record) override;
  std::wstring SkinFile() const override { return L"Layout/Layout.xml"; }
  LRESULT OnDestroy(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;
  LRESULT OnClose(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;
  LRESULT OnOtherMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;
  const SkinUI::MessageMap* NotifyMap() const override;

 private:
  void OnCloseClick(SkinUI::NotifyRecord& record);
  void OnLicenceLink(SkinUI::NotifyRecord& record);
  void OnInstallClick(SkinUI::NotifyRecord& record);
  void OnSelectPath(SkinUI::NotifyRecord& record);
  void StartProduct(SkinUI::NotifyRecord& record);
  void OnLicenceChanged(SkinUI::NotifyRecord& record);

  void LookupControls();
  void InitViews();
  void StartInstall();
  void UpdateProgressLabel();
  void CompleteInstall(long number);
  void ShowNumber(long number);
  void BringToForeground();
  void WriteOptionGlobals();

  HWND listenWindow_;
  bool installing_ = false;
  std::shared_ptr<InstallWorkerState> worker_;
  long number_ = 0;

  SkinUI::CTabLayoutUI* tabMain_ = nullptr;
  SkinUI::CVerticalLayoutUI* initView_ = nullptr;
  SkinUI::CVerticalLayoutUI* installView_ = nullptr;
  SkinUI::CVerticalLayoutUI* completeView_ = nullptr;
  SkinUI::CVerticalLayoutUI* updateView_ = nullptr;
  SkinUI::CVerticalLayoutUI* infoTipView_ = nullptr;
  SkinUI::CHorizontalLayoutUI* captionButtons_ = nullptr;
  SkinUI::CHorizontalLayoutUI* numberBox_ = nullptr;
  SkinUI::CButtonUI* install_ = nullptr;
  SkinUI::COptionUI* licence_ = nullptr;
  SkinUI::CButtonUI* licenceLink_ = nullptr;
  SkinUI::CRichEditUI* installPath_ = nullptr;
  SkinUI::CButtonUI* selectPath_ = nullptr;
  SkinUI::COptionUI* startMenuShortcut_ = nullptr;
  SkinUI::COptionUI* desktopShortcut_ = nullptr;
  SkinUI::COptionUI* autoStartup_ = nullptr;
  SkinUI::CProgressUI* progress_ = nullptr;
  SkinUI::CLabelUI* progressLabel_ = nullptr;
  SkinUI::CLabelUI* completeTitle_ = nullptr;
  SkinUI::CButtonUI* start_ = nullptr;
};
