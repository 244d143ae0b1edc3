// Callbacks that a control runs at one moment ("init", "size", "event",
// "notify", "paint"). The list answers true when every callback did.
#pragma once

#include <functional>
#include <vector>

namespace SkinUI {

template <typename Arg>
class DelegateList {
 public:
  using Callback = std::function<bool(Arg)>;

  void Add(Callback callback) { callbacks_.push_back(std::move(callback)); }
  // Stops at the first callback that answers false, or when `keepGoing`
  // (checked before each call) answers false.
  bool Run(Arg arg, const std::function<bool()>& keepGoing = nullptr) const {
    const std::vector<Callback> snapshot = callbacks_;
    for (const Callback& callback : snapshot) {
      if (keepGoing && !keepGoing()) return false;
      if (!callback(arg)) return false;
    }
    return true;
  }

 private:
  std::vector<Callback> callbacks_;
};

}  // namespace SkinUI
