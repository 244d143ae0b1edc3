// The resources of a Windows program file (PE32 or PE32+) read into a tree,
// and the file written again with its resource section rebuilt from the
// tree. No Windows calls here: nebpack's Windows and Linux builds write the
// same bytes with it. The resource section must be the last one apart from
// the relocations, which move behind it, as the linker lays programs out.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace nebpack {

// A resource type or name: a number, or a text ("LUA", "APP.7Z").
struct ResourceId {
  std::u16string text;  // empty for a number
  uint16_t number = 0;

  static ResourceId Number(uint16_t number) { return {{}, number}; }
  static ResourceId Text(const std::u16string& text) { return {text, 0}; }
  bool IsText() const { return !text.empty(); }
  // The directory's order: texts first, without regard to ASCII case, then
  // numbers in ascending order.
  bool operator<(const ResourceId& other) const;
  bool operator==(const ResourceId& other) const { return text == other.text && number == other.number; }
};

struct ResourceData {
  std::string bytes;
  uint32_t codePage = 0;
};

// Languages in ascending order, as the system enumerates them.
using ResourceLanguages = std::map<uint16_t, ResourceData>;
using ResourceTree = std::map<ResourceId, std::map<ResourceId, ResourceLanguages>>;

constexpr uint16_t kMachineI386 = 0x014C;
constexpr uint16_t kMachineAmd64 = 0x8664;

class PeImage {
 public:
  // Reads the file's headers and resources; false with a reason when it is
  // no program file or its resources are damaged.
  bool Read(std::string file, std::string& error);

  ResourceTree& Resources() { return resources_; }
  const ResourceTree& Resources() const { return resources_; }

  // The file with the resource section written from Resources(); false with
  // a reason when the layout leaves no room to do so safely. A signature
  // does not survive a change of the file, so it is left out.
  bool Write(std::string& file, std::string& error) const;

 private:
  struct Section {
    size_t header = 0;  // where its header is in the file
    uint32_t virtualSize = 0, virtualAddress = 0, rawSize = 0, rawPointer = 0;
    std::string name;
  };
  bool ReadResourceDirectory(uint32_t offset, int level, std::vector<ResourceId>& path, size_t& leaves);
  bool RvaToOffset(uint32_t rva, uint32_t size, size_t& offset) const;
  std::string BuildResourceSection(uint32_t sectionRva) const;

  std::string file_;
  uint16_t machine_ = 0;
  size_t optionalHeader_ = 0;
  size_t dataDirectories_ = 0;
  uint32_t directoryCount_ = 0;
  uint32_t sectionAlignment_ = 0, fileAlignment_ = 0;
  std::vector<Section> sections_;
  int resourceSection_ = -1;
  uint32_t resourceDirectory_ = 0;  // its offset in the resource section
  ResourceTree resources_;
};

}  // namespace nebpack
