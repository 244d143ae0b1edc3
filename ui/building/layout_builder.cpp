#include "ui/building/layout_builder.h"

#include <algorithm>
#include <cwchar>
#include <memory>
#include <vector>

#include "base/debug_line.h"
#include "ui/building/control_factory.h"
#include "ui/building/dialog_builder_callback.h"
#include "ui/building/markup_host.h"
#include "ui/containers/container_interface.h"
#include "ui/controls/control_ui.h"
#include "ui/markup/element_kinds.h"
#include "ui/markup/value_formats.h"
#include "ui/resources/resource_markup.h"
#include "ui/resources/resource_tables.h"
#include "ui/resources/skin_source.h"

namespace SkinUI {

namespace {

constexpr wchar_t kExpansionCutText[] = L"The markup and its includes read too much";

bool Is(const wchar_t* name, const wchar_t* wanted) { return std::wcscmp(name, wanted) == 0; }

bool BoolAttribute(const CMarkupNode& node, const wchar_t* name) { return ParseBool(node.AttributeValue(name)); }

int IntAttribute(const CMarkupNode& node, const wchar_t* name, int fallback) {
  return node.HasAttribute(name) ? ParseInteger(node.AttributeValue(name)) : fallback;
}

// A font file of the skin, registered as a private font of the process.
void ImportFont(const std::wstring& file) {
  std::vector<uint8_t> bytes;
  if (file.empty() || !SkinSource::Get().ReadPictureBytes(file, bytes)) return;
  DWORD installed = 0;
  AddFontMemResourceEx(bytes.data(), static_cast<DWORD>(bytes.size()), nullptr, &installed);
}

}  // namespace

std::unique_ptr<CControlUI> CLayoutBuilder::Build(const std::wstring& source, const std::wstring& resType,
                                                  IDialogBuilderCallback* callback, IMarkupHost* manager,
                                                  HMODULE module) {
  return std::unique_ptr<CControlUI>(BuildTree(source, resType, callback, manager, nullptr, module));
}

CControlUI* CLayoutBuilder::Build(const std::wstring& source, const std::wstring& resType,
                                  IDialogBuilderCallback* callback, IMarkupHost* manager, CControlUI* parent,
                                  HMODULE module) {
  return BuildTree(source, resType, callback, manager, parent, module);
}

CControlUI* CLayoutBuilder::BuildTree(const std::wstring& source, const std::wstring& resType,
                                      IDialogBuilderCallback* callback, IMarkupHost* manager, CControlUI* parent,
                                      HMODULE module) {
  callback_ = callback;
  resType_ = resType;
  module_ = module ? module : SkinSource::Get().Instance();
  if (!Load(source)) return nullptr;
  if (!budget_->Take(markup_.TextLength(), markup_.ElementCount())) {
    DebugLine(L"CLayoutBuilder: %ls and what it includes read more than %u elements or %u characters; "
              L"the rest is left out\r\n",
              source.substr(0, 200).c_str(), static_cast<unsigned>(ExpansionBudget::kMostElements),
              static_cast<unsigned>(ExpansionBudget::kMostCharacters));
    markup_.SetError(kExpansionCutText);
    return nullptr;
  }
  const CMarkupNode root = markup_.Root();
  if (manager) {
    RegisterResources(root, manager);
    if (Is(root.Name(), L"Window") && manager->Window()) {
      for (int i = 0; i < root.AttributeCount(); ++i) {
        manager->ApplyWindowAttribute(root.AttributeName(i), root.AttributeValue(i));
      }
    }
  }
  return Walk(root, parent, manager, 0);
}

bool CLayoutBuilder::Load(const std::wstring& source) {
  if (!source.empty() && source[0] == L'<') return markup_.ParseText(source);
  if (resType_.empty()) {
    return markup_.ReadSkinFile(ResourceTables::Get().MarkupFile(source).c_str(), CMarkup::kEncodingUtf8);
  }
  const HRSRC info = FindResourceW(module_, MAKEINTRESOURCEW(ParseInteger(source)), resType_.c_str());
  const HGLOBAL loaded = info ? LoadResource(module_, info) : nullptr;
  const void* data = loaded ? LockResource(loaded) : nullptr;
  if (data == nullptr) {
    markup_.SetError(L"Could not find resource");
    return false;
  }
  return markup_.ParseBytes(static_cast<const unsigned char*>(data), SizeofResource(module_, info),
                            CMarkup::kEncodingUtf8);
}

void CLayoutBuilder::RegisterResources(CMarkupNode root, IMarkupHost* manager) {
  for (CMarkupNode node = root.FirstChild(); node.IsValid(); node = node.NextSibling()) {
    const wchar_t* name = node.Name();
    const bool shared = BoolAttribute(node, L"shared");
    if (Is(name, L"Image")) {
      manager->CacheImage(node.AttributeValue(L"name"), node.AttributeValue(L"restype"),
                          ParseColour(node.AttributeValue(L"mask")), false, shared);
    } else if (Is(name, L"Font")) {
      const int id = IntAttribute(node, L"id", -1);
      const std::wstring face = node.AttributeValue(L"name");
      const int size = IntAttribute(node, L"size", 12);
      const bool bold = BoolAttribute(node, L"bold");
      const bool underline = BoolAttribute(node, L"underline");
      const bool italic = BoolAttribute(node, L"italic");
      if (id >= 0) manager->DefineFont(id, face, size, bold, underline, italic, shared);
      if (BoolAttribute(node, L"default")) manager->DefineDefaultFont(face, size, bold, underline, italic, shared);
    } else if (Is(name, L"Default")) {
      manager->AddDefaultAttributeList(node.AttributeValue(L"name"), node.AttributeValue(L"value"), shared);
    } else if (Is(name, L"Style")) {
      manager->AddStyle(node.AttributeValue(L"name"), node.AttributeValue(L"value"), shared);
    } else if (Is(name, L"Import")) {
      ImportFont(node.AttributeValue(L"fontfile"));
    } else if (Is(name, L"Resource")) {
      LoadResourceFile(node.AttributeValue(L"source"));
    }
  }
}

void CLayoutBuilder::LoadResourceFile(const std::wstring& source) {
  CMarkup resources;
  if (resources.ReadSkinFile(source.c_str(), CMarkup::kEncodingUtf8)) {
    LoadResourceMarkup(resources.Root(), ResourceTables::Get());
  } else {
    DebugLine(L"CLayoutBuilder: the resource markup %ls was not read: %ls\r\n", source.substr(0, 200).c_str(),
              resources.LastError().c_str());
  }
}

CControlUI* CLayoutBuilder::CreateControl(const wchar_t* elementName) const {
  if (CControlUI* control = CControlFactory::Get().CreateControl(std::wstring(L"C") + elementName + L"UI")) {
    return control;
  }
  for (PluginCreator plugin : CControlFactory::Get().Plugins()) {
    if (CControlUI* control = plugin(elementName)) return control;
  }
  return callback_ ? callback_->CreateCustomControl(elementName) : nullptr;
}

void CLayoutBuilder::BuildInclude(CMarkupNode node, CControlUI* parent, IMarkupHost* manager) {
  if (includeDepth_ >= kMaxIncludeDepth) return;
  const int count = std::min(IntAttribute(node, L"count", 1), kMaxIncludeCount);
  const std::wstring source = node.AttributeValue(L"source");
  for (int i = 0; i < count; ++i) {
    if (budget_->Cut()) return;
    CLayoutBuilder included;
    included.includeDepth_ = includeDepth_ + 1;
    included.budget_ = budget_;
    if (parent) included.Build(source, resType_, callback_, manager, parent, module_);
    else included.Build(source, resType_, callback_, manager, module_);  // only the first is kept, and dropped
  }
}

CControlUI* CLayoutBuilder::Walk(CMarkupNode parentNode, CControlUI* parent, IMarkupHost* manager, int depth) {
  if (depth >= kMaxElementDepth) return nullptr;
  CControlUI* first = nullptr;
  for (CMarkupNode node = parentNode.FirstChild(); node.IsValid(); node = node.NextSibling()) {
    const wchar_t* name = node.Name();
    if (IsResourceElement(name)) continue;
    if (IsIncludeElement(name)) {
      BuildInclude(node, parent, manager);
      continue;
    }
    std::unique_ptr<CControlUI> created(CreateControl(name));
    if (created == nullptr) continue;
    CControlUI* control = created.get();
    if (node.HasChildren()) Walk(node, control, manager, depth + 1);
    if (parent) {
      auto* container = static_cast<IContainerUI*>(parent->QueryInterfaceUI(kContainerInterfaceName));
      if (container == nullptr) return first;
      if (!container->AddItem(control)) continue;
      created.release();  // the container's now
    }
    if (manager) {
      control->AttachManager(manager, parent, false);
      if (const std::wstring* defaults = manager->DefaultAttributeList(name)) control->ApplyAttributeList(*defaults);
      for (int i = 0; i < node.AttributeCount(); ++i) control->ApplyAttribute(node.AttributeName(i), node.AttributeValue(i));
      control->AttachManager(nullptr, parent, false);
    }
    // Only the first control of a parentless level is kept.
    if (first == nullptr) first = parent ? control : created.release();
  }
  return first;
}

}  // namespace SkinUI
