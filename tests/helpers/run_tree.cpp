// Runs a program and waits until it and every process it started (and
// those started in turn) have ended, through a job object that they all
// belong to. For programs that hand their work to another process and end
// at once, such as an uninstaller running from a temporary copy.
// Usage: run_tree SECONDS PROGRAM [ARGS...]
// Prints "exit N" with the first program's exit code, then "tree ended"
// once the job is empty. Exit code 0, 1 when the program cannot start, 2
// for a bad command line, 3 when the job was still busy after SECONDS.
#include <windows.h>
#include <shellapi.h>
#include <shlwapi.h>

#include <cstdio>
#include <cwchar>
#include <string>

#include "base/handles.h"

namespace {

constexpr DWORD kPollMs = 50;

DWORD ActiveProcesses(HANDLE job) {
  JOBOBJECT_BASIC_ACCOUNTING_INFORMATION accounting = {};
  if (!QueryInformationJobObject(job, JobObjectBasicAccountingInformation, &accounting, sizeof(accounting),
                                 nullptr)) {
    return 0;
  }
  return accounting.ActiveProcesses;
}

// The command line after the first two arguments (this program, SECONDS),
// as given.
const wchar_t* ProgramCommandLine() {
  return PathGetArgsW(PathGetArgsW(GetCommandLineW()));
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) return 2;
  const int seconds = _wtoi(argv[1]);
  UniqueHandle job(CreateJobObjectW(nullptr, nullptr));
  if (!job) return 1;

  std::wstring commandLine = ProgramCommandLine();
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION started = {};
  if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr, nullptr,
                      &startup, &started)) {
    return 1;
  }
  UniqueHandle process(started.hProcess);
  UniqueHandle thread(started.hThread);
  AssignProcessToJobObject(job.Get(), process.Get());
  ResumeThread(thread.Get());

  WaitForSingleObject(process.Get(), static_cast<DWORD>(seconds) * 1000);
  DWORD code = STILL_ACTIVE;
  GetExitCodeProcess(process.Get(), &code);
  std::printf("exit %lu\n", code);
  std::fflush(stdout);

  for (DWORD waited = 0; ActiveProcesses(job.Get()) > 0; waited += kPollMs) {
    if (waited >= static_cast<DWORD>(seconds) * 1000) return 3;
    Sleep(kPollMs);
  }
  std::printf("tree ended\n");
  return 0;
}
