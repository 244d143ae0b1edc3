#include "ui/skin_check/skin_check.h"

#include <algorithm>
#include <cwchar>
#include <cwctype>
#include <map>
#include <memory>
#include <set>

#include "ui/dpi/dpi_scaler.h"
#include "ui/markup/element_kinds.h"
#include "ui/markup/markup.h"
#include "ui/markup/markup_limits.h"
#include "ui/markup/markup_node.h"
#include "ui/markup/markup_walk.h"
#include "ui/markup/value_formats.h"
#include "ui/render/image_drawing.h"
#include "ui/resources/picture_pixels.h"
#include "ui/resources/skin_image_name.h"

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

std::wstring Tag(CMarkupNode node) { return L"<" + std::wstring(node.Name()) + L">"; }

// A markup file of the skin, parsed, with its text for lines and columns.
class MarkupFile {
 public:
  explicit MarkupFile(std::wstring name) : name_(std::move(name)) {}

  // False with the problem, placed where the parser stopped.
  bool Load(SkinAccess& skin, SkinProblem& problem) {
    std::wstring error;
    if (!skin.ReadMarkupText(name_, text_, error)) {
      problem = {name_, 0, 0, error};
      return false;
    }
    IndexLines();
    if (markup_.ParseText(text_)) return true;
    problem = {name_, 0, 0, markup_.LastError()};
    const std::wstring& rest = markup_.ErrorLocation();
    if (!rest.empty() && rest.size() <= text_.size() &&
        text_.compare(text_.size() - rest.size(), rest.size(), rest) == 0) {
      Place(text_.size() - rest.size(), problem);
    }
    return false;
  }

  const std::wstring& Name() const { return name_; }
  const std::wstring& Text() const { return text_; }
  CMarkupNode Root() const { return markup_.Root(); }

  SkinProblem At(size_t offset, std::wstring message, bool warning = false) const {
    SkinProblem problem{name_, 0, 0, std::move(message), warning};
    Place(offset, problem);
    return problem;
  }

 private:
  void IndexLines() {
    lineStarts_ = {0};
    for (size_t i = 0; i < text_.size(); ++i) {
      if (text_[i] == L'\n') lineStarts_.push_back(i + 1);
    }
  }
  void Place(size_t offset, SkinProblem& problem) const {
    const auto after = std::upper_bound(lineStarts_.begin(), lineStarts_.end(), offset);
    problem.line = static_cast<int>(after - lineStarts_.begin());
    problem.column = static_cast<int>(offset - *(after - 1)) + 1;
  }

  std::wstring name_;
  std::wstring text_;
  std::vector<size_t> lineStarts_;
  CMarkup markup_;
};

// Calls `visit(node, index)` for every attribute of every element of the file.
template <typename Visit>
void ForEachAttribute(const MarkupFile& file, Visit&& visit) {
  SkinUI::ForEachElement(file.Root(), [&](CMarkupNode node, int) {
    for (int i = 0; i < node.AttributeCount(); ++i) visit(node, i);
    return true;
  });
}

class Checker {
 public:
  explicit Checker(SkinAccess& skin) : skin_(skin) {}

  std::vector<SkinProblem> Run(const std::wstring& markupFile) {
    auto top = std::make_unique<MarkupFile>(markupFile);
    SkinProblem unreadable;
    if (!top->Load(skin_, unreadable)) return {unreadable};
    if (!budget_.Take(top->Text().size(), ElementCount(*top))) {
      return {top->At(0, L"the markup holds more than " + BudgetText() + L"; the window does not build")};
    }
    Expand(*top, 0);
    checked_.emplace(markupFile, std::move(top));
    for (const auto& [name, file] : checked_) CheckFontUses(*file);
    return std::move(problems_);
  }

 private:
  // The file as the window builds it: its own checks the first time it
  // comes, its font definitions, and its includes as often as they are
  // built, until the expansion's budget runs out.
  void Expand(const MarkupFile& file, int includeDepth) {
    if (!Seen(file.Name())) {
      seen_.insert(file.Name());
      CheckStructure(file);
      CheckImages(file);
    }
    SkinUI::ForEachElement(file.Root(), [&](CMarkupNode node, int) {
      const wchar_t* name = node.Name();
      if (std::wcscmp(name, L"Font") == 0 && node.HasAttribute(L"id")) {
        fontIds_.insert(std::wcstol(node.AttributeValue(L"id"), nullptr, 10));
      }
      if (SkinUI::IsIncludeElement(name) && node.HasAttribute(L"source") && includeDepth < SkinUI::kMaxIncludeDepth) {
        Include(file, node, includeDepth);
      }
      return !budget_.Cut();
    });
  }

  void Include(const MarkupFile& file, CMarkupNode node, int includeDepth) {
    const int count = std::min(node.HasAttribute(L"count") ? SkinUI::ParseInteger(node.AttributeValue(L"count")) : 1,
                               SkinUI::kMaxIncludeCount);
    for (int i = 0; i < count && !budget_.Cut(); ++i) {
      auto included = std::make_unique<MarkupFile>(node.AttributeValue(L"source"));
      SkinProblem unreadable;
      if (!included->Load(skin_, unreadable)) {
        if (i == 0) {
          problems_.push_back(file.At(node.SourceOffset(), L"<Include> source: the file \"" + included->Name() +
                                                               L"\" cannot be read: " + unreadable.message));
        }
        return;
      }
      if (!budget_.Take(included->Text().size(), ElementCount(*included))) {
        problems_.push_back(file.At(node.SourceOffset(), L"<Include>: the markup and what it includes read more than " +
                                                             BudgetText() +
                                                             L"; the window leaves out every file from here on"));
        return;
      }
      const bool keep = !Seen(included->Name());
      Expand(*included, includeDepth + 1);
      if (keep) checked_.emplace(included->Name(), std::move(included));
    }
  }

  static std::wstring BudgetText() {
    return std::to_wstring(SkinUI::ExpansionBudget::kMostElements) + L" elements or " +
           std::to_wstring(SkinUI::ExpansionBudget::kMostCharacters) + L" characters";
  }

  bool Seen(const std::wstring& name) const { return seen_.count(name) > 0; }

  static size_t ElementCount(const MarkupFile& file) {
    size_t count = 0;
    SkinUI::ForEachElement(file.Root(), [&count](CMarkupNode, int) {
      ++count;
      return true;
    });
    return count;
  }

  // Elements the window leaves out: those nested deeper than it builds,
  // and those no control class answers to, each with what is inside it.
  void CheckStructure(const MarkupFile& file) {
    SkinUI::ForEachElement(file.Root(), [&](CMarkupNode node, int level) {
      if (level == 0) return true;  // the root's own attributes go to the window
      const wchar_t* name = node.Name();
      if (level > SkinUI::kMaxElementDepth) {
        problems_.push_back(file.At(node.SourceOffset(),
                                    Tag(node) + L" is nested " + std::to_wstring(level) +
                                        L" elements deep; the window builds " +
                                        std::to_wstring(SkinUI::kMaxElementDepth) +
                                        L" levels and leaves it out with everything inside it"));
        return false;
      }
      if (SkinUI::IsResourceElement(name) || SkinUI::IsIncludeElement(name) || skin_.IsControlElement(name)) {
        return true;
      }
      problems_.push_back(file.At(node.SourceOffset(),
                                  Tag(node) + L" is no control the window knows; it is left out with everything "
                                              L"inside it",
                                  true));
      return false;
    });
  }

  void CheckImages(const MarkupFile& file) {
    const SkinUI::CDpiScaler scaler;
    ForEachAttribute(file, [&](CMarkupNode node, int i) {
      const std::wstring name = node.AttributeName(i), value = node.AttributeValue(i);
      if (value.empty() || !IsImageAttribute(name)) return;
      const SkinUI::ImageDrawing drawing =
          SkinUI::ParseImageDrawing(value, L"", scaler, [](const std::wstring&) { return false; });
      if (drawing.name.empty() || !drawing.resType.empty()) return;
      const wchar_t* fault = PictureFault(drawing.name, drawing.mask);
      if (fault == nullptr) return;
      problems_.push_back(file.At(node.AttributeSourceOffset(i),
                                  Tag(node) + L" " + name + L": picture \"" + drawing.name + L"\" " + fault));
    });
  }

  // Why the picture does not draw, or null when it does; once per name.
  const wchar_t* PictureFault(const std::wstring& name, uint32_t mask) {
    const auto known = pictureFaults_.find(name);
    if (known != pictureFaults_.end()) return known->second;
    const std::wstring entryName = SkinUI::IsSvgName(name) ? SkinUI::ParseSvgRenderName(name).entryName : name;
    std::vector<uint8_t> bytes;
    SkinUI::PicturePixels picture;
    const wchar_t* fault = nullptr;
    if (!skin_.ReadPictureBytes(entryName, bytes)) {
      fault = L"is not in the skin";
    } else if (!SkinUI::DecodeSkinPicture(name, bytes.data(), bytes.size(), mask, picture)) {
      fault = L"does not decode";
    }
    pictureFaults_.emplace(name, fault);
    return fault;
  }

  void CheckFontUses(const MarkupFile& file) {
    ForEachAttribute(file, [&](CMarkupNode node, int i) {
      const std::wstring name = node.AttributeName(i), value = node.AttributeValue(i);
      if (name != L"font" || std::wcscmp(node.Name(), L"Font") == 0) return;
      const long id = std::wcstol(value.c_str(), nullptr, 10);
      if (id < 0 || fontIds_.count(id) > 0) return;  // a negative id is the window's default font
      problems_.push_back(
          file.At(node.AttributeSourceOffset(i), Tag(node) + L" font: font id " + value + L" is not defined"));
    });
  }

  SkinAccess& skin_;
  std::vector<SkinProblem> problems_;
  SkinUI::ExpansionBudget budget_;
  std::set<long> fontIds_;
  std::set<std::wstring> seen_;
  std::map<std::wstring, std::unique_ptr<MarkupFile>> checked_;  // each file once, for the font uses
  std::map<std::wstring, const wchar_t*> pictureFaults_;
};

}  // namespace

std::vector<SkinProblem> CheckSkinMarkup(SkinAccess& skin, const std::wstring& markupFile) {
  return Checker(skin).Run(markupFile);
}

bool NamedControls(SkinAccess& skin, const std::wstring& markupFile, std::vector<MarkupControl>& controls) {
  MarkupFile file(markupFile);
  SkinProblem ignored;
  if (!file.Load(skin, ignored)) return false;
  ForEachAttribute(file, [&](CMarkupNode node, int i) {
    if (std::wcscmp(node.AttributeName(i), L"name") != 0) return;
    const SkinProblem place = file.At(node.AttributeSourceOffset(i), {});
    controls.push_back({node.Name(), node.AttributeValue(i), place.line, place.column});
  });
  return true;
}

}  // namespace nebskin
