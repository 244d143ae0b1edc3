// The process-wide table of control classes that markup elements name:
// element "Button" is class "CButtonUI". Class names are looked up without
// regard to letter case.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace SkinUI {

class CControlUI;

using ControlCreator = CControlUI* (*)();
// Asked with the element name when the table has no class for it.
using PluginCreator = CControlUI* (*)(const wchar_t* elementName);

class CControlFactory {
 public:
  static CControlFactory& Get();

  // A new control of the class, or none when the class is unknown.
  CControlUI* CreateControl(const std::wstring& className) const;
  // Whether the table or a plug-in creates a control for the element.
  bool CreatesElement(const std::wstring& elementName) const;
  void RegisterControl(const std::wstring& className, ControlCreator creator);
  void AddPlugin(PluginCreator creator);
  const std::vector<PluginCreator>& Plugins() const { return plugins_; }

 private:
  CControlFactory();

  std::map<std::wstring, ControlCreator> creators_;  // keyed by lower-case class name
  std::vector<PluginCreator> plugins_;
};

}  // namespace SkinUI
