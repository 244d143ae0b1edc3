// The kinds of notification a control sends to its window, one name each,
// shared by the controls that send them and the tables that receive them.
#pragma once

namespace SkinUI {

constexpr wchar_t kNotifyBeginDrag[] = L"begindrag";
constexpr wchar_t kNotifyChar[] = L"char";
constexpr wchar_t kNotifyCheckClick[] = L"checkclick";
constexpr wchar_t kNotifyClick[] = L"click";
constexpr wchar_t kNotifyDoubleClick[] = L"dbclick";
constexpr wchar_t kNotifyDpiChanged[] = L"dpichanged";
constexpr wchar_t kNotifyDragEnd[] = L"dragend";
constexpr wchar_t kNotifyDragEnter[] = L"dragenter";
constexpr wchar_t kNotifyDragLeave[] = L"dragleave";
constexpr wchar_t kNotifyDragOver[] = L"dragover";
constexpr wchar_t kNotifyDrop[] = L"drop";
constexpr wchar_t kNotifyHeaderClick[] = L"headerclick";
constexpr wchar_t kNotifyItemSelect[] = L"itemselect";
constexpr wchar_t kNotifyKeyDown[] = L"keydown";
constexpr wchar_t kNotifyKillFocus[] = L"killfocus";
constexpr wchar_t kNotifyLink[] = L"link";
constexpr wchar_t kNotifyMenu[] = L"menu";
constexpr wchar_t kNotifyMouseEnter[] = L"mouseenter";
constexpr wchar_t kNotifyMouseHover[] = L"mousehover";
constexpr wchar_t kNotifyMouseLeave[] = L"mouseleave";
constexpr wchar_t kNotifyMouseMove[] = L"mousemove";
constexpr wchar_t kNotifyMouseWheel[] = L"mousewheel";
constexpr wchar_t kNotifyReturn[] = L"return";
constexpr wchar_t kNotifyRightClick[] = L"rclick";
constexpr wchar_t kNotifyScroll[] = L"scroll";
constexpr wchar_t kNotifySelectChanged[] = L"selectchanged";
constexpr wchar_t kNotifySetFocus[] = L"setfocus";
constexpr wchar_t kNotifyTabSelect[] = L"tabselect";
constexpr wchar_t kNotifyTextChanged[] = L"textchanged";
constexpr wchar_t kNotifyTimer[] = L"timer";
constexpr wchar_t kNotifyWindowInit[] = L"windowinit";
constexpr wchar_t kNotifyWindowSize[] = L"windowsize";

}  // namespace SkinUI
