#include "ui/extras_menu.h"

#include <QAction>
#include <QCheckBox>
#include <QDesktopServices>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QFormLayout>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>
#include <filesystem>

#include "base/tr.h"
#include "document/csv_lists.h"
#include "files/chirp_csv.h"
#include "files/data_file.h"
#include "files/file_io.h"
#include "files/utf8_path.h"
#include "model/defaults.h"
#include "platform/translation.h"
#include "ui/qt_text.h"

namespace qm::ui {

namespace {

std::string FolderOf(const std::string& path) {
  return PathToUtf8(PathFromUtf8(path).parent_path());
}

// The import's choices, asked after the file was picked; a start that is not a whole number
// keeps the dialog open.
std::optional<CsvImportChoice> AskImportChoice(QWidget* parent) {
  QDialog dlg(parent);
  dlg.setObjectName("dlgImportCsv");
  dlg.setWindowTitle(TechnicianExtras::tr("导入CSV"));
  auto* from = new QLineEdit(&dlg);
  from->setObjectName("txtFromLocation");
  from->setPlaceholderText(TechnicianExtras::tr("第一行"));
  auto* clear = new QCheckBox(TechnicianExtras::tr("其余信道关闭"), &dlg);
  clear->setObjectName("chkClearRest");
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dlg);
  buttons->button(QDialogButtonBox::Ok)->setText(TechnicianExtras::tr("确定(&O)"));
  buttons->button(QDialogButtonBox::Cancel)->setText(TechnicianExtras::tr("取消(&C)"));
  auto* form = new QFormLayout;
  form->addRow(TechnicianExtras::tr("起始Location:"), from);
  form->addRow(clear);
  auto* layout = new QVBoxLayout(&dlg);
  layout->addLayout(form);
  layout->addWidget(buttons);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dlg, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dlg, &QDialog::reject);
  for (;;) {
    if (dlg.exec() != QDialog::Accepted) return std::nullopt;
    if (std::optional<CsvImportChoice> c =
            ReadCsvImportChoice(from->text().trimmed().toStdString(), clear->isChecked()))
      return c;
    from->selectAll();
  }
}

}  // namespace

TechnicianExtras::TechnicianExtras(QWidget* window, Document& doc, AppState& app,
                                   Prompter& prompter, FileDialogs& dialogs, const ProfileFile& ini,
                                   ExtrasHooks hooks)
    : QObject(window),
      window_(window),
      doc_(doc),
      app_(app),
      prompter_(prompter),
      dialogs_(dialogs),
      ini_(ini),
      hooks_(std::move(hooks)),
      readHistory_(ini, prompter) {}

TechnicianExtras::~TechnicianExtras() = default;

bool TechnicianExtras::option(const char* key) const {
  return ini_.read(kExtrasSection, key, "0") == "1";
}

void TechnicianExtras::setOption(const char* key, bool on) {
  ini_.write(kExtrasSection, key, on ? "1" : "0");
}

std::string TechnicianExtras::backupDir() const {
  std::string dir = ini_.read(kExtrasSection, kBackupDirKey, "");
  if (!dir.empty()) return dir;
  return PathToUtf8(PathFromUtf8(FolderOf(ini_.path())) / "backups");
}

void TechnicianExtras::install(QMenu* file, QAction* saveAs, QMenu* operate) {
  // File menu: after Save As, that is before whatever follows it.
  const QList<QAction*> items = file->actions();
  const qsizetype at = items.indexOf(saveAs);
  QAction* before = (at >= 0 && at + 1 < items.size()) ? items[at + 1] : nullptr;
  auto* imp = new QAction(this);
  imp->setObjectName("mnuFileImportCsv");
  auto* exp = new QAction(this);
  exp->setObjectName("mnuFileExportCsv");
  texts_.add([imp, exp] {
    imp->setText(tr("导入CSV(&I)..."));
    exp->setText(tr("导出CSV(&E)..."));
  });
  file->insertAction(before, imp);
  file->insertAction(before, exp);
  connect(imp, &QAction::triggered, this, &TechnicianExtras::importCsv);
  connect(exp, &QAction::triggered, this, &TechnicianExtras::exportCsv);

  QAction* sep = operate->addSeparator();
  sep->setObjectName("mnuExtrasBar");
  auto checkable = [&](const char* name, const char* text, const char* key) {
    auto* a = new QAction(this);
    texts_.add([a, text] { a->setText(tr(text)); });
    a->setObjectName(name);
    a->setCheckable(true);
    a->setChecked(option(key));
    operate->addAction(a);
    connect(a, &QAction::toggled, this, [this, key](bool on) { setOption(key, on); });
    return a;
  };
  verify_ = checkable("mnuVerifyAfterWrite", QT_TR_NOOP("写频后校验"), kVerifyKey);
  backup_ = checkable("mnuBackupBeforeWrite", QT_TR_NOOP("写频前备份"), kBackupKey);
  backup_->setToolTip(QString::fromStdString(backupDir()));
  auto* fleet = new QAction(this);
  fleet->setObjectName("mnuFleetWrite");
  texts_.add([fleet] { fleet->setText(tr("批量写频...")); });
  operate->addAction(fleet);
  connect(fleet, &QAction::triggered, this, [this] {
    if (hooks_.fleetWrite) hooks_.fleetWrite();
  });
  traceOn_ = checkable("mnuSerialTrace", QT_TR_NOOP("串口记录"), kTraceKey);
  auto* view = new QAction(this);
  view->setObjectName("mnuShowTrace");
  texts_.add([this, view] {
    backup_->setStatusTip(tr("写频前先读出整机数据，按对讲机ID和日期保存到 %1")
                              .arg(QString::fromStdString(backupDir())));
    view->setText(tr("查看串口记录..."));
  });
  operate->addAction(view);
  connect(view, &QAction::triggered, this, &TechnicianExtras::showTrace);

  history_ = new QAction(this);
  history_->setObjectName("mnuReadHistory");
  history_->setCheckable(true);
  history_->setChecked(ReadHistoryEnabled(ini_));
  operate->addAction(history_);
  connect(history_, &QAction::toggled, this, [this](bool on) { SetReadHistoryEnabled(ini_, on); });
  auto* folder = new QAction(this);
  folder->setObjectName("mnuOpenReadHistory");
  texts_.add([this, folder] {
    history_->setText(tr("保存读频记录"));
    history_->setStatusTip(tr("每次读频后把读出的数据按对讲机ID和时间保存到 %1")
                               .arg(QString::fromStdString(ReadHistoryDir(ini_.path()))));
    folder->setText(tr("打开读频记录文件夹..."));
  });
  operate->addAction(folder);
  connect(folder, &QAction::triggered, this, &TechnicianExtras::openReadHistory);
}

void TechnicianExtras::keepRead(const Image& image) { readHistory_.Keep(image, LocalTimeNow()); }

void TechnicianExtras::openReadHistory() {
  const std::string dir = ReadHistoryDir(ini_.path());
  std::error_code ec;
  std::filesystem::create_directories(PathFromUtf8(dir), ec);
  if (!QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(dir)))) {
    Notify(prompter_, QM_TR("读频记录"), Fill(QM_TR("无法打开文件夹 %1。"), {dir}),
           Icon::Exclamation);
  }
}

void TechnicianExtras::retranslate() { texts_.apply(); }

WriteChecks TechnicianExtras::writeChecks() const {
  WriteChecks c;
  c.verify = verify_ && verify_->isChecked();
  if (backup_ && backup_->isChecked()) c.backupDir = backupDir();
  return c;
}

SerialPort& TechnicianExtras::linkPort(SerialPort& port, const Clock& clock) {
  if (!traceOn_ || !traceOn_->isChecked()) return port;
  tracing_.reset();
  trace_.emplace(clock);
  trace_->note("QM830K " + FormatLocalTime(LocalTimeNow()));
  tracing_.emplace(port, *trace_);
  return *tracing_;
}

void TechnicianExtras::showTrace() {
  QDialog dlg(window_);
  dlg.setObjectName("dlgSerialTrace");
  dlg.setWindowTitle(tr("串口记录"));
  auto* text = new QPlainTextEdit(&dlg);
  text->setObjectName("txtTrace");
  text->setReadOnly(true);
  text->setLineWrapMode(QPlainTextEdit::NoWrap);
  text->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  if (trace_ && !trace_->lines().empty()) {
    text->setPlainText(QString::fromStdString(trace_->text()));
  } else if (!traceOn_ || !traceOn_->isChecked()) {
    text->setPlainText(tr("没有串口记录。请先勾选“编程 → 串口记录”，再读频或写频。"));
  } else {
    text->setPlainText(tr("还没有串口记录：下一次读频、写频或调测时记录。"));
  }
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, &dlg);
  buttons->button(QDialogButtonBox::Close)->setText(tr("关闭(&C)"));
  connect(buttons, &QDialogButtonBox::rejected, &dlg, &QDialog::reject);
  // A trace goes to whoever diagnoses the link: it can be saved as a text file.
  QPushButton* save = buttons->addButton(tr("保存(&S)..."), QDialogButtonBox::ActionRole);
  save->setObjectName("cmdSaveTrace");
  save->setEnabled(trace_ && !trace_->lines().empty());
  connect(save, &QPushButton::clicked, &dlg, [this] {
    FileDialogRequest req;
    req.title = QM_TR("保存串口记录");
    req.initialDir = doc_.fileDialogDir;
    req.initialName = "serial-trace.txt";
    req.filters = {{"Text Files (*.txt)", "*.txt"}, {"All Files (*.*)", "*.*"}};
    req.defaultExt = "txt";
    req.pathMustExist = true;
    req.overwritePrompt = true;
    const std::optional<std::string> path = dialogs_.saveFile(req);
    if (!path || !trace_) return;
    const std::string text = trace_->text();
    const auto* p = reinterpret_cast<const uint8_t*>(text.data());
    if (!WriteFileAtomically(*path, std::span<const uint8_t>(p, text.size())))
      Notify(prompter_, kAppTitle, QM_TR("保存文件错误！"), Icon::Exclamation);
  });
  auto* layout = new QVBoxLayout(&dlg);
  layout->addWidget(text);
  layout->addWidget(buttons);
  dlg.resize(760, 480);
  dlg.exec();
}

void TechnicianExtras::importCsv() {
  if (hooks_.busy && hooks_.busy()) return;
  if (hooks_.commitPendingEdit) hooks_.commitPendingEdit();
  const std::optional<std::string> path = dialogs_.openFile(CsvImportRequest(doc_));
  if (!path) return;
  const std::optional<CsvImportChoice> choice = AskImportChoice(window_);
  if (!choice) return;
  ImportCsvFile(doc_, app_, *path, *choice, prompter_, hooks_.refresh);
}

void TechnicianExtras::exportCsv() {
  if (hooks_.busy && hooks_.busy()) return;
  if (hooks_.commitPendingEdit) hooks_.commitPendingEdit();
  const std::optional<std::string> path = dialogs_.saveFile(CsvExportRequest(doc_));
  if (!path) return;
  ExportCsvFile(doc_, *path, TrCoreUtf8(kChirpChannelName), prompter_);
}

}  // namespace qm::ui
