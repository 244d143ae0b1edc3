// The long part of an interactive install, on a thread of its own: it tells
// a running product, runs the install script and asks the maker's service for
// the number shown at the end. It reaches the dialog only through the one
// message it posts when it is done (UM_QUERY_RESULT).
#pragma once

#include <windows.h>

#include <atomic>
#include <memory>

// What the dialog and its worker share. The worker's message carries
// `token` as its second parameter: a value no other process can know, so a
// UM_QUERY_RESULT posted from outside does not end the install early.
struct InstallWorkerState {
  HWND dialog = nullptr;
  LPARAM token = 0;
  std::atomic<bool> scriptDone{false};  // BeforeComplete has returned
};

// A state with a fresh random token for the dialog's window.
std::shared_ptr<InstallWorkerState> NewInstallWorkerState(HWND dialog);

// Starts the worker on a thread of its own, holding its own share of the
// state (the thread is never joined). False when no thread could be made.
bool StartInstallWorker(const std::shared_ptr<InstallWorkerState>& state);
