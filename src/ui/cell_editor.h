// What the channel grid and the tune table do alike in their cells: the frequency editor
// each floats over a cell (txtChFreq, txtTuneFreq), the characters its model lets through,
// when a focus change leaves the cell, and the signalling dialog a signalling cell opens.
#pragma once

#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPoint>
#include <QTableWidget>
#include <functional>
#include <optional>
#include <string>

#include "base/app_state.h"
#include "base/grid_util.h"
#include "base/prompter.h"

namespace qm::ui {

// What a press on a cell asks of the widget, in either grid: the frequency editor the model
// opened takes the focus, or the signalling dialog opens.
inline void FollowPress(GridAction action, QLineEdit* editor,
                        const std::function<void()>& openSignalDialog) {
  if (action == GridAction::OpenFreqEditor) editor->setFocus(Qt::OtherFocusReason);
  if (action == GridAction::OpenSignalDialog) openSignalDialog();
}

// The editor over `grid`'s cells: frameless, centred, hidden until the model opens it.
// `filter` watches its keys and its focus.
QLineEdit* NewCellEditor(QTableWidget* grid, const char* objectName, QObject* filter);

// A key typed into the editor, through the model's filterEditorKey: true when it is dealt
// with here (refused, or put in as the character the model gives instead), false for a key
// the editor takes as it is, for keys with Ctrl or Alt and for keys without text.
template <class Model>
bool FilterEditorKey(const QKeyEvent* key, QLineEdit* editor, const Model& model) {
  const QString text = key->text();
  if (text.isEmpty() || (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) return false;
  const char32_t ch = text.at(0).unicode();
  const std::optional<char> pass = model.filterEditorKey(ch);
  if (!pass) return true;
  if (static_cast<char32_t>(static_cast<unsigned char>(*pass)) == ch) return false;
  editor->insert(QString(QChar(*pass)));
  return true;
}

// Whether the editor's losing the focus leaves the cell: another window coming to the
// front, or a menu opening, does not.
inline bool LeavesCell(const QFocusEvent* event) {
  const Qt::FocusReason reason = event->reason();
  return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason;
}

// The signalling dialog for a cell's text, at `at` (global): the text on OK, nothing on
// Cancel.
std::optional<std::string> RunSignalDialog(const AppState& app, Prompter& prompter, QWidget* parent,
                                           const std::string& signalText, const QPoint& at);

}  // namespace qm::ui
