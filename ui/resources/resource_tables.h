// The process-wide tables behind switchable resources: image strings and
// colours stored under keys, which controls switch between by index; and
// the markup-name table, which sends a markup file name to another file.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace SkinUI {

class ResourceTables {
 public:
  static ResourceTables& Get();

  void SetImage(const std::wstring& key, const std::wstring& image) { images_[key] = image; }
  void SetColour(const std::wstring& key, uint32_t colour) { colours_[key] = colour; }
  const std::wstring* Image(const std::wstring& key) const;
  const uint32_t* Colour(const std::wstring& key) const;
  // The entry named by keys[index], or null when the index is negative,
  // past the keys, or names nothing in the table.
  const std::wstring* ImageAt(const std::vector<std::wstring>& keys, int index) const;
  const uint32_t* ColourAt(const std::vector<std::wstring>& keys, int index) const;
  // Sets field to the entry named by keys[index]; leaves it when there is none.
  void SwitchImage(const std::vector<std::wstring>& keys, int index, std::wstring& field) const;
  void SwitchColour(const std::vector<std::wstring>& keys, int index, uint32_t& field) const;
  void SetMarkupFile(const std::wstring& name, const std::wstring& file) { markupFiles_[name] = file; }
  // The file that stands for the markup name: the table's, or the name.
  std::wstring MarkupFile(const std::wstring& name) const;
  void Clear();

 private:
  std::map<std::wstring, std::wstring> images_;
  std::map<std::wstring, uint32_t> colours_;
  std::map<std::wstring, std::wstring> markupFiles_;
};

}  // namespace SkinUI
