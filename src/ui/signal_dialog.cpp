#include "ui/signal_dialog.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "ui/qt_text.h"

namespace qm::ui {

namespace {

void SetItems(QComboBox* box, const ComboModel& model) {
  QStringList items;
  for (const std::string& s : model.items()) items << Q(s);
  box->clear();
  box->addItems(items);
}

}  // namespace

FrmSignal::FrmSignal(const AppState& app, Prompter& prompter, QWidget* parent)
    : QDialog(parent), entry_(app, prompter) {
  setObjectName("frmSignal");
  setWindowTitle("Signaling");

  auto* frame = new QGroupBox("CTC/DCS", this);
  frame->setObjectName("fraSignal");
  auto* frameLayout = new QVBoxLayout(frame);
  group_ = new QButtonGroup(this);
  const char* captions[3] = {"O&FF", "C&TC", "&DCS"};
  for (int i = 0; i < 3; ++i) {
    opt_[i] = new QRadioButton(captions[i], frame);
    opt_[i]->setObjectName(QString("optChRxdec_%1").arg(i));
    group_->addButton(opt_[i], i);
    frameLayout->addWidget(opt_[i]);
  }

  tone_ = new QComboBox(this);
  tone_->setObjectName("cboChRxQT");
  tone_->setEditable(true);
  tone_->setInsertPolicy(QComboBox::NoInsert);
  tone_->setMaxVisibleItems(12);
  code_ = new QComboBox(this);
  code_->setObjectName("cboChRxDQT");
  code_->setEditable(true);
  code_->setInsertPolicy(QComboBox::NoInsert);
  code_->setMaxVisibleItems(12);
  invert_ = new QCheckBox("DCS &Invert", this);
  invert_->setObjectName("chkChRxDQT");
  for (QComboBox* box : {tone_, code_}) {
    box->lineEdit()->installEventFilter(this);
    box->installEventFilter(this);
    // The completer would pick list entries by itself; the checks decide instead.
    box->setCompleter(nullptr);
    box->setMinimumWidth(90);
  }

  auto* ok = new QPushButton(tr("确定(&O)"), this);
  ok->setObjectName("cmdOK");
  ok->setDefault(true);
  auto* cancel = new QPushButton(tr("取消(&C)"), this);
  cancel->setObjectName("cmdCancel");

  auto* lists = new QGridLayout;
  lists->addWidget(tone_, 1, 0);
  lists->addWidget(code_, 2, 0);
  lists->addWidget(invert_, 3, 0);
  lists->setRowStretch(0, 1);
  lists->setRowMinimumHeight(0, 8);
  auto* top = new QHBoxLayout;
  top->addWidget(frame);
  top->addLayout(lists);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addLayout(buttons);

  connect(group_, &QButtonGroup::idClicked, this, [this](int id) {
    entry_.selectOption(static_cast<SignalEntry::Option>(id));
    render();
  });
  connect(tone_, &QComboBox::activated, this, [this](int pos) {
    entry_.chooseTone(pos);
    render();
  });
  connect(code_, &QComboBox::activated, this, [this](int pos) {
    entry_.chooseCode(pos);
    render();
  });
  connect(tone_, &QComboBox::editTextChanged, this, [this](const QString& t) {
    if (!rendering_) entry_.setToneText(t.toStdString());
  });
  connect(code_, &QComboBox::editTextChanged, this, [this](const QString& t) {
    if (!rendering_) entry_.setCodeText(t.toStdString());
  });
  connect(invert_, &QCheckBox::toggled, this, [this](bool on) {
    if (!rendering_) entry_.setInverted(on);
  });
  connect(ok, &QPushButton::clicked, this, &FrmSignal::okClicked);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void FrmSignal::setSignalText(const std::string& text) {
  entry_.load(text);
  rendering_ = true;
  SetItems(tone_, entry_.tone().combo);
  SetItems(code_, entry_.code().combo);
  rendering_ = false;
  render();
}

void FrmSignal::render() {
  rendering_ = true;
  const int option = static_cast<int>(entry_.option());
  // An exclusive group cannot show "none"; lift the rule while clearing.
  group_->setExclusive(false);
  for (int i = 0; i < 3; ++i) opt_[i]->setChecked(i == option);
  group_->setExclusive(true);
  tone_->setEnabled(entry_.toneEnabled());
  code_->setEnabled(entry_.codeEnabled());
  invert_->setEnabled(entry_.invertEnabled());
  invert_->setChecked(entry_.inverted());
  auto showList = [](QComboBox* box, const EditableList& list) {
    const int sel = list.combo.find(list.text);
    if (box->currentIndex() != sel) box->setCurrentIndex(sel);
    if (box->currentText() != Q(list.text)) box->setEditText(Q(list.text));
  };
  showList(tone_, entry_.tone());
  showList(code_, entry_.code());
  rendering_ = false;
}

void FrmSignal::checkList(bool tone) {
  checking_ = true;
  if (tone) {
    entry_.setToneText(tone_->currentText().toStdString());
    entry_.validateTone();
  } else {
    entry_.setCodeText(code_->currentText().toStdString());
    entry_.validateCode();
  }
  checking_ = false;
  render();
}

void FrmSignal::okClicked() {
  checking_ = true;
  entry_.setToneText(tone_->currentText().toStdString());
  entry_.setCodeText(code_->currentText().toStdString());
  entry_.setInverted(invert_->isChecked());
  result_ = entry_.ok();
  checking_ = false;
  accept();
}

std::optional<std::string> FrmSignal::run() {
  result_.reset();
  if (exec() != QDialog::Accepted) return std::nullopt;
  return result_;
}

bool FrmSignal::eventFilter(QObject* watched, QEvent* event) {
  const bool onTone = watched == tone_->lineEdit() || watched == tone_;
  const bool onCode = watched == code_->lineEdit() || watched == code_;
  if (!onTone && !onCode) return QDialog::eventFilter(watched, event);

  if (event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Escape) {
      // Escape cancels here as everywhere else; the half-typed entry is abandoned unchecked.
      checking_ = true;
      reject();
      checking_ = false;
      return true;
    }
    const QString text = key->text();
    if (text.isEmpty()) return false;  // arrows, Home, End and the like
    const char32_t ch = text.at(0).unicode();
    if (ch == 13) return false;  // Enter: the dialog's default button
    std::optional<char> pass = onTone ? entry_.filterToneKey(ch) : entry_.filterCodeKey(ch);
    if (!pass) return true;
    if (static_cast<char32_t>(static_cast<unsigned char>(*pass)) != ch) {
      // "," and "." both become the decimal separator of the system.
      (onTone ? tone_ : code_)->lineEdit()->insert(QString(QChar(*pass)));
      return true;
    }
    return false;
  }
  if (event->type() == QEvent::FocusOut && !checking_) {
    auto* focus = static_cast<QFocusEvent*>(event);
    const Qt::FocusReason reason = focus->reason();
    // Switching windows or opening the drop-down list is not leaving the list.
    if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason) return false;
    QWidget* next = QApplication::focusWidget();
    QComboBox* box = onTone ? tone_ : code_;
    if (next && (next == box || box->isAncestorOf(next))) return false;
    // Leaving for Cancel abandons the entry: no check, no message.
    if (next && next->objectName() == "cmdCancel") return false;
    if (box->isEnabled()) checkList(onTone);
  }
  return false;
}

}  // namespace qm::ui
