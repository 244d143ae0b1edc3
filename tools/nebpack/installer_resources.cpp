#include "tools/nebpack/installer_resources.h"

#include <cstring>
#include <filesystem>
#include <fstream>
#include <vector>

#include "tools/nebpack/file_bytes.h"
#include "tools/nebpack/pe_resources.h"

namespace nebpack {

namespace {

namespace fs = std::filesystem;

const ResourceId kIconType = ResourceId::Number(3);
const ResourceId kIconGroupType = ResourceId::Number(14);
const ResourceId kVersionType = ResourceId::Number(16);
const ResourceId kVersionName = ResourceId::Number(1);
const ResourceId kIconGroup = ResourceId::Number(128);  // the installer's icon group
constexpr size_t kIconDirSize = 6, kIconEntrySize = 16, kGroupEntrySize = 14;

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

bool ReadProgram(const std::wstring& program, PeImage& image, std::string& error) {
  std::string bytes;
  if (!ReadWholeFile(fs::path(program), bytes)) {
    error = "the file cannot be read";
    return false;
  }
  return image.Read(std::move(bytes), error);
}

// Replaces every language of the resource by one, under the language the
// base used (or `language` when the base has none).
void Replace(ResourceTree& tree, const ResourceId& type, const ResourceId& name, const std::string& bytes,
             uint16_t language = 0) {
  ResourceLanguages& languages = tree[type][name];
  if (!languages.empty() && language == 0) language = languages.begin()->first;
  languages.clear();
  languages[language].bytes = bytes;
}

// The ids of the icon images that the base's icon group uses.
std::vector<uint16_t> GroupIconIds(const std::string& group) {
  std::vector<uint16_t> ids;
  if (group.size() < kIconDirSize) return ids;
  const uint16_t count = Read<uint16_t>(group, 4);
  for (uint16_t i = 0; i < count && kIconDirSize + (i + 1u) * kGroupEntrySize <= group.size(); ++i) {
    ids.push_back(Read<uint16_t>(group, kIconDirSize + i * kGroupEntrySize + 12));
  }
  return ids;
}

// The icon file's images as RT_ICON 1..n and a group naming them, in place
// of the base's group and the images it named.
void ReplaceIcon(ResourceTree& tree, const std::string& icon) {
  uint16_t language = 0;
  ResourceLanguages& groups = tree[kIconGroupType][kIconGroup];
  if (!groups.empty()) language = groups.begin()->first;
  for (const auto& group : groups) {
    for (uint16_t id : GroupIconIds(group.second.bytes)) tree[kIconType].erase(ResourceId::Number(id));
  }
  const uint16_t count = Read<uint16_t>(icon, 4);
  std::string group = icon.substr(0, kIconDirSize);
  for (uint16_t i = 0; i < count; ++i) {
    const size_t entry = kIconDirSize + i * kIconEntrySize;
    const uint32_t size = Read<uint32_t>(icon, entry + 8), offset = Read<uint32_t>(icon, entry + 12);
    const uint16_t id = static_cast<uint16_t>(i + 1);
    ResourceLanguages& image = tree[kIconType][ResourceId::Number(id)];
    image[language].bytes = icon.substr(offset, size);
    group += icon.substr(entry, 12);  // size, colours, planes, bits, bytes
    Append<uint16_t>(group, id);
  }
  Replace(tree, kIconGroupType, kIconGroup, group, language);
}

}  // namespace

int ProgramChunkSizeT(const std::wstring& program, std::wstring& error) {
  std::ifstream in(fs::path(program), std::ios::binary);
  std::string head(4096, '\0');
  in.read(&head[0], static_cast<std::streamsize>(head.size()));
  head.resize(static_cast<size_t>(in.gcount()));
  if (head.size() >= 0x40 && head.compare(0, 2, "MZ") == 0) {
    const uint32_t peAt = Read<uint32_t>(head, 0x3C);
    if (peAt + 6 <= head.size() && head.compare(peAt, 4, std::string("PE\0\0", 4)) == 0) {
      const uint16_t machine = Read<uint16_t>(head, peAt + 4);
      if (machine == kMachineI386) return 4;
      if (machine == kMachineAmd64) return 8;
    }
  }
  error = L"not a 32-bit or x86-64 Windows program";
  return 0;
}

bool ReadVersionRecord(const std::wstring& program, LanguageResource& record) {
  PeImage image;
  std::string error;
  if (!ReadProgram(program, image, error)) return false;
  const auto names = image.Resources().find(kVersionType);
  if (names == image.Resources().end()) return false;
  const auto found = names->second.find(kVersionName);
  if (found == names->second.end() || found->second.empty()) return false;
  record.language = found->second.begin()->first;
  record.bytes = found->second.begin()->second.bytes;
  return true;
}

bool IconFileIsSound(const std::string& icon) {
  if (icon.size() < kIconDirSize || Read<uint16_t>(icon, 0) != 0 || Read<uint16_t>(icon, 2) != 1) return false;
  const uint16_t count = Read<uint16_t>(icon, 4);
  if (count == 0 || icon.size() < kIconDirSize + count * kIconEntrySize) return false;
  for (uint16_t i = 0; i < count; ++i) {
    const size_t entry = kIconDirSize + i * kIconEntrySize;
    const uint64_t size = Read<uint32_t>(icon, entry + 8), offset = Read<uint32_t>(icon, entry + 12);
    if (size == 0 || offset + size > icon.size()) return false;
  }
  return true;
}

bool WriteInstaller(const std::wstring& base, const std::wstring& output, const InstallerResources& resources,
                    std::wstring& error) {
  PeImage image;
  std::string reason;
  if (!ReadProgram(base, image, reason)) {
    error = L"the base installer cannot be read, or the output cannot be written";
    return false;
  }
  ResourceTree& tree = image.Resources();
  const ResourceId lua = ResourceId::Text(u"LUA");
  Replace(tree, lua, ResourceId::Text(u"GLOBAL_VAR.LUAC"), resources.settingsChunk);
  Replace(tree, lua, ResourceId::Text(u"INSTSCRIPT.LUAC"), resources.installChunk);
  Replace(tree, lua, ResourceId::Text(u"UNINSTSCRIPT.LUAC"), resources.uninstallChunk);
  Replace(tree, ResourceId::Text(u"_7Z"), ResourceId::Text(u"APP.7Z"), resources.payload);
  Replace(tree, ResourceId::Text(u"ZIP"), ResourceId::Number(249), resources.skinPackage);
  if (!resources.iconFile.empty()) ReplaceIcon(tree, resources.iconFile);
  if (!resources.version.bytes.empty()) {
    ResourceLanguages& version = tree[kVersionType][kVersionName];
    version.clear();
    version[resources.version.language].bytes = resources.version.bytes;
  }
  std::string written;
  if (!image.Write(written, reason) || !WriteWholeFile(fs::path(output), written)) {
    error = L"the resources of the new installer cannot be written";
    return false;
  }
  return true;
}

}  // namespace nebpack
