#include "tools/nebpack/dialog_skin.h"

#include <vector>

#include "app/dialog_controls.h"
#include "tools/nebskin/skin_check.h"
#include "ui/resources/skin_source.h"

namespace nebpack {

namespace {

constexpr wchar_t kMarkup[] = L"Layout/Layout.xml";

}  // namespace

void CheckDialogSkin(const std::wstring& skinFolder, Problems& problems) {
  std::wstring folder = skinFolder;
  if (!folder.empty() && folder.back() != L'\\' && folder.back() != L'/') folder += L'\\';
  SkinUI::SkinSource::Get().SetFolder(folder);
  const std::wstring markupPath = folder + L"Layout\\Layout.xml";

  for (const nebskin::SkinProblem& found : nebskin::CheckSkinMarkup(kMarkup)) {
    problems.push_back({markupPath, found.line, found.column, found.message});
  }
  std::vector<nebskin::MarkupControl> controls;
  if (!nebskin::NamedControls(kMarkup, controls)) return;  // its parse error is reported above
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
