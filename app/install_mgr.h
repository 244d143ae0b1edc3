// Fires the install script's five events, always in the same order and
// never two at a time, and does the native work that follows two of them.
#pragma once

#include <functional>
#include <mutex>

#include "script/lua.h"

class CInstallMgr {
 public:
  static CInstallMgr& Instance();
  virtual ~CInstallMgr() = default;

  void BeforeInit();
  void BeforeInstall();
  void InstallExecute();
  void BeforeComplete();
  void AfterComplete();

  // Runs the work on the script engine unless an event holds it (the install
  // worker inside the script), so the window's thread never waits for the
  // install; false when the work was skipped.
  bool TryWithEngine(const std::function<void(lua_State*)>& work);
  // The same for a thread that may wait: between the events.
  void WithEngine(const std::function<void(lua_State*)>& work);

 private:
  CInstallMgr() = default;

  // Held for each whole event, native work included; recursive because a
  // script callback may reach the manager again on the same thread.
  std::recursive_mutex lock_;
};

// True when the program's file name holds "@ung": such a build prepares the
// per-user data folder once the install is complete.
bool ProgramNameAsksForUserDataFolder();
