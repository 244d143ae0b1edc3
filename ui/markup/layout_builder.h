// Builds a control tree from markup: registers the resource elements with
// the window's manager, applies the `Window` attributes, and creates one
// control per element through the control factory.
#pragma once

#include <windows.h>

#include <string>

#include "ui/markup/markup.h"

namespace SkinUI {

class CControlUI;
class CPaintManagerUI;
class IDialogBuilderCallback;

class CLayoutBuilder {
 public:
  // Elements nested deeper than this, and includes nested deeper than
  // kMaxIncludeDepth, are skipped: a markup cannot exhaust the stack.
  static constexpr int kMaxElementDepth = 256;
  static constexpr int kMaxIncludeDepth = 16;
  // An `Include` builds its source at most this many times.
  static constexpr int kMaxIncludeCount = 1000;

  // `source` is a skin file name, markup text beginning with "<", or (with a
  // resource type) the decimal id of a resource of `module`. Returns the
  // first control created at the top level, or none.
  CControlUI* Build(const std::wstring& source, const std::wstring& resType, IDialogBuilderCallback* callback,
                    CPaintManagerUI* manager, CControlUI* parent = nullptr, HMODULE module = nullptr);

  const CMarkup& Markup() const { return markup_; }

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
};

}  // namespace SkinUI
