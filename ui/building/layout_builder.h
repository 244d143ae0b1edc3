// Builds a control tree from markup: registers the resource elements with
// the window's manager, applies the `Window` attributes, and creates one
// control per element through the control factory.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "ui/markup/markup.h"
#include "ui/markup/markup_limits.h"

namespace SkinUI {

class CControlUI;
class IMarkupHost;
class IDialogBuilderCallback;

// Stops at the limits of markup_limits.h: elements nested too deep and
// includes nested too deep are left out, and so is every file read after
// the whole expansion's budget ran out.
class CLayoutBuilder {
 public:
  // `source` is a skin file name, markup text beginning with "<", or (with a
  // resource type) the decimal id of a resource of `module`. Returns the
  // first control created at the top level, or none; the caller owns it.
  std::unique_ptr<CControlUI> Build(const std::wstring& source, const std::wstring& resType,
                                    IDialogBuilderCallback* callback, IMarkupHost* manager, HMODULE module = nullptr);
  // The same into `parent`: the controls become its children, and the first
  // of them (owned by the parent) is returned.
  CControlUI* Build(const std::wstring& source, const std::wstring& resType, IDialogBuilderCallback* callback,
                    IMarkupHost* manager, CControlUI* parent, HMODULE module = nullptr);

  const CMarkup& Markup() const { return markup_; }
  // Whether the expansion's budget ran out, so that files were left out.
  bool ExpansionCut() const { return budget_->Cut(); }

 private:
  CControlUI* BuildTree(const std::wstring& source, const std::wstring& resType, IDialogBuilderCallback* callback,
                        IMarkupHost* manager, CControlUI* parent, HMODULE module);
  bool Load(const std::wstring& source);
  void RegisterResources(CMarkupNode root, IMarkupHost* manager);
  // A resource markup's entries into the process-wide tables.
  static void LoadResourceFile(const std::wstring& source);
  CControlUI* Walk(CMarkupNode parentNode, CControlUI* parent, IMarkupHost* manager, int depth);
  void BuildInclude(CMarkupNode node, CControlUI* parent, IMarkupHost* manager);
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
