#include "ui/fleet_dialog.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "base/model_table.h"
#include "base/text_util.h"
#include "model/defaults.h"
#include "ui/link_thread.h"
#include "ui/qt_text.h"

namespace qm::ui {

namespace {

// Each radio's "写频完成" would stop the line for a click: its row in the table says it.
// Failures and questions still reach the user as the program's boxes.
class FleetPrompter : public Prompter {
 public:
  explicit FleetPrompter(Prompter& inner) : inner_(inner) {}
  Answer ask(const Message& m) override {
    if (m.buttons == Buttons::Ok && m.icon == Icon::None) return Answer::Ok;
    return inner_.ask(m);
  }
  WarningAnswer warn(int selIndex, const std::string& text) override {
    return inner_.warn(selIndex, text);
  }

 private:
  Prompter& inner_;
};

enum Column { kNumber, kId, kModel, kVersion, kResult, kTime, kRow, kColumns };

}  // namespace

// Runs on the link thread; whatever touches a widget crosses to the window thread.
class DialogSeam : public FleetSeam {
 public:
  DialogSeam(FleetDialog& d, Clock& clock) : d_(d), clock_(clock) {}
  bool stopRequested() override { return d_.stop_; }
  bool nextRadio(int n) override {
    d_.env_.link.onWindow([&] { d_.waitingFor(n); });
    // Polled between short waits, like the detection: the window thread stays free.
    while (!d_.next_.exchange(false) && !d_.stop_) clock_.delayMs(50);
    d_.env_.link.onWindow([&] { d_.cmdNext_->setEnabled(false); });
    return !d_.stop_;
  }
  void detecting(int n) override {
    d_.env_.link.onWindow([&] { d_.detecting(n); });
  }
  void radioDone(const FleetRecord& r, const RosterRow* row) override {
    d_.env_.link.onWindow([&] { d_.addRow(r, row); });
  }
  void logNotWritten(const std::string&) override { logFailed = true; }
  bool logFailed = false;

 private:
  FleetDialog& d_;
  Clock& clock_;
};

FleetDialog::FleetDialog(QWidget* parent, const Image& image, int16_t imageVerMajor,
                         FleetDialogEnv env)
    : QDialog(parent), image_(image), imageVerMajor_(imageVerMajor), env_(std::move(env)) {
  setObjectName("dlgFleet");
  setWindowTitle(tr("批量写频"));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(tr("把当前打开的数据逐台写入对讲机。"), this));

  auto* options = new QGroupBox(tr("选项"), this);
  auto* form = new QFormLayout(options);
  chkVerify_ = new QCheckBox(tr("写频后校验"), options);
  chkVerify_->setObjectName("chkFleetVerify");
  chkVerify_->setChecked(env_.checks.verify);
  chkBackup_ = new QCheckBox(tr("写频前备份"), options);
  chkBackup_->setObjectName("chkFleetBackup");
  chkBackup_->setChecked(!env_.checks.backupDir.empty());
  chkBackup_->setToolTip(Q(env_.backupDir));
  form->addRow(chkVerify_);
  form->addRow(chkBackup_);
  optClick_ = new QRadioButton(tr("每台点击“下一台”后写频"), options);
  optClick_->setObjectName("optFleetClick");
  optClick_->setChecked(true);
  optDetect_ = new QRadioButton(tr("自动检测下一台对讲机"), options);
  optDetect_->setObjectName("optFleetDetect");
  form->addRow(optClick_);
  form->addRow(optDetect_);
  auto fileRow = [&](const QString& label, const char* edit, const char* button, QLineEdit*& e,
                     QPushButton*& b) {
    auto* row = new QHBoxLayout;
    e = new QLineEdit(options);
    e->setObjectName(edit);
    b = new QPushButton(tr("浏览..."), options);
    b->setObjectName(button);
    row->addWidget(e);
    row->addWidget(b);
    form->addRow(label, row);
  };
  fileRow(tr("记录文件："), "txtFleetLog", "cmdFleetLog", txtLog_, cmdLog_);
  txtLog_->setText(Q(env_.logPath));
  fileRow(tr("名单（可选）："), "txtFleetRoster", "cmdFleetRoster", txtRoster_, cmdRoster_);
  layout->addWidget(options);

  grid_ = new QTableWidget(0, kColumns, this);
  grid_->setObjectName("gridFleet");
  grid_->setHorizontalHeaderLabels(
      {"#", tr("对讲机ID"), tr("机型"), tr("版本"), tr("结果"), tr("时间"), tr("名单行")});
  grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grid_->verticalHeader()->hide();
  grid_->horizontalHeader()->setStretchLastSection(true);
  grid_->setMinimumSize(720, 220);
  layout->addWidget(grid_);

  status_ = new QLabel(this);
  status_->setObjectName("lblFleetStatus");
  status_->setWordWrap(true);
  layout->addWidget(status_);

  auto* buttons = new QHBoxLayout;
  cmdStart_ = new QPushButton(tr("开始"), this);
  cmdStart_->setObjectName("cmdFleetStart");
  cmdNext_ = new QPushButton(tr("下一台"), this);
  cmdNext_->setObjectName("cmdFleetNext");
  cmdStop_ = new QPushButton(tr("停止"), this);
  cmdStop_->setObjectName("cmdFleetStop");
  cmdStop_->setToolTip(tr("当前这台写完后停止"));
  cmdClose_ = new QPushButton(tr("关闭"), this);
  cmdClose_->setObjectName("cmdFleetClose");
  // The two buttons the user presses while the loop runs on the link thread.
  cmdNext_->setProperty(kTakesInputDuringLink, true);
  cmdStop_->setProperty(kTakesInputDuringLink, true);
  for (QPushButton* b : {cmdStart_, cmdNext_, cmdStop_, cmdClose_}) {
    b->setAutoDefault(false);
    buttons->addWidget(b);
  }
  layout->addLayout(buttons);
  setRunning(false);

  connect(cmdStart_, &QPushButton::clicked, this, &FleetDialog::start);
  connect(cmdNext_, &QPushButton::clicked, this, [this] {
    cmdNext_->setEnabled(false);
    next_ = true;
  });
  connect(cmdStop_, &QPushButton::clicked, this, [this] {
    stop_ = true;
    cmdStop_->setEnabled(false);
    status_->setText(tr("当前这台写完后停止。"));
  });
  connect(cmdClose_, &QPushButton::clicked, this, &QDialog::accept);
  connect(cmdLog_, &QPushButton::clicked, this, &FleetDialog::browseLog);
  connect(cmdRoster_, &QPushButton::clicked, this, &FleetDialog::browseRoster);
}

void FleetDialog::browseLog() {
  FileDialogRequest r;
  r.title = tr("记录文件").toStdString();
  r.filters = {{tr("CSV文件 (*.csv)").toStdString(), "*.csv"}};
  r.defaultExt = "csv";
  if (const auto path = env_.dialogs.saveFile(r)) txtLog_->setText(Q(*path));
}

void FleetDialog::browseRoster() {
  FileDialogRequest r;
  r.title = tr("名单").toStdString();
  r.filters = {{tr("CSV文件 (*.csv)").toStdString(), "*.csv"}};
  r.defaultExt = "csv";
  r.fileMustExist = true;
  if (const auto path = env_.dialogs.openFile(r)) txtRoster_->setText(Q(*path));
}

void FleetDialog::setRunning(bool running) {
  for (QWidget* w :
       std::initializer_list<QWidget*>{chkVerify_, chkBackup_, optClick_, optDetect_, txtLog_,
                                       txtRoster_, cmdLog_, cmdRoster_, cmdStart_, cmdClose_})
    w->setEnabled(!running);
  cmdNext_->setEnabled(false);
  cmdStop_->setEnabled(running);
}

void FleetDialog::waitingFor(int n) {
  next_ = false;
  status_->setText(tr("请连接第%1台对讲机，然后点击“下一台”。").arg(n));
  cmdNext_->setEnabled(true);
}

void FleetDialog::detecting(int n) { status_->setText(tr("等待第%1台对讲机应答……").arg(n)); }

void FleetDialog::addRow(const FleetRecord& r, const RosterRow* row) {
  const int at = grid_->rowCount();
  grid_->insertRow(at);
  QString model = "-";
  if (r.modelCode >= 0) {
    const int m = FindModelByCode(env_.app, r.modelCode);
    model = m >= 0 ? Q(env_.app.models[static_cast<size_t>(m)].name) : QString::number(r.modelCode);
  }
  const QString rowText = row ? tr("第%1行 %2").arg(row->line).arg(Q(row->label)) : QString("-");
  const QString cells[kColumns] = {QString::number(r.count),
                                   r.radioId.empty() ? QString("-") : Q(r.radioId),
                                   model,
                                   r.version.empty() ? QString("-") : Q(r.version),
                                   TrCore(r.result),
                                   Q(r.time),
                                   rowText};
  for (int c = 0; c < kColumns; ++c) grid_->setItem(at, c, new QTableWidgetItem(cells[c]));
  grid_->resizeColumnsToContents();
  grid_->scrollToBottom();
  status_->setText(TrCore(FleetLine(r)));
}

void FleetDialog::showSummary(const FleetSummary& s, bool logFailed) {
  QString text = TrCore(FillCount(QM_TR_N("共%n台：成功%1台，失败%2台"), s.count,
                                  {std::to_string(s.succeeded), std::to_string(s.failed.size())}));
  if (!s.failed.empty()) {
    std::string list;
    for (size_t k = 0; k < s.failed.size(); ++k)
      list += (k ? TrCoreUtf8(QM_TR("、")) : "") + "#" + std::to_string(s.failed[k]);
    text += TrCore(Fill(QM_TR("（%1）"), {list}));
  }
  if (logFailed) text += "\n" + TrCore(QM_TR("记录文件无法写入")) + " (" + txtLog_->text() + ")";
  status_->setText(text);
}

void FleetDialog::start() {
  FleetOptions options;
  options.checks.verify = chkVerify_->isChecked();
  if (chkBackup_->isChecked()) options.checks.backupDir = env_.backupDir;
  options.autoDetect = optDetect_->isChecked();
  options.logPath = txtLog_->text().trimmed().toStdString();
  // A roster wrong in any row is refused before the first radio: nothing is written.
  std::optional<Roster> roster;
  const std::string rosterPath = txtRoster_->text().trimmed().toStdString();
  if (!rosterPath.empty()) {
    roster = LoadRoster(rosterPath);
    if (!roster->ok()) {
      Notify(env_.prompter, kAppTitle, roster->error, Icon::Exclamation);
      return;
    }
  }
  grid_->setRowCount(0);
  next_ = false;
  stop_ = false;
  setRunning(true);
  FleetSummary summary;
  bool logFailed = false;
  env_.runOnLink([&](LinkContext& ctx) {
    FleetPrompter prompter(ctx.prompter);
    LinkContext fleetCtx{ctx.port, ctx.clock, prompter, ctx.progress, ctx.app, ctx.portNumber};
    DialogSeam seam(*this, ctx.clock);
    summary =
        RunFleet(fleetCtx, image_, imageVerMajor_, options, roster ? &*roster : nullptr, seam);
    logFailed = seam.logFailed;
  });
  setRunning(false);
  showSummary(summary, logFailed);
}

}  // namespace qm::ui
