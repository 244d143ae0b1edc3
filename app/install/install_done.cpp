#include "app/install/install_done.h"

#include "app/install/window_messages.h"
#include "base/debug_line.h"

namespace {

constexpr UINT kListenerAnswerMs = 5000;

}  // namespace

void SendInstallDone(HWND window) {
  if (!window) return;
  DWORD_PTR answer = 0;
  // Sent messages to this thread are still handled while it waits.
  if (!SendMessageTimeoutW(window, UM_INSTALL_DONE, 0, 0, SMTO_NORMAL | SMTO_ABORTIFHUNG, kListenerAnswerMs,
                           &answer)) {
    DebugLine(L"the listening window did not answer UM_INSTALL_DONE\r\n");
  }
}
