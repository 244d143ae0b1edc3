// What the uninstaller tells the user, and its log file.
#pragma once

inline constexpr wchar_t kUninstallCaption[] = L"Lumetrica - 卸载";
inline constexpr wchar_t kConfirmText[] = L"确定要从这台电脑上卸载 Lumetrica 吗？";
inline constexpr wchar_t kDoneText[] = L"Lumetrica 已从这台电脑上卸载。";
// Followed by the path of the file and kRefusedTextAfter.
inline constexpr wchar_t kRefusedTextBefore[] = L"卸载所需的文件缺失或已损坏：\r\n";
inline constexpr wchar_t kRefusedTextAfter[] = L"\r\n卸载没有进行，没有删除任何文件。请重新安装 Lumetrica 后再卸载。";
inline constexpr wchar_t kNoCopyText[] = L"无法在临时文件夹中启动卸载程序，卸载没有进行。";

// The daily log in the temporary folder, beside the installer's.
inline constexpr wchar_t kUninstallLogName[] = L"LumetricaClientUninstall.log";
