// The drop shadow of a window, as its host sees it: the window that owns the
// host gives it one (or none); the host passes it the window attributes
// when a tree is attached and creates it once the first paint is done.
#pragma once

namespace SkinUI {

class CPaintManagerUI;
struct WindowAttributes;

class IWindowShadow {
 public:
  // Takes the window attributes; values outside their ranges are refused.
  virtual void Prepare(const WindowAttributes& attributes) = 0;
  // Creates the shadow window for the manager's window and starts following it.
  virtual void Create(CPaintManagerUI* manager) = 0;

 protected:
  ~IWindowShadow() = default;
};

}  // namespace SkinUI
