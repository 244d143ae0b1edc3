#include "ui/building/control_factory.h"

#include <algorithm>
#include <cwctype>

#include "ui/building/built_in_controls.h"
#include "ui/containers/container_ui.h"
#include "ui/containers/edit/edit_ui.h"
#include "ui/containers/horizontal_layout_ui.h"
#include "ui/containers/rich_edit/rich_edit_ui.h"
#include "ui/containers/tab_layout_ui.h"
#include "ui/containers/vertical_layout_ui.h"
#include "ui/controls/button/button_ui.h"
#include "ui/controls/checkbox/check_box_ui.h"
#include "ui/controls/control_ui.h"
#include "ui/controls/label/label_ui.h"
#include "ui/controls/option/option_ui.h"
#include "ui/controls/progress/progress_ui.h"
#include "ui/controls/text/text_ui.h"

namespace SkinUI {

namespace {

std::wstring Lower(std::wstring text) {
  std::transform(text.begin(), text.end(), text.begin(), [](wchar_t c) { return static_cast<wchar_t>(std::towlower(c)); });
  return text;
}

template <typename Control>
CControlUI* Create() {
  return new Control();
}

struct BuiltInClass {
  const wchar_t* name;
  ControlCreator creator;
};

// The classes of the framework, by the name their markup element gives.
#define NEB_BUILT_IN_CLASS(element) {L"C" #element "UI", &Create<C##element##UI>},
const BuiltInClass kBuiltInClasses[] = {NEB_BUILT_IN_CONTROLS(NEB_BUILT_IN_CLASS)};
#undef NEB_BUILT_IN_CLASS

}  // namespace

CControlFactory& CControlFactory::Get() {
  static CControlFactory factory;
  return factory;
}

CControlFactory::CControlFactory() {
  for (const BuiltInClass& entry : kBuiltInClasses) RegisterControl(entry.name, entry.creator);
}

CControlUI* CControlFactory::CreateControl(const std::wstring& className) const {
  const auto found = creators_.find(Lower(className));
  return found == creators_.end() ? nullptr : found->second();
}

bool CControlFactory::CreatesElement(const std::wstring& elementName) const {
  if (creators_.count(Lower(L"C" + elementName + L"UI")) > 0) return true;
  for (PluginCreator plugin : plugins_) {
    if (CControlUI* control = plugin(elementName.c_str())) {
      delete control;
      return true;
    }
  }
  return false;
}

void CControlFactory::RegisterControl(const std::wstring& className, ControlCreator creator) {
  creators_[Lower(className)] = creator;
}

void CControlFactory::AddPlugin(PluginCreator creator) {
  if (std::find(plugins_.begin(), plugins_.end(), creator) == plugins_.end()) plugins_.push_back(creator);
}

}  // namespace SkinUI
