// A small parser for a verb's arguments: positional words and --options with values.
#pragma once

#include <optional>
#include <set>
#include <string>
#include <vector>

namespace qm::cli {

class Args {
 public:
  // `valueOptions` take a value ("--port 3" or "--port=3"); `flags` take none.
  Args(const std::vector<std::string>& args, std::set<std::string> valueOptions,
       std::set<std::string> flags);

  bool ok() const { return error_.empty(); }
  const std::string& error() const { return error_; }

  const std::vector<std::string>& positional() const { return positional_; }
  bool flag(const std::string& name) const { return flags_.count(name) != 0; }
  std::optional<std::string> value(const std::string& name) const;
  // The value as an integer within [lo, hi]; sets an error when it is not.
  std::optional<int> intValue(const std::string& name, int lo, int hi);
  // The first option or flag given more than once (value() takes the last of them).
  std::optional<std::string> repeated() const { return repeated_; }

 private:
  std::vector<std::string> positional_;
  std::set<std::string> flags_;
  std::vector<std::pair<std::string, std::string>> values_;
  std::string error_;
  std::optional<std::string> repeated_;
};

}  // namespace qm::cli
