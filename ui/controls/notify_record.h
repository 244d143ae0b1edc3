// A notification: what a control reports to the window's receivers.
#pragma once

#include <windows.h>

#include <string>

namespace SkinUI {

class CControlUI;

struct NotifyRecord {
  std::wstring type;
  std::wstring virtualWindow;
  std::wstring senderName;
  CControlUI* sender = nullptr;
  DWORD timestamp = 0;
  POINT mouse{};
  WPARAM wParam = 0;
  LPARAM lParam = 0;
};

// Receives every notification of a window.
class INotifyUI {
 public:
  virtual ~INotifyUI() = default;
  virtual void OnNotify(NotifyRecord& record) = 0;
};

}  // namespace SkinUI
