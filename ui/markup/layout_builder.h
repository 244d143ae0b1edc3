// Builds a control tree from markup: registers the resource elements with
// the window's manager, applies the `Window` attributes, and creates one
// control per element through the control factory.
#pragma once

#include <windows.h>

#include <string>

#include "ui/markup/markup.h"
#include "ui/markup/markup_limits.h"

namespace SkinUI {

class CControlUI;
class CPaintManagerUI;
class IDialogBuilderCallback;

// Stops at the limits of markup_limits.h: elements nested too deep and
// includes nested too deep are left out, and so is every file read after
// the whole expansion's budget ran out.
class CLayoutBuilder {
 public:
  // `source` is a skin file name, markup text beginning with "<", or (with a
  // resource type) the decimal id of a resource of `module`. Returns the
  // first control created at the top level, or none.
  CControlUI* Build(const std::wstring& source, const std::wstring& resType, IDialogBuilderCallback* callback,
                    CPaintManagerUI* manager, CControlUI* parent = nullptr, HMODULE module = nullptr);

  const CMarkup& Markup() const { return markup_; }
  // Whether the expansion's budget ran out, so that files were left out.
  bool ExpansionCut() const { return budget_->Cut(); }

 private:
  bool Load(const std::wstring& source);
  void RegisterResources(CMarkupNode root, CPaintManagerUI* manager);
  CControlUI* Walk(CMarkupNode parentNode, CControlUI* parent, CPaintManagerUI* manager, int depth);
  void BuildInclude(CMarkupNode node, CControlUI* parent, CPaintManagerUI* manager);
  CControlUI* CreateControl(const wchar_t* elementName) const;

  CMarkup markup_;
  IDialogBuilderCallback* callback_ = nullptr;
  std::wstring resType_;
  HMODULE module_ = nullptr;
  int includeDepth_ = 0;
  ExpansionBudget ownBudget_;
  ExpansionBudget* budget_ = &ownBudget_;  // the outermost builder's
};

}  // namespace SkinUI
