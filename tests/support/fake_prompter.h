// The dialogs' seams for tests: a Prompter that records every message box and version warning
// and answers from a script, and a Progress that records the bar. Header-only so that every
// test program can use them.
#pragma once

#include <deque>
#include <optional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "base/prompter.h"
#include "radio/progress.h"

namespace qm::test {

// A message box's title, text, icon and buttons, compared as one value.
inline auto Box(const Message& m) { return std::tuple(m.title, m.text, m.icon, m.buttons); }

class FakePrompter : public Prompter {
 public:
  // Queues the answers of the next questions, in order.
  FakePrompter& answer(Answer a) {
    answers.push_back(a);
    return *this;
  }

  Answer ask(const Message& message) override {
    messages.push_back(message);
    if (message.buttons == Buttons::Ok) return Answer::Ok;
    if (!answers.empty()) {
      const Answer a = answers.front();
      answers.pop_front();
      return a;
    }
    if (defaultAnswer) return *defaultAnswer;
    // A question nobody scripted is cancelled (or answered No where there is no Cancel), the
    // safe answer everywhere.
    return message.buttons == Buttons::YesNo ? Answer::No : Answer::Cancel;
  }

  WarningAnswer warn(int selIndex, const std::string& text) override {
    warnings.emplace_back(selIndex, text);
    if (warnAnswers.empty()) return defaultWarn;
    const WarningAnswer a = warnAnswers.front();
    warnAnswers.pop_front();
    return a;
  }

  // The texts of the recorded messages, in order; "title / text" of each for lines().
  std::vector<std::string> texts() const {
    std::vector<std::string> out;
    for (const Message& m : messages) out.push_back(m.text);
    return out;
  }
  std::vector<std::string> lines() const {
    std::vector<std::string> out;
    for (const Message& m : messages) out.push_back(m.title + " / " + m.text);
    return out;
  }
  void clear() {
    messages.clear();
    warnings.clear();
  }

  std::vector<Message> messages;
  std::vector<std::pair<int, std::string>> warnings;  // the warning's index and text
  std::deque<Answer> answers;
  std::optional<Answer> defaultAnswer;
  std::deque<WarningAnswer> warnAnswers;
  WarningAnswer defaultWarn{true, false};
};

// The message boxes a prompter showed, each as Box() gives it, to compare in one go.
using BoxList = std::vector<decltype(Box(Message{}))>;
inline BoxList Boxes(const FakePrompter& p) {
  BoxList out;
  for (const Message& m : p.messages) out.push_back(Box(m));
  return out;
}

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
