#include "tools/nebskin/skin_check.h"

#include <cwchar>
#include <cwctype>
#include <set>

#include "base/text.h"
#include "ui/dpi/dpi_scaler.h"
#include "ui/markup/layout_builder.h"
#include "ui/markup/markup.h"
#include "ui/markup/markup_node.h"
#include "ui/render/image_drawing.h"
#include "ui/resources/skin_image_loader.h"
#include "ui/resources/skin_source.h"

namespace nebskin {

namespace {

using SkinUI::CMarkup;
using SkinUI::CMarkupNode;

// Attributes whose values are image drawing strings: "bkimage",
// "normalimage", "selectedstateimage", "shadowimage" and the like.
bool IsImageAttribute(std::wstring name) {
  for (wchar_t& c : name) c = static_cast<wchar_t>(std::towlower(c));
  const std::wstring suffix = L"image";
  return name.size() >= suffix.size() && name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0;
}

// The markup as text, for positions: UTF-8 with or without its mark.
std::wstring MarkupText(const std::wstring& file) {
  std::vector<uint8_t> bytes;
  if (SkinUI::SkinSource::Get().ReadSkinFile(file, bytes) != SkinUI::SkinSource::ReadStatus::kOk) return {};
  std::string utf8(bytes.begin(), bytes.end());
  if (utf8.compare(0, 3, "\xEF\xBB\xBF") == 0) utf8.erase(0, 3);
  return Utf8ToWide(utf8);
}

// Where `name="value"` (or with single quotes) stands in the text, from `from` on.
size_t FindAttribute(const std::wstring& text, const std::wstring& name, const std::wstring& value, size_t from) {
  for (const wchar_t quote : {L'"', L'\''}) {
    const std::wstring wanted = name + L"=" + quote + value + quote;
    const size_t at = text.find(wanted, from);
    if (at != std::wstring::npos) return at;
  }
  return text.find(name + L"=", from);
}

// Calls `visit(node, name, value, offset)` for every attribute below `node`
// in document order, with the attribute's offset in the text (npos when
// it is not found).
template <typename Visit>
void VisitAttributes(CMarkupNode node, const std::wstring& text, size_t& searchFrom, Visit&& visit) {
  for (; node.IsValid(); node = node.NextSibling()) {
    for (int i = 0; i < node.AttributeCount(); ++i) {
      const std::wstring name = node.AttributeName(i), value = node.AttributeValue(i);
      const size_t at = FindAttribute(text, name, value, searchFrom);
      if (at != std::wstring::npos) searchFrom = at;
      visit(node, name, value, at);
    }
    VisitAttributes(node.FirstChild(), text, searchFrom, visit);
  }
}

SkinProblem ProblemAt(const std::wstring& file, const std::wstring& text, size_t at, const std::wstring& message) {
  SkinProblem problem{file, 0, 0, message};
  if (at != std::wstring::npos) LineAndColumn(text, at, problem.line, problem.column);
  return problem;
}

void CheckImages(CMarkupNode root, const std::wstring& file, const std::wstring& text,
                 std::vector<SkinProblem>& problems) {
  const SkinUI::CDpiScaler scaler;
  size_t searchFrom = 0;
  VisitAttributes(root, text, searchFrom, [&](CMarkupNode node, const std::wstring& name, const std::wstring& value,
                                              size_t at) {
    if (value.empty() || !IsImageAttribute(name)) return;
    const SkinUI::ImageDrawing drawing =
        SkinUI::ParseImageDrawing(value, L"", scaler, [](const std::wstring&) { return false; });
    if (drawing.name.empty() || !drawing.resType.empty()) return;
    if (SkinUI::LoadSkinImage(drawing.name, L"", drawing.mask, nullptr)) return;
    std::vector<uint8_t> bytes;
    const bool present = SkinUI::SkinSource::Get().ReadPictureBytes(drawing.name, bytes);
    problems.push_back(ProblemAt(file, text, at,
                                 L"<" + std::wstring(node.Name()) + L"> " + name + L": picture \"" + drawing.name +
                                     (present ? L"\" does not decode" : L"\" is not in the skin")));
  });
}

// The ids of the Font elements of the markup and of the files it includes.
void CollectFontIds(CMarkupNode node, std::set<long>& ids, int depth) {
  for (; node.IsValid(); node = node.NextSibling()) {
    const std::wstring name = node.Name();
    if (name == L"Font" && node.HasAttribute(L"id")) ids.insert(std::wcstol(node.AttributeValue(L"id"), nullptr, 10));
    if (name == L"Include" && node.HasAttribute(L"source") && depth < SkinUI::CLayoutBuilder::kMaxIncludeDepth) {
      CMarkup included;
      if (included.ReadSkinFile(node.AttributeValue(L"source"))) CollectFontIds(included.Root(), ids, depth + 1);
    }
    CollectFontIds(node.FirstChild(), ids, depth);
  }
}

void CheckFonts(CMarkupNode root, const std::wstring& file, const std::wstring& text,
                std::vector<SkinProblem>& problems) {
  std::set<long> defined;
  CollectFontIds(root, defined, 0);
  size_t searchFrom = 0;
  VisitAttributes(root, text, searchFrom, [&](CMarkupNode node, const std::wstring& name, const std::wstring& value,
                                              size_t at) {
    if (name != L"font" || std::wstring(node.Name()) == L"Font") return;
    const long id = std::wcstol(value.c_str(), nullptr, 10);
    if (id < 0 || defined.count(id) > 0) return;  // a negative id is the window's default font
    problems.push_back(ProblemAt(file, text, at, L"<" + std::wstring(node.Name()) + L"> font: font id " + value +
                                                     L" is not defined"));
  });
}

bool ReadMarkup(const std::wstring& markupFile, CMarkup& markup, std::wstring& text,
                std::vector<SkinProblem>& problems) {
  text = MarkupText(markupFile);
  if (markup.ReadSkinFile(markupFile.c_str())) return true;
  SkinProblem problem{markupFile, 0, 0, markup.LastError()};
  const std::wstring& rest = markup.ErrorLocation();
  if (!rest.empty() && rest.size() <= text.size() && text.compare(text.size() - rest.size(), rest.size(), rest) == 0) {
    LineAndColumn(text, text.size() - rest.size(), problem.line, problem.column);
  }
  problems.push_back(problem);
  return false;
}

}  // namespace

void LineAndColumn(const std::wstring& text, size_t offset, int& line, int& column) {
  line = 1;
  column = 1;
  for (size_t i = 0; i < offset && i < text.size(); ++i) {
    if (text[i] == L'\n') {
      ++line;
      column = 1;
    } else {
      ++column;
    }
  }
}

std::vector<SkinProblem> CheckSkinMarkup(const std::wstring& markupFile) {
  std::vector<SkinProblem> problems;
  CMarkup markup;
  std::wstring text;
  if (!ReadMarkup(markupFile, markup, text, problems)) return problems;
  CheckImages(markup.Root(), markupFile, text, problems);
  CheckFonts(markup.Root(), markupFile, text, problems);
  return problems;
}

bool NamedControls(const std::wstring& markupFile, std::vector<MarkupControl>& controls) {
  CMarkup markup;
  std::wstring text;
  std::vector<SkinProblem> ignored;
  if (!ReadMarkup(markupFile, markup, text, ignored)) return false;
  size_t searchFrom = 0;
  VisitAttributes(markup.Root(), text, searchFrom, [&](CMarkupNode node, const std::wstring& name,
                                                       const std::wstring& value, size_t at) {
    if (name != L"name") return;
    MarkupControl control{node.Name(), value, 0, 0};
    if (at != std::wstring::npos) LineAndColumn(text, at, control.line, control.column);
    controls.push_back(control);
  });
  return true;
}

}  // namespace nebskin
