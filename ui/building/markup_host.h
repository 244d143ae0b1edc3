// What the layout builder fills besides the control tree: the window's
// resource tables (pictures, fonts, styles, default attribute lists) and the
// attributes of its `Window` element. The window host implements it.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "ui/controls/control_host.h"

namespace SkinUI {

class IMarkupHost : public IControlHost {
 public:
  virtual const ImageEntry* CacheImage(const std::wstring& name, const std::wstring& resType, uint32_t mask,
                                       bool useHsl, bool shared, HMODULE module = nullptr) = 0;
  virtual HFONT DefineFont(int id, const std::wstring& face, int size, bool bold, bool underline, bool italic,
                           bool shared) = 0;
  virtual void DefineDefaultFont(const std::wstring& face, int size, bool bold, bool underline, bool italic,
                                 bool shared) = 0;
  virtual void AddDefaultAttributeList(const std::wstring& controlName, const std::wstring& list, bool shared) = 0;
  virtual const std::wstring* DefaultAttributeList(const std::wstring& controlName) const = 0;
  virtual void AddStyle(const std::wstring& name, const std::wstring& value, bool shared) = 0;
  // A `Window` attribute of the markup; unknown names are ignored.
  virtual void ApplyWindowAttribute(const std::wstring& name, const std::wstring& value) = 0;

 protected:
  ~IMarkupHost() = default;
};

}  // namespace SkinUI
