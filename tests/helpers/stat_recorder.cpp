// A statistics library for the tests: it offers the exports that the
// installer and its scripts call, with their argument forms, and records
// every call with its arguments, one line each, in the order they arrive.
// Environment, read at each call:
//   NEB_STAT_RECORD       the file the lines are appended to (UTF-8)
//   NEB_STAT_INIT_RESULT  the word stat_init returns (decimal; 1 when unset)
//   NEB_STAT_BLOCK_IN     an export name: that call, after recording itself,
//   NEB_STAT_HOLD         waits while this file exists (at most a minute),
//                         then records "<name> released"
// Lines: the export's name and its arguments separated by blanks, then
// " @" and the calling thread's id. Loading records "loaded <module path>",
// FreeLibrary "unloaded", the end of the process "detached at exit".
// stat_recorder.def lists the exports; stat_init_only.def builds a library
// from the same code that offers stat_init alone.
#include <windows.h>

#include <cstdlib>
#include <string>

#include "base/text.h"

namespace {

constexpr DWORD kMaxHoldMilliseconds = 60000;
constexpr DWORD kHoldPollMilliseconds = 10;

SRWLOCK g_recordLock = SRWLOCK_INIT;

std::wstring Environment(const wchar_t* name) {
  wchar_t value[1024] = {};
  const DWORD length = GetEnvironmentVariableW(name, value, ARRAYSIZE(value));
  return length < ARRAYSIZE(value) ? std::wstring(value, length) : std::wstring();
}

void AppendLine(const std::string& line) {
  const std::wstring path = Environment(L"NEB_STAT_RECORD");
  if (path.empty()) return;
  AcquireSRWLockExclusive(&g_recordLock);
  const HANDLE file = CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file != INVALID_HANDLE_VALUE) {
    const std::string text = line + "\n";
    DWORD written = 0;
    WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
  }
  ReleaseSRWLockExclusive(&g_recordLock);
}

void HoldIfAsked(const std::string& name) {
  if (WideToUtf8(Environment(L"NEB_STAT_BLOCK_IN")) != name) return;
  const std::wstring hold = Environment(L"NEB_STAT_HOLD");
  const ULONGLONG start = GetTickCount64();
  while (!hold.empty() && GetFileAttributesW(hold.c_str()) != INVALID_FILE_ATTRIBUTES &&
         GetTickCount64() - start < kMaxHoldMilliseconds) {
    Sleep(kHoldPollMilliseconds);
  }
  AppendLine(name + " released");
}

// Records the call, then holds it when the test asks for that.
void Call(const std::string& name, const std::string& arguments = "") {
  AppendLine(name + (arguments.empty() ? "" : " " + arguments) + " @" + std::to_string(GetCurrentThreadId()));
  HoldIfAsked(name);
}

std::string Words(std::initializer_list<unsigned long> words) {
  std::string text;
  for (const unsigned long word : words) text += (text.empty() ? "" : " ") + std::to_string(word);
  return text;
}

std::string Text(const char* text) { return text ? "\"" + std::string(text) + "\"" : "nil"; }

}  // namespace

extern "C" {

void WINAPI stat_appid(unsigned char appId) { Call("stat_appid", Words({appId})); }

void WINAPI stat_unionid(DWORD channelId) { Call("stat_unionid", Words({channelId})); }

void WINAPI stat_version_ex(DWORD major, DWORD minor, DWORD build, DWORD revision) {
  Call("stat_version_ex", Words({major, minor, build, revision}));
}

void WINAPI stat_dispatch_addr(const char* host, DWORD port) {
  Call("stat_dispatch_addr", Text(host) + " " + Words({port}));
}

DWORD WINAPI stat_init() {
  Call("stat_init");
  const std::wstring result = Environment(L"NEB_STAT_INIT_RESULT");
  return result.empty() ? 1 : std::wcstoul(result.c_str(), nullptr, 10);
}

void WINAPI stat_level(DWORD level) { Call("stat_level", Words({level})); }

void WINAPI stat_install_addr(const char* host, DWORD port) {
  Call("stat_install_addr", Text(host) + " " + Words({port}));
}

void WINAPI stat_install(DWORD kind) { Call("stat_install", Words({kind})); }

int WINAPI stat_http_post(const char* url, const char* body, DWORD length, BOOL flag) {
  Call("stat_http_post", Text(url) + " " + (body ? Text(std::string(body, length).c_str()) : "nil") + " " +
                             Words({length, static_cast<unsigned long>(flag)}));
  return 1;
}

void WINAPI stat_mutilaction(const DWORD* codes, DWORD count, unsigned char flag) {
  std::string list;
  for (DWORD i = 0; codes && i < count; ++i) list += (i ? "," : "") + std::to_string(codes[i]);
  Call("stat_mutilaction", "[" + list + "] " + Words({count, flag}));
}

void WINAPI stat_offline() { Call("stat_offline"); }

void WINAPI stat_close(DWORD value) { Call("stat_close", Words({value})); }

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, void* reserved) {
  if (reason == DLL_PROCESS_ATTACH) {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(instance, path, MAX_PATH);
    AppendLine("loaded " + WideToUtf8(path));
  } else if (reason == DLL_PROCESS_DETACH) {
    AppendLine(reserved ? "detached at exit" : "unloaded");
  }
  return TRUE;
}

}  // extern "C"
