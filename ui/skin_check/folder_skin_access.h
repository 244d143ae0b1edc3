// The skin checks reading a skin folder of plain files, with the limits and
// the texts of the framework's skin source and the framework's own control
// classes. No Windows calls here: nebpack's Windows and Linux builds check
// a skin the same way with it.
#pragma once

#include <filesystem>

#include "ui/skin_check/skin_check.h"

namespace nebskin {

class FolderSkinAccess : public SkinAccess {
 public:
  explicit FolderSkinAccess(std::filesystem::path folder) : folder_(std::move(folder)) {}

  bool ReadMarkupText(const std::wstring& name, std::wstring& text, std::wstring& error) override;
  bool ReadPictureBytes(const std::wstring& name, std::vector<uint8_t>& bytes) override;
  bool IsControlElement(const std::wstring& element) override;

 private:
  std::filesystem::path folder_;
};

}  // namespace nebskin
