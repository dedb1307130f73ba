// Message boxes and questions on a terminal: every message goes to stderr with its title;
// questions are answered Yes by --yes, asked on a terminal, and answered No otherwise.
#pragma once

#include "base/prompter.h"

namespace qm::cli {

class ConsolePrompter : public Prompter {
 public:
  explicit ConsolePrompter(bool assumeYes) : assumeYes_(assumeYes) {}
  Answer ask(const Message& message) override;
  WarningAnswer warn(int selIndex, const std::string& text) override;

  int messageCount() const { return count_; }

 private:
  bool askYesNo(bool withCancel, Answer& out);
  bool assumeYes_;
  int count_ = 0;
};

}  // namespace qm::cli
