// The program's own pictures, drawn with QPainter: the toolbar buttons and the radio shown
// on the splash and in the about box.
#pragma once

#include <QIcon>
#include <QPixmap>
#include <QString>

namespace qm::ui {

// The toolbar picture for a button key: "Open", "Save", "Print", "Read", "COMport", "Write",
// and the edit buttons "Undo", "Redo".
QIcon ToolbarIcon(const QString& key);
// A handheld radio.
QPixmap RadioPixmap(int size);

}  // namespace qm::ui
