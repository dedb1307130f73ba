// Small helpers shared by the widgets: the core's UTF-8 texts as QStrings, and the
// hourglass guard that radio commands and file operations hold while they run.
#pragma once

#include <QApplication>
#include <QString>
#include <string>

namespace qm::ui {

inline QString Q(const std::string& s) { return QString::fromStdString(s); }

// cHourClass: the hourglass pointer for as long as the guard lives.
class HourGlass {
 public:
  HourGlass() { QApplication::setOverrideCursor(Qt::WaitCursor); }
  ~HourGlass() { QApplication::restoreOverrideCursor(); }
  HourGlass(const HourGlass&) = delete;
  HourGlass& operator=(const HourGlass&) = delete;
};

}  // namespace qm::ui
