// The control classes of the framework, by the markup element that names
// each: element "Button" is class "CButtonUI". One list for the control
// factory and for the skin checks, which run where no window is built. No
// Windows calls here.
#pragma once

#include <string_view>

// X(Element) for every class C<Element>UI the factory creates.
#define NEB_BUILT_IN_CONTROLS(X)                                                                               \
  X(Control) X(Container) X(VerticalLayout) X(HorizontalLayout) X(TabLayout) X(Label) X(Button) X(Option) \
  X(CheckBox) X(Text) X(Progress) X(RichEdit) X(Edit)

namespace SkinUI {

// Whether a built-in class answers to the element, without regard to ASCII
// case, as the factory looks classes up.
bool IsBuiltInControlElement(std::wstring_view element);

}  // namespace SkinUI
