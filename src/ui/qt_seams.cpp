#include "ui/qt_seams.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>

#include "platform/translation.h"
#include "ui/radio_dialogs.h"

namespace qm::ui {

namespace {

QMessageBox::Icon ToQtIcon(Icon icon) {
  switch (icon) {
    case Icon::None:
      return QMessageBox::NoIcon;
    case Icon::Information:
      return QMessageBox::Information;
    case Icon::Exclamation:
      return QMessageBox::Warning;
    case Icon::Critical:
      return QMessageBox::Critical;
    case Icon::Question:
      return QMessageBox::Question;
  }
  return QMessageBox::NoIcon;
}

}  // namespace

QWidget* QtPrompter::dialogParent() const {
  if (QWidget* modal = QApplication::activeModalWidget()) return modal;
  if (parent_) return parent_;
  return QApplication::activeWindow();
}

Answer QtPrompter::ask(const Message& message) {
  QMessageBox box(ToQtIcon(message.icon), TrCore(message.title), TrCore(message.text),
                  QMessageBox::NoButton, dialogParent());
  box.setObjectName("msgBox");
  // The program's own captions on the buttons, as every other dialog of the program has them.
  QPushButton* ok = nullptr;
  QPushButton* yes = nullptr;
  QPushButton* no = nullptr;
  QPushButton* cancel = nullptr;
  switch (message.buttons) {
    case Buttons::Ok:
      ok = box.addButton(tr("确定"), QMessageBox::AcceptRole);
      box.setDefaultButton(ok);
      box.setEscapeButton(ok);
      break;
    case Buttons::YesNo:
      yes = box.addButton(tr("是(&Y)"), QMessageBox::YesRole);
      no = box.addButton(tr("否(&N)"), QMessageBox::NoRole);
      box.setDefaultButton(yes);
      box.setEscapeButton(no);
      break;
    case Buttons::YesNoCancel:
      yes = box.addButton(tr("是(&Y)"), QMessageBox::YesRole);
      no = box.addButton(tr("否(&N)"), QMessageBox::NoRole);
      cancel = box.addButton(tr("取消"), QMessageBox::RejectRole);
      box.setDefaultButton(yes);
      box.setEscapeButton(cancel);
      break;
  }
  box.exec();
  QAbstractButton* clicked = box.clickedButton();
  if (message.buttons == Buttons::Ok) return Answer::Ok;
  if (clicked == yes) return Answer::Yes;
  if (clicked == no) return Answer::No;
  // Closing the box with the title bar or Escape is the safe answer.
  return message.buttons == Buttons::YesNoCancel ? Answer::Cancel : Answer::No;
}

WarningAnswer QtPrompter::warn(int selIndex, const std::string& text) {
  DlgWarn dialog(selIndex, TrCore(text), dialogParent());
  dialog.exec();
  return dialog.answer();
}

QStringList NameFilters(const FileDialogRequest& request) {
  QStringList out;
  for (const FileFilter& f : request.filters) {
    // QFileDialog reads the patterns from the parentheses of each description.
    QString desc = TrCore(f.description);
    QString pattern = QString::fromStdString(f.pattern);
    out << (desc.contains('(') ? desc : desc + " (" + pattern + ")");
  }
  return out;
}

namespace {

// The dialogs' titles in their own wording ("打开" is Open here, On in a list).
[[maybe_unused]] constexpr const char* kTitles[] = {QT_TRANSLATE_NOOP("QtFileDialogs", "打开"),
                                                    QT_TRANSLATE_NOOP("QtFileDialogs", "另存为")};

void Configure(QFileDialog& dlg, const FileDialogRequest& request) {
  dlg.setWindowTitle(TrCore(request.title, "QtFileDialogs"));
  dlg.setDirectory(QString::fromStdString(request.initialDir));
  QStringList filters = NameFilters(request);
  dlg.setNameFilters(filters);
  if (request.selectedFilter >= 0 && request.selectedFilter < filters.size())
    dlg.selectNameFilter(filters[request.selectedFilter]);
  dlg.setDefaultSuffix(QString::fromStdString(request.defaultExt));
  // A name typed without an extension takes the chosen type's ("*.toml" gives ".toml").
  QObject::connect(&dlg, &QFileDialog::filterSelected, &dlg, [&dlg](const QString& filter) {
    const qsizetype from = filter.lastIndexOf("*.");
    const qsizetype to = filter.indexOf(')', from);
    if (from >= 0 && to > from) dlg.setDefaultSuffix(filter.mid(from + 2, to - from - 2));
  });
  dlg.setOption(QFileDialog::ReadOnly, false);
  // The program's own dialog looks the same on every desktop and under tests.
  dlg.setOption(QFileDialog::DontUseNativeDialog, true);
  if (!request.initialName.empty()) dlg.selectFile(QString::fromStdString(request.initialName));
}

// Qt hands out paths with '/'; the title, the recent list and the messages show them as the
// system writes them (C:\数据\a.q83 on Windows).
std::string NativePath(const QString& path) { return QDir::toNativeSeparators(path).toStdString(); }

}  // namespace

std::optional<std::string> QtFileDialogs::openFile(const FileDialogRequest& request) {
  QFileDialog dlg(parent_);
  dlg.setObjectName("dlgCommonDialog");
  Configure(dlg, request);
  dlg.setAcceptMode(QFileDialog::AcceptOpen);
  dlg.setFileMode(request.fileMustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
  for (;;) {
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return std::nullopt;
    QString path = dlg.selectedFiles().front();
    if (request.refuseReadOnly && QFileInfo(path).exists() && !QFileInfo(path).isWritable()) {
      QMessageBox::warning(&dlg, dlg.windowTitle(), tr("该文件为只读文件，请选择其他文件。"));
      continue;
    }
    return NativePath(path);
  }
}

std::optional<std::string> QtFileDialogs::saveFile(const FileDialogRequest& request) {
  QFileDialog dlg(parent_);
  dlg.setObjectName("dlgCommonDialog");
  Configure(dlg, request);
  dlg.setAcceptMode(QFileDialog::AcceptSave);
  dlg.setFileMode(QFileDialog::AnyFile);
  dlg.setOption(QFileDialog::DontConfirmOverwrite, !request.overwritePrompt);
  for (;;) {
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return std::nullopt;
    QString path = dlg.selectedFiles().front();
    QFileInfo info(path);
    if (request.pathMustExist && !info.absoluteDir().exists()) {
      QMessageBox::warning(&dlg, dlg.windowTitle(), tr("路径不存在，请确认。"));
      continue;
    }
    if (request.refuseReadOnly && info.exists() && !info.isWritable()) {
      QMessageBox::warning(&dlg, dlg.windowTitle(), tr("该文件为只读文件，请选择其他文件。"));
      continue;
    }
    return NativePath(path);
  }
}

}  // namespace qm::ui
