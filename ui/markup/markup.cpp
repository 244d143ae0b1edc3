#include "ui/markup/markup.h"

#include <algorithm>
#include <utility>

namespace SkinUI {

namespace {

constexpr wchar_t kExpectedStartTag[] = L"Expected start tag";
constexpr wchar_t kBadElementName[] = L"Error parsing element name";
constexpr wchar_t kBadAttributes[] = L"Error while parsing attributes";
constexpr wchar_t kExpectedValue[] = L"Expected attribute value";
constexpr wchar_t kBadAttributeString[] = L"Error while parsing attribute string";
constexpr wchar_t kExpectedTagClose[] = L"Expected start-tag closing";
constexpr wchar_t kUnmatchedClose[] = L"Unmatched closing tag";
constexpr wchar_t kExpectedEndTag[] = L"Expected end-tag start";

bool IsWhitespace(wchar_t c) { return c <= 32; }

bool IsNameChar(wchar_t c) {
  return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') || (c >= L'0' && c <= L'9') || c == L'_' || c == L':';
}

struct Entity {
  std::wstring_view text;
  wchar_t character;
};
constexpr Entity kEntities[] = {
    {L"&amp;", L'&'}, {L"&lt;", L'<'}, {L"&gt;", L'>'}, {L"&quot;", L'"'}, {L"&apos;", L'\''},
};

}  // namespace

// Walks the text once, without recursion, so that deep nesting cannot
// exhaust the stack.
class MarkupParser {
 public:
  MarkupParser(CMarkup& markup, std::wstring_view text) : m_(markup), text_(text) {}

  bool Run() {
    std::vector<int> open;      // elements whose end tag is still to come
    std::vector<int> lastChild;  // last child of each open element; the last root at [0]
    lastChild.push_back(-1);
    while (true) {
      if (open.empty()) {
        SkipWhitespace();
        if (AtEnd()) return true;
        if (text_[pos_] != L'<') return Fail(kExpectedStartTag);
      } else {
        const size_t start = pos_;
        while (!AtEnd() && text_[pos_] != L'<') ++pos_;
        if (AtEnd()) return Fail(kExpectedEndTag);
        CMarkup::Element& element = m_.elements_[open.back()];
        if (lastChild.back() < 0 && m_.strings_[element.text] == L'\0' && pos_ > start) {
          element.text = Decode(start, pos_);
        }
      }
      // At a "<".
      if (Peek(1) == L'!' || Peek(1) == L'?') {
        SkipBlock(Peek(1) == L'!' ? L'-' : L'?');
        continue;
      }
      if (Peek(1) == L'/' && !open.empty()) {
        if (!CloseElement(open.back())) return false;
        open.pop_back();
        lastChild.pop_back();
        continue;
      }
      ++pos_;
      const int index = static_cast<int>(m_.elements_.size());
      if (!OpenElement(open.empty() ? -1 : open.back(), lastChild.back())) return false;
      lastChild.back() = index;
      if (text_.substr(pos_, 2) == L"/>") {
        pos_ += 2;
      } else if (!AtEnd() && text_[pos_] == L'>') {
        ++pos_;
        open.push_back(index);
        lastChild.push_back(-1);
      } else {
        return Fail(kExpectedTagClose);
      }
    }
  }

 private:
  bool AtEnd() const { return pos_ >= text_.size(); }
  wchar_t Peek(size_t ahead) const { return pos_ + ahead < text_.size() ? text_[pos_ + ahead] : L'\0'; }
  void SkipWhitespace() {
    while (!AtEnd() && IsWhitespace(text_[pos_])) ++pos_;
  }

  // "<!" blocks end at the first "->", "<?" blocks at the first "?>"; an
  // unterminated block runs to the end of the text.
  void SkipBlock(wchar_t closing) {
    const wchar_t end[] = {closing, L'>', L'\0'};
    const size_t found = text_.find(end, pos_ + 2);
    pos_ = found == std::wstring_view::npos ? text_.size() : found + 2;
  }

  bool Fail(const wchar_t* message) {
    m_.SetError(message, std::wstring(text_.substr(std::min(pos_, text_.size()))));
    return false;
  }

  size_t Store(std::wstring_view run) {
    const size_t offset = m_.strings_.size();
    m_.strings_.append(run);
    m_.strings_.push_back(L'\0');
    return offset;
  }

  // Decodes the five entities and, unless whitespace is preserved, drops the
  // whitespace that follows a space character.
  size_t Decode(size_t start, size_t end) {
    const size_t offset = m_.strings_.size();
    size_t at = start;
    while (at < end) {
      const wchar_t c = text_[at];
      if (c == L'&') {
        bool decoded = false;
        for (const Entity& entity : kEntities) {
          if (text_.substr(at, entity.text.size()) == entity.text && at + entity.text.size() <= end) {
            m_.strings_.push_back(entity.character);
            at += entity.text.size();
            decoded = true;
            break;
          }
        }
        if (decoded) continue;
      }
      m_.strings_.push_back(c);
      ++at;
      if (c == L' ' && !m_.preserveWhitespace_) {
        while (at < end && IsWhitespace(text_[at])) ++at;
      }
    }
    m_.strings_.push_back(L'\0');
    return offset;
  }

  std::wstring_view ReadName() {
    const size_t start = pos_;
    while (!AtEnd() && IsNameChar(text_[pos_])) ++pos_;
    return text_.substr(start, pos_ - start);
  }

  bool OpenElement(int parent, int previousSibling) {
    const size_t source = pos_ - 1;
    const std::wstring_view name = ReadName();
    if (name.empty()) return Fail(kBadElementName);
    CMarkup::Element element;
    element.source = source;
    element.name = Store(name);
    element.text = Store({});
    element.parent = parent;
    element.firstAttribute = m_.attributes_.size();
    const int index = static_cast<int>(m_.elements_.size());
    m_.elements_.push_back(element);
    if (previousSibling >= 0) {
      m_.elements_[previousSibling].next = index;
    } else if (parent >= 0) {
      m_.elements_[parent].child = index;
    }
    return ReadAttributes(index);
  }

  bool ReadAttributes(int index) {
    while (true) {
      SkipWhitespace();
      if (AtEnd() || text_[pos_] == L'/' || text_[pos_] == L'>') return true;
      const size_t source = pos_;
      const std::wstring_view name = ReadName();
      SkipWhitespace();
      if (name.empty() || AtEnd() || text_[pos_] != L'=') return Fail(kBadAttributes);
      ++pos_;
      SkipWhitespace();
      if (AtEnd() || text_[pos_] != L'"') return Fail(kExpectedValue);
      const size_t start = ++pos_;
      const size_t close = text_.find(L'"', start);
      if (close == std::wstring_view::npos) return Fail(kBadAttributeString);
      pos_ = close + 1;
      CMarkup::Element& element = m_.elements_[index];
      if (element.attributeCount >= CMarkup::kMaxAttributes) continue;
      CMarkup::Attribute attribute;
      attribute.source = source;
      attribute.name = Store(name);
      attribute.value = Decode(start, close);
      m_.attributes_.push_back(attribute);
      ++element.attributeCount;
    }
  }

  bool CloseElement(int index) {
    pos_ += 2;
    const std::wstring_view name = ReadName();
    SkipWhitespace();
    if (name != m_.StringAt(m_.elements_[index].name) || AtEnd() || text_[pos_] != L'>') {
      return Fail(kUnmatchedClose);
    }
    ++pos_;
    return true;
  }

  CMarkup& m_;
  std::wstring_view text_;
  size_t pos_ = 0;
};

bool CMarkup::ParseText(std::wstring_view text) {
  Release();
  textLength_ = text.size();
  strings_.reserve(text.size() + 16);
  MarkupParser parser(*this, text);
  if (parser.Run() && !elements_.empty()) return true;
  if (lastError_.empty()) SetError(kExpectedStartTag);
  strings_.clear();
  elements_.clear();
  attributes_.clear();
  return false;
}

void CMarkup::Release() {
  strings_.clear();
  elements_.clear();
  attributes_.clear();
  lastError_.clear();
  errorLocation_.clear();
}

CMarkupNode CMarkup::Root() const { return elements_.empty() ? CMarkupNode() : CMarkupNode(this, 0); }

void CMarkup::SetError(std::wstring message, std::wstring location) {
  lastError_ = std::move(message);
  errorLocation_ = std::move(location);
}

}  // namespace SkinUI
