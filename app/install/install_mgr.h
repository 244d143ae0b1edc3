// Fires the install script's five events, always in the same order and
// never two at a time, and does the native work that follows two of them.
#pragma once

class CInstallMgr {
 public:
  static CInstallMgr& Instance();
  virtual ~CInstallMgr() = default;

  void BeforeInit();
  void BeforeInstall();
  void InstallExecute();
  void BeforeComplete();
  void AfterComplete();

 private:
  CInstallMgr() = default;
};

// True when the program's file name holds "@ung": such a build prepares the
// per-user data folder once the install is complete.
bool ProgramNameAsksForUserDataFolder();
