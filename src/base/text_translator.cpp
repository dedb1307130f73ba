#include "base/text_translator.h"

#include <algorithm>
#include <climits>

#include "base/text_util.h"

namespace qm {

namespace {

// The place of a counting text's count ("%n").
constexpr int kCountPlace = -1;

unsigned char Byte(std::string_view s, size_t at) { return static_cast<unsigned char>(s[at]); }

bool CharStart(std::string_view s, size_t at) {
  return at >= s.size() || (Byte(s, at) & 0xC0) != 0x80;
}

// The code point of the sequence starting at `at` (one, two or three bytes: the characters
// that matter here are all in the Basic Multilingual Plane); 0 for anything else.
char32_t CodePointAt(std::string_view s, size_t at) {
  const unsigned char b = Byte(s, at);
  if (b < 0x80) return b;
  if (b >= 0xC0 && b < 0xE0 && at + 1 < s.size())
    return (b & 0x1Fu) << 6 | (Byte(s, at + 1) & 0x3Fu);
  if (b >= 0xE0 && b < 0xF0 && at + 2 < s.size())
    return (b & 0x0Fu) << 12 | (Byte(s, at + 1) & 0x3Fu) << 6 | (Byte(s, at + 2) & 0x3Fu);
  return 0;
}

// Unicode's white space as the window's strings count it: the controls \t..\r and U+0085,
// and the space, line and paragraph separators (the ideographic space among them).
bool IsSpace(char32_t c) {
  return (c >= 0x09 && c <= 0x0D) || c == 0x20 || c == 0x85 || c == 0xA0 || c == 0x1680 ||
         (c >= 0x2000 && c <= 0x200A) || c == 0x2028 || c == 0x2029 || c == 0x202F || c == 0x205F ||
         c == 0x3000;
}

// A count as Fill writes it: decimal digits that fit an int.
std::optional<int> ParseCount(std::string_view s) {
  if (s.empty() || s.size() > 10) return std::nullopt;
  long long n = 0;
  for (const char c : s) {
    if (c < '0' || c > '9') return std::nullopt;
    n = n * 10 + (c - '0');
  }
  if (n > INT_MAX) return std::nullopt;
  return static_cast<int>(n);
}

}  // namespace

bool IsSharedContext(std::string_view context) {
  return !context.starts_with("qm::ui::") && !context.starts_with("Qt") &&
         !context.starts_with("qm::print");
}

bool HasChinese(std::string_view s) {
  for (size_t i = 0; i < s.size(); ++i) {
    if (Byte(s, i) < 0xE0 || Byte(s, i) >= 0xF0) continue;
    const char32_t c = CodePointAt(s, i);
    if ((c >= 0x4E00 && c <= 0x9FFF) || (c >= 0x3000 && c <= 0x303F) ||
        (c >= 0xFF00 && c <= 0xFFEF))
      return true;
  }
  return false;
}

void TextTranslator::reset(const std::vector<MarkedText>& texts, TranslationLookup lookup) {
  lookup_ = std::move(lookup);
  contextOf_.clear();
  templates_.clear();
  for (auto& c : cache_) c.clear();
  for (const MarkedText& e : texts) {
    // The shared wording wins; a widget's or the report's own is the fallback.
    const std::string source(e.source);
    auto it = contextOf_.find(source);
    if (it == contextOf_.end())
      contextOf_.emplace(source, e.context);
    else if (!IsSharedContext(it->second) && IsSharedContext(e.context))
      it->second = e.context;

    Template t{std::string(e.context), source, {}, {}, 0};
    std::string literal;
    for (size_t i = 0; i < source.size(); ++i) {
      const char next = i + 1 < source.size() ? source[i + 1] : '\0';
      if (source[i] == '%' && ((next >= '1' && next <= '9') || next == 'n')) {
        t.literals.push_back(literal);
        literal.clear();
        t.places.push_back(next == 'n' ? kCountPlace : next - '1');
        ++i;
      } else {
        literal += source[i];
      }
    }
    t.literals.push_back(literal);
    if (t.places.empty()) continue;
    for (const auto& l : t.literals) t.literalLength += Utf8ToUtf16(l).size();
    // A template of places only would split every text; it is no use for matching.
    if (t.literalLength > 0) templates_.push_back(std::move(t));
  }
  // The most specific templates first.
  std::stable_sort(templates_.begin(), templates_.end(), [](const Template& a, const Template& b) {
    return a.literalLength > b.literalLength;
  });
}

std::string TextTranslator::translate(std::string_view text, std::string_view context) {
  const std::string t(text);
  if (!context.empty() && lookup_) {
    if (auto own = lookup_(context, t, -1)) return *own;
  }
  return translateAt(t, 0);
}

std::string TextTranslator::translateAt(const std::string& text, int depth) {
  if (!lookup_ || !HasChinese(text)) return text;
  auto& cache = cache_[static_cast<size_t>(depth)];
  if (auto hit = cache.find(text); hit != cache.end()) return hit->second;
  std::string out = translateUncached(text, depth);
  cache[text] = out;
  return out;
}

std::string TextTranslator::translateUncached(const std::string& text, int depth) {
  if (auto it = contextOf_.find(text); it != contextOf_.end()) {
    if (auto t = lookup_(it->second, text, -1)) return *t;
  }
  if (text.find('\n') != std::string::npos) {
    std::string out;
    for (size_t from = 0;;) {
      const size_t end = text.find('\n', from);
      out += translateAt(text.substr(from, end - from), depth);
      if (end == std::string::npos) break;
      out += '\n';
      from = end + 1;
    }
    return out;
  }
  // The text between its leading and trailing white space.
  size_t lead = std::string::npos, last = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (!CharStart(text, i) || IsSpace(CodePointAt(text, i))) continue;
    if (lead == std::string::npos) lead = i;
    last = i + 1;
    while (!CharStart(text, last)) ++last;
  }
  if (lead != std::string::npos && (lead > 0 || last < text.size()))
    return text.substr(0, lead) + translateAt(text.substr(lead, last - lead), depth) +
           text.substr(last);
  if (depth < kMaxDepth) {
    for (const Template& t : templates_) {
      if (auto filled = match(t, text, depth)) return *filled;
    }
  }
  return text;
}

// The text as an instance of template t, with its places translated: the first split whose
// places all translate clear of Chinese, else the first split at all.
std::optional<std::string> TextTranslator::match(const Template& t, const std::string& text,
                                                 int depth) {
  if (!text.starts_with(t.literals.front()) || !text.ends_with(t.literals.back())) return {};
  size_t from = 0;
  for (const auto& l : t.literals) {
    const size_t at = text.find(l, from);
    if (at == std::string::npos) return {};
    from = at + l.size();
  }
  std::optional<Args> clean, fallback;
  Args args;
  split(t, text, 1, t.literals.front().size(), args, depth, clean, fallback);
  const std::optional<Args>& chosen = clean ? clean : fallback;
  if (!chosen) return {};
  // A counting text picks its form by the count (the translation puts the count in).
  int count = -1;
  if (const auto c = std::find(t.places.begin(), t.places.end(), kCountPlace);
      c != t.places.end()) {
    const auto n = ParseCount((*chosen)[static_cast<size_t>(c - t.places.begin())]);
    if (!n) return {};
    count = *n;
  }
  const auto out = lookup_(t.context, t.source, count);
  if (!out) return {};
  std::string filled;
  for (size_t i = 0; i < out->size(); ++i) {
    const char c = (*out)[i];
    if (c == '%' && i + 1 < out->size() && (*out)[i + 1] >= '1' && (*out)[i + 1] <= '9') {
      const auto slot = std::find(t.places.begin(), t.places.end(), (*out)[i + 1] - '1');
      if (slot != t.places.end()) {
        filled += (*chosen)[static_cast<size_t>(slot - t.places.begin())];
        ++i;
        continue;
      }
    }
    filled += c;
  }
  return filled;
}

// Tries every way of cutting text[pos..] into the places from `literal` on, at character
// boundaries.
void TextTranslator::split(const Template& t, const std::string& text, size_t literal, size_t pos,
                           Args& args, int depth, std::optional<Args>& clean,
                           std::optional<Args>& fallback) {
  if (clean) return;
  if (literal == t.literals.size()) {
    if (pos != text.size()) return;
    Args translated;
    bool allClean = true;
    for (const auto& a : args) {
      translated.push_back(translateAt(a, depth + 1));
      allClean = allClean && !HasChinese(translated.back());
    }
    if (allClean)
      clean = translated;
    else if (!fallback)
      fallback = translated;
    return;
  }
  const std::string& next = t.literals[literal];
  const bool last = literal + 1 == t.literals.size();
  for (size_t end = pos + 1; end <= text.size(); ++end) {
    if (!CharStart(text, end)) continue;
    if (last && end + next.size() != text.size()) continue;
    if (!last && text.compare(end, next.size(), next) != 0) continue;
    args.push_back(text.substr(pos, end - pos));
    split(t, text, literal + 1, end + next.size(), args, depth, clean, fallback);
    args.pop_back();
    if (clean) return;
  }
}

}  // namespace qm
