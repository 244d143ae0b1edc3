// The controls the install dialog looks up in its skin, by name, with the
// kind each must be (a control of another kind counts as absent). nebpack
// checks a skin against the same list before it builds an installer.
#pragma once

struct DialogControl {
  const wchar_t* name;
  const wchar_t* kind;
};

namespace dialog_controls {

// Looked up in the whole window.
inline constexpr DialogControl kTabMain{L"TabMain", L"TabLayout"};
inline constexpr DialogControl kInitView{L"VertInitView", L"VerticalLayout"};
inline constexpr DialogControl kInstallView{L"VertInstallView", L"VerticalLayout"};
inline constexpr DialogControl kCompleteView{L"VertCompleteView", L"VerticalLayout"};
inline constexpr DialogControl kCaptionButtons{L"HorizCaptionBtn", L"HorizontalLayout"};
// Served by the window base's caption-button handler.
inline constexpr DialogControl kMinimise{L"minbtn", L"Button"};
inline constexpr DialogControl kClose{L"BtnClose", L"Button"};
// Looked up but used by nothing, and absent from the shipped skin.
inline constexpr DialogControl kUpdateView{L"VertUpdateView", L"VerticalLayout"};
inline constexpr DialogControl kInfoTipView{L"VertInfoTipView", L"VerticalLayout"};

// Inside the initial view.
inline constexpr DialogControl kInstall{L"BtnInstall", L"Button"};
inline constexpr DialogControl kLicence{L"CheckLicence", L"Option"};
inline constexpr DialogControl kLicenceLink{L"BtnLicenceLink", L"Button"};
inline constexpr DialogControl kInstallPath{L"EditInstallPath", L"RichEdit"};
inline constexpr DialogControl kSelectPath{L"BtnSelectPath", L"Button"};
inline constexpr DialogControl kStartMenuShortcut{L"StartMenuShortcutChk", L"Option"};
inline constexpr DialogControl kDesktopShortcut{L"CheckDesktopLaunch", L"Option"};
inline constexpr DialogControl kAutoStartup{L"CheckAutoStartup", L"Option"};

// Inside the progress view.
inline constexpr DialogControl kProgress{L"ProgressInstall", L"Progress"};
inline constexpr DialogControl kProgressLabel{L"LabelInstallValue", L"Label"};

// Inside the completion view; the number box is absent from the shipped skin.
inline constexpr DialogControl kCompleteTitle{L"LabelTitleComplete", L"Label"};
inline constexpr DialogControl kStart{L"BtnStart", L"Button"};
inline constexpr DialogControl kNumberBox{L"HorizNumber", L"HorizontalLayout"};

// What a skin must hold for every part of the dialog to work.
inline constexpr DialogControl kRequired[] = {
    kTabMain,         kInitView,          kInstall,        kLicence,        kLicenceLink,
    kInstallPath,     kSelectPath,        kStartMenuShortcut, kDesktopShortcut, kAutoStartup,
    kInstallView,     kProgress,          kProgressLabel,  kCompleteView,   kCompleteTitle,
    kStart,           kCaptionButtons,    kMinimise,       kClose,
};

}  // namespace dialog_controls
