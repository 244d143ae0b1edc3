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

void ResourceTables::Clear() {
  images_.clear();
  colours_.clear();
}

}  // namespace SkinUI
