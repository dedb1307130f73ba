// The window against zr410-sim where the tune view meets the file commands, the unattended
// screenshots, and the technician's extras: their menu entries and defaults, the options kept in
// the configuration file, CSV import and export, and verify after write.
#include "files/data_file.h"
#include "files/recent_files.h"
#include "ui/extras_menu.h"
#include "window_rig.h"

using namespace qm::uitest;
using qm::Answer;

namespace {

// A fleet log with its time and duration columns blank: what two runs have in common.
QString WithoutTimes(const QByteArray& log) {
  QStringList lines = QString::fromUtf8(log).split("\r\n");
  for (qsizetype i = 1; i < lines.size(); ++i) {
    QStringList f = lines[i].split(',');
    if (f.size() > 6) f[5] = f[6] = "";
    lines[i] = f.join(',');
  }
  return lines.join("\n");
}

}  // namespace

class WindowChecksTest : public QObject {
  Q_OBJECT
 private slots:
  void initTestCase() { qputenv("XDG_RUNTIME_DIR", QTemporaryDir().path().toUtf8()); }
  void tuneViewKeepsTheRadiosData();
  void screenshotsNeverWaitForAPerson();
  void extrasCsvOptionsKeptAndVerify();
  void fleetDialogLogsAsTheCommandLine();
};

// The tune view works on what the radio holds: while it shows the radio's tune data no file
// replaces it, and the frames of an item carry the radio's own values.
void WindowChecksTest::tuneViewKeepsTheRadiosData() {
  Env e([](Env& env) { qm::AddRecentFile(*env.ini, env.path("446.q83").toStdString()); });
  // A QM830K-446 file with the default tune data; a QM830K-U1 radio whose tune channel 1
  // sends CTC 67.0 and whose CTC deviation (wide) is 130.
  qm::Image fromFile = e.doc().image;
  fromFile[0x2D2] = 32;
  const std::string file = e.saveDataFile("446.q83", fromFile).toStdString();
  QVERIFY(!file.empty());
  qm::Image radio = TuneRadioImage(e);
  radio[0x107] = static_cast<uint8_t>((radio[0x107] & 0x0F) | 0x30);
  radio[0x108] = 0x70;
  radio[0x109] = 0x06;
  radio[0x2F3] = 130;
  QVERIFY(e.startRadio(radio));
  e.action("mnuTune")->trigger();

  // Open, the toolbar's Open, the recent file and a drop: none is offered, none acts.
  for (const char* name : {"mnuFileOpen", "tbToolBar_Open", "mnuRecentFile_1"}) {
    QVERIFY2(!e.action(name)->isEnabled(), name);
    e.dialogs.choose(file);
    e.action(name)->trigger();
  }
  e.w->openDroppedFile(QString::fromStdString(file));
  QVERIFY(e.dialogs.opened.empty());
  QVERIFY(e.prompter.messages.empty());
  QCOMPARE(e.find<QLabel>("lblRadio")->text(), QString("QM830K-U1"));

  e.clickNode("CTCDevW");
  // A frame the radio does not answer may still be on its way when the click returns.
  const auto sent = [&](const char* note) { return e.notes(note); };
  QTRY_COMPARE(sent("signalling 20 70 06"), 1);
  QTRY_COMPARE(sent("item 51 82 01"), 2);  // the begin and the panel's trial value
}

// The demo data of the pictures lies outside this maker file's band: the messages that
// causes must not wait for anybody.
void WindowChecksTest::screenshotsNeverWaitForAPerson() {
  QTemporaryDir dir;
  const QString maker = dir.filePath("nrvPC.ini");
  QVERIFY(
      WriteBytes(maker,
                 "[Const String]\nSoftware Title=QM830K\n[Radio List]\nSum of Radios=1\n"
                 "RadioName1=VHF\nRadioValue1=7\nStdFreqRange0=13600000\nEndFreqRange0=17400000\n"
                 "StdFreqExtend0=13600000\nEndFreqExtend0=17400000\n"));
  QProcess p;
  p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  // No screen is needed for the pictures, whatever this test itself runs on.
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("QT_QPA_PLATFORM", "offscreen");
  env.insert("QM830K_DEVICE_ROOT", UseEmptyDeviceTree());
  p.setProcessEnvironment(env);
  p.start(QM_GUI_PATH, {"--maker-ini", maker, "--ini", dir.filePath("QM830K.ini"), "--screenshot",
                        dir.filePath("shots")});
  QVERIFY(p.waitForStarted());
  QVERIFY(p.waitForFinished(60000));  // a program still waiting is killed with `p`
  QCOMPARE(p.exitCode(), 0);
  for (const char* name : {"main.png", "signal.png", "model.png", "about.png", "port.png"})
    QVERIFY2(QFile::exists(dir.filePath(QString("shots/") + name)), name);
}

void WindowChecksTest::extrasCsvOptionsKeptAndVerify() {
  Env e;
  // The entries are in their menus (where they stand there is the menus' data).
  const auto in = [&](const char* menu, const char* name) {
    return e.find<QMenu>(menu)->actions().contains(e.action(name));
  };
  QVERIFY(in("mnuFile", "mnuFileImportCsv") && in("mnuFile", "mnuFileExportCsv"));
  QVERIFY(in("mnuOperate", "mnuVerifyAfterWrite") && in("mnuOperate", "mnuSerialTrace") &&
          in("mnuOperate", "mnuBackupBeforeWrite"));

  // The columns, the skipped rows and the export's form are the CSV tests'; here the dialog's
  // first location (5, not the file's first row) reaches the import, its notes are shown, and the
  // export writes the rows.
  const QString csv = e.dir.filePath("in.csv");
  QVERIFY(WriteBytes(csv,
                     "Location,Frequency,Duplex,Offset,Tone,rToneFreq,Mode\r\n"
                     "4,440.5,,0,,88.5,FM\r\n"
                     "5,451.125,,0,Tone,100.0,NFM\r\n"
                     "6,abc,,0,,88.5,FM\r\n"
                     "7,452.0,split,457.0,,88.5,FM\r\n"));
  QVERIFY(!e.doc().HasUnsavedData());
  e.dialogs.choose(csv.toStdString());
  e.modal("mnuFileImportCsv", [](QWidget* dlg) {
    dlg->findChild<QLineEdit*>("txtFromLocation")->setText("5");
    dlg->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
  });
  QCOMPARE(e.prompter.texts(),
           (Said{"导入2个信道。\n第4行：Frequency列的数值无法识别（abc），已跳过"}));
  QCOMPARE(e.cell(1, 1) + " " + e.cell(2, 3), QString("451.12500 457.00000"));
  QVERIFY(e.doc().HasUnsavedData());

  e.prompter.clear();
  const QString out = e.dir.filePath("out.csv");
  e.dialogs.choose(out.toStdString());
  e.action("mnuFileExportCsv")->trigger();
  QCOMPARE(e.dialogs.saved.back().title, std::string("导出CSV"));
  const QByteArray written = ReadBytes(out);
  QVERIFY(written.startsWith("Location,Name,Frequency,Duplex,Offset,Tone,"));
  QVERIFY(written.contains("\r\n2,信道2,452.000000,split,457.000000,"));
  QCOMPARE(e.texts().size(), size_t{1});
  QVERIFY(e.said("导出", true));
  // An export saves nothing: the imported edits still count as unsaved.
  QVERIFY(e.doc().HasUnsavedData());

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
  // Verify on: a radio that stores a wrong byte fails the write.
  QVERIFY(e.startRadio(e.doc().image, QStringList{"--corrupt", "0x2B3"}));
  e.prompter.clear();
  e.action("mnuWrite")->trigger();
  QVERIFY(e.said("写频校验失败，对讲机中的数据与写入的不同：\n0x2B0: 写入 ", true));
  QVERIFY(!e.said("写频完成", true));
  QVERIFY(!e.w->windowTitle().startsWith("写频完成"));
}

// Three radios, the second of which stops acknowledging the write, with a roster: the
// dialog's run and the command line's give the same log, and the roster's text is in the
// radios that were written.
void WindowChecksTest::fleetDialogLogsAsTheCommandLine() {
  Env e;
  const QString roster = e.path("roster.csv");
  QVERIFY(WriteBytes(roster, "标签,用户信息\nR-1,一号车\nR-2,二号车\nR-3,三号车\n"));
  const qm::Image tmpl = e.doc().image;
  const QString file = e.saveDataFile("fleet.q83", tmpl);
  QVERIFY(!file.isEmpty());
  const auto startRadio = [&](int k) {
    e.sim->stop();
    qm::Image memory = tmpl;
    const std::string id = "FLT-" + std::to_string(k);
    std::fill(memory.bytes().begin() + 0x3E0, memory.bytes().begin() + 0x3F0, uint8_t{0});
    std::copy(id.begin(), id.end(), memory.bytes().begin() + 0x3E0);
    return e.startRadio(memory, k == 2 ? QStringList{"--no-ack", "0x010"} : QStringList{});
  };

  // The dialog, waiting for "下一台" before each radio; the radio is put on the line first.
  QStringList rows;
  QString summary;
  std::vector<QByteArray> userTexts;
  e.modal("mnuFleetWrite", [&](QWidget* dlg) {
    QCOMPARE(dlg->objectName(), QString("dlgFleet"));
    dlg->findChild<QLineEdit*>("txtFleetLog")->setText(e.path("window.csv"));
    dlg->findChild<QLineEdit*>("txtFleetRoster")->setText(roster);
    auto* next = dlg->findChild<QPushButton*>("cmdFleetNext");
    int radio = 0;
    QTimer feeder;
    QObject::connect(&feeder, &QTimer::timeout, [&] {
      if (!next->isEnabled()) return;
      if (radio > 0) userTexts.push_back(e.sim->stop().mid(0x300, 6));
      if (!startRadio(++radio)) qWarning("radio %d did not start", radio);
      next->click();
    });
    feeder.start(20);
    dlg->findChild<QPushButton*>("cmdFleetStart")->click();
    feeder.stop();
    userTexts.push_back(e.sim->stop().mid(0x300, 6));
    auto* grid = dlg->findChild<QTableWidget*>("gridFleet");
    for (int r = 0; r < grid->rowCount(); ++r)
      rows << grid->item(r, 1)->text() + " " + grid->item(r, 4)->text() + " " +
                  grid->item(r, 6)->text();
    summary = dlg->findChild<QLabel*>("lblFleetStatus")->text();
    Shot(dlg, "fleet.png");
    dlg->findChild<QPushButton*>("cmdFleetClose")->click();
  });
  QCOMPARE(rows, (QStringList{"FLT-1 成功 第2行 R-1", "FLT-2 写频失败 第3行 R-2",
                              "FLT-3 成功 第4行 R-3"}));
  QCOMPARE(summary, QString("共3台：成功2台，失败1台（#2）"));
  QVERIFY(e.said("写频中断，请重试！", true));
  // UTF-16LE: "一号车" is 6 bytes; the failed radio keeps its own.
  const auto utf16 = [](const char16_t* t) {
    return QByteArray(reinterpret_cast<const char*>(t), 6);
  };
  QCOMPARE(userTexts.size(), size_t{3});
  QCOMPARE(userTexts[0], utf16(u"一号车"));
  QCOMPARE(userTexts[2], utf16(u"三号车"));
  QVERIFY(userTexts[1] != utf16(u"二号车"));

  // The command line against the same three radios, Enter for each once it is on the line.
  QProcess cli;
  cli.start(QM_CLI_PATH, {"--ini", e.path("cli.ini"), "write", file, "--fleet", "--roster", roster,
                          "--log", e.path("cli.csv"), "--device", e.sim->device()});
  QVERIFY(cli.waitForStarted());
  QByteArray out;
  for (int k = 1; k <= 3; ++k) {
    const QByteArray prompt = QString("请连接第%1台对讲机").arg(k).toUtf8();
    while (!out.contains(prompt) && cli.waitForReadyRead(10000)) out += cli.readAllStandardOutput();
    QVERIFY2(out.contains(prompt), out.constData());
    QVERIFY(startRadio(k));
    cli.write("\n");
  }
  QVERIFY(cli.waitForFinished(60000));
  QCOMPARE(cli.exitCode(), 1);
  e.sim->stop();
  QCOMPARE(WithoutTimes(ReadBytes(e.path("window.csv"))),
           WithoutTimes(ReadBytes(e.path("cli.csv"))));
  QVERIFY(ReadBytes(e.path("cli.csv")).contains(",写频失败,"));
  QCOMPARE(ReadBytes(e.path("window.csv")).count("\r\n"), 4);  // the header and three radios
}

QTEST_MAIN(WindowChecksTest)
#include "window_checks_test.moc"
