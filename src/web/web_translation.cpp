#include "web/web_translation.h"

#include <algorithm>
#include <map>
#include <nlohmann/json.hpp>
#include <optional>
#include <unordered_map>
#include <vector>

namespace qm::web {

namespace {

constexpr int kMaxDepth = 4;
constexpr int kCountPlace = -1;

struct Template {
  std::string context;
  std::string source;
  std::vector<std::string> literals;  // one more than places
  std::vector<int> places;            // 0 for %1 ... 8 for %9, kCountPlace for %n
  size_t literalLength = 0;
};

bool IsShared(std::string_view context) {
  return !context.starts_with("qm::ui::") && !context.starts_with("Qt") &&
         !context.starts_with("qm::print");
}

// Ideographs, CJK punctuation and full-width forms, as the desktop counts Chinese.
bool HasChinese(std::string_view s) {
  for (size_t i = 0; i + 2 < s.size(); ++i) {
    const auto b = static_cast<unsigned char>(s[i]);
    if (b < 0xE0 || b >= 0xF0) continue;
    const uint32_t c = (b & 0x0Fu) << 12 | (static_cast<unsigned char>(s[i + 1]) & 0x3Fu) << 6 |
                       (static_cast<unsigned char>(s[i + 2]) & 0x3Fu);
    if ((c >= 0x4E00 && c <= 0x9FFF) || (c >= 0x3000 && c <= 0x303F) ||
        (c >= 0xFF00 && c <= 0xFFEF))
      return true;
  }
  return false;
}

bool CharStart(std::string_view s, size_t at) {
  return at >= s.size() || (static_cast<unsigned char>(s[at]) & 0xC0) != 0x80;
}

class State {
 public:
  bool english = false;

  bool load(std::string_view json) {
    const nlohmann::json all = nlohmann::json::parse(json, nullptr, false);
    if (!all.is_array()) return false;
    forms_.clear();
    contextOf_.clear();
    templates_.clear();
    cache_.clear();
    for (const auto& e : all) {
      if (!e.is_array() || e.size() != 3 || !e[0].is_string() || !e[1].is_string() ||
          !e[2].is_array())
        return false;
      const std::string context = e[0], source = e[1];
      std::vector<std::string> forms;
      for (const auto& f : e[2])
        if (f.is_string()) forms.push_back(f);
      if (forms.empty()) continue;
      forms_[{context, source}] = forms;
      // The shared wording wins; a widget's or the report's own is the fallback.
      auto it = contextOf_.find(source);
      if (it == contextOf_.end())
        contextOf_.emplace(source, context);
      else if (!IsShared(it->second) && IsShared(context))
        it->second = context;
      addTemplate(context, source);
    }
    std::stable_sort(
        templates_.begin(), templates_.end(),
        [](const Template& a, const Template& b) { return a.literalLength > b.literalLength; });
    return true;
  }

  std::optional<std::string> inContext(const std::string& text, const std::string& context,
                                       int count = -1) const {
    auto it = forms_.find({context, text});
    if (it == forms_.end()) return std::nullopt;
    std::string out = it->second[count == 1 || it->second.size() < 2 ? 0 : 1];
    if (count >= 0) {
      for (size_t at; (at = out.find("%n")) != std::string::npos;)
        out.replace(at, 2, std::to_string(count));
    }
    return out;
  }

  std::string translate(const std::string& text, int depth) {
    if (!HasChinese(text)) return text;
    if (auto hit = cache_.find(text); hit != cache_.end()) return hit->second;
    std::string out = translateUncached(text, depth);
    cache_[text] = out;
    return out;
  }

 private:
  void addTemplate(const std::string& context, const std::string& s) {
    Template t{context, s, {}, {}, 0};
    std::string literal;
    for (size_t i = 0; i < s.size(); ++i) {
      const bool numbered = i + 1 < s.size() && s[i + 1] >= '1' && s[i + 1] <= '9';
      const bool count = i + 1 < s.size() && s[i + 1] == 'n';
      if (s[i] == '%' && (numbered || count)) {
        t.literals.push_back(literal);
        literal.clear();
        t.places.push_back(count ? kCountPlace : s[i + 1] - '1');
        ++i;
      } else {
        literal += s[i];
      }
    }
    t.literals.push_back(literal);
    if (t.places.empty()) return;
    for (const auto& l : t.literals) t.literalLength += l.size();
    // A template of places only would split every text; it is no use for matching.
    if (t.literalLength > 0) templates_.push_back(std::move(t));
  }

  std::string translateUncached(const std::string& text, int depth) {
    if (auto it = contextOf_.find(text); it != contextOf_.end()) {
      if (auto t = inContext(text, it->second)) return *t;
    }
    if (text.find('\n') != std::string::npos) {
      std::string out;
      size_t from = 0;
      for (;;) {
        const size_t end = text.find('\n', from);
        out += translate(text.substr(from, end - from), depth);
        if (end == std::string::npos) break;
        out += '\n';
        from = end + 1;
      }
      return out;
    }
    const size_t lead = text.find_first_not_of(" \t\r");
    const size_t last = text.find_last_not_of(" \t\r");
    if (lead != std::string::npos && (lead > 0 || last + 1 < text.size())) {
      return text.substr(0, lead) + translate(text.substr(lead, last + 1 - lead), depth) +
             text.substr(last + 1);
    }
    if (depth < kMaxDepth) {
      for (const Template& t : templates_) {
        if (auto filled = match(t, text, depth)) return *filled;
      }
    }
    return text;
  }

  std::optional<std::string> match(const Template& t, const std::string& text, int depth) {
    if (!text.starts_with(t.literals.front()) || !text.ends_with(t.literals.back())) return {};
    size_t from = 0;
    for (const auto& l : t.literals) {
      const size_t at = text.find(l, from);
      if (at == std::string::npos) return {};
      from = at + l.size();
    }
    std::optional<std::vector<std::string>> clean, fallback;
    std::vector<std::string> args;
    split(t, text, 1, t.literals.front().size(), args, depth, clean, fallback);
    const auto& chosen = clean ? clean : fallback;
    if (!chosen) return {};
    // A counting text picks its form by the count (the translation puts the count in).
    int count = -1;
    if (const auto c = std::find(t.places.begin(), t.places.end(), kCountPlace);
        c != t.places.end()) {
      const std::string& n = (*chosen)[static_cast<size_t>(c - t.places.begin())];
      if (n.empty() || n.size() > 9 || n.find_first_not_of("0123456789") != std::string::npos)
        return {};
      count = std::stoi(n);
    }
    const auto out = inContext(t.source, t.context, count);
    if (!out) return {};
    std::string filled;
    for (size_t i = 0; i < out->size(); ++i) {
      const char c = (*out)[i];
      if (c == '%' && i + 1 < out->size() && (*out)[i + 1] >= '1' && (*out)[i + 1] <= '9') {
        const int k = (*out)[i + 1] - '1';
        const auto slot = std::find(t.places.begin(), t.places.end(), k);
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

  // Tries every way of cutting text[pos..] into the places from `literal` on.
  void split(const Template& t, const std::string& text, size_t literal, size_t pos,
             std::vector<std::string>& args, int depth,
             std::optional<std::vector<std::string>>& clean,
             std::optional<std::vector<std::string>>& fallback) {
    if (clean) return;
    if (literal == t.literals.size()) {
      if (pos != text.size()) return;
      std::vector<std::string> translated;
      bool allClean = true;
      for (const auto& a : args) {
        translated.push_back(translate(a, depth + 1));
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

  std::map<std::pair<std::string, std::string>, std::vector<std::string>> forms_;
  std::unordered_map<std::string, std::string> contextOf_;
  std::vector<Template> templates_;
  std::unordered_map<std::string, std::string> cache_;
};

State& S() {
  static State state;
  return state;
}

}  // namespace

bool LoadTranslations(std::string_view json) { return S().load(json); }
void SetEnglish(bool english) { S().english = english; }
bool English() { return S().english; }

std::string Tr(std::string_view text, std::string_view context) {
  State& s = S();
  if (!s.english) return std::string(text);
  const std::string t(text);
  if (!context.empty()) {
    if (auto own = s.inContext(t, std::string(context))) return *own;
  }
  return s.translate(t, 0);
}

}  // namespace qm::web
