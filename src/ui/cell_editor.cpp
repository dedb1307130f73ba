#include "ui/cell_editor.h"

#include "ui/signal_dialog.h"

namespace qm::ui {

QLineEdit* NewCellEditor(QTableWidget* grid, const char* objectName, QObject* filter) {
  auto* editor = new QLineEdit(grid->viewport());
  editor->setObjectName(objectName);
  editor->setFrame(false);
  editor->setAlignment(Qt::AlignCenter);
  editor->hide();
  editor->installEventFilter(filter);
  return editor;
}

std::optional<std::string> RunSignalDialog(const AppState& app, Prompter& prompter, QWidget* parent,
                                           const std::string& signalText, const QPoint& at) {
  FrmSignal dialog(app, prompter, parent);
  dialog.setSignalText(signalText);
  dialog.adjustSize();
  dialog.move(at);
  return dialog.run();
}

}  // namespace qm::ui
