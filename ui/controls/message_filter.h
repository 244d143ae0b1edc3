// Hooks into a window's message processing.
#pragma once

#include <windows.h>

namespace SkinUI {

// Sees a message before the manager; setting `handled` ends its processing
// with the returned answer.
class IMessageFilterUI {
 public:
  virtual LRESULT FilterMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) = 0;

 protected:
  ~IMessageFilterUI() = default;
};

// Runs in the message loop before the window's pre-translation; an answer
// of 0 swallows the message.
class ITranslateAccelerator {
 public:
  virtual LRESULT TranslateAccelerator(MSG* message) = 0;

 protected:
  ~ITranslateAccelerator() = default;
};

}  // namespace SkinUI
