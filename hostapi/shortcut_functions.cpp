#include "hostapi/shortcut_functions.h"

#include <windows.h>
#include <intshcut.h>
#include <objidl.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <string>

#include "base/com_ptr.h"
#include "base/debug_line.h"
#include "base/env_path.h"
#include "base/handles.h"
#include "base/path_text.h"
#include "hostapi/host_args.h"

namespace {

// In-process server and handler, local and remote server.
constexpr DWORD kClassContext = CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER |
                                CLSCTX_REMOTE_SERVER;

// Arguments and description are looked at only when the call passes four
// or more values, as the install scripts always do.
constexpr int kArgumentsIndex = 3;
constexpr int kDescriptionIndex = 4;

constexpr wchar_t kNoInternetShortcut[] = L"CoCreateInstance(CLSID_InternetShortcut) failed!";
constexpr wchar_t kNoShellLink[] = L"CoCreateInstance(CLSID_ShellLink) failed!";
constexpr wchar_t kNoPersistFile[] = L"QueryInterface IID_IPersistFile failed!";

// One failed setter: the rejected text, then the trace of the last error.
bool ReportRejected(const wchar_t* format, const std::wstring& text) {
  DebugLine(format, text.c_str());
  TraceLastError(L"");
  return false;
}

void EnsureFolderExists(const std::wstring& folder) {
  if (folder.empty() || PathExists(folder)) return;
  // A failure shows when the link cannot be saved.
  SHCreateDirectory(nullptr, folder.c_str());
}

// Saves the object to the link file through its IPersistFile, replacing an
// existing file. The object's own interface is let go before the save.
template <typename Interface>
bool SaveToFile(ComPtr<Interface>& object, const std::wstring& link) {
  ComPtr<IPersistFile> file;
  if (FAILED(object->QueryInterface(IID_IPersistFile, file.Out()))) {
    TraceLastError(kNoPersistFile);
    return false;
  }
  object.Reset();
  if (FAILED(file->Save(link.c_str(), TRUE))) return ReportRejected(L"Save %ls failed!\r\n", link);
  return true;
}

bool SaveInternetShortcut(const std::wstring& url, const std::wstring& link) {
  ComPtr<IUniformResourceLocatorW> shortcut;
  if (FAILED(CoCreateInstance(CLSID_InternetShortcut, nullptr, kClassContext, IID_IUniformResourceLocatorW,
                              shortcut.Out()))) {
    TraceLastError(kNoInternetShortcut);
    return false;
  }
  if (FAILED(shortcut->SetURL(url.c_str(), 0))) return ReportRejected(L"SetURL %ls failed!\r\n", url);
  return SaveToFile(shortcut, link);
}

bool SaveShellLink(lua_State* L, const std::wstring& target, const std::wstring& link) {
  ComPtr<IShellLinkW> shellLink;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, kClassContext, IID_IShellLinkW, shellLink.Out()))) {
    TraceLastError(kNoShellLink);
    return false;
  }
  if (lua_gettop(L) >= kDescriptionIndex) {
    if (!lua_isnil(L, kArgumentsIndex)) {
      const std::wstring arguments = ArgText(L, kArgumentsIndex);
      if (FAILED(shellLink->SetArguments(arguments.c_str()))) {
        return ReportRejected(L"SetArguments %ls failed!\r\n", arguments);
      }
    }
    if (!lua_isnil(L, kDescriptionIndex)) {
      const std::wstring description = ArgText(L, kDescriptionIndex);
      if (FAILED(shellLink->SetDescription(description.c_str()))) {
        return ReportRejected(L"SetDescription %ls failed!\r\n", description);
      }
    }
  }
  if (FAILED(shellLink->SetPath(target.c_str()))) return ReportRejected(L"SetPath %ls failed!\r\n", target);
  const std::wstring folder = PathFolder(target);
  if (FAILED(shellLink->SetWorkingDirectory(folder.c_str()))) {
    return ReportRejected(L"SetWorkingDirectory %ls failed!\r\n", folder);
  }
  return SaveToFile(shellLink, link);
}

}  // namespace

// Lua_CreateShortcut(target, link, arguments, description) -> whether the
// shortcut file was saved. A web address becomes an internet shortcut and
// keeps its text as it is; any other target is expanded and becomes a shell
// link working in the target's folder.
int Lua_CreateShortcut(lua_State* L) {
  // COM objects below are all released before this scope uninitialises COM.
  const ScopedComInit com;
  const std::wstring target = ArgText(L, 1);
  const std::wstring link = ExpandEnvPath(ArgText(L, 2));
  EnsureFolderExists(PathFolder(link));

  const bool saved = PathIsURLW(target.c_str()) ? SaveInternetShortcut(target, link)
                                                : SaveShellLink(L, ExpandEnvPath(target), link);
  if (saved) DebugLine(L"Save Shortcut %ls \r\n", link.c_str());
  lua_pushboolean(L, saved);
  return 1;
}
