// The technician's extras in the real main window: the menu entries and their defaults, the
// options kept in the configuration file, CSV import and export, and verify, backup and the
// serial trace against zr410-sim on a pseudo-terminal.
#include <QAction>
#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <deque>
#include <functional>
#include <memory>

#include "document/config.h"
#include "files/profile.h"
#include "model/image.h"
#include "platform/qt_text_codec.h"
#include "support/fake_prompter.h"
#include "ui/extras_menu.h"
#include "ui/main_window.h"

using qm::Answer;
using qm::ui::FrmMain;

namespace {

// Runs `inside` on the next modal window once it shows, while `act` runs.
void WithModal(const std::function<void(QWidget*)>& inside, const std::function<void()>& act) {
  auto tries = std::make_shared<int>(0);
  auto poll = std::make_shared<std::function<void()>>();
  *poll = [inside, tries, poll] {
    if (QWidget* m = QApplication::activeModalWidget()) {
      inside(m);
      return;
    }
    if (++*tries < 1000) QTimer::singleShot(10, *poll);
  };
  QTimer::singleShot(10, *poll);
  act();
}

QByteArray ReadAll(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return {};
  return f.readAll();
}

class Sim {
 public:
  explicit Sim(QString dir) : dir_(std::move(dir)) {}
  ~Sim() { stop(); }
  QString link() const { return dir_ + "/radio"; }
  QString log() const { return dir_ + "/sim.log"; }
  bool start(const QStringList& options) {
    proc_.setProgram(QM_SIM_PATH);
    proc_.setArguments(QStringList{"--link", link(), "--log", log()} + options);
    proc_.start();
    if (!proc_.waitForStarted(5000)) return false;
    return proc_.waitForReadyRead(5000) && QFile::exists(link());
  }
  void stop() {
    if (proc_.state() == QProcess::NotRunning) return;
    proc_.terminate();
    proc_.waitForFinished(5000);
  }

 private:
  QString dir_;
  QProcess proc_;
};

struct ScriptedDialogs : qm::FileDialogs {
  std::deque<std::string> paths;
  std::vector<qm::FileDialogRequest> requests;
  std::optional<std::string> next(const qm::FileDialogRequest& r) {
    requests.push_back(r);
    if (paths.empty()) return std::nullopt;
    std::string p = paths.front();
    paths.pop_front();
    return p;
  }
  std::optional<std::string> openFile(const qm::FileDialogRequest& r) override { return next(r); }
  std::optional<std::string> saveFile(const qm::FileDialogRequest& r) override { return next(r); }
};

struct Env {
  QTemporaryDir dir;
  qm::QtTextCodec codec;
  qm::AppState app;
  std::unique_ptr<qm::ProfileFile> ini;
  qm::test::FakePrompter prompter;
  ScriptedDialogs dialogs;
  std::unique_ptr<FrmMain> w;
  std::unique_ptr<Sim> sim;

  Env() {
    const std::string programDir = dir.path().toStdString();
    qm::LoadStartupConfig(programDir, QM_SOURCE_DIR "/data/nrvPC.ini", app, codec,
                          programDir + "/QM830K.ini");
    ini = std::make_unique<qm::ProfileFile>(app.iniFile, codec);
    sim = std::make_unique<Sim>(dir.path());
  }
  void open() {
    w = std::make_unique<FrmMain>(app, prompter, dialogs, *ini);
    w->start();
    w->show();
    if (!QTest::qWaitForWindowExposed(w.get())) qWarning("window not exposed");
  }
  ~Env() {
    prompter.answer(Answer::No);
    if (w) w->close();
  }
  bool startRadio(QStringList options = {}) {
    options << "--model" << QString::number(app.currentModel().code);
    if (!sim->start(options)) return false;
    w->setDevicePath(sim->link());
    return true;
  }
  QAction* action(const QString& name) const { return w->findChild<QAction*>(name); }
  qm::ui::TechnicianExtras* extras() const {
    return w->findChild<qm::ui::TechnicianExtras*>("technicianExtras");
  }
  bool saidStartingWith(const std::string& head) const {
    for (const auto& t : prompter.texts())
      if (t.rfind(head, 0) == 0) return true;
    return false;
  }
};

QMenu* MenuNamed(FrmMain* w, const char* name) { return w->findChild<QMenu*>(name); }

QStringList Names(const QList<QAction*>& actions) {
  QStringList out;
  for (QAction* a : actions) out << a->objectName();
  return out;
}

}  // namespace

class ExtrasWindowTest : public QObject {
  Q_OBJECT
 private slots:
  void initTestCase() { qputenv("XDG_RUNTIME_DIR", QTemporaryDir().path().toUtf8()); }
  void menusInPlaceAndOffByDefault();
  void optionsKeptInTheConfigurationFile();
  void csvImportMarksTheDataChangedAndExportWritesTheRows();
  void verifyCatchesARadioThatStoresAWrongByte();
  void backupAndTrace();
};

void ExtrasWindowTest::menusInPlaceAndOffByDefault() {
  Env e;
  e.open();
  const QStringList file = Names(MenuNamed(e.w.get(), "mnuFile")->actions());
  const qsizetype at = file.indexOf("mnuFileSaveAs");
  QVERIFY(at >= 0);
  QCOMPARE(file.mid(at, 4),
           (QStringList{"mnuFileSaveAs", "mnuFileImportCsv", "mnuFileExportCsv", "mnuFileBar2"}));
  QCOMPARE(e.action("mnuFileImportCsv")->text(), QString("导入CSV(&I)..."));
  QCOMPARE(e.action("mnuFileExportCsv")->text(), QString("导出CSV(&E)..."));
  const QStringList operate = Names(MenuNamed(e.w.get(), "mnuOperate")->actions());
  QVERIFY(operate.indexOf("mnuVerifyAfterWrite") > operate.indexOf("mnuTune"));
  for (const char* name : {"mnuVerifyAfterWrite", "mnuBackupBeforeWrite", "mnuSerialTrace"}) {
    QVERIFY2(e.action(name)->isCheckable(), name);
    QVERIFY2(!e.action(name)->isChecked(), name);
  }
  QCOMPARE(e.action("mnuVerifyAfterWrite")->text(), QString("写频后校验"));
  QCOMPARE(e.action("mnuSerialTrace")->text(), QString("串口记录"));
  const qm::WriteChecks c = e.extras()->writeChecks();
  QVERIFY(!c.verify);
  QVERIFY(c.backupDir.empty());
}

void ExtrasWindowTest::optionsKeptInTheConfigurationFile() {
  Env e;
  e.open();
  e.action("mnuVerifyAfterWrite")->trigger();
  e.action("mnuSerialTrace")->trigger();
  QCOMPARE(e.ini->read("Extras", "VerifyAfterWrite", ""), std::string("1"));
  QCOMPARE(e.ini->read("Extras", "SerialTrace", ""), std::string("1"));
  e.prompter.answer(Answer::No);
  e.w->close();
  e.w.reset();
  e.open();
  QVERIFY(e.action("mnuVerifyAfterWrite")->isChecked());
  QVERIFY(e.action("mnuSerialTrace")->isChecked());
  QVERIFY(!e.action("mnuBackupBeforeWrite")->isChecked());
  QVERIFY(e.extras()->writeChecks().verify);
}

void ExtrasWindowTest::csvImportMarksTheDataChangedAndExportWritesTheRows() {
  Env e;
  e.open();
  const QString csv = e.dir.filePath("in.csv");
  {
    QFile f(csv);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(
        "Location,Frequency,Duplex,Offset,Tone,rToneFreq,Mode\r\n"
        "5,451.125,,0,Tone,100.0,NFM\r\n"
        "6,abc,,0,,88.5,FM\r\n"
        "7,452.0,split,457.0,,88.5,FM\r\n");
  }
  QVERIFY(!e.w->document().HasUnsavedData());
  e.dialogs.paths = {csv.toStdString()};
  WithModal(
      [](QWidget* dlg) {
        QCOMPARE(dlg->objectName(), QString("dlgImportCsv"));
        dlg->findChild<QLineEdit*>("txtFromLocation")->setText("5");
        dlg->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
      },
      [&] { e.action("mnuFileImportCsv")->trigger(); });
  QCOMPARE(
      e.prompter.texts(),
      (std::vector<std::string>{"导入2个信道。\n第3行：Frequency列的数值无法识别（abc），已跳过"}));
  auto& ch = e.w->document().editors().channels();
  QCOMPARE(ch.cell(1, 1).text, std::string("451.12500"));
  QCOMPARE(ch.cell(1, 4).text, std::string("CTC 100.0"));
  QCOMPARE(ch.cell(2, 3).text, std::string("457.00000"));
  QVERIFY(e.w->document().HasUnsavedData());

  e.prompter.clear();
  const QString out = e.dir.filePath("out.csv");
  e.dialogs.paths = {out.toStdString()};
  e.action("mnuFileExportCsv")->trigger();
  QCOMPARE(e.dialogs.requests.back().title, std::string("导出CSV"));
  const QByteArray written = ReadAll(out);
  QVERIFY(written.startsWith("Location,Name,Frequency,Duplex,Offset,Tone,"));
  QVERIFY(written.contains("\r\n1,信道1,451.125000,,0.000000,Tone,100.0,"));
  QVERIFY(written.contains("\r\n2,信道2,452.000000,split,457.000000,"));
  QCOMPARE(e.prompter.texts().size(), size_t{1});
  QVERIFY(e.saidStartingWith("导出"));
  // An export saves nothing: the imported edits still count as unsaved.
  QVERIFY(e.w->document().HasUnsavedData());
}

void ExtrasWindowTest::verifyCatchesARadioThatStoresAWrongByte() {
  Env e;
  e.open();
  e.action("mnuVerifyAfterWrite")->trigger();
  QVERIFY(e.startRadio({"--corrupt", "0x2B3"}));
  e.prompter.clear();
  e.action("mnuWrite")->trigger();
  QVERIFY(e.saidStartingWith("写频校验失败，对讲机中的数据与写入的不同：\n0x2B0: 写入 "));
  QVERIFY(!e.saidStartingWith("写频完成"));
  QVERIFY(!e.w->windowTitle().startsWith("写频完成"));
  e.sim->stop();

  QVERIFY(e.startRadio());
  e.prompter.clear();
  e.action("mnuWrite")->trigger();
  QCOMPARE(e.prompter.texts(),
           (std::vector<std::string>{"写频完成，回读校验无误，请按“确定”按钮继续....."}));
  QVERIFY(e.w->windowTitle().startsWith("写频完成"));
}

void ExtrasWindowTest::backupAndTrace() {
  Env e;
  const QString backups = e.dir.filePath("bk");
  e.ini->write("Extras", "BackupDir", backups.toStdString());
  e.open();
  e.action("mnuBackupBeforeWrite")->trigger();
  e.action("mnuSerialTrace")->trigger();
  QVERIFY(e.startRadio());
  e.prompter.clear();
  e.action("mnuWrite")->trigger();
  QCOMPARE(e.prompter.texts(), (std::vector<std::string>{"写频完成，请按“确定”按钮继续....."}));
  const QStringList files = QDir(backups).entryList({"noid_*.q83"}, QDir::Files);
  QCOMPARE(files.size(), 1);
  QVERIFY(QFile(backups + "/" + files[0]).size() > 1024);

  // The trace holds the last operation: the backup's read and the write.
  const qm::SerialTrace* trace = e.extras()->trace();
  QVERIFY(trace);
  const std::string text = trace->text();
  QVERIFY(text.find(" ms TX  02 50 52 4F 47 52 41 4D\n") != std::string::npos);
  QVERIFY(text.find(" ms TX  52 03 F8 08\n") != std::string::npos);  // the last read request
  QVERIFY(text.find(" ms TX  57 03 C8 08 ") != std::string::npos);   // the last write frame
  QString shown;
  const QString saved = e.dir.filePath("trace.txt");
  e.dialogs.paths = {saved.toStdString()};
  WithModal(
      [&](QWidget* dlg) {
        shown = dlg->findChild<QPlainTextEdit*>("txtTrace")->toPlainText();
        dlg->findChild<QPushButton*>("cmdSaveTrace")->click();
        dlg->close();
      },
      [&] { e.action("mnuShowTrace")->trigger(); });
  QCOMPARE(shown, QString::fromStdString(text));
  QCOMPARE(ReadAll(saved).toStdString(), text);
}

QTEST_MAIN(ExtrasWindowTest)
#include "extras_window_test.moc"
