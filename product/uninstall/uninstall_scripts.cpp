#include "product/uninstall/uninstall_scripts.h"

#include <windows.h>

#include <optional>

#include "base/debug_line.h"
#include "base/handles.h"
#include "base/text.h"
#include "hostapi/host_functions.h"
#include "script/nebscript_engine.h"
#include "scripts/global_names.h"

namespace {

constexpr const wchar_t* kChunkFiles[] = {L"Uninst.dar0", L"Uninst.dar1"};
// Far more than either chunk; a larger file is not one of them.
constexpr DWORD kMaxChunkBytes = 16 * 1024 * 1024;

std::optional<std::string> ReadWholeFile(const std::wstring& path) {
  UniqueHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return std::nullopt;
  LARGE_INTEGER size = {};
  if (!GetFileSizeEx(file.Get(), &size) || size.QuadPart == 0 || size.QuadPart > kMaxChunkBytes) {
    return std::nullopt;
  }
  std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
  DWORD read = 0;
  if (!ReadFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) ||
      read != bytes.size()) {
    return std::nullopt;
  }
  return bytes;
}

bool GlobalIsFunction(lua_State* L, const char* name) {
  lua_getglobal(L, name);
  const bool isFunction = lua_type(L, -1) == LUA_TFUNCTION;
  lua_pop(L, 1);
  return isFunction;
}

}  // namespace

std::wstring RunUninstallScripts(const std::wstring& installFolder) {
  NEBScriptEngine& engine = NEBScriptEngine::Instance();
  engine.OpenLibraries({RegisterHostFunctions});
  for (const wchar_t* name : kChunkFiles) {
    const std::wstring path = installFolder + L"\\" + name;
    const std::optional<std::string> chunk = ReadWholeFile(path);
    if (!chunk) {
      DebugLine(L"cannot read %ls\r\n", path.c_str());
      return path;
    }
    if (!engine.DoBufferLua(chunk->data(), chunk->size(), WideToAnsi(name).c_str())) return path;
  }
  // A chunk that loads but is not the uninstall script would uninstall nothing.
  if (!GlobalIsFunction(engine.Lock().State(), script_names::kOnUninstall)) {
    return installFolder + L"\\" + kChunkFiles[1];
  }
  return {};
}
