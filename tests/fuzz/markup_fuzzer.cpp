// The markup reader on arbitrary text; a parsed document is walked whole.
#include <cwchar>

#include "tests/fuzz/fuzz_input.h"
#include "ui/markup/markup.h"
#include "ui/markup/markup_walk.h"

namespace {

size_t Walk(SkinUI::CMarkupNode root) {
  size_t seen = 0;
  SkinUI::ForEachElement(root, [&seen](SkinUI::CMarkupNode node, int) {
    seen += std::wcslen(node.Name()) + std::wcslen(node.Text());
    for (int i = 0; i < node.AttributeCount(); ++i) {
      seen += std::wcslen(node.AttributeName(i)) + std::wcslen(node.AttributeValue(node.AttributeName(i)));
    }
    return true;
  });
  return seen;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  SkinUI::CMarkup markup;
  markup.SetPreserveWhitespace(size > 0 && (data[0] & 2) != 0);
  if (markup.ParseText(FuzzText(data, size))) {
    Walk(markup.Root());
  } else if (markup.LastError().empty()) {
    __builtin_trap();  // a failure always says why
  }
  return 0;
}
