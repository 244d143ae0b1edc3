#include "tools/nebpack/dialog_skin.h"

#include <filesystem>
#include <vector>

#include "app/dialog/dialog_controls.h"
#include "ui/skin_check/folder_skin_access.h"

namespace nebpack {

namespace {

constexpr wchar_t kMarkup[] = L"Layout/Layout.xml";

// A skin file's name ("/" between folders) as a path in the folder, with
// the system's own separators.
std::wstring SkinFilePath(const std::wstring& folder, const std::wstring& name) {
  return (std::filesystem::path(folder) / name).make_preferred().wstring();
}

}  // namespace

void CheckDialogSkin(const std::wstring& folder, Problems& problems) {
  const std::wstring markupPath = SkinFilePath(folder, kMarkup);

  nebskin::FolderSkinAccess skin(folder);
  for (const nebskin::SkinProblem& found : nebskin::CheckSkinMarkup(skin, kMarkup)) {
    problems.push_back({SkinFilePath(folder, found.file), found.line, found.column, found.message, found.warning});
  }
  std::vector<nebskin::MarkupControl> controls;
  if (!nebskin::NamedControls(skin, kMarkup, controls)) return;  // its parse error is reported above
  for (const DialogControl& needed : dialog_controls::kRequired) {
    const nebskin::MarkupControl* found = nullptr;
    for (const nebskin::MarkupControl& control : controls) {
      if (control.name == needed.name) {
        found = &control;
        break;
      }
    }
    if (found == nullptr) {
      problems.push_back({markupPath, 0, 0, L"the dialog needs the control \"" + std::wstring(needed.name) +
                                                L"\" (" + needed.kind + L"); the markup has none"});
    } else if (found->kind != needed.kind) {
      problems.push_back({markupPath, found->line, found->column,
                          L"the control \"" + std::wstring(needed.name) + L"\" is a " + found->kind +
                              L"; the dialog needs a " + needed.kind});
    }
  }
}

}  // namespace nebpack
