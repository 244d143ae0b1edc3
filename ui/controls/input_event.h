// An input event that the window routes to a control.
#pragma once

#include <windows.h>

namespace SkinUI {

class CControlUI;

enum InputEventKind {
  kEventKeyDown = 3,
  kEventKeyUp = 4,
  kEventChar = 5,
  kEventSysKey = 6,
  kEventMouseMove = 9,
  kEventMouseLeave = 10,
  kEventMouseEnter = 11,
  kEventMouseHover = 12,
  kEventButtonDown = 13,
  kEventButtonUp = 14,
  kEventRButtonDown = 15,
  kEventRButtonUp = 16,
  kEventMButtonDown = 17,
  kEventMButtonUp = 18,
  kEventDoubleClick = 19,
  kEventContextMenu = 20,
  kEventScrollWheel = 21,
  kEventDragBegin = 22,
  kEventDragMoveBegin = 23,
  kEventDragMoving = 24,
  kEventDragMoveEnd = 25,
  kEventKillFocus = 27,
  kEventSetFocus = 28,
  kEventWindowSize = 29,
  kEventSetCursor = 30,
  kEventTimer = 31,
};

// Key state bits of an event.
enum InputKeyState : WORD {
  kKeyStateLeftButton = 1,
  kKeyStateRightButton = 2,
  kKeyStateShift = 4,
  kKeyStateControl = 8,
  kKeyStateAlt = 0x20,
};

struct InputEvent {
  int kind = 0;
  CControlUI* sender = nullptr;
  DWORD timestamp = 0;
  POINT mouse{};
  wchar_t key = 0;
  WORD keyState = 0;
  WPARAM wParam = 0;
  LPARAM lParam = 0;
};

}  // namespace SkinUI
