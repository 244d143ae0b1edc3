#include "tools/nebpack/pe_resources.h"

#include <algorithm>
#include <cstring>

namespace nebpack {

namespace {

constexpr uint16_t kPe32Magic = 0x10B, kPe32PlusMagic = 0x20B;
constexpr uint32_t kResourceDirectoryIndex = 2, kSecurityDirectoryIndex = 4;
constexpr uint32_t kHighBit = 0x80000000u;
constexpr size_t kSectionHeaderSize = 40, kDirectoryHeaderSize = 16, kDirectoryEntrySize = 8, kDataEntrySize = 16;
constexpr int kLevels = 3;  // type, name, language
constexpr size_t kMostResources = 65536;

template <typename T>
bool ReadAt(const std::string& bytes, size_t at, T& value) {
  if (at > bytes.size() || sizeof(T) > bytes.size() - at) return false;
  std::memcpy(&value, bytes.data() + at, sizeof(T));
  return true;
}

template <typename T>
T At(const std::string& bytes, size_t at) {
  T value{};
  ReadAt(bytes, at, value);
  return value;
}

template <typename T>
void Put(std::string& bytes, size_t at, T value) {
  std::memcpy(&bytes[at], &value, sizeof(T));
}

template <typename T>
void Append(std::string& bytes, T value) {
  bytes.append(reinterpret_cast<const char*>(&value), sizeof(T));
}

uint32_t AlignUp(uint64_t value, uint32_t alignment) {
  return static_cast<uint32_t>((value + alignment - 1) / alignment * alignment);
}

char16_t AsciiUpper(char16_t c) { return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - u'a' + u'A') : c; }

// The checksum the system's image helper computes: 16-bit sums with the
// carry folded, over the file with the checksum field taken as zero.
uint32_t PeChecksum(const std::string& file, size_t checksumAt) {
  uint64_t sum = 0;
  for (size_t i = 0; i < file.size(); i += 2) {
    if (i == checksumAt || i == checksumAt + 2) continue;
    uint16_t word = static_cast<uint8_t>(file[i]);
    if (i + 1 < file.size()) word |= static_cast<uint16_t>(static_cast<uint8_t>(file[i + 1]) << 8);
    sum += word;
    sum = (sum & 0xFFFF) + (sum >> 16);
  }
  sum = (sum & 0xFFFF) + (sum >> 16);
  return static_cast<uint32_t>(sum + file.size());
}

}  // namespace

bool ResourceId::operator<(const ResourceId& other) const {
  if (IsText() != other.IsText()) return IsText();
  if (!IsText()) return number < other.number;
  const auto upperLess = [](char16_t a, char16_t b) { return AsciiUpper(a) < AsciiUpper(b); };
  if (std::lexicographical_compare(text.begin(), text.end(), other.text.begin(), other.text.end(), upperLess)) {
    return true;
  }
  if (std::lexicographical_compare(other.text.begin(), other.text.end(), text.begin(), text.end(), upperLess)) {
    return false;
  }
  return text < other.text;
}

bool PeImage::RvaToOffset(uint32_t rva, uint32_t size, size_t& offset) const {
  for (const Section& section : sections_) {
    if (rva >= section.virtualAddress && uint64_t{rva} + size <= uint64_t{section.virtualAddress} + section.rawSize) {
      offset = section.rawPointer + (rva - section.virtualAddress);
      return offset <= file_.size() && size <= file_.size() - offset;
    }
  }
  return false;
}

bool PeImage::Read(std::string file, std::string& error) {
  file_ = std::move(file);
  error = "not a 32-bit or x86-64 Windows program";
  uint32_t peAt = 0;
  // A header offset past the end would make compare throw rather than differ.
  if (file_.compare(0, 2, "MZ") != 0 || !ReadAt(file_, 0x3C, peAt) || peAt > file_.size() ||
      file_.compare(peAt, 4, std::string("PE\0\0", 4)) != 0) {
    return false;
  }
  uint16_t sectionCount = 0, optionalSize = 0, magic = 0;
  if (!ReadAt(file_, peAt + 4, machine_) || !ReadAt(file_, peAt + 6, sectionCount) ||
      !ReadAt(file_, peAt + 20, optionalSize)) {
    return false;
  }
  if (machine_ != kMachineI386 && machine_ != kMachineAmd64) return false;
  optionalHeader_ = peAt + 24;
  if (!ReadAt(file_, optionalHeader_, magic) || (magic != kPe32Magic && magic != kPe32PlusMagic)) return false;
  const size_t countAt = optionalHeader_ + (magic == kPe32Magic ? 92 : 108);
  dataDirectories_ = countAt + 4;
  if (!ReadAt(file_, optionalHeader_ + 32, sectionAlignment_) || !ReadAt(file_, optionalHeader_ + 36, fileAlignment_) ||
      !ReadAt(file_, countAt, directoryCount_) || sectionAlignment_ == 0 || fileAlignment_ == 0 ||
      dataDirectories_ + uint64_t{directoryCount_} * 8 > optionalHeader_ + optionalSize) {
    return false;
  }
  const size_t sectionTable = optionalHeader_ + optionalSize;
  for (uint16_t i = 0; i < sectionCount; ++i) {
    Section section;
    section.header = sectionTable + i * kSectionHeaderSize;
    if (section.header + kSectionHeaderSize > file_.size()) return false;
    section.name = file_.substr(section.header, 8).c_str();
    section.virtualSize = At<uint32_t>(file_, section.header + 8);
    section.virtualAddress = At<uint32_t>(file_, section.header + 12);
    section.rawSize = At<uint32_t>(file_, section.header + 16);
    section.rawPointer = At<uint32_t>(file_, section.header + 20);
    if (uint64_t{section.rawPointer} + section.rawSize > file_.size()) return false;
    sections_.push_back(section);
  }

  resources_.clear();
  error.clear();
  const uint32_t rva =
      directoryCount_ > kResourceDirectoryIndex ? At<uint32_t>(file_, dataDirectories_ + kResourceDirectoryIndex * 8) : 0;
  if (rva == 0) return true;  // a program without resources
  for (size_t i = 0; i < sections_.size(); ++i) {
    if (rva >= sections_[i].virtualAddress && rva - sections_[i].virtualAddress < sections_[i].rawSize) {
      resourceSection_ = static_cast<int>(i);
    }
  }
  error = "the program's resources are damaged";
  if (resourceSection_ < 0) return false;
  resourceDirectory_ = rva - sections_[resourceSection_].virtualAddress;
  std::vector<ResourceId> path;
  size_t leaves = 0;
  if (!ReadResourceDirectory(resourceDirectory_, 0, path, leaves)) return false;
  error.clear();
  return true;
}

bool PeImage::ReadResourceDirectory(uint32_t offset, int level, std::vector<ResourceId>& path, size_t& leaves) {
  const Section& section = sections_[resourceSection_];
  const std::string_view data(file_.data() + section.rawPointer, section.rawSize);
  const auto inSection = [&](uint64_t at, uint64_t size) { return at + size <= data.size(); };
  if (!inSection(offset, kDirectoryHeaderSize)) return false;
  const std::string header(data.substr(offset, kDirectoryHeaderSize));
  const size_t entries = size_t{At<uint16_t>(header, 12)} + At<uint16_t>(header, 14);
  if (!inSection(offset + kDirectoryHeaderSize, entries * kDirectoryEntrySize)) return false;
  for (size_t i = 0; i < entries; ++i) {
    const size_t entryAt = section.rawPointer + offset + kDirectoryHeaderSize + i * kDirectoryEntrySize;
    const uint32_t name = At<uint32_t>(file_, entryAt), target = At<uint32_t>(file_, entryAt + 4);
    ResourceId id = ResourceId::Number(static_cast<uint16_t>(name));
    if (name & kHighBit) {
      const uint32_t at = name & ~kHighBit;
      if (!inSection(at, 2)) return false;
      const uint16_t length = At<uint16_t>(file_, section.rawPointer + at);
      if (length == 0 || !inSection(at + 2, length * 2u)) return false;
      id.text.resize(length);
      std::memcpy(&id.text[0], data.data() + at + 2, length * 2u);
    }
    path.push_back(id);
    const bool directory = (target & kHighBit) != 0;
    if (directory != (level + 1 < kLevels)) return false;
    if (directory) {
      if (!ReadResourceDirectory(target & ~kHighBit, level + 1, path, leaves)) return false;
    } else {
      // Directories shared between entries could multiply the leaves
      // without end; a program has far fewer resources than this.
      if (id.IsText() || !inSection(target, kDataEntrySize) || ++leaves > kMostResources) return false;
      const size_t dataEntry = section.rawPointer + target;
      ResourceData& stored = resources_[path[0]][path[1]][path[2].number];
      size_t bytesAt = 0;
      const uint32_t size = At<uint32_t>(file_, dataEntry + 4);
      if (!RvaToOffset(At<uint32_t>(file_, dataEntry), size, bytesAt)) return false;
      stored.bytes = file_.substr(bytesAt, size);
      stored.codePage = At<uint32_t>(file_, dataEntry + 8);
    }
    path.pop_back();
  }
  return true;
}

// The section as resource compilers lay it out: every directory, breadth
// first; the texts of the named entries; the data entries; then the data,
// each at a multiple of 8.
std::string PeImage::BuildResourceSection(uint32_t sectionRva) const {
  struct Directory {
    std::vector<std::pair<ResourceId, size_t>> entries;  // the child directory or data entry's index
  };
  std::vector<Directory> directories(1);
  std::vector<const ResourceData*> leaves;
  for (const auto& type : resources_) {
    if (type.second.empty()) continue;
    directories[0].entries.push_back({type.first, directories.size()});
    directories.emplace_back();
  }
  for (size_t t = 0, child = 1; t < directories[0].entries.size(); ++t, ++child) {
    for (const auto& name : resources_.at(directories[0].entries[t].first)) {
      if (name.second.empty()) continue;
      directories[child].entries.push_back({name.first, 0});
    }
  }
  const size_t typeDirectories = directories.size();
  for (size_t t = 1; t < typeDirectories; ++t) {
    const auto& names = resources_.at(directories[0].entries[t - 1].first);
    for (auto& entry : directories[t].entries) {
      entry.second = directories.size();
      Directory languages;
      for (const auto& language : names.at(entry.first)) {
        languages.entries.push_back({ResourceId::Number(language.first), leaves.size()});
        leaves.push_back(&language.second);
      }
      directories.push_back(languages);
    }
  }

  std::vector<size_t> directoryAt;
  size_t size = 0;
  for (const Directory& directory : directories) {
    directoryAt.push_back(size);
    size += kDirectoryHeaderSize + directory.entries.size() * kDirectoryEntrySize;
  }
  std::map<std::u16string, size_t> textAt;
  for (const Directory& directory : directories) {
    for (const auto& entry : directory.entries) {
      if (entry.first.IsText() && textAt.emplace(entry.first.text, size).second) size += 2 + entry.first.text.size() * 2;
    }
  }
  size = AlignUp(size, 4);
  const size_t dataEntriesAt = size;
  size += leaves.size() * kDataEntrySize;
  std::vector<size_t> dataAt;
  for (const ResourceData* leaf : leaves) {
    size = AlignUp(size, 8);
    dataAt.push_back(size);
    size += leaf->bytes.size();
  }

  std::string section(AlignUp(size, 8), '\0');
  for (size_t d = 0; d < directories.size(); ++d) {
    const Directory& directory = directories[d];
    const bool leafLevel = d >= typeDirectories;  // a language directory: its entries are data
    const uint16_t named = static_cast<uint16_t>(
        std::count_if(directory.entries.begin(), directory.entries.end(), [](const auto& e) { return e.first.IsText(); }));
    Put<uint16_t>(section, directoryAt[d] + 12, named);
    Put<uint16_t>(section, directoryAt[d] + 14, static_cast<uint16_t>(directory.entries.size() - named));
    for (size_t i = 0; i < directory.entries.size(); ++i) {
      const auto& entry = directory.entries[i];
      const size_t at = directoryAt[d] + kDirectoryHeaderSize + i * kDirectoryEntrySize;
      Put<uint32_t>(section, at, entry.first.IsText() ? static_cast<uint32_t>(textAt.at(entry.first.text)) | kHighBit
                                                      : entry.first.number);
      Put<uint32_t>(section, at + 4, leafLevel ? static_cast<uint32_t>(dataEntriesAt + entry.second * kDataEntrySize)
                                               : static_cast<uint32_t>(directoryAt[entry.second]) | kHighBit);
    }
  }
  for (const auto& text : textAt) {
    Put<uint16_t>(section, text.second, static_cast<uint16_t>(text.first.size()));
    std::memcpy(&section[text.second + 2], text.first.data(), text.first.size() * 2);
  }
  for (size_t i = 0; i < leaves.size(); ++i) {
    const size_t at = dataEntriesAt + i * kDataEntrySize;
    Put<uint32_t>(section, at, static_cast<uint32_t>(sectionRva + dataAt[i]));
    Put<uint32_t>(section, at + 4, static_cast<uint32_t>(leaves[i]->bytes.size()));
    Put<uint32_t>(section, at + 8, leaves[i]->codePage);
    std::memcpy(&section[dataAt[i]], leaves[i]->bytes.data(), leaves[i]->bytes.size());
  }
  section.resize(size);
  return section;
}

bool PeImage::Write(std::string& file, std::string& error) const {
  if (resourceSection_ < 0 || resourceDirectory_ != 0) {
    error = "the base program has no resource section of its own";
    return false;
  }
  // Sections in order, in memory and in the file; behind the resources
  // only the relocations, which nothing but their directory entry points at.
  const Section& resources = sections_[resourceSection_];
  for (size_t i = 0; i < sections_.size(); ++i) {
    const bool before = static_cast<int>(i) < resourceSection_, after = static_cast<int>(i) > resourceSection_;
    if ((before && (sections_[i].virtualAddress >= resources.virtualAddress ||
                    (sections_[i].rawSize > 0 && sections_[i].rawPointer >= resources.rawPointer))) ||
        (after && (sections_[i].name != ".reloc" || sections_[i].virtualAddress <= resources.virtualAddress ||
                   (sections_[i].rawSize > 0 && sections_[i].rawPointer <= resources.rawPointer)))) {
      error = "the base program has the section " + sections_[i].name + " where its resources cannot grow";
      return false;
    }
  }
  const std::string section = BuildResourceSection(resources.virtualAddress);
  const uint32_t rawSize = AlignUp(section.size(), fileAlignment_);

  // Everything before the resource section stays where it is; the sections
  // after it move behind the new one, in the file and in memory.
  size_t sectionsEnd = 0;
  for (const Section& s : sections_) sectionsEnd = std::max<size_t>(sectionsEnd, size_t{s.rawPointer} + s.rawSize);
  file = file_.substr(0, resources.rawPointer);
  file += section;
  file.resize(resources.rawPointer + rawSize, '\0');
  Put<uint32_t>(file, resources.header + 8, static_cast<uint32_t>(section.size()));
  Put<uint32_t>(file, resources.header + 16, rawSize);
  uint64_t nextAddress = AlignUp(uint64_t{resources.virtualAddress} + section.size(), sectionAlignment_);
  uint64_t imageEnd = nextAddress;
  for (size_t i = resourceSection_ + 1; i < sections_.size(); ++i) {
    const Section& moved = sections_[i];
    const uint32_t newAddress = static_cast<uint32_t>(nextAddress);
    Put<uint32_t>(file, moved.header + 12, newAddress);
    Put<uint32_t>(file, moved.header + 20, moved.rawSize > 0 ? static_cast<uint32_t>(file.size()) : 0);
    file.append(file_, moved.rawPointer, moved.rawSize);
    for (uint32_t d = 0; d < directoryCount_; ++d) {
      const size_t at = dataDirectories_ + d * 8;
      const uint32_t rva = At<uint32_t>(file, at);
      if (d != kSecurityDirectoryIndex && rva >= moved.virtualAddress &&
          rva - moved.virtualAddress < std::max(moved.virtualSize, moved.rawSize)) {
        Put<uint32_t>(file, at, newAddress + (rva - moved.virtualAddress));
      }
    }
    nextAddress = AlignUp(uint64_t{newAddress} + std::max(moved.virtualSize, moved.rawSize), sectionAlignment_);
    imageEnd = nextAddress;
  }
  // What follows the sections stays, but for a signature.
  if (sectionsEnd < file_.size()) {
    uint32_t signatureAt = 0, signatureSize = 0;
    if (directoryCount_ > kSecurityDirectoryIndex) {
      signatureAt = At<uint32_t>(file_, dataDirectories_ + kSecurityDirectoryIndex * 8);
      signatureSize = At<uint32_t>(file_, dataDirectories_ + kSecurityDirectoryIndex * 8 + 4);
    }
    const bool hasSignature = signatureSize > 0 && signatureAt >= sectionsEnd && signatureAt <= file_.size();
    const size_t signatureEnd = hasSignature ? std::min<size_t>(file_.size(), uint64_t{signatureAt} + signatureSize) : 0;
    file.append(file_, sectionsEnd, (hasSignature ? signatureAt : file_.size()) - sectionsEnd);
    if (hasSignature) file.append(file_, signatureEnd, std::string::npos);
  }
  if (directoryCount_ > kSecurityDirectoryIndex) {
    Put<uint64_t>(file, dataDirectories_ + kSecurityDirectoryIndex * 8, 0);
  }
  Put<uint32_t>(file, dataDirectories_ + kResourceDirectoryIndex * 8, resources.virtualAddress);
  Put<uint32_t>(file, dataDirectories_ + kResourceDirectoryIndex * 8 + 4, static_cast<uint32_t>(section.size()));
  Put<uint32_t>(file, optionalHeader_ + 56, static_cast<uint32_t>(imageEnd));  // SizeOfImage
  const uint32_t initialized = At<uint32_t>(file_, optionalHeader_ + 8);
  Put<uint32_t>(file, optionalHeader_ + 8, initialized - resources.rawSize + rawSize);
  if (At<uint32_t>(file_, optionalHeader_ + 64) != 0) {
    Put<uint32_t>(file, optionalHeader_ + 64, PeChecksum(file, optionalHeader_ + 64));
  }
  return true;
}

}  // namespace nebpack
