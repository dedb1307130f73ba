// The technician's extras in the real main window: the menu entries and their defaults, the
// options kept in the configuration file, CSV import and export, and verify, backup and the
// serial trace against zr410-sim on a pseudo-terminal.

#include "ui/extras_menu.h"
#include "window_rig.h"

using namespace qm::uitest;

namespace {

qm::ui::TechnicianExtras* Extras(Env& e) {
  return e.find<qm::ui::TechnicianExtras>("technicianExtras");
}

bool SaidStartingWith(const Env& e, const std::string& head) {
  for (const auto& t : e.texts())
    if (t.rfind(head, 0) == 0) return true;
  return false;
}

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
  void menusOffByDefaultAndKeptInTheConfigurationFile();
  void csvImportMarksTheDataChangedAndExportWritesTheRows();
  void verifyCatchesARadioThatStoresAWrongByte();
  void backupAndTrace();
};

void ExtrasWindowTest::menusOffByDefaultAndKeptInTheConfigurationFile() {
  Env e;
  const QStringList file = Names(e.find<QMenu>("mnuFile")->actions());
  const qsizetype at = file.indexOf("mnuFileSaveAs");
  QVERIFY(at >= 0);
  QCOMPARE(file.mid(at, 4),
           (QStringList{"mnuFileSaveAs", "mnuFileImportCsv", "mnuFileExportCsv", "mnuFileBar2"}));
  const QStringList operate = Names(e.find<QMenu>("mnuOperate")->actions());
  QVERIFY(operate.indexOf("mnuVerifyAfterWrite") > operate.indexOf("mnuTune"));
  for (const char* name : {"mnuVerifyAfterWrite", "mnuBackupBeforeWrite", "mnuSerialTrace"})
    QVERIFY2(e.action(name)->isCheckable() && !e.action(name)->isChecked(), name);
  QVERIFY(!Extras(e)->writeChecks().verify && Extras(e)->writeChecks().backupDir.empty());

  // The options are kept in the configuration file for the next start.
  e.action("mnuVerifyAfterWrite")->trigger();
  e.action("mnuSerialTrace")->trigger();
  QCOMPARE(e.ini->read("Extras", "VerifyAfterWrite", ""), std::string("1"));
  QCOMPARE(e.ini->read("Extras", "SerialTrace", ""), std::string("1"));
  e.prompter.answer(qm::Answer::No);
  e.w->close();
  e.w = std::make_unique<qm::ui::FrmMain>(e.app, e.prompter, e.dialogs, *e.ini);
  e.w->start();
  QVERIFY(e.action("mnuVerifyAfterWrite")->isChecked() && e.action("mnuSerialTrace")->isChecked());
  QVERIFY(!e.action("mnuBackupBeforeWrite")->isChecked());
  QVERIFY(Extras(e)->writeChecks().verify);
}

// The columns, the skipped rows and the export's form are the CSV tests'; here the dialog's
// first location reaches the import, its notes are shown, and the export writes the rows.
void ExtrasWindowTest::csvImportMarksTheDataChangedAndExportWritesTheRows() {
  Env e;
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
  e.dialogs.choose(csv.toStdString());
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
  QCOMPARE(e.cell(1, 1) + " " + e.cell(2, 3), QString("451.12500 457.00000"));
  QVERIFY(e.w->document().HasUnsavedData());

  e.prompter.clear();
  const QString out = e.dir.filePath("out.csv");
  e.dialogs.choose(out.toStdString());
  e.action("mnuFileExportCsv")->trigger();
  QCOMPARE(e.dialogs.saved.back().title, std::string("导出CSV"));
  const QByteArray written = ReadBytes(out);
  QVERIFY(written.startsWith("Location,Name,Frequency,Duplex,Offset,Tone,"));
  QVERIFY(written.contains("\r\n2,信道2,452.000000,split,457.000000,"));
  QCOMPARE(e.texts().size(), size_t{1});
  QVERIFY(SaidStartingWith(e, "导出"));
  // An export saves nothing: the imported edits still count as unsaved.
  QVERIFY(e.w->document().HasUnsavedData());
}

void ExtrasWindowTest::verifyCatchesARadioThatStoresAWrongByte() {
  Env e;
  e.action("mnuVerifyAfterWrite")->trigger();
  QVERIFY(e.startRadio(e.w->document().image, e.modelOption() + QStringList{"--corrupt", "0x2B3"}));
  e.prompter.clear();
  e.action("mnuWrite")->trigger();
  QVERIFY(SaidStartingWith(e, "写频校验失败，对讲机中的数据与写入的不同：\n0x2B0: 写入 "));
  QVERIFY(!SaidStartingWith(e, "写频完成"));
  QVERIFY(!e.w->windowTitle().startsWith("写频完成"));
}

void ExtrasWindowTest::backupAndTrace() {
  QString backups;
  Env e([&](Env& env) {
    backups = env.dir.filePath("bk");
    env.ini->write("Extras", "BackupDir", backups.toStdString());
  });
  e.action("mnuBackupBeforeWrite")->trigger();
  e.action("mnuSerialTrace")->trigger();
  QVERIFY(e.startRadio(e.w->document().image, e.modelOption()));
  e.prompter.clear();
  e.action("mnuWrite")->trigger();
  QCOMPARE(e.prompter.texts(), (std::vector<std::string>{"写频完成，请按“确定”按钮继续....."}));
  const QStringList files = QDir(backups).entryList({"noid_*.q83"}, QDir::Files);
  QCOMPARE(files.size(), 1);
  QVERIFY(QFile(backups + "/" + files[0]).size() > 1024);

  // The trace holds the last operation: the backup's read and the write (the lines' form is
  // the trace's test).
  const qm::SerialTrace* trace = Extras(e)->trace();
  QVERIFY(trace);
  const std::string text = trace->text();
  QVERIFY(text.find(" ms TX  52 03 F8 08\n") != std::string::npos);  // the last read request
  QVERIFY(text.find(" ms TX  57 03 C8 08 ") != std::string::npos);   // the last write frame
  QString shown;
  const QString saved = e.dir.filePath("trace.txt");
  e.dialogs.choose(saved.toStdString());
  WithModal(
      [&](QWidget* dlg) {
        shown = dlg->findChild<QPlainTextEdit*>("txtTrace")->toPlainText();
        dlg->findChild<QPushButton*>("cmdSaveTrace")->click();
        dlg->close();
      },
      [&] { e.action("mnuShowTrace")->trigger(); });
  QCOMPARE(shown, QString::fromStdString(text));
  QCOMPARE(ReadBytes(saved).toStdString(), text);
}

QTEST_MAIN(ExtrasWindowTest)
#include "extras_window_test.moc"
