// Small helpers shared by the widgets: the core's UTF-8 texts as QStrings (Q as they are,
// TrCore in the interface language), the notes under a message, and the hourglass guard
// that radio commands and file operations hold while they run.
#pragma once

#include <QApplication>
#include <QColor>
#include <QCursor>
#include <QFontMetrics>
#include <QPalette>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <algorithm>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "base/tr.h"
#include "model/cell_colors.h"
#include "platform/translation.h"

namespace qm::ui {

inline QString Q(const std::string& s) { return QString::fromStdString(s); }

// A column header on two lines. Chinese breaks at the last space, as the program always
// showed it; English words are longer, so English breaks at the space nearest the middle.
inline QString TwoLineHeader(QString text) {
  text = text.simplified();
  qsizetype at = text.lastIndexOf(' ');
  if (ActiveLanguage() == Language::English) {
    for (qsizetype i = 0; i < text.size(); ++i) {
      if (text[i] == ' ' && std::abs(2 * i - text.size()) < std::abs(2 * at - text.size())) at = i;
    }
  }
  if (at > 0) text[at] = '\n';
  return text;
}

// The texts of a widget that follow the interface language: each setter runs once when it is
// added and again on every language switch (apply), so the open window changes language
// without being built anew.
class LanguageTexts {
 public:
  void add(std::function<void()> setter) {
    setter();
    setters_.push_back(std::move(setter));
  }
  void apply() const {
    for (const auto& s : setters_) s();
  }

 private:
  std::vector<std::function<void()>> setters_;
};

inline QColor ToQColor(Rgb c) { return QColor(c.r, c.g, c.b); }
inline Rgb ToRgb(const QColor& c) {
  return Rgb{static_cast<uint8_t>(c.red()), static_cast<uint8_t>(c.green()),
             static_cast<uint8_t>(c.blue())};
}
// The colours of the desktop theme a grid is drawn in.
inline ThemeColors ThemeOf(const QPalette& p) {
  return ThemeColors{ToRgb(p.color(QPalette::Active, QPalette::Base)),
                     ToRgb(p.color(QPalette::Active, QPalette::Text)),
                     ToRgb(p.color(QPalette::Active, QPalette::Button)),
                     ToRgb(p.color(QPalette::Disabled, QPalette::Text))};
}
// A field's text in the load check's red, readable on the field and on its button face.
inline void MarkRed(QPalette& p) {
  p.setColor(QPalette::ButtonText,
             ToQColor(ReadableOn(kMarkRed, ToRgb(p.color(QPalette::Button)))));
  p.setColor(QPalette::Text, ToQColor(ReadableOn(kMarkRed, ToRgb(p.color(QPalette::Base)))));
  p.setColor(QPalette::WindowText,
             ToQColor(ReadableOn(kMarkRed, ToRgb(p.color(QPalette::Window)))));
}

// The width the longest line of a text needs.
inline int LinesWidth(const QFontMetrics& fm, const QString& text) {
  int width = 0;
  for (const QString& line : text.split('\n')) width = std::max(width, fm.horizontalAdvance(line));
  return width;
}

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
