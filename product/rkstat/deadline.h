// The moment by which a report must be done, counted from its start; each
// step of the exchange waits at most for what is left.
#pragma once

#include <windows.h>

class Deadline {
 public:
  explicit Deadline(DWORD boundMs) : end_(GetTickCount64() + boundMs) {}
  DWORD RemainingMs() const {
    const ULONGLONG now = GetTickCount64();
    return now >= end_ ? 0 : static_cast<DWORD>(end_ - now);
  }

 private:
  ULONGLONG end_;
};
