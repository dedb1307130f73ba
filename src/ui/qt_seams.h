// The window program's side of the message-box and file-dialog seams: QMessageBox and
// QFileDialog with the exact titles, texts, icons, buttons and filters the core asks for,
// in the interface language.
#pragma once

#include <QCoreApplication>
#include <QPointer>
#include <QWidget>

#include "base/file_dialogs.h"
#include "base/prompter.h"

namespace qm::ui {

// Message boxes open over `parent` (or the active window when there is none).
class QtPrompter : public Prompter {
  Q_DECLARE_TR_FUNCTIONS(QtPrompter)

 public:
  explicit QtPrompter(QWidget* parent = nullptr) : parent_(parent) {}
  void setParent(QWidget* parent) { parent_ = parent; }

  Answer ask(const Message& message) override;
  WarningAnswer warn(int selIndex, const std::string& text) override;

 private:
  QWidget* dialogParent() const;
  QPointer<QWidget> parent_;
};

class QtFileDialogs : public FileDialogs {
  Q_DECLARE_TR_FUNCTIONS(QtFileDialogs)

 public:
  explicit QtFileDialogs(QWidget* parent = nullptr) : parent_(parent) {}
  void setParent(QWidget* parent) { parent_ = parent; }

  std::optional<std::string> openFile(const FileDialogRequest& request) override;
  std::optional<std::string> saveFile(const FileDialogRequest& request) override;

 private:
  QPointer<QWidget> parent_;
};

// "Data Files (*.q83)|*.q83|..." as QFileDialog's name filters.
QStringList NameFilters(const FileDialogRequest& request);

}  // namespace qm::ui
