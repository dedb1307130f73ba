// A Prompter for tests: records every message box and warning, answers questions from a
// script (or with a default).
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "base/prompter.h"
#include "radio/progress.h"

namespace qm::test {

class ScriptedPrompter : public Prompter {
 public:
  struct Warning {
    int selIndex = 0;
    std::string text;
  };

  std::vector<Message> messages;
  std::vector<Warning> warnings;
  std::deque<Answer> answers;  // for questions (YesNo / YesNoCancel)
  Answer defaultAnswer = Answer::Yes;
  std::deque<WarningAnswer> warnAnswers;
  WarningAnswer defaultWarn{true, false};

  Answer ask(const Message& m) override {
    messages.push_back(m);
    if (m.buttons == Buttons::Ok) return Answer::Ok;
    if (answers.empty()) return defaultAnswer;
    const Answer a = answers.front();
    answers.pop_front();
    return a;
  }
  WarningAnswer warn(int selIndex, const std::string& text) override {
    warnings.push_back({selIndex, text});
    if (warnAnswers.empty()) return defaultWarn;
    const WarningAnswer a = warnAnswers.front();
    warnAnswers.pop_front();
    return a;
  }

  // "title / text" of every message, for compact assertions.
  std::vector<std::string> lines() const {
    std::vector<std::string> out;
    for (const Message& m : messages) out.push_back(m.title + " / " + m.text);
    return out;
  }
};

// Records the progress window's life: opens, bar positions and closes.
class RecordingProgress : public Progress {
 public:
  std::vector<int> positions;
  int opens = 0;
  int closes = 0;

 protected:
  void onOpen() override { ++opens; }
  void onChange(int p) override { positions.push_back(p); }
  void onClose() override { ++closes; }
};

}  // namespace qm::test
