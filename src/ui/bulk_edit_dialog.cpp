#include "ui/bulk_edit_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "base/tr.h"
#include "document/channel_edits.h"
#include "model/channel_table.h"
#include "ui/qt_text.h"
#include "ui/signal_dialog.h"

namespace qm::ui {

namespace {

using namespace cell_text;

}  // namespace

DlgBulkEdit::DlgBulkEdit(const AppState& app, Prompter& prompter, const std::vector<int>& channels,
                         QWidget* parent)
    : QDialog(parent), app_(app), prompter_(prompter) {
  setObjectName("dlgBulkEdit");
  setWindowTitle(tr("批量修改"));
  auto* layout = new QVBoxLayout(this);
  auto* which =
      new QLabel(tr("修改信道：%1（只修改勾选的项目）").arg(Q(ChannelRangeText(channels))), this);
  which->setObjectName("lblBulkChannels");
  layout->addWidget(which);

  auto* fields = new QGroupBox(tr("信道设置"), this);
  fields->setObjectName("fraBulkFields");
  grid_ = new QGridLayout(fields);
  grid_->setColumnStretch(1, 1);
  bandwidth_ = addChoice("cboBulkBandwidth", "chkBulkBandwidth", tr("带宽"),
                         {TrCore(kWide), TrCore(kNarrow)});
  power_ = addChoice("cboBulkPower", "chkBulkPower", tr("发射功率"),
                     {TrCore(kPowerHigh), TrCore(kPowerLow)});
  scan_ =
      addChoice("cboBulkScan", "chkBulkScan", tr("扫描"), {TrCore(kScanAdd), TrCore(kScanDelete)});
  busyLock_ = addChoice("cboBulkBusyLock", "chkBulkBusyLock", tr("繁忙锁定"),
                        {TrCore(kLockOff), TrCore(kLockOn)});
  rxSignal_ = addSignal("txtBulkRxSignal", "chkBulkRxSignal", tr("接收CTC/DCS"));
  txSignal_ = addSignal("txtBulkTxSignal", "chkBulkTxSignal", tr("发射CTC/DCS"));
  txInhibit_ = addChoice("cboBulkTxInhibit", "chkBulkTxInhibit", tr("禁发"),
                         {tr("允许发射"), tr("禁止发射")});
  txEqRx_ = addField("chkBulkTxEqRx", tr("发射频率 = 接收频率"), {});
  layout->addWidget(fields);

  auto* fillBox = new QGroupBox(this);
  fillBox->setObjectName("fraBulkFill");
  auto* fillGrid = new QGridLayout(fillBox);
  fill_ = new QCheckBox(tr("按步进填充频率"), fillBox);
  fill_->setObjectName("chkBulkFill");
  fillFrom_ = new QLineEdit(fillBox);
  fillFrom_->setObjectName("txtBulkFillFrom");
  fillFrom_->setPlaceholderText(QString::number(app_.currentModel().rangeLow, 'f', 5));
  fillStep_ = new QLineEdit("12.5", fillBox);
  fillStep_->setObjectName("txtBulkFillStep");
  fillTx_ = new QCheckBox(tr("发射频率也填充"), fillBox);
  fillTx_->setObjectName("chkBulkFillTx");
  fillGrid->addWidget(fill_, 0, 0, 1, 2);
  fillGrid->addWidget(new QLabel(tr("起始频率(MHz)"), fillBox), 1, 0);
  fillGrid->addWidget(fillFrom_, 1, 1);
  fillGrid->addWidget(new QLabel(tr("步进(kHz)"), fillBox), 2, 0);
  fillGrid->addWidget(fillStep_, 2, 1);
  fillGrid->addWidget(fillTx_, 3, 0, 1, 2);
  for (QWidget* w : {static_cast<QWidget*>(fillFrom_), static_cast<QWidget*>(fillStep_),
                     static_cast<QWidget*>(fillTx_)}) {
    w->setEnabled(false);
    connect(fill_, &QCheckBox::toggled, w, &QWidget::setEnabled);
  }
  layout->addWidget(fillBox);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->setObjectName("bulkButtons");
  buttons->button(QDialogButtonBox::Ok)->setText(tr("确定(&O)"));
  buttons->button(QDialogButtonBox::Ok)->setObjectName("cmdOK");
  buttons->button(QDialogButtonBox::Cancel)->setText(tr("取消(&C)"));
  buttons->button(QDialogButtonBox::Cancel)->setObjectName("cmdCancel");
  connect(buttons, &QDialogButtonBox::accepted, this, &DlgBulkEdit::tryAccept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);
  // A marked field turns back to normal as soon as it is changed.
  for (QLineEdit* field : {rxSignal_, txSignal_, fillFrom_, fillStep_})
    connect(field, &QLineEdit::textChanged, field, [field] { field->setPalette(QPalette()); });
}

QCheckBox* DlgBulkEdit::addField(const char* name, const QString& text, QList<QWidget*> widgets) {
  auto* check = new QCheckBox(text, this);
  check->setObjectName(name);
  grid_->addWidget(check, rows_, 0);
  int col = 1;
  for (QWidget* w : widgets) {
    w->setEnabled(false);
    connect(check, &QCheckBox::toggled, w, &QWidget::setEnabled);
    grid_->addWidget(w, rows_, col++);
  }
  ++rows_;
  return check;
}

QComboBox* DlgBulkEdit::addChoice(const char* name, const char* check, const QString& text,
                                  const QStringList& entries) {
  auto* box = new QComboBox(this);
  box->setObjectName(name);
  box->addItems(entries);
  addField(check, text, {box});
  return box;
}

QLineEdit* DlgBulkEdit::addSignal(const char* name, const char* check, const QString& text) {
  auto* edit = new QLineEdit("OFF", this);
  edit->setObjectName(name);
  auto* pick = new QPushButton("...", this);
  pick->setObjectName(QString(name) + "Pick");
  pick->setFixedWidth(32);
  // The grid's own signalling dialog, so a value is chosen as in a cell.
  connect(pick, &QPushButton::clicked, this, [this, edit] {
    FrmSignal dialog(app_, prompter_, this);
    dialog.setSignalText(edit->text().toStdString());
    if (std::optional<std::string> r = dialog.run()) edit->setText(Q(*r));
  });
  addField(check, text, {edit, pick});
  return edit;
}

BulkEdit DlgBulkEdit::edit() const {
  BulkEdit e;
  auto checked = [this](const char* name) {
    auto* c = findChild<QCheckBox*>(name);
    return c && c->isChecked();
  };
  if (checked("chkBulkBandwidth")) e.narrow = bandwidth_->currentIndex() == 1;
  if (checked("chkBulkPower")) e.lowPower = power_->currentIndex() == 1;
  if (checked("chkBulkScan")) e.scanDelete = scan_->currentIndex() == 1;
  if (checked("chkBulkBusyLock")) e.busyLock = busyLock_->currentIndex() == 1;
  if (checked("chkBulkRxSignal")) e.rxSignal = rxSignal_->text().toStdString();
  if (checked("chkBulkTxSignal")) e.txSignal = txSignal_->text().toStdString();
  if (checked("chkBulkTxInhibit")) e.txInhibit = txInhibit_->currentIndex() == 1;
  e.txEqualsRx = txEqRx_->isChecked();
  if (fill_->isChecked()) {
    e.fillFrom = fillFrom_->text().toStdString();
    e.fillStepKhz = fillStep_->text().toStdString();
    e.fillTx = fillTx_->isChecked();
  }
  return e;
}

std::optional<BulkResult> DlgBulkEdit::run(const Apply& apply) {
  apply_ = apply;
  result_.reset();
  if (exec() != QDialog::Accepted) return std::nullopt;
  return result_;
}

void DlgBulkEdit::tryAccept() {
  const BulkEdit e = edit();
  if (!e.any() || !apply_) {
    accept();
    return;
  }
  BulkResult r = apply_(e);
  if (r.ok) {
    result_ = std::move(r);
    accept();
    return;
  }
  Notify(prompter_, QM_TR("批量修改"), r.error, Icon::Exclamation);
  if (QLineEdit* field = fieldWidget(r.field)) mark(field);
}

QLineEdit* DlgBulkEdit::fieldWidget(BulkField field) const {
  switch (field) {
    case BulkField::RxSignal:
      return rxSignal_;
    case BulkField::TxSignal:
      return txSignal_;
    case BulkField::FillFrom:
      return fillFrom_;
    case BulkField::FillStep:
      return fillStep_;
    case BulkField::None:
      break;
  }
  return nullptr;
}

void DlgBulkEdit::mark(QLineEdit* field) {
  // Red, as the window marks a value it cannot take, and ready to be typed over.
  QPalette p = field->palette();
  MarkRed(p);
  field->setPalette(p);
  field->setFocus(Qt::OtherFocusReason);
  field->selectAll();
}

}  // namespace qm::ui
