// A prompter that answers every question as a person accepting it would and keeps the texts,
// so that a batch operation (an import, a paste) can report the grid's checks against the row
// they came from instead of one message box per value.
#pragma once

#include <string>
#include <vector>

#include "base/prompter.h"

namespace qm {

class CapturingPrompter : public Prompter {
 public:
  std::vector<std::string> texts;
  Answer ask(const Message& m) override {
    texts.push_back(m.text);
    return Answer::Ok;
  }
  WarningAnswer warn(int, const std::string& text) override {
    texts.push_back(text);
    return WarningAnswer{true, false};
  }
};

}  // namespace qm
