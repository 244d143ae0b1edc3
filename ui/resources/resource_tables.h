// The process-wide tables behind switchable resources: image strings and
// colours stored under keys, which controls switch between by index.
#pragma once

#include <cstdint>
#include <map>
#include <string>

namespace SkinUI {

class ResourceTables {
 public:
  static ResourceTables& Get();

  void SetImage(const std::wstring& key, const std::wstring& image) { images_[key] = image; }
  void SetColour(const std::wstring& key, uint32_t colour) { colours_[key] = colour; }
  const std::wstring* Image(const std::wstring& key) const;
  const uint32_t* Colour(const std::wstring& key) const;
  void Clear();

 private:
  std::map<std::wstring, std::wstring> images_;
  std::map<std::wstring, uint32_t> colours_;
};

}  // namespace SkinUI
