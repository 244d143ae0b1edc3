// Waiting in tests for what other threads must do.
#pragma once

#include <windows.h>

#include "base/handles.h"

// How long a test waits for something that must come; far longer than it
// ever takes.
constexpr DWORD kPatience = 30000;

// True once the thread has ended (also when it has gone so long ago that
// its id names nothing).
inline bool ThreadHasEnded(DWORD threadId) {
  const UniqueHandle thread(OpenThread(SYNCHRONIZE, FALSE, threadId));
  return !thread || WaitForSingleObject(thread.Get(), kPatience) == WAIT_OBJECT_0;
}
