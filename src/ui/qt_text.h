// Small helpers shared by the widgets: the core's UTF-8 texts as QStrings, and the
// hourglass guard that radio commands and file operations hold while they run.
#pragma once

#include <QApplication>
#include <QCursor>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <string>

namespace qm::ui {

inline QString Q(const std::string& s) { return QString::fromStdString(s); }

// cHourClass: the hourglass pointer over one window for as long as the guard lives. Only
// that window is busy: a message box or question shown meanwhile keeps the normal pointer,
// since it waits for the user. Guards nest.
class HourGlass {
 public:
  explicit HourGlass(QWidget* widget) : window_(widget ? widget->window() : nullptr) {
    if (!window_) return;
    hadCursor_ = window_->testAttribute(Qt::WA_SetCursor);
    if (hadCursor_) previous_ = window_->cursor();
    window_->setCursor(Qt::WaitCursor);
  }
  ~HourGlass() {
    if (!window_) return;
    if (hadCursor_) {
      window_->setCursor(previous_);
    } else {
      window_->unsetCursor();
    }
  }
  HourGlass(const HourGlass&) = delete;
  HourGlass& operator=(const HourGlass&) = delete;

 private:
  QPointer<QWidget> window_;
  bool hadCursor_ = false;
  QCursor previous_;
};

}  // namespace qm::ui
