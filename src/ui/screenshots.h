// Pictures of the windows for the documentation (qm830k --screenshot DIR).
#pragma once

#include <QString>

namespace qm::ui {

class FrmMain;

// Saves main.png, editing.png, signal.png, model.png, about.png and help.png into dir.
// Returns the number of pictures that could not be taken or saved.
int SaveScreenshots(FrmMain& window, const QString& dir);

}  // namespace qm::ui
