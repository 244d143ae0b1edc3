#include "ui/resources/resource_markup.h"

#include <string>

#include "ui/markup/value_formats.h"

namespace SkinUI {

void LoadResourceMarkup(CMarkupNode root, ResourceTables& tables) {
  for (CMarkupNode node = root.FirstChild(); node.IsValid(); node = node.NextSibling()) {
    const std::wstring name = node.Name();
    if (name == L"Image" || name == L"Color") {
      const std::wstring key = node.AttributeValue(L"key");
      if (key.empty()) continue;
      if (name == L"Image") tables.SetImage(key, node.AttributeValue(L"value"));
      else tables.SetColour(key, ParseColour(node.AttributeValue(L"value")));
    } else if (name == L"Markup") {
      const std::wstring markupName = node.AttributeValue(L"name");
      if (!markupName.empty()) tables.SetMarkupFile(markupName, node.AttributeValue(L"file"));
    }
  }
}

}  // namespace SkinUI
