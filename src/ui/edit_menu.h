// The menu "编辑(&E)": undo and redo of the user's edits (also on the toolbar), and the
// commands on whole channel rows: cut, copy, paste, clear, select all and the bulk edit.
// The grid's context menu offers the same. Every rule lives in the core (EditHistory,
// channel_edits); this only forwards the user and shows the reports.
#pragma once

#include <QObject>
#include <functional>
#include <vector>

#include "base/app_state.h"
#include "base/prompter.h"
#include "document/document.h"
#include "ui/qt_text.h"

class QAction;
class QMenu;
class QMenuBar;
class QPoint;
class QToolBar;
class QWidget;

namespace qm::ui {

class ChannelGrid;

struct EditHooks {
  std::function<void()> commitPendingEdit;  // before every command
  std::function<void()> refresh;            // after a command changed the editors
  std::function<bool()> busy;               // a radio command is running
  std::function<bool()> channelView;        // the channel grid is shown
};

class EditCommands : public QObject {
  Q_OBJECT
 public:
  EditCommands(QWidget* window, Document& doc, AppState& app, Prompter& prompter, ChannelGrid& grid,
               EditHooks hooks);

  // The menu goes before `before` on the bar; undo and redo on the toolbar.
  void install(QMenuBar* bar, QAction* before, QToolBar* toolBar);
  // Enables the commands and names the steps undo and redo would take.
  void updateActions();
  // The menu's texts in the interface language now installed.
  void retranslate();

  void undo();
  void redo();
  void cut();
  void copy();
  void paste();
  void clear();
  void selectAll();
  void bulkEdit();

  QMenu* contextMenu() const { return popup_; }
  // Applies an open in-place edit (not while a radio command runs), so that a menu about to
  // open names the step its undo takes back. Whether one was open.
  bool commitOpenEdit();

 private:
  // An entry whose caption (marked QT_TR_NOOP) follows the interface language.
  QAction* add(QMenu* menu, const char* name, const char* text,
               const QList<QKeySequence>& keys = {});
  bool ready();
  // The row commands work in the channel view while no radio command runs.
  bool rowsAllowed() const;
  // The selected rows, else the current cell's row.
  std::vector<int> chosenChannels() const;
  void report(const char* title, const std::string& head, const std::vector<std::string>& notes,
              bool problem);

  QWidget* window_;
  Document& doc_;
  AppState& app_;
  Prompter& prompter_;
  ChannelGrid& grid_;
  EditHooks hooks_;
  LanguageTexts texts_;
  QMenu* menu_ = nullptr;
  QMenu* popup_ = nullptr;
  QAction* undo_ = nullptr;
  QAction* redo_ = nullptr;
  QAction* cut_ = nullptr;
  QAction* clear_ = nullptr;
  std::vector<QAction*> rowActions_;
};

}  // namespace qm::ui
