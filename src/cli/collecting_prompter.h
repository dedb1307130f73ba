// A Prompter that keeps every message the window would show, so that a verb can print
// them with its result. Questions are answered Yes, as a technician running the verb asked
// for what it does.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "base/app_state.h"  // kAppTitle
#include "base/prompter.h"
#include "cli/context.h"

namespace qm::cli {

class CollectingPrompter : public Prompter {
 public:
  std::vector<Message> messages;

  Answer ask(const Message& m) override {
    messages.push_back(m);
    return m.buttons == Buttons::Ok ? Answer::Ok : Answer::Yes;
  }
  WarningAnswer warn(int, const std::string& text) override {
    messages.push_back(Message{kAppTitle, text, Icon::Exclamation, Buttons::Ok});
    return WarningAnswer{true, false};
  }
  // Prints "[title] text" lines in the interface language and forgets them.
  void printTo(std::ostream& out) {
    for (const Message& m : messages) out << MessageLine(m) << "\n";
    messages.clear();
  }
};

}  // namespace qm::cli
