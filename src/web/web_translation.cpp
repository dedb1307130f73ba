#include "web/web_translation.h"

#include <map>
#include <nlohmann/json.hpp>
#include <optional>
#include <vector>

#include "base/text_translator.h"

namespace qm::web {

namespace {

class State {
 public:
  bool english = false;

  bool load(std::string_view json) {
    const nlohmann::json all = nlohmann::json::parse(json, nullptr, false);
    if (!all.is_array()) return false;
    std::map<std::pair<std::string, std::string>, std::vector<std::string>> forms;
    std::vector<std::pair<std::string, std::string>> order;
    for (const auto& e : all) {
      if (!e.is_array() || e.size() != 3 || !e[0].is_string() || !e[1].is_string() ||
          !e[2].is_array())
        return false;
      std::vector<std::string> f;
      for (const auto& form : e[2])
        if (form.is_string()) f.push_back(form);
      if (f.empty()) continue;
      const std::pair<std::string, std::string> key{e[0], e[1]};
      forms[key] = std::move(f);
      order.push_back(key);
    }
    forms_ = std::move(forms);
    order_ = std::move(order);
    std::vector<MarkedText> texts;
    for (const auto& [context, source] : order_) texts.push_back({context, source});
    texts_.reset(texts, [this](std::string_view context, std::string_view source, int count) {
      return lookup(context, source, count);
    });
    return true;
  }

  std::string tr(std::string_view text, std::string_view context) {
    return texts_.translate(text, context);
  }

 private:
  // English's forms: the first for one, the second for any other count.
  std::optional<std::string> lookup(std::string_view context, std::string_view source,
                                    int count) const {
    auto it = forms_.find({std::string(context), std::string(source)});
    if (it == forms_.end()) return std::nullopt;
    std::string out = it->second[count == 1 || it->second.size() < 2 ? 0 : 1];
    if (count >= 0) {
      for (size_t at; (at = out.find("%n")) != std::string::npos;)
        out.replace(at, 2, std::to_string(count));
    }
    return out;
  }

  std::map<std::pair<std::string, std::string>, std::vector<std::string>> forms_;
  std::vector<std::pair<std::string, std::string>> order_;  // the file's, for the templates
  TextTranslator texts_;
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
  return s.tr(text, context);
}

}  // namespace qm::web
