// The UI thread's message loop and the list of every window's manager.
#include <algorithm>

#include "ui/host/paint_manager_ui.h"

namespace SkinUI {

namespace {

std::vector<CPaintManagerUI*>& ManagerList() {
  static std::vector<CPaintManagerUI*> managers;
  return managers;
}

bool IsChildWindow(HWND window) { return (GetWindowLongW(window, GWL_STYLE) & WS_CHILD) != 0; }

// An edit's own window above a layered window gets its keys through the
// window it belongs to.
bool IsEditOfLayeredWindow(HWND window) {
  wchar_t className[16] = {};
  if (!GetClassNameW(window, className, 16) || std::wcscmp(className, L"EditWnd") != 0) return false;
  const HWND parent = GetParent(window);
  return parent && (GetWindowLongW(parent, GWL_EXSTYLE) & WS_EX_LAYERED);
}

}  // namespace

const std::vector<CPaintManagerUI*>& CPaintManagerUI::Managers() { return ManagerList(); }

void CPaintManagerUI::JoinManagerList(CPaintManagerUI* manager) {
  std::vector<CPaintManagerUI*>& managers = ManagerList();
  if (std::find(managers.begin(), managers.end(), manager) == managers.end()) managers.push_back(manager);
}

void CPaintManagerUI::LeaveManagerList(CPaintManagerUI* manager) {
  std::vector<CPaintManagerUI*>& managers = ManagerList();
  managers.erase(std::remove(managers.begin(), managers.end(), manager), managers.end());
}

bool CPaintManagerUI::TranslateMessageUI(const MSG* message) {
  MSG copy = *message;
  const std::vector<CPaintManagerUI*> managers = ManagerList();
  if (IsChildWindow(message->hwnd) || IsEditOfLayeredWindow(message->hwnd)) {
    for (CPaintManagerUI* manager : managers) {
      for (HWND above = GetParent(message->hwnd); above; above = GetParent(above)) {
        if (above != manager->Window()) continue;
        for (ITranslateAccelerator* hook : std::vector<ITranslateAccelerator*>(manager->accelerators_)) {
          if (hook->TranslateAccelerator(&copy) == 0) return true;
        }
        if (manager->PreTranslate(copy)) return true;
      }
    }
    return false;
  }
  for (CPaintManagerUI* manager : managers) {
    if (manager->Window() != message->hwnd) continue;
    for (ITranslateAccelerator* hook : std::vector<ITranslateAccelerator*>(manager->accelerators_)) {
      if (hook->TranslateAccelerator(&copy) == 0) return true;
    }
    return manager->PreTranslate(copy);
  }
  return false;
}

void CPaintManagerUI::RunMessageLoop() {
  MSG message{};
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (!TranslateMessageUI(&message)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }
}

}  // namespace SkinUI
