#include "app/dialog/number_box_text.h"
#include "base/text_rules.h"

std::vector<std::wstring> NumberBoxTexts(long number, size_t boxes) {
  std::vector<std::wstring> texts(boxes);
  if (boxes == 0) return texts;
  const std::wstring digits = DecimalText(number);
  if (boxes == 1 || digits.size() > boxes) {
    // The digits that have no box of their own stay with the first.
    const size_t rest = boxes - 1;
    const size_t head = digits.size() > rest ? digits.size() - rest : 0;
    texts[0] = digits.substr(0, head);
    for (size_t i = 1; i < boxes; ++i) texts[i] = digits.substr(head + i - 1, 1);
    return texts;
  }
  const size_t first = boxes - digits.size();
  for (size_t i = 0; i < digits.size(); ++i) texts[first + i] = digits.substr(i, 1);
  return texts;
}
