// Pictures of the windows for the documentation (qm830k --screenshot DIR).
#pragma once

#include <QPalette>
#include <QString>

#include "base/prompter.h"

namespace qm::ui {

class FrmMain;

// The prompter of an unattended run: every message goes to the error output and is
// answered at once (questions with the answer that changes nothing), so nothing waits for
// a person.
class UnattendedPrompter : public Prompter {
 public:
  Answer ask(const Message& message) override;
  WarningAnswer warn(int selIndex, const std::string& text) override;
};

// A dark desktop palette, as a dark theme gives the Fusion style: the pictures of the window
// in a dark theme are taken with it (QM830K_PALETTE=dark), and the tests check the grids'
// colours on it.
QPalette DarkPalette();

// Saves main.png, editing.png, signal.png, model.png, about.png and help.png into dir. The
// window should have an UnattendedPrompter. Returns the number of pictures that could not be
// taken or saved.
int SaveScreenshots(FrmMain& window, const QString& dir);

}  // namespace qm::ui
