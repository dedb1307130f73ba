// Showing the core's Chinese texts in another language.
//
// A translation file holds whole marked texts (base/tr.h), but the core shows texts it has
// composed: a template filled with Fill, several texts joined line by line, a text padded
// with spaces. TextTranslator finds the marked texts in what is shown: the exact text in its
// context, a text of several lines line by line, a text between spaces without them, and a
// text composed from a marked template with its places translated in turn (to a limited
// depth, the templates with the most literal text first). The window, the command line and
// the page each feed it their own translation file through a TranslationLookup.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace qm {

// The translation of `source` in `context`, or nullopt when the file has none. With `count`
// 0 or more the text counts something ("%n"): the lookup picks the form for that count and
// puts the count in; -1 for a text that does not count.
using TranslationLookup = std::function<std::optional<std::string>(
    std::string_view context, std::string_view source, int count)>;

// A marked text as the translation file lists it.
struct MarkedText {
  std::string_view context;
  std::string_view source;
};

class TextTranslator {
 public:
  // The file's texts in its order, and how to look one up. Forgets earlier results.
  void reset(const std::vector<MarkedText>& texts, TranslationLookup lookup);
  // `text` translated; what has no translation is returned as it is. A non-empty `context`
  // prefers that context's own wording, which may also word a text without Chinese (a
  // report's heading).
  std::string translate(std::string_view text, std::string_view context = {});

 private:
  struct Template {
    std::string context;
    std::string source;
    std::vector<std::string> literals;  // one more than places
    std::vector<int> places;            // 0 for %1 ... 8 for %9, kCountPlace for %n
    size_t literalLength = 0;           // in UTF-16 units
  };
  using Args = std::vector<std::string>;

  std::string translateAt(const std::string& text, int depth);
  std::string translateUncached(const std::string& text, int depth);
  std::optional<std::string> match(const Template& t, const std::string& text, int depth);
  void split(const Template& t, const std::string& text, size_t literal, size_t pos, Args& args,
             int depth, std::optional<Args>& clean, std::optional<Args>& fallback);

  static constexpr int kMaxDepth = 4;
  TranslationLookup lookup_;
  std::unordered_map<std::string, std::string> contextOf_;  // source -> context preferred
  std::vector<Template> templates_;
  // Results by the depth they were found at: deeper, fewer templates are tried, so a text
  // met first as a deep place must not fix what it shows on its own.
  std::unordered_map<std::string, std::string> cache_[kMaxDepth + 1];
};

// Whether a translation context holds the core's shared wording, which must be the same for
// one text everywhere: not a widget class's own (qm::ui::..., Q...) nor the printed report's.
bool IsSharedContext(std::string_view context);

// Whether UTF-8 text holds Chinese characters (ideographs, CJK punctuation, full-width forms).
bool HasChinese(std::string_view utf8);

}  // namespace qm
