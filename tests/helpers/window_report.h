// What the markup window helpers share: their common switches, the events
// file they append notifications to and the report they write after the
// first paint.
#pragma once

#include <windows.h>

#include <cstdio>
#include <functional>
#include <string>

#include "ui/controls/control_ui.h"
#include "ui/host/paint_manager_ui.h"

struct WindowOptions {
  std::wstring markup;
  // The skin's root folder (--skin FOLDER), when the markup is named
  // relative to it as a skin names it ("Layout/Layout.xml"); otherwise the
  // markup's own folder is the root.
  std::wstring skin;
  int dpi = 96;
  std::wstring report;
  std::wstring events;

  std::wstring MarkupFolder() const;  // the skin's root, with its trailing separator
  std::wstring MarkupFile() const;    // relative to that root
};

// Takes argv[i] when it is one of the common switches, moving i past its
// value; false when it is not one of them.
bool ReadWindowOption(int argc, wchar_t** argv, int& i, WindowOptions& options);

// One line at the end of the events file (nothing when none was named).
void AppendEvent(const WindowOptions& options, const std::string& line);

// Writes the report beside its final name and renames it, so a reader
// never sees half of it; nothing when no report was named.
void WriteReportFile(const WindowOptions& options, const std::function<void(FILE*)>& write);

// "control NAME L T R B" for every named control of the tree, each followed
// by what `more` writes for it.
void WriteControlLines(FILE* file, SkinUI::CPaintManagerUI& manager,
                       const std::function<void(FILE*, SkinUI::CControlUI*, const std::string&)>& more = {});
