#include "app/startup/interactive_install.h"

#include <windows.h>
#include <objbase.h>

#include <memory>

#include "app/dialog/dlg_install.h"
#include "app/statistics/statistics.h"
#include "base/debug_line.h"
#include "base/module_resource.h"
#include "files/restart_deletion.h"
#include "http/curl_global_init.h"
#include "ui/dpi/dpi_awareness.h"
#include "ui/host/paint_manager_ui.h"
#include "ui/render/gdiplus_session.h"

namespace {

constexpr int kSkinResourceId = 249;
constexpr wchar_t kSkinResourceType[] = L"ZIP";
constexpr DWORD kDialogStyle = 0x10CF0000;  // WS_OVERLAPPEDWINDOW | WS_VISIBLE
constexpr DWORD kDialogExStyle = WS_EX_WINDOWEDGE;

// The skin package as the framework reads it, from the program's own
// resource; false (with the report) when it cannot be had.
bool UseSkinFromResource() {
  ResourceView skin;
  switch (FindModuleResource(kSkinResourceType, MAKEINTRESOURCEW(kSkinResourceId), skin)) {
    case ResourceStatus::kNotLoadable:
      TraceLastError(L"LoadResource failed. type : XML, id : LAYOUT.XML");
      return false;
    case ResourceStatus::kNotLockable:
      TraceLastError(L"LockResource failed.");
      return false;
    case ResourceStatus::kEmpty:
      DebugLine(L"ResSize == 0\r\n");
      return false;
    case ResourceStatus::kFound:
      break;
  }
  SkinUI::CPaintManagerUI::UseSkinZipInMemory(skin.data, skin.size, L"");
  return true;
}

}  // namespace

void RunInteractiveInstall(const RunContext& context) {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  SkinUI::CPaintManagerUI::SetInstance(instance);
  if (!UseSkinFromResource()) return;
  SkinUI::MakeProcessPerMonitorDpiAware();
  // Only the dialog draws with GDI+: a silent install never loads it.
  StartGdiplusOnce();
  {
    const ScopedCurlGlobalInit curl;
    auto dialog = std::make_unique<CDlgInstall>(context.listenWindow);
    dialog->OpenWindow(nullptr, L"", kDialogStyle, kDialogExStyle, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                       CW_USEDEFAULT);
    SkinUI::CPaintManagerUI::RunMessageLoop();
    SkinUI::CPaintManagerUI::ShutdownFramework();
    ShutdownStatistics();
  }
  CoUninitialize();
  ScheduleDeletionAtRestart(L"RunInteractiveInstall", context.logBasePath);
}
