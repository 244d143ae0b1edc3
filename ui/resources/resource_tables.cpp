#include "ui/resources/resource_tables.h"

namespace SkinUI {

ResourceTables& ResourceTables::Get() {
  static ResourceTables tables;
  return tables;
}

const std::wstring* ResourceTables::Image(const std::wstring& key) const {
  const auto found = images_.find(key);
  return found == images_.end() ? nullptr : &found->second;
}

const uint32_t* ResourceTables::Colour(const std::wstring& key) const {
  const auto found = colours_.find(key);
  return found == colours_.end() ? nullptr : &found->second;
}

const std::wstring* ResourceTables::ImageAt(const std::vector<std::wstring>& keys, int index) const {
  if (index < 0 || static_cast<size_t>(index) >= keys.size()) return nullptr;
  return Image(keys[static_cast<size_t>(index)]);
}

const uint32_t* ResourceTables::ColourAt(const std::vector<std::wstring>& keys, int index) const {
  if (index < 0 || static_cast<size_t>(index) >= keys.size()) return nullptr;
  return Colour(keys[static_cast<size_t>(index)]);
}

void ResourceTables::SwitchImage(const std::vector<std::wstring>& keys, int index, std::wstring& field) const {
  if (const std::wstring* image = ImageAt(keys, index)) field = *image;
}

void ResourceTables::SwitchColour(const std::vector<std::wstring>& keys, int index, uint32_t& field) const {
  if (const uint32_t* colour = ColourAt(keys, index)) field = *colour;
}

std::wstring ResourceTables::MarkupFile(const std::wstring& name) const {
  const auto found = markupFiles_.find(name);
  return found == markupFiles_.end() || found->second.empty() ? name : found->second;
}

void ResourceTables::Clear() {
  images_.clear();
  colours_.clear();
  markupFiles_.clear();
}

}  // namespace SkinUI
