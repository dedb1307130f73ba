// The seam through which every message box and question reaches the user.
#pragma once

#include <string>

namespace qm {

enum class Icon { None, Information, Exclamation, Critical, Question };
enum class Buttons { Ok, YesNo, YesNoCancel };
enum class Answer { Ok, Yes, No, Cancel };

struct Message {
  std::string title;
  std::string text;
  Icon icon = Icon::None;
  Buttons buttons = Buttons::Ok;
};

// The version warning dialog: which warning (0 = version-1 radio, 1 = newer radio) and
// what the user did with it.
struct WarningAnswer {
  bool confirmed = false;
  bool dontShowAgain = false;  // "下次不再提示" was ticked when the dialog closed
};

// The tick of the warning dialog counts only for the two warnings the program can stop
// showing (selIndex 0 and 1); any other warning is shown every time.
inline bool WarningCanBeSilenced(int selIndex) { return selIndex == 0 || selIndex == 1; }

class Prompter {
 public:
  virtual ~Prompter() = default;
  // Shows a message box or asks a question; returns the button pressed (Ok for a notice).
  virtual Answer ask(const Message& message) = 0;
  // Shows the version warning dialog for selection index `selIndex` with its text.
  virtual WarningAnswer warn(int selIndex, const std::string& text) = 0;
};

// Convenience for the many notices that only have an OK button.
inline void Notify(Prompter& p, std::string title, std::string text, Icon icon) {
  p.ask(Message{std::move(title), std::move(text), icon, Buttons::Ok});
}

}  // namespace qm
