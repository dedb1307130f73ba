#include "cli/args.h"

#include <charconv>

namespace qm::cli {

Args::Args(const std::vector<std::string>& args, std::set<std::string> valueOptions,
           std::set<std::string> flags) {
  std::set<std::string> seen;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a.size() > 1 && a[0] == '-' && a != "-") {
      std::string name = a;
      std::optional<std::string> inlineValue;
      if (auto eq = a.find('='); eq != std::string::npos && a.rfind("--", 0) == 0) {
        name = a.substr(0, eq);
        inlineValue = a.substr(eq + 1);
      }
      if (!seen.insert(name).second && !repeated_) repeated_ = name;
      if (valueOptions.count(name)) {
        if (inlineValue) {
          values_.emplace_back(name, *inlineValue);
        } else if (i + 1 < args.size()) {
          values_.emplace_back(name, args[++i]);
        } else {
          error_ = "option " + name + " needs a value";
          return;
        }
      } else if (flags.count(name) && !inlineValue) {
        flags_.insert(name);
      } else {
        error_ = "unknown option " + a;
        return;
      }
    } else {
      positional_.push_back(a);
    }
  }
}

std::optional<std::string> Args::value(const std::string& name) const {
  std::optional<std::string> found;
  for (const auto& [n, v] : values_)
    if (n == name) found = v;  // the last one given wins
  return found;
}

std::optional<int> Args::intValue(const std::string& name, int lo, int hi) {
  auto v = value(name);
  if (!v) return std::nullopt;
  int n = 0;
  auto [p, ec] = std::from_chars(v->data(), v->data() + v->size(), n);
  if (ec != std::errc() || p != v->data() + v->size() || n < lo || n > hi) {
    error_ = "option " + name + " needs a number from " + std::to_string(lo) + " to " +
             std::to_string(hi);
    return std::nullopt;
  }
  return n;
}

}  // namespace qm::cli
