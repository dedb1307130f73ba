#include "ui/radio_dialogs.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDialogButtonBox>
#include <QFontDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QTextCursor>
#include <QVBoxLayout>

#include "model/embed_areas.h"
#include "radio/port_check.h"
#include "ui/link_thread.h"
#include "ui/qt_text.h"

namespace qm::ui {

namespace {}  // namespace

// ---- frmProgress ----

FrmProgress::FrmProgress(QWidget* parent) : QDialog(parent) {
  setObjectName("frmProgress");
  // A title bar without a close button: the operation decides when the window goes.
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
  setWindowModality(Qt::NonModal);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(16, 14, 16, 14);
  layout->setSpacing(10);
  lblProgress_ = new QLabel(this);
  lblProgress_->setObjectName("lblProgress");
  prbRdOrWt_ = new QProgressBar(this);
  prbRdOrWt_->setObjectName("prbRdOrWt");
  prbRdOrWt_->setMinimum(0);
  prbRdOrWt_->setTextVisible(true);
  prbRdOrWt_->setMinimumWidth(320);
  layout->addWidget(lblProgress_);
  layout->addWidget(prbRdOrWt_);
  cmdCancel_ = new QPushButton(tr("取消"), this);
  cmdCancel_->setObjectName("cmdCancel");
  // The one control that takes input while the radio is talked to (see link_thread.h).
  cmdCancel_->setProperty(kTakesInputDuringLink, true);
  cmdCancel_->hide();
  connect(cmdCancel_, &QPushButton::clicked, this, [this] {
    cmdCancel_->setEnabled(false);
    if (cancel_) cancel_();
  });
  layout->addWidget(cmdCancel_, 0, Qt::AlignRight);
}

void FrmProgress::setup(const QString& caption, const QString& title, int maximum,
                        std::function<void()> cancel) {
  cancel_ = std::move(cancel);
  cmdCancel_->setVisible(static_cast<bool>(cancel_));
  cmdCancel_->setEnabled(true);
  lblProgress_->setText(caption);
  setWindowTitle(title);
  prbRdOrWt_->setMaximum(std::max(maximum, 1));
  prbRdOrWt_->setValue(0);
  adjustSize();
  setFixedSize(size());
}

void FrmProgress::setPosition(int position) { prbRdOrWt_->setValue(position); }

void FrmProgress::finish() {
  finishing_ = true;
  close();
}

void FrmProgress::closeEvent(QCloseEvent* event) {
  if (finishing_) {
    event->accept();
  } else {
    event->ignore();
  }
}

void FrmProgress::keyPressEvent(QKeyEvent* event) {
  // Escape would close a dialog; this one stays until the operation ends.
  if (event->key() == Qt::Key_Escape) {
    event->accept();
    return;
  }
  QDialog::keyPressEvent(event);
}

GuiProgress::~GuiProgress() {
  if (window_) {
    window_->finish();
    delete window_.data();
  }
}

void GuiProgress::onOpen() {
  if (window_) {
    window_->finish();
    delete window_.data();
  }
  window_ = new FrmProgress(owner_);
  std::function<void()> cancel;
  if (cancellable()) cancel = [this] { requestCancel(); };
  window_->setup(TrCore(caption()), TrCore(title()), maximum(), std::move(cancel));
  if (owner_) {
    const QRect r = owner_->frameGeometry();
    window_->move(r.center() - window_->rect().center());
  }
  HourGlass hourglass(window_);  // the load shows the hourglass
  window_->show();
  window_->raise();
  window_->repaint();
  if (owner_) owner_->repaint();
}

void GuiProgress::onChange(int position) {
  // The bar repaints during the link code's next wait.
  if (window_) window_->setPosition(position);
}

void GuiProgress::onClose() {
  if (!window_) return;
  window_->finish();
  window_->deleteLater();
  window_ = nullptr;
}

// ---- dlgWarn ----

DlgWarn::DlgWarn(int selIndex, const QString& text, QWidget* parent)
    : QDialog(parent), selIndex_(selIndex) {
  setObjectName("dlgWarn");
  setWindowTitle(kAppTitle);
  setModal(true);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(16, 16, 16, 12);
  auto* top = new QHBoxLayout;
  auto* image1 = new QLabel(this);
  image1->setObjectName("Image1");
  image1->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(40, 40));
  image1->setAlignment(Qt::AlignTop);
  auto* lblWarning = new QLabel(text, this);
  lblWarning->setObjectName("lblWarning");
  lblWarning->setWordWrap(true);
  lblWarning->setMinimumWidth(340);
  top->addWidget(image1);
  top->addSpacing(10);
  top->addWidget(lblWarning, 1);
  layout->addLayout(top);
  layout->addSpacing(8);
  chkWarning_ = new QCheckBox(tr("下次不再提示          (下次重启软件时再跳出提示框)"), this);
  chkWarning_->setObjectName("chkWarning");
  layout->addWidget(chkWarning_);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Ok)->setText(tr("确定(&O)"));
  buttons->button(QDialogButtonBox::Ok)->setObjectName("OKButton");
  buttons->button(QDialogButtonBox::Cancel)->setText(tr("取消(&C)"));
  buttons->button(QDialogButtonBox::Cancel)->setObjectName("CancelButton");
  layout->addWidget(buttons);
  connect(buttons, &QDialogButtonBox::accepted, this, [this] {
    confirmed_ = true;
    accept();
  });
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

WarningAnswer DlgWarn::answer() const {
  return WarningAnswer{confirmed_, WarningCanBeSilenced(selIndex_) && chkWarning_->isChecked()};
}

// ---- frmPort ----

FrmPort::FrmPort(const PortScan& scan, const std::array<std::string, kMaxPortNumber + 1>& devices,
                 const std::vector<SystemPort>& listed, QWidget* parent)
    : QDialog(parent), listed_(listed), scan_(scan) {
  setObjectName("frmPort");
  setWindowTitle(tr("选择端口"));
  setModal(true);
  auto* layout = new QVBoxLayout(this);
  auto* frame = new QGroupBox(tr("端口"), this);
  frame->setObjectName("fraPort");
  auto* grid = new QGridLayout(frame);
  grid->setHorizontalSpacing(12);
  group_ = new QButtonGroup(this);
  for (int n = kMinPortNumber; n <= kMaxPortNumber; ++n) {
    // Two columns of eight, as a technician counts them: COM1-8 left, COM9-16 right.
    addPort(grid, frame, n, (n - 1) % 8, (n - 1) / 8 * 3, scan.usable[static_cast<size_t>(n)],
            devices[static_cast<size_t>(n)]);
  }
  layout->addWidget(frame);
  // The ports above COM16 and the devices no COMn maps to, as the system names them.
  int row = 0;
  QGroupBox* more = nullptr;
  QGridLayout* moreGrid = nullptr;
  for (const SystemPort& p : listed_) {
    if (p.number <= kMaxPortNumber) continue;
    if (more == nullptr) {
      more = new QGroupBox(tr("其他端口"), this);
      more->setObjectName("fraMorePorts");
      moreGrid = new QGridLayout(more);
      moreGrid->setHorizontalSpacing(12);
      moreGrid->setColumnStretch(3, 1);  // the columns packed to the left, as above
      layout->addWidget(more);
    }
    const auto usable = scan.extraUsable.find(p.number);
    addPort(moreGrid, more, p.number, row++, 0, usable != scan.extraUsable.end() && usable->second,
            p.device);
  }

  auto* checkRow = new QHBoxLayout;
  auto* check = new QPushButton(tr("检测连接"), this);
  check->setObjectName("cmdCheck");
  check->setToolTip(tr("看所选端口上接着什么：写频线、对讲机，或什么也没有"));
  lblCheck_ = new QLabel(this);
  lblCheck_->setObjectName("lblCheck");
  lblCheck_->setWordWrap(true);
  lblCheck_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  lblCheck_->setMinimumWidth(360);
  checkRow->addWidget(check);
  checkRow->addWidget(lblCheck_, 1);
  layout->addLayout(checkRow);
  connect(check, &QPushButton::clicked, this, [this] {
    if (!checkPort) return;
    lblCheck_->setText(TrCore(checkPort(comi_)));
  });

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  auto* ok = new QPushButton(tr("确定"), this);
  ok->setObjectName("CmdOK");
  ok->setDefault(true);
  auto* cancel = new QPushButton(tr("取消"), this);
  cancel->setObjectName("CmdCancel");
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  layout->addLayout(buttons);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  setComi(scan.portNumber);
}

void FrmPort::addPort(QGridLayout* grid, QWidget* frame, int n, int row, int col, bool usable,
                      const std::string& device) {
  const bool extra = n > kMaxPortNumber;
  auto* opt = new QRadioButton(QString("COM%1").arg(n), frame);
  opt->setObjectName(extra ? QString("optPort_%1").arg(n) : QString("optCOMM_%1").arg(n));
  opt->setEnabled(usable);
  auto* label = new QLabel(Q(ShownDevice(device)), frame);
  label->setObjectName(QString("lblDevice_%1").arg(n));
  label->setEnabled(usable);
  label->setToolTip(Q(device));
  // What is behind the port, and why a present one does not open.
  QString info;
  for (const SystemPort& p : listed_) {
    if (p.number != n) continue;
    info = Q(p.description);
    if (!p.byId.empty()) label->setToolTip(Q(device + "\n" + p.byId));
    if (!p.problem.empty()) info += (info.isEmpty() ? "" : "  ") + TrCore(p.problem);
    if (!usable) {
      const auto f = scan_.failure.find(n);
      const OpenFailure why = f != scan_.failure.end() ? f->second : OpenFailure::Other;
      info += (info.isEmpty() ? "" : "  ") + QString("(%1)").arg(TrCore(FailurePhrase(why)));
      if (const auto r = scan_.reason.find(n); r != scan_.reason.end())
        opt->setToolTip(TrCore(r->second));
    }
  }
  auto* infoLabel = new QLabel(info, frame);
  infoLabel->setObjectName(QString("lblInfo_%1").arg(n));
  grid->addWidget(opt, row, col);
  grid->addWidget(label, row, col + 1);
  grid->addWidget(infoLabel, row, col + 2);
  group_->addButton(opt, n);
  opt_[n] = opt;
  connect(opt, &QRadioButton::clicked, this, [this, n] { comi_ = n; });
}

void FrmPort::setComi(int n) {
  comi_ = opt_.count(n) != 0 ? n : std::clamp(n, kMinPortNumber, kMaxPortNumber);
  opt_[comi_]->setChecked(true);
}

const SystemPort* FrmPort::chosenListed() const {
  for (const SystemPort& p : listed_)
    if (p.number == comi_) return &p;
  return nullptr;
}

// ---- frmEmbed ----

FrmEmbed::FrmEmbed(AppState& app, Prompter& prompter, Image& image, QWidget* parent)
    : QDialog(parent), app_(app), prompter_(prompter), image_(image) {
  setObjectName("frmEmbed");
  setWindowTitle(tr("嵌入信息"));
  setModal(true);
  auto* layout = new QVBoxLayout(this);
  auto* text = new QGroupBox(tr("用户自定义信息"), this);
  text->setObjectName("fraEmbed");
  auto* textLayout = new QVBoxLayout(text);
  rtxtbEmbed_ = new QPlainTextEdit(text);
  rtxtbEmbed_->setObjectName("rtxtbEmbed");
  rtxtbEmbed_->setMinimumSize(380, 120);
  textLayout->addWidget(rtxtbEmbed_);
  layout->addWidget(text);

  auto* info = new QGridLayout;
  auto* label1 = new QLabel(tr("对讲机ID："), this);
  label1->setObjectName("Label1");
  lblRadioID_ = new QLabel("----------------", this);
  lblRadioID_->setObjectName("lblRadioID");
  lblRadioID_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  auto* lblDate = new QLabel(tr("最近写频日期："), this);
  lblDate->setObjectName("lblDate");
  lblLastTime_ = new QLabel(this);
  lblLastTime_->setObjectName("lblLastTime");
  info->addWidget(label1, 0, 0);
  info->addWidget(lblRadioID_, 0, 1);
  info->addWidget(lblDate, 1, 0);
  info->addWidget(lblLastTime_, 1, 1);
  info->setColumnStretch(1, 1);
  layout->addLayout(info);

  auto* buttons = new QHBoxLayout;
  const auto button = [&](const char* name, const QString& caption) {
    auto* b = new QPushButton(caption, this);
    b->setObjectName(name);
    b->setAutoDefault(false);
    buttons->addWidget(b);
    return b;
  };
  QPushButton* read = button("cmdReadInfo", tr("读取(&R)"));
  QPushButton* write = button("cmdWriteInfo", tr("写入(&W)"));
  QPushButton* font = button("cmdFont", tr("字体(&F)..."));
  buttons->addStretch();
  QPushButton* ok = button("cmdOK", tr("关闭(&C)"));
  QPushButton* cancel = button("cmdCancel", tr("取消"));
  layout->addLayout(buttons);

  connect(read, &QPushButton::clicked, this, [this] {
    HourGlass hourglass(this);
    if (readInfo) readInfo();
    // The display shows the areas whether or not the read got through.
    embedData_ = EmbedTextFromArea(image_);
    displayEmbedInfo();
  });
  connect(write, &QPushButton::clicked, this, [this] {
    HourGlass hourglass(this);
    CollectEmbedText(embedData_, image_);
    if (writeInfo) writeInfo();
  });
  connect(font, &QPushButton::clicked, this, &FrmEmbed::chooseFont);
  connect(ok, &QPushButton::clicked, this, [this] {
    cancelPressed_ = false;
    close();
  });
  connect(cancel, &QPushButton::clicked, this, &QDialog::close);
  connect(rtxtbEmbed_, &QPlainTextEdit::textChanged, this, &FrmEmbed::textChanged);
  applyFont();
}

void FrmEmbed::setEmbedData(std::u16string data) {
  embedData_ = std::move(data);
  displayEmbedInfo();
}

void FrmEmbed::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  rtxtbEmbed_->setFocus(Qt::OtherFocusReason);
  rtxtbEmbed_->selectAll();
}

void FrmEmbed::displayEmbedInfo() {
  const EmbedLabels labels = DisplayEmbedInfo(image_);
  lblLastTime_->setText(Q(labels.lastTime));
  lblRadioID_->setText(Q(labels.radioId));
  // The area pads the text with zero code units; the box shows the text before them.
  const size_t end = std::min(embedData_.find(u'\0'), embedData_.size());
  displaying_ = true;
  rtxtbEmbed_->setPlainText(QString::fromUtf16(embedData_.data(), static_cast<qsizetype>(end)));
  displaying_ = false;
  applyFont();
}

void FrmEmbed::textChanged() {
  if (displaying_) return;
  // The box's text and caret in UTF-16 code units, as the area holds the text.
  std::u16string text = rtxtbEmbed_->toPlainText().toStdU16String();
  size_t caret = static_cast<size_t>(rtxtbEmbed_->textCursor().position());
  if (LimitEmbedText(text, caret)) {
    displaying_ = true;
    rtxtbEmbed_->setPlainText(QString::fromStdU16String(text));
    QTextCursor back = rtxtbEmbed_->textCursor();
    back.setPosition(static_cast<int>(caret));
    rtxtbEmbed_->setTextCursor(back);
    displaying_ = false;
    Notify(prompter_, kAppTitle, QM_TR("已经达到文本的最大长度。"), Icon::None);
  }
  embedData_ = std::move(text);
}

void FrmEmbed::applyFont() {
  QFont f(Q(app_.font.name));
  f.setPointSize(std::max(app_.font.size, 1));
  f.setBold(app_.font.bold);
  f.setItalic(app_.font.italic);
  rtxtbEmbed_->setFont(f);
}

void FrmEmbed::chooseFont() {
  QFontDialog dlg(rtxtbEmbed_->font(), this);
  dlg.setObjectName("dlgFontDlg");
  dlg.setOption(QFontDialog::DontUseNativeDialog, true);
  if (dlg.exec() != QDialog::Accepted) return;
  const QFont f = dlg.selectedFont();
  app_.font.name = f.family().toStdString();
  app_.font.size = f.pointSize() > 0 ? f.pointSize() : app_.font.size;
  app_.font.bold = f.bold();
  app_.font.italic = f.italic();
  applyFont();
}

}  // namespace qm::ui
