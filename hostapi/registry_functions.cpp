#include "hostapi/registry_functions.h"

#include <windows.h>

#include <string>
#include <vector>

#include "base/debug_line.h"
#include "base/env_path.h"
#include "base/handles.h"
#include "base/registry_key.h"
#include "hostapi/hex_pairs.h"
#include "hostapi/host_args.h"

namespace {

struct RootName {
  const wchar_t* name;
  HKEY root;
};

// Compared exactly: "hkcu" names no root.
const RootName kRootNames[] = {
    {L"HKCR", HKEY_CLASSES_ROOT}, {L"HKCU", HKEY_CURRENT_USER}, {L"HKLM", HKEY_LOCAL_MACHINE},
    {L"HKU", HKEY_USERS},         {L"HKCC", HKEY_CURRENT_CONFIG},
};

// Type names, compared exactly as well.
constexpr wchar_t kTypeText[] = L"REG_SZ";
constexpr wchar_t kTypeExpandText[] = L"REG_EXPAND_SZ";
constexpr wchar_t kTypeNumber[] = L"REG_DWORD";
constexpr wchar_t kTypeBinary[] = L"REG_BINARY";

// Reading asks for write access too, and no view flag is given: a 32-bit
// installer sees the registry through the system's redirection.
constexpr REGSAM kAccess = KEY_READ | KEY_WRITE;

constexpr DWORD kKeyNameUnits = 256;  // 255 characters and the terminator

constexpr char kDeleteKeyExName[] = "RegDeleteKeyExW";
constexpr wchar_t kRegistryLibrary[] = L"advapi32.dll";

HKEY RootKeyFromName(const std::wstring& name) {
  for (const RootName& entry : kRootNames) {
    if (name == entry.name) return entry.root;
  }
  return nullptr;
}

LSTATUS OpenKey(HKEY parent, const std::wstring& path, UniqueRegKey& key) {
  return OpenRegistryKey(parent, path, kAccess, key);
}

UniqueRegKey CreateKey(HKEY root, const std::wstring& path) { return CreateRegistryKey(root, path, kAccess); }

// A key name that is empty or only separators opens the parent itself, so
// deleting its "tree" would empty the whole root.
bool NamesNoKey(const std::wstring& path) { return path.find_first_not_of(L'\\') == std::wstring::npos; }

LSTATUS DeleteSingleKey(HKEY parent, const std::wstring& name) {
  using DeleteKeyEx = LSTATUS(WINAPI*)(HKEY, LPCWSTR, REGSAM, DWORD);
  // Present from Vista and on 64-bit XP; older systems have only the plain form.
  static const DeleteKeyEx deleteKeyEx = reinterpret_cast<DeleteKeyEx>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(kRegistryLibrary), kDeleteKeyExName)));
  return deleteKeyEx ? deleteKeyEx(parent, name.c_str(), 0, 0) : RegDeleteKeyW(parent, name.c_str());
}

LSTATUS DeleteKeyTree(HKEY parent, const std::wstring& name) {
  UniqueRegKey key;
  if (OpenKey(parent, name, key) == ERROR_SUCCESS) {
    wchar_t child[kKeyNameUnits];
    DWORD childUnits = kKeyNameUnits;
    while (RegEnumKeyExW(key.Get(), 0, child, &childUnits, nullptr, nullptr, nullptr, nullptr) ==
           ERROR_SUCCESS) {
      // A subkey that cannot go would be found first again and again.
      const LSTATUS status = DeleteKeyTree(key.Get(), child);
      if (status != ERROR_SUCCESS) return status;
      childUnits = kKeyNameUnits;
    }
    key.Reset();
  }
  return DeleteSingleKey(parent, name);
}

// The value's size and type; type 0 when it does not exist.
DWORD ValueType(HKEY key, const std::wstring& name, DWORD& bytes) {
  DWORD type = 0;
  bytes = 0;
  if (RegQueryValueExW(key, name.c_str(), nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS) return 0;
  return type;
}

void PushTextValue(lua_State* L, HKEY key, const std::wstring& name, DWORD bytes) {
  std::wstring text((bytes + 1) / sizeof(wchar_t), L'\0');
  DWORD read = static_cast<DWORD>(text.size() * sizeof(wchar_t));
  if (RegQueryValueExW(key, name.c_str(), nullptr, nullptr, reinterpret_cast<BYTE*>(text.data()),
                       &read) != ERROR_SUCCESS) {
    lua_pushnil(L);
    return;
  }
  text.resize(read / sizeof(wchar_t));
  PushText(L, text.substr(0, text.find(L'\0')));
}

void PushNumberValue(lua_State* L, HKEY key, const std::wstring& name) {
  DWORD number = 0;
  DWORD read = sizeof(number);
  if (RegQueryValueExW(key, name.c_str(), nullptr, nullptr, reinterpret_cast<BYTE*>(&number), &read) !=
      ERROR_SUCCESS) {
    lua_pushnil(L);
    return;
  }
  PushUnsigned(L, number);
}

bool ValueMissing(HKEY key, const std::wstring& name) {
  return RegQueryValueExW(key, name.c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_FILE_NOT_FOUND;
}

void SetValue(HKEY key, const std::wstring& name, DWORD type, const void* data, size_t bytes) {
  RegSetValueExW(key, name.c_str(), 0, type, static_cast<const BYTE*>(data), static_cast<DWORD>(bytes));
}

void SetText(HKEY key, const std::wstring& name, DWORD type, const std::wstring& text) {
  SetValue(key, name, type, text.c_str(), (text.size() + 1) * sizeof(wchar_t));
}

// Writes the data at `dataIndex` as the named type; an unknown type name
// writes nothing.
void WriteTypedValue(lua_State* L, HKEY key, const std::wstring& name, const std::wstring& type,
                     int dataIndex) {
  if (type == kTypeText) {
    SetText(key, name, REG_SZ, ExpandEnvPath(ArgText(L, dataIndex)));
  } else if (type == kTypeExpandText) {
    SetText(key, name, REG_EXPAND_SZ, ArgText(L, dataIndex));
  } else if (type == kTypeNumber) {
    const DWORD number = ArgUnsigned(L, dataIndex);
    SetValue(key, name, REG_DWORD, &number, sizeof(number));
  } else if (type == kTypeBinary) {
    const std::vector<unsigned char> bytes = BytesFromHexPairs(ArgText(L, dataIndex));
    SetValue(key, name, REG_BINARY, bytes.data(), bytes.size());
  }
}

constexpr int kTwoArgumentForm = 2;

void DeleteKeyForm(lua_State* L) {
  const std::wstring rootName = ArgText(L, 1);
  const std::wstring subkey = ArgText(L, 2);
  UniqueRegKey root;
  const LSTATUS opened = OpenKey(RootKeyFromName(rootName), L"", root);
  if (opened != ERROR_SUCCESS) {
    DebugLine(L"OpenKey %ls failed, errcode: %ld\r\n", rootName.c_str(), static_cast<long>(opened));
    return;
  }
  const LSTATUS deleted = NamesNoKey(subkey) ? ERROR_INVALID_PARAMETER : DeleteKeyTree(root.Get(), subkey);
  if (deleted != ERROR_SUCCESS) {
    DebugLine(L"DeleteSubKey %ls failed, errcode: %ld", subkey.c_str(), static_cast<long>(deleted));
  }
}

void DeleteValueForm(lua_State* L) {
  const std::wstring rootName = ArgText(L, 1);
  const std::wstring subkey = ArgText(L, 2);
  const std::wstring name = ArgText(L, 3);
  UniqueRegKey key;
  if (OpenKey(RootKeyFromName(rootName), subkey, key) != ERROR_SUCCESS) return;
  RegDeleteValueW(key.Get(), name.c_str());
  DebugLine(L"Delete Value %ls, %ls, %ls", rootName.c_str(), subkey.c_str(), name.c_str());
}

}  // namespace

// Lua_RegQuery(root, subkey, name) -> text, number or nil
int Lua_RegQuery(lua_State* L) {
  const HKEY root = RootKeyFromName(ArgText(L, 1));
  const std::wstring subkey = ArgText(L, 2);
  const std::wstring name = ArgText(L, 3);

  UniqueRegKey key;
  if (OpenKey(root, subkey, key) != ERROR_SUCCESS) {
    lua_pushnil(L);
    return 1;
  }
  DWORD bytes = 0;
  switch (ValueType(key.Get(), name, bytes)) {
    case REG_SZ:
    case REG_EXPAND_SZ:  // returned as stored, references unexpanded
      PushTextValue(L, key.Get(), name, bytes);
      break;
    case REG_DWORD:
      PushNumberValue(L, key.Get(), name);
      break;
    default:
      lua_pushnil(L);
      break;
  }
  return 1;
}

// Lua_RegAdd(root, subkey, name, datatype, data, overwrite) -> true
int Lua_RegAdd(lua_State* L) {
  const HKEY root = RootKeyFromName(ArgText(L, 1));
  const std::wstring subkey = ArgText(L, 2);
  const std::wstring name = ArgText(L, 3);
  const std::wstring type = ArgText(L, 4);
  constexpr int dataIndex = 5;
  const bool overwrite = ArgFlag(L, 6);

  const UniqueRegKey key = CreateKey(root, subkey);
  if (key && (overwrite || ValueMissing(key.Get(), name))) WriteTypedValue(L, key.Get(), name, type, dataIndex);
  lua_pushboolean(L, true);
  return 1;
}

// Lua_RegDel(root, subkey) deletes the key tree; with any other argument
// count, Lua_RegDel(root, subkey, name) deletes one value. -> true
int Lua_RegDel(lua_State* L) {
  if (lua_gettop(L) == kTwoArgumentForm) {
    DeleteKeyForm(L);
  } else {
    DeleteValueForm(L);
  }
  lua_pushboolean(L, true);
  return 1;
}

// Lua_CefRegister(set, subkey, name, mask) -> whether the number value
// under HKEY_CURRENT_USER\subkey was rewritten with the mask's bits set or
// cleared. Missing keys and values, and values of other types, stay as they are.
int Lua_CefRegister(lua_State* L) {
  const bool set = ArgFlag(L, 1);
  const std::wstring subkey = ArgText(L, 2);
  const std::wstring name = ArgText(L, 3);
  const DWORD mask = ArgUnsigned(L, 4);

  bool rewritten = false;
  UniqueRegKey key;
  if (OpenKey(HKEY_CURRENT_USER, subkey, key) == ERROR_SUCCESS) {
    DWORD type = 0;
    DWORD value = 0;
    DWORD bytes = sizeof(value);
    if (RegQueryValueExW(key.Get(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&value), &bytes) ==
            ERROR_SUCCESS &&
        type == REG_DWORD) {
      value = set ? (value | mask) : (value & ~mask);
      rewritten = RegSetValueExW(key.Get(), name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                                 sizeof(value)) == ERROR_SUCCESS;
    }
  }
  lua_pushboolean(L, rewritten);
  return 1;
}
