// The scripts' globals and event functions that native code reads, writes
// or calls, by the names the three scripts (scripts/*.lua) and their
// settings use: the whole contract between the program and its scripts in
// one list.
#pragma once

namespace script_names {

// The install script's events, fired in this order.
inline constexpr char kBeforeInit[] = "NEBSE_BeforeInit";
inline constexpr char kBeforeInstall[] = "NEBSE_BeforeInstall";
inline constexpr char kOnInstall[] = "NEBSE_OnInstall";
inline constexpr char kBeforeComplete[] = "NEBSE_BeforeComplete";
inline constexpr char kAfterComplete[] = "NEBSE_AfterComplete";

// The uninstall script's events (BeforeInit too).
inline constexpr char kOnUninstall[] = "NEBSE_OnUninstall";
inline constexpr char kFeedBack[] = "NEBSE_FeedBack";
inline constexpr char kAfterUninstall[] = "NEBSE_AfterUnintall";

// Settings.
inline constexpr char kProductName[] = "global_product_name";
inline constexpr char kMainAppName[] = "global_main_app_name";
inline constexpr char kAppId[] = "global_app_id";
inline constexpr char kInstallMutexGuid[] = "global_install_mutex_guid";
inline constexpr char kInstallBasePath[] = "global_install_basepath";
inline constexpr char kNeedDiskSpace[] = "global_need_disk_space";
inline constexpr char kLicenceUrl[] = "global_licence_url";
inline constexpr char kQueryHost[] = "global_query_host";
inline constexpr char kStatDispatchHost[] = "global_stat_dispatch_host";
inline constexpr char kStartParameter[] = "global_start_parameter";
inline constexpr char kStartUseExplorerLevel[] = "global_startuseexplorer_level";
inline constexpr char kShowCompleteWindow[] = "global_show_completewindow";
inline constexpr char kStartupCheck[] = "global_startup_check";
inline constexpr char kStartupCheckVisible[] = "global_startup_check_visable";
inline constexpr char kEnableSilentInstall[] = "global_enable_ss_install";

// What the program sets for the install script.
inline constexpr char kInstallPath[] = "global_install_path";
inline constexpr char kSilentInstall[] = "global_ss_install";
inline constexpr char kInstallProgressElapse[] = "global_install_progress_elapse";
inline constexpr char kInstallProgressPos[] = "global_install_progress_pos";
inline constexpr char kInstallPathOption[] = "InstallPath";
inline constexpr char kBackUpPath[] = "BackUpPath";
inline constexpr char kStartWithWindowsOption[] = "ShouldStartWithWindowsChk";

// What the uninstaller sets for the uninstall script.
inline constexpr char kUninstallerPath[] = "_Uninstall_Path";
inline constexpr char kUserSettingChecked[] = "ChkUserSetting";
inline constexpr char kInstalledEntries[] = "InstalledEntries";
inline constexpr char kClearUserData[] = "ClearUserData";
inline constexpr char kReasonId[] = "ReasonID";
inline constexpr char kSuggestion[] = "tbSuggest";
inline constexpr char kContact[] = "tbContact";

}  // namespace script_names
