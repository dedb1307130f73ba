#include "ui/help_window.h"

#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTextBrowser>
#include <QTextCursor>
#include <QUrl>
#include <QVBoxLayout>

namespace qm::ui {

HelpWindow::HelpWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
  setObjectName("frmHelp");
  setWindowTitle(tr("帮助"));
  resize(760, 620);
  auto* layout = new QVBoxLayout(this);
  auto* bar = new QHBoxLayout;
  auto* label = new QLabel(tr("查找(&S)："), this);
  search_ = new QLineEdit(this);
  search_->setObjectName("txtHelpSearch");
  search_->setPlaceholderText(tr("输入关键字，按回车查找下一处"));
  search_->setClearButtonEnabled(true);
  label->setBuddy(search_);
  auto* findButton = new QPushButton(tr("查找下一处"), this);
  findButton->setObjectName("cmdHelpFind");
  auto* home = new QPushButton(tr("目录"), this);
  home->setObjectName("cmdHelpHome");
  status_ = new QLabel(this);
  status_->setObjectName("lblHelpStatus");
  bar->addWidget(label);
  bar->addWidget(search_, 1);
  bar->addWidget(findButton);
  bar->addWidget(home);
  browser_ = new QTextBrowser(this);
  browser_->setObjectName("txtHelp");
  browser_->setOpenExternalLinks(false);
  browser_->setOpenLinks(true);
  layout->addLayout(bar);
  layout->addWidget(browser_, 1);
  layout->addWidget(status_);

  auto runFind = [this] { find(search_->text()); };
  connect(search_, &QLineEdit::returnPressed, this, runFind);
  connect(findButton, &QPushButton::clicked, this, runFind);
  connect(home, &QPushButton::clicked, this, &HelpWindow::showContents);
}

bool HelpWindow::load(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return false;
  browser_->setSearchPaths({QFileInfo(path).absolutePath()});
  browser_->setHtml(QString::fromUtf8(file.readAll()));
  return true;
}

void HelpWindow::showContents() {
  browser_->moveCursor(QTextCursor::Start);
  browser_->verticalScrollBar()->setValue(0);
  status_->clear();
}

void HelpWindow::showSearch() {
  search_->setFocus(Qt::OtherFocusReason);
  search_->selectAll();
}

bool HelpWindow::find(const QString& text) {
  if (text.trimmed().isEmpty()) return false;
  if (browser_->find(text)) {
    status_->clear();
    return true;
  }
  // From the top once more before saying it is not there.
  browser_->moveCursor(QTextCursor::Start);
  if (browser_->find(text)) {
    status_->setText(tr("已从头开始查找。"));
    return true;
  }
  status_->setText(tr("没有找到“%1”。").arg(text));
  return false;
}

}  // namespace qm::ui
