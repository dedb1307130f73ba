// A scripted Prompter for tests: records every message box and version warning, and
// answers questions from a queue. Header-only so that every test program can use it.
#pragma once

#include <deque>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "base/prompter.h"

namespace qm::test {

// A message box's title, text, icon and buttons, compared as one value.
inline auto Box(const Message& m) { return std::tuple(m.title, m.text, m.icon, m.buttons); }

class FakePrompter : public Prompter {
 public:
  // Queues the answers of the next questions, in order.
  FakePrompter& answer(Answer a) {
    answers_.push_back(a);
    return *this;
  }

  Answer ask(const Message& message) override {
    messages.push_back(message);
    if (!answers_.empty()) {
      Answer a = answers_.front();
      answers_.pop_front();
      return a;
    }
    // A notice needs no script; a question that nobody scripted is cancelled (or answered No
    // where there is no Cancel), the safe answer everywhere.
    switch (message.buttons) {
      case Buttons::YesNo:
        return Answer::No;
      case Buttons::YesNoCancel:
        return Answer::Cancel;
      default:
        return Answer::Ok;
    }
  }

  WarningAnswer warn(int selIndex, const std::string& text) override {
    warnings.emplace_back(selIndex, text);
    return WarningAnswer{true, false};
  }

  // The texts of the recorded messages, in order.
  std::vector<std::string> texts() const {
    std::vector<std::string> out;
    for (const Message& m : messages) out.push_back(m.text);
    return out;
  }
  void clear() {
    messages.clear();
    warnings.clear();
  }

  std::vector<Message> messages;
  std::vector<std::pair<int, std::string>> warnings;

 private:
  std::deque<Answer> answers_;
};

}  // namespace qm::test
