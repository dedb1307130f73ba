// The program's own pictures, drawn with QPainter: the toolbar buttons and the radio shown
// on the splash and in the about box.
#pragma once

#include <QIcon>
#include <QPixmap>
#include <QString>

namespace qm::ui {

// The arrows of the Read (radio to computer) and Write (computer to radio) pictures.
inline constexpr QRgb kReadArrowColor = qRgb(0, 140, 60);
inline constexpr QRgb kWriteArrowColor = qRgb(200, 40, 40);

// The toolbar picture for a button key: "Open", "Save", "Print", "Read", "COMport", "Write",
// and the edit buttons "Undo", "Redo".
QIcon ToolbarIcon(const QString& key);
// A handheld radio.
QPixmap RadioPixmap(int size);

}  // namespace qm::ui
