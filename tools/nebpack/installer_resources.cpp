#include "tools/nebpack/installer_resources.h"

#include <windows.h>

#include <cstring>
#include <fstream>
#include <vector>

#include "base/handles.h"

namespace nebpack {

namespace {

constexpr WORD kIconGroup = 128;  // the installer's icon group
constexpr size_t kIconDirSize = 6, kIconEntrySize = 16, kGroupEntrySize = 14;

struct ResourceName {
  const wchar_t* type;
  const wchar_t* name;
};

template <typename T>
T Read(const std::string& bytes, size_t at) {
  T value{};
  std::memcpy(&value, bytes.data() + at, sizeof(T));
  return value;
}

template <typename T>
void Append(std::string& bytes, T value) {
  bytes.append(reinterpret_cast<const char*>(&value), sizeof(T));
}

BOOL CALLBACK CollectLanguage(HMODULE, LPCWSTR, LPCWSTR, WORD language, LONG_PTR out) {
  reinterpret_cast<std::vector<WORD>*>(out)->push_back(language);
  return TRUE;
}

std::vector<WORD> Languages(HMODULE module, const wchar_t* type, const wchar_t* name) {
  std::vector<WORD> languages;
  EnumResourceLanguagesW(module, type, name, CollectLanguage, reinterpret_cast<LONG_PTR>(&languages));
  return languages;
}

bool ResourceBytes(HMODULE module, const wchar_t* type, const wchar_t* name, WORD language, std::string& bytes) {
  HRSRC found = FindResourceExW(module, type, name, language);
  HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
  const void* data = loaded ? LockResource(loaded) : nullptr;
  if (data == nullptr) return false;
  bytes.assign(static_cast<const char*>(data), SizeofResource(module, found));
  return true;
}

UniqueModule OpenAsData(const std::wstring& program) {
  return UniqueModule(LoadLibraryExW(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
}

// The ids of the icon images that the base's icon group uses.
std::vector<WORD> GroupIconIds(HMODULE module, WORD language) {
  std::string group;
  std::vector<WORD> ids;
  if (!ResourceBytes(module, RT_GROUP_ICON, MAKEINTRESOURCEW(kIconGroup), language, group)) return ids;
  if (group.size() < kIconDirSize) return ids;
  const WORD count = Read<WORD>(group, 4);
  for (WORD i = 0; i < count && kIconDirSize + (i + 1u) * kGroupEntrySize <= group.size(); ++i) {
    ids.push_back(Read<WORD>(group, kIconDirSize + i * kGroupEntrySize + 12));
  }
  return ids;
}

class ResourceUpdate {
 public:
  ResourceUpdate(HMODULE base, const std::wstring& file) : base_(base), update_(BeginUpdateResourceW(file.c_str(), FALSE)) {}
  ~ResourceUpdate() {
    if (update_ != nullptr) EndUpdateResourceW(update_, TRUE);
  }

  bool Started() const { return update_ != nullptr; }

  // Replaces every language of the resource by one, under the language the
  // base used (or `language` when the base has none).
  void Replace(const wchar_t* type, const wchar_t* name, const std::string& bytes, WORD language = 0) {
    const std::vector<WORD> languages = Languages(base_, type, name);
    if (!languages.empty() && language == 0) language = languages.front();
    Remove(type, name, languages);
    Put(type, name, language, bytes);
  }

  void Remove(const wchar_t* type, const wchar_t* name, const std::vector<WORD>& languages) {
    for (WORD language : languages) Put(type, name, language, {}, true);
  }

  void Put(const wchar_t* type, const wchar_t* name, WORD language, const std::string& bytes, bool remove = false) {
    void* data = remove ? nullptr : const_cast<char*>(bytes.data());
    if (!UpdateResourceW(update_, type, name, language, data, remove ? 0 : static_cast<DWORD>(bytes.size()))) {
      failed_ = true;
    }
  }

  // Writes the changes, or discards them all when one of them failed.
  bool Finish() {
    const bool written = EndUpdateResourceW(update_, failed_ ? TRUE : FALSE) && !failed_;
    update_ = nullptr;
    return written;
  }

 private:
  HMODULE base_;
  HANDLE update_;
  bool failed_ = false;
};

// The icon file's images as RT_ICON 1..n and a group naming them.
void ReplaceIcon(ResourceUpdate& update, HMODULE base, const std::string& icon) {
  WORD language = 0;
  const std::vector<WORD> groupLanguages = Languages(base, RT_GROUP_ICON, MAKEINTRESOURCEW(kIconGroup));
  if (!groupLanguages.empty()) language = groupLanguages.front();
  for (WORD groupLanguage : groupLanguages) {
    for (WORD id : GroupIconIds(base, groupLanguage)) {
      update.Remove(RT_ICON, MAKEINTRESOURCEW(id), Languages(base, RT_ICON, MAKEINTRESOURCEW(id)));
    }
  }
  const WORD count = Read<WORD>(icon, 4);
  std::string group = icon.substr(0, kIconDirSize);
  for (WORD i = 0; i < count; ++i) {
    const size_t entry = kIconDirSize + i * kIconEntrySize;
    const DWORD size = Read<DWORD>(icon, entry + 8), offset = Read<DWORD>(icon, entry + 12);
    const WORD id = static_cast<WORD>(i + 1);
    update.Put(RT_ICON, MAKEINTRESOURCEW(id), language, icon.substr(offset, size));
    group += icon.substr(entry, 12);  // size, colours, planes, bits, bytes
    Append<WORD>(group, id);
  }
  update.Replace(RT_GROUP_ICON, MAKEINTRESOURCEW(kIconGroup), group, language);
}

}  // namespace

int ProgramChunkSizeT(const std::wstring& program, std::wstring& error) {
  std::ifstream in(program.c_str(), std::ios::binary);
  std::string head(4096, '\0');
  in.read(&head[0], head.size());
  head.resize(static_cast<size_t>(in.gcount()));
  if (head.size() >= 0x40 && head.compare(0, 2, "MZ") == 0) {
    const DWORD peAt = Read<DWORD>(head, 0x3C);
    if (peAt + 6 <= head.size() && head.compare(peAt, 4, std::string("PE\0\0", 4)) == 0) {
      const WORD machine = Read<WORD>(head, peAt + 4);
      if (machine == IMAGE_FILE_MACHINE_I386) return 4;
      if (machine == IMAGE_FILE_MACHINE_AMD64) return 8;
    }
  }
  error = L"not a 32-bit or x86-64 Windows program";
  return 0;
}

bool ReadVersionRecord(const std::wstring& program, LanguageResource& record) {
  const UniqueModule module = OpenAsData(program);
  if (!module) return false;
  const wchar_t* name = MAKEINTRESOURCEW(VS_VERSION_INFO);
  const std::vector<WORD> languages = Languages(module.Get(), RT_VERSION, name);
  if (languages.empty()) return false;
  record.language = languages.front();
  return ResourceBytes(module.Get(), RT_VERSION, name, record.language, record.bytes);
}

bool IconFileIsSound(const std::string& icon) {
  if (icon.size() < kIconDirSize || Read<WORD>(icon, 0) != 0 || Read<WORD>(icon, 2) != 1) return false;
  const WORD count = Read<WORD>(icon, 4);
  if (count == 0 || icon.size() < kIconDirSize + count * kIconEntrySize) return false;
  for (WORD i = 0; i < count; ++i) {
    const size_t entry = kIconDirSize + i * kIconEntrySize;
    const uint64_t size = Read<DWORD>(icon, entry + 8), offset = Read<DWORD>(icon, entry + 12);
    if (size == 0 || offset + size > icon.size()) return false;
  }
  return true;
}

bool WriteInstaller(const std::wstring& base, const std::wstring& output, const InstallerResources& resources,
                    std::wstring& error) {
  const std::wstring partial = output + L".part";
  const UniqueModule baseModule = OpenAsData(base);
  if (!baseModule || !CopyFileW(base.c_str(), partial.c_str(), FALSE)) {
    error = L"the base installer cannot be read, or the output cannot be written";
    return false;
  }
  bool written = false;
  {
    ResourceUpdate update(baseModule.Get(), partial);
    if (update.Started()) {
      update.Replace(L"LUA", L"GLOBAL_VAR.LUAC", resources.settingsChunk);
      update.Replace(L"LUA", L"INSTSCRIPT.LUAC", resources.installChunk);
      update.Replace(L"LUA", L"UNINSTSCRIPT.LUAC", resources.uninstallChunk);
      update.Replace(L"_7Z", L"APP.7Z", resources.payload);
      update.Replace(L"ZIP", MAKEINTRESOURCEW(249), resources.skinPackage);
      if (!resources.iconFile.empty()) ReplaceIcon(update, baseModule.Get(), resources.iconFile);
      if (!resources.version.bytes.empty()) {
        const wchar_t* name = MAKEINTRESOURCEW(VS_VERSION_INFO);
        update.Remove(RT_VERSION, name, Languages(baseModule.Get(), RT_VERSION, name));
        update.Put(RT_VERSION, name, resources.version.language, resources.version.bytes);
      }
      written = update.Finish();
    }
  }
  if (written) written = MoveFileExW(partial.c_str(), output.c_str(), MOVEFILE_REPLACE_EXISTING) != FALSE;
  if (!written) {
    DeleteFileW(partial.c_str());
    error = L"the resources of the new installer cannot be written";
  }
  return written;
}

}  // namespace nebpack
