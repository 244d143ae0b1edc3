// Attribute lists: the text form of default attribute lists, styles,
// "innerstyle" and image drawing strings, e.g. file='a.png' dest='0,0,8,8'.
#pragma once

#include <map>
#include <string>
#include <string_view>

namespace SkinUI {

// Ordered by key: later duplicates replace earlier ones, and the pairs are
// applied in ascending key order, not in the order of the text.
using AttributeMap = std::map<std::wstring, std::wstring>;

// "&quot;" is first turned into a double quote. A key runs up to the next
// "=" (or is quoted with " or '); a value is quoted with " or ' or runs up to
// the next space, and one space after it is skipped. Reading stops quietly at
// the first pair that does not fit this form.
AttributeMap ParseAttributeList(std::wstring_view text);

}  // namespace SkinUI
