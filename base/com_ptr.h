// An owned reference to a COM interface, released exactly once.
#pragma once

#include <unknwn.h>

template <typename Interface>
class ComPtr {
 public:
  ComPtr() = default;
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;
  ~ComPtr() { Reset(); }

  Interface* Get() const { return pointer_; }
  Interface* operator->() const { return pointer_; }
  explicit operator bool() const { return pointer_ != nullptr; }

  // For creation and QueryInterface calls: drops any reference held, then
  // hands out the slot the call fills.
  void** Out() {
    Reset();
    return reinterpret_cast<void**>(&pointer_);
  }

  void Reset() {
    if (pointer_) pointer_->Release();
    pointer_ = nullptr;
  }

 private:
  Interface* pointer_ = nullptr;
};
