// The window's radio commands end to end: the real main window, driven by its control
// names, talks through the real QSerialPort path to zr410-sim on a pseudo-terminal. Message
// boxes are recorded (and questions answered) by a scripted prompter; the version warning
// is the real dlgWarn, answered by clicking it. The exchanges' frames, areas and failures are
// the read, write, embedded information and tune routines' tests; here the window reaches them.
//
// With QM_SCREENSHOT_DIR set, pictures of the radio windows are saved on the way.
#include <algorithm>

#include "model/codecs.h"
#include "model/embed_areas.h"
#include "model/image.h"
#include "radio/link.h"
#include "ui/extras_menu.h"
#include "ui/radio_dialogs.h"
#include "ui/tune_panel.h"
#include "window_rig.h"

using namespace qm::uitest;
using qm::Answer;

namespace {

// `n` bytes of an image from `from`, as the simulator's memory dump holds them.
QByteArray Bytes(const qm::Image& image, int from, int n) {
  return QByteArray(reinterpret_cast<const char*>(image.bytes().data()) + from, n);
}

// The frequency whose three bytes start at `at` of the radio's memory.
QString Freq(const QByteArray& memory, int at, const Env& e) {
  return QString::fromStdString(qm::FreqBytesToText(uint8_t(memory[at]), uint8_t(memory[at + 1]),
                                                    uint8_t(memory[at + 2]), e.app.decimalSep));
}

// The longest time between two frames the simulator received, in ms, in its log from byte
// `from` on.
double LongestGapMs(const QByteArray& log, qsizetype from = 0) {
  double longest = 0, last = -1;
  for (const QByteArray& line : log.mid(from).split('\n')) {
    if (!line.contains("PC> ")) continue;
    const double at = line.trimmed().split(' ').value(0).toDouble();
    if (last >= 0) longest = std::max(longest, at - last);
    last = at;
  }
  return longest;
}

// A slot that keeps the window thread busy for 1.5 s, once, when `when` first holds.
struct Blocker : QObject {
  QTimer poll;
  bool blocked = false;
  Blocker(QObject* context, const std::function<bool()>& when) {
    poll.setInterval(5);
    connect(&poll, &QTimer::timeout, context, [this, when] {
      if (blocked || !when()) return;
      blocked = true;
      QThread::msleep(1500);
    });
    poll.start();
  }
};

}  // namespace

class RadioWindowTest : public QObject {
  Q_OBJECT
 private slots:
  void initTestCase() { qputenv("XDG_RUNTIME_DIR", QTemporaryDir().path().toUtf8()); }
  void readShowsTheRadio();
  void linkIgnoresABusyWindow();
  void readStoppedPartWay();
  void writeWithBackupAndTrace();
  void versions();
  void failedExchanges();
  void portDialogMissingPort();
  void embeddedInformation();
  void tuneMode();
  void leavingTuneMode_data();
  void leavingTuneMode();
  void closingInTheTuneView();
};

namespace {

// The reads the history folder beside the configuration file holds.
QStringList HistoryFiles(const Env& e) {
  return QDir(e.path("history")).entryList({"*.q83"}, QDir::Files);
}

}  // namespace

// While the radio is read the window refuses to close and to start another command, and the
// progress window keeps painting while something asks it to repaint every 10 ms, as a window
// dragged over it would; at the end the window shows the radio's data.
void RadioWindowTest::readShowsTheRadio() {
  Env e;
  qm::Image radio = RadioImage(e);
  e.prompter.clear();
  QVERIFY(e.cell(1, 1) != "441.02500");
  QVERIFY(e.startRadio(radio, QStringList{"--pace"}));
  struct PaintClock : QObject {
    QElapsedTimer clock;
    qint64 last = -1, longest = 0;
    int paints = 0;
    bool eventFilter(QObject*, QEvent* ev) override {
      if (ev->type() != QEvent::Paint) return false;
      const qint64 now = clock.elapsed();
      if (last >= 0) longest = std::max(longest, now - last);
      last = now;
      ++paints;
      return false;
    }
  } paints;
  paints.clock.start();
  // Polled rather than timed: on a loaded machine the handshake may take longer than any
  // fixed delay, and the progress window only exists once it has passed.
  QPointer<QWidget> watched;
  bool seen = false, closedDuring = true, progressClosed = true, shot = false;
  QTimer poke;
  poke.setInterval(10);
  QObject::connect(&poke, &QTimer::timeout, e.w.get(), [&] {
    qm::ui::FrmProgress* p = e.w->progress().isOpen() ? e.w->progress().window() : nullptr;
    if (p && p != watched && p->isVisible()) {
      watched = p;
      seen = true;
      p->installEventFilter(&paints);
      closedDuring = e.w->close();
      progressClosed = p->close();  // it stays until the read ends
      e.action("mnuWrite")->trigger();
      e.action("mnuTune")->trigger();
    }
    if (!watched) return;
    watched->update();
    if (!shot && e.w->progress().position() > 300) {
      shot = true;
      Shot(watched, "progress.png");
    }
  });
  poke.start();
  e.action("mnuRead")->trigger();
  poke.stop();
  QVERIFY(seen && !closedDuring && !progressClosed);
  QVERIFY(paints.paints > 100);
  QVERIFY2(paints.longest < 100, "the progress window stopped painting");
  const QByteArray log = e.simLog();
  QVERIFY(!log.contains("PC>  57 "));       // no write frame
  QVERIFY(!log.contains("PC>  4E 52 56"));  // no NRVTUNE
  QCOMPARE(e.texts(), (Said{"读频完成，请按“确定”按钮继续...."}));
  QCOMPARE(e.prompter.pointers, Said{"busy"});
  QVERIFY(!QApplication::overrideCursor() && e.w->cursor().shape() == Qt::ArrowCursor);
  QCOMPARE(e.w->windowTitle(), "读频完成－ " + kTitle);
  QCOMPARE(e.cell(1, 1), QString("441.02500"));
  QVERIFY(std::ranges::equal(e.doc().image.bytes(), radio.bytes()));
  QVERIFY(!e.w->progress().isOpen() && e.action("mnuRead")->isEnabled());
  // The read is kept as it came, named by the radio's ID (none here) and the time.
  const QStringList kept = HistoryFiles(e);
  QCOMPARE(kept.size(), 1);
  QVERIFY(kept[0].startsWith("radio_"));
  const qm::LoadedFile f = qm::LoadDataFileFrom(e.path("history/" + kept[0]).toStdString(),
                                                qm::Image{}, qm::SpareBlock{});
  QVERIFY(f.status == qm::LoadStatus::Ok && f.image == radio);
  // The data read is not saved: the close prompt asks.
  QVERIFY(e.closeAsksToSave());
}

// The exchanges run on the link thread: a window thread held for 1.5 s (a slow paint, a title
// bar held down) during a read and during a tune item's begin does not stretch the gaps
// between the frames the radio gets (about 50 ms during a read).
void RadioWindowTest::linkIgnoresABusyWindow() {
  Env e;
  const qm::Image radio = TuneRadioImage(e);
  QVERIFY(e.startRadio(radio, QStringList{"--pace"}));
  {
    Blocker block(e.w.get(), [&] { return e.w->progress().position() > 100; });
    e.action("mnuRead")->trigger();
    QVERIFY(block.blocked);
  }
  QVERIFY(std::ranges::equal(e.doc().image.bytes(), radio.bytes()));
  QVERIFY2(LongestGapMs(e.simLog()) < 150, "the read waited for the window");

  e.action("mnuTune")->trigger();
  QCOMPARE(e.doc().viewMode, qm::ViewMode::Tune);
  const qsizetype from = e.simLog().size();
  {
    QElapsedTimer clock;
    Blocker block(e.w.get(), [&] { return clock.isValid() && clock.elapsed() > 20; });
    clock.start();
    e.clickNode("Battery");
    QVERIFY(block.blocked);
  }
  QCOMPARE(e.doc().tuneState, qm::TuneState::ItemOpen);
  const QByteArray log = e.simLog();
  QCOMPARE(CountNotes(log.mid(from), "item 42 64 01"), 2);  // the begin's, the panel's trial
  QVERIFY2(LongestGapMs(log, from) < 150, "the item's begin waited for the window");
}

// A read stopped part of the way changes nothing and leaves nothing open. Cancel in its
// progress window stops it after the current frame: the radio is told "END" and nothing is
// said. The radio gone (the cable pulled) ends it within seconds with the program's message.
// Afterwards the next command works; a write's progress window has no Cancel.
void RadioWindowTest::readStoppedPartWay() {
  for (const bool pulled : {false, true}) {
    Env e;
    const qm::Image radio = RadioImage(e);
    const qm::Image before = e.doc().image;
    QVERIFY(e.startRadio(radio, QStringList{"--pace"}));
    bool cancelShown = false;
    QTimer poll;
    poll.setInterval(5);
    QObject::connect(&poll, &QTimer::timeout, e.w.get(), [&] {
      if (pulled && e.w->progress().position() > 100) e.sim->stop();
      qm::ui::FrmProgress* p = e.w->progress().isOpen() ? e.w->progress().window() : nullptr;
      auto* cancel = p ? p->findChild<QPushButton*>("cmdCancel") : nullptr;
      if (!cancel || !cancel->isVisible()) return;
      cancelShown = true;
      if (!pulled && e.w->progress().position() > 100 && cancel->isEnabled()) Click(cancel);
    });
    poll.start();
    e.prompter.clear();
    QElapsedTimer clock;
    clock.start();
    e.action("mnuRead")->trigger();
    QVERIFY2(clock.elapsed() < 8000, "the read did not give up");
    QVERIFY(cancelShown && e.doc().image == before);
    QVERIFY(!e.w->busy() && !e.w->progress().isOpen());
    QCOMPARE(e.w->windowTitle(), kTitle);
    if (pulled) {
      poll.stop();
      // Which of the two depends on whether the line went while a request was sent or awaited.
      QVERIFY(e.texts() == Said{"读频中断，请重试！"} ||
              e.texts() == Said{"读取数据错误，请重试！"});
      QVERIFY(e.startRadio(radio, QStringList{"--pace"}));
      QCOMPARE(e.asks(Answer::Ok, [&] { e.action("mnuRead")->trigger(); }),
               Said{"读频完成，请按“确定”按钮继续...."});
      QVERIFY(e.doc().image == radio);
      continue;
    }
    QVERIFY(e.texts().empty());
    QVERIFY(e.simLog().contains("PC>  45 4E 44"));      // END
    QVERIFY(!e.simLog().contains("PC>  52 03 F8 08"));  // the last block was never asked for
    cancelShown = false;
    e.action("mnuWrite")->trigger();
    QVERIFY(!cancelShown);
    QCOMPARE(e.texts(), Said{"写频完成，请按“确定”按钮继续....."});
  }
}

// A typed edit reaches the radio; the extras back its memory up first and trace the serial
// exchange.
void RadioWindowTest::writeWithBackupAndTrace() {
  QString backups;
  Env e([&](Env& env) {
    backups = env.dir.filePath("bk");
    env.ini->write("Extras", "BackupDir", backups.toStdString());
  });
  e.action("mnuBackupBeforeWrite")->trigger();
  e.action("mnuSerialTrace")->trigger();
  QVERIFY(e.startRadio(e.doc().image));  // the radio holds the defaults
  e.typeFreq(1, 1, "441.0250");          // channel 1's receive frequency
  e.prompter.clear();
  e.action("mnuWrite")->trigger();
  QCOMPARE(e.texts(), (Said{"写频完成，请按“确定”按钮继续....."}));
  QCOMPARE(e.w->windowTitle(), "写频完成－" + kTitle);
  const QStringList files = QDir(backups).entryList({"noid_*.q83"}, QDir::Files);
  QCOMPARE(files.size(), 1);
  QVERIFY(QFile(backups + "/" + files[0]).size() > 1024);

  // The trace holds the last operation: the backup's read and the write (the lines' form is
  // the trace's test).
  const qm::SerialTrace* trace = e.find<qm::ui::TechnicianExtras>("technicianExtras")->trace();
  const std::string text = trace->text();
  QVERIFY(text.find(" ms TX  52 03 F8 08\n") != std::string::npos);  // the last read request
  QVERIFY(text.find(" ms TX  57 03 C8 08 ") != std::string::npos);   // the last write frame
  QString shown;
  const QString saved = e.dir.filePath("trace.txt");
  e.dialogs.choose(saved.toStdString());
  e.modal("mnuShowTrace", [&](QWidget* dlg) {
    shown = dlg->findChild<QPlainTextEdit*>("txtTrace")->toPlainText();
    dlg->findChild<QPushButton*>("cmdSaveTrace")->click();
    dlg->close();
  });
  QCOMPARE(shown, QString::fromStdString(text));
  QCOMPARE(ReadBytes(saved).toStdString(), text);
  // The channel area and the function block are the window's.
  const QByteArray after = e.sim->stop();
  const auto& img = e.doc().image;
  QCOMPARE(after.left(0x100), Bytes(img, 0, 0x100));
  QCOMPARE(after.mid(0x2B0, 16), Bytes(img, 0x2B0, 16));
  QCOMPARE(Freq(after, 0, e), QString("441.02500"));
}

// The real version warning answered by a click; which version warns when, and what a cancel
// or a version-1 radio changes in the exchange, are the read and write routines' tests.
void RadioWindowTest::versions() {
  struct Case {
    bool write;  // a write is cancelled, a read confirmed
    const char* version;
    int warnIndex;
  };
  // Read v3 confirmed, write v1 cancelled, the tick set each time.
  for (const Case& c : {Case{false, "3.0", 1}, Case{true, "1.0", 0}}) {
    Env e;
    e.app.showWarning = {true, true};
    qm::Image radio = c.write ? e.doc().image : RadioImage(e);
    QVERIFY(e.startRadio(radio, QStringList{"--version", c.version}));
    const QByteArray initial = ReadBytes(e.dir.filePath("memory.bin"));
    bool dialogSeen = false;
    WithModal(
        [&](QWidget* m) {
          if (m->objectName() != "dlgWarn") return;
          dialogSeen = true;
          QCOMPARE(m->findChild<QLabel*>("lblWarning")->text(),
                   QString::fromStdString(qm::WarningText(c.warnIndex)));
          QVERIFY(m->findChild<QLabel*>("Image1"));
          Shot(m, "warning.png");
          Click(m->findChild<QCheckBox*>("chkWarning"));
          Click(m->findChild<QPushButton*>(c.write ? "CancelButton" : "OKButton"));
        },
        [&] { e.action(c.write ? "mnuWrite" : "mnuRead")->trigger(); });
    QVERIFY(dialogSeen);
    QCOMPARE(e.prompter.warnings.size(), size_t(1));
    // The tick switches that warning off, whichever button closed the dialog.
    QVERIFY(!e.app.showWarning[size_t(c.warnIndex)]);
    const QByteArray after = e.sim->stop();
    if (c.write) {
      QCOMPARE(e.w->windowTitle(), kTitle);
      QCOMPARE(after, initial);  // nothing was sent
    } else {
      QCOMPARE(e.cell(1, 1), QString("441.02500"));
      QVERIFY(e.said("新的机型版本,请升级你的写频软件!"));
    }
  }
}

// A read from a silent radio and a write it stops acknowledging: the message, no caption, no
// progress window left, and an edit that reached neither the radio in full nor a file still
// counts as unsaved. Begun in the tune view, a read or write that stops part of the way ends
// with NRVTUNE: the radio is back in its tune state, the window still shows the tune view,
// and leaving it takes the radio out of tune mode the normal way.
void RadioWindowTest::failedExchanges() {
  struct Case {
    QStringList fault;
    const char* command;
    std::string message;  // none: begun in the tune view
  };
  const Case cases[] = {
      {{"--silent"},
       "mnuRead",
       "通讯端口错误 / 端口1 没有响应，请检查你的连接或机器电源是否打开！"},
      {{"--no-ack", "0x010"}, "mnuWrite", "写频错误 / 写频中断，请重试！"},
      {{"--no-read-reply", "0"}, "mnuRead", ""},
      {{"--no-ack", "0"}, "Write", ""},  // from the toolbar
  };
  for (const Case& c : cases) {
    Env e;
    const bool tune = c.message.empty();
    QVERIFY(e.startRadio(tune ? TuneRadioImage(e) : e.doc().image, c.fault));
    if (tune) {
      e.action("mnuTune")->trigger();
    } else {
      e.typeFreq(1, 1, "441.0250");
      // As after a good read or write before this one: the failure must not keep its notice.
      e.doc().caption =
          std::string(c.command == std::string("mnuRead") ? "读频完成－ " : "写频完成－") +
          kTitle.toStdString();
    }
    if (std::string(c.command) == "Write")
      Click(e.find<QWidget>("Write"));
    else
      e.action(c.command)->trigger();
    if (tune) {
      QVERIFY(e.w->tunePanel()->isVisible());
      QCOMPARE(e.w->windowTitle(), "正在调测－" + kTitle);
      QCOMPARE(e.notes("NRVTUNE"), 2);  // the entry's, and this one
      e.clickNode("exit");
      QVERIFY(e.find<QWidget>("fraChannel")->isVisible());
      QCOMPARE(e.notes("left"), 1);
      continue;
    }
    QCOMPARE(e.prompter.lines(), Said{c.message});
    QCOMPARE(e.w->windowTitle(), kTitle);
    QVERIFY(!e.w->progress().isOpen() && !e.w->busy());
    QVERIFY(e.closeAsksToSave());
    QVERIFY(HistoryFiles(e).isEmpty());  // only a read that completed is kept
  }
}

void RadioWindowTest::portDialogMissingPort() {
#ifdef _WIN32
  QSKIP("port n is COMn on Windows: the configured mapping is the other systems'");
#endif
  QTemporaryDir scratch;
  Sim sim(scratch.path());
  QVERIFY(sim.start({}));
  Env e([&](Env& env) {
    // COM5 is configured but gone; COM3 is the radio; the others map to absent devices.
    for (int n = 1; n <= 16; ++n) {
      const QString dev =
          n == 3 ? sim.link() : env.path(n == 5 ? "gone" : QString("none%1").arg(n));
      env.ini->write("Comm Port", "COM" + std::to_string(n), dev.toStdString());
    }
  });
  e.doc().setPortNumber(5);
  e.modal("mnuPort", [&](QWidget* m) {
    QStringList enabled;
    for (int n = 1; n <= 16; ++n)
      if (m->findChild<QRadioButton*>(QString("optCOMM_%1").arg(n))->isEnabled())
        enabled << QString::number(n);
    QCOMPARE(enabled, QStringList{"3"});
    QCOMPARE(m->findChild<QLabel*>("lblDevice_3")->text(), sim.link());
    QCOMPARE(m->findChild<QLabel*>("lblDevice_5")->text(), e.path("gone"));
    Shot(m, "port.png");
    Click(m->findChild<QPushButton*>("CmdOK"));
  });
  QCOMPARE(e.doc().portNumber, int16_t(3));
  QCOMPARE(e.panel(3), QString("COM 3"));
}

void RadioWindowTest::embeddedInformation() {
  Env e;
  qm::Image radio = e.doc().image;
  const std::string idAndDate = "20061205143000ZR410-0000012345";
  for (size_t i = 0; i < 14; ++i) radio[0x3C0 + i] = static_cast<uint8_t>(idAndDate[i]);
  for (size_t i = 0; i < 16; ++i) radio[0x3E0 + i] = static_cast<uint8_t>(idAndDate[14 + i]);
  qm::CollectEmbedText(u"abc", radio);
  QVERIFY(e.startRadio(radio));

  const QString text = QString::fromUtf8("巡逻一组 ch3");
  e.modal("mnuRadio", [&](QWidget* m) {
    auto* box = m->findChild<QPlainTextEdit*>("rtxtbEmbed");
    Click(m->findChild<QPushButton*>("cmdReadInfo"));
    QCOMPARE((QStringList{m->findChild<QLabel*>("lblRadioID")->text(),
                          m->findChild<QLabel*>("lblLastTime")->text(), box->toPlainText()}),
             (QStringList{"ZR410-0000012345", "2006-12-05, 14:30:00", "abc"}));
    // 96 characters fit; the 97th typed is taken back with a message.
    box->selectAll();
    box->insertPlainText(QString(96, 'x'));
    QTest::keyClicks(box, "y");
    QCOMPARE(box->toPlainText(), QString(96, 'x'));
    QVERIFY(e.said("已经达到文本的最大长度。"));
    box->selectAll();
    box->insertPlainText(text);  // typed through the input method
    // The font dialog sets the text box's font and the program's font. The font chosen
    // is one the system has at any size (where the default font is missing, the dialog
    // would otherwise fall back to one with a few fixed sizes).
    QString family = box->font().family();
    for (const QString& f : QFontDatabase::families())
      if (!QFontDatabase::isScalable(family)) family = f;
    QVERIFY(QFontDatabase::isScalable(family));
    WithModal(
        [&](QWidget* f) {
          auto* fd = qobject_cast<QFontDialog*>(f);
          QVERIFY(fd && fd->objectName() == "dlgFontDlg");
          fd->setCurrentFont(QFont(family, 14));
          fd->accept();
        },
        [&] { Click(m->findChild<QPushButton*>("cmdFont")); });
    QVERIFY(e.app.font.size == 14 && box->font().pointSize() == 14);
    Shot(m, "embed.png");
    Click(m->findChild<QPushButton*>("cmdWriteInfo"));
    Click(m->findChild<QPushButton*>("cmdOK"));
  });
  QVERIFY(e.said("读取数据完成，请按“确定”按钮继续....."));
  QVERIFY(e.said("写入数据完成，请按“确定”按钮继续....."));
  QCOMPARE(e.doc().viewMode, qm::ViewMode::EmbedInfo);
  qm::Image expect;
  qm::CollectEmbedText(text.toStdU16String(), expect);
  QCOMPARE(e.sim->stop().mid(0x300, 0xC0), Bytes(expect, 0x300, 0xC0));
  // OK kept the text in the window's image as well.
  const std::u16string kept = qm::EmbedTextFromArea(e.doc().image);
  QVERIFY(kept.starts_with(text.toStdU16String()));

  // Cancel after an edit leaves the text as it was; the font lasts while the program runs.
  e.modal("mnuRadio", [&](QWidget* m) {
    auto* box = m->findChild<QPlainTextEdit*>("rtxtbEmbed");
    QCOMPARE(box->toPlainText(), text);
    QCOMPARE(box->font().pointSize(), 14);
    box->selectAll();
    QTest::keyClicks(box, "changed");
    Click(m->findChild<QPushButton*>("cmdCancel"));
  });
  QVERIFY(qm::EmbedTextFromArea(e.doc().image) == kept);
}

void RadioWindowTest::tuneMode() {
  Env e;
  qm::Image radio = TuneRadioImage(e);  // tune channel 1 is on, 2 is off
  radio[0x100 + 7] |= 0x08;
  QVERIFY(e.startRadio(radio));

  e.action("mnuTune")->trigger();
  qm::ui::TunePanel* tune = e.w->tunePanel();
  QVERIFY(e.find<QGroupBox>("fraTuneSet")->isVisible() &&
          !e.find<QGroupBox>("fraTune")->isVisible());
  QVERIFY(!e.find<QWidget>("fraChannel")->isVisible());
  QVERIFY(e.action("mnuTune")->isChecked() && !e.action("mnuChannel")->isChecked());
  QVERIFY(!e.action("mnuWrite")->isVisible());
  QVERIFY(e.find<QRadioButton>("optTestCh_0")->isChecked() &&
          e.find<QCheckBox>("chkTuneCH_1")->isChecked());
  Shot(e.w.get(), "tune-table.png");

  // The battery item: begin, moves of the scroll bar, OK. A drag of the thumb sends the value
  // where it is released; an arrow click, a page step and a key press each send one.
  e.clickNode("Battery");
  auto* item = e.find<QGroupBox>("fraTune");
  auto* bar = e.find<QScrollBar>("hsbTune");
  auto* value = e.find<QLabel>("lblTuneVal");
  QVERIFY(item->isVisible());
  QCOMPARE(QString::number(bar->value()) + " " + value->text(), QString("100 100"));
  const auto trials = [&] { return e.notes("item 42"); };
  const int sent = trials();
  bar->setSliderDown(true);
  for (int v = 101; v <= 110; ++v) {
    bar->setSliderPosition(v);
    QCOMPARE(value->text(), QString::number(v));  // the label follows the thumb
  }
  QCOMPARE(trials(), sent);
  bar->setSliderDown(false);
  QTRY_COMPARE(trials(), sent + 1);
  QTRY_VERIFY(e.simLog().contains("42 6E 01"));  // 110
  QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(bar->width() - 4, bar->height() / 2));
  QTRY_COMPARE(trials(), sent + 2);
  bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
  QTRY_COMPARE(trials(), sent + 3);
  // The click gave the bar the focus; Right raises the value.
  QTest::keyClick(e.w->focusWidget(), Qt::Key_Right);
  QCOMPARE(QString::number(bar->value()) + " " + value->text(), QString("120 120"));
  QTRY_COMPARE(trials(), sent + 4);
  Shot(e.w.get(), "tune.png");
  Click(item->findChild<QPushButton*>("cmdOK"));  // stores the value the radio was last given
  QVERIFY(!item->isVisible());
  QCOMPARE(e.doc().image[0x2F0], uint8_t(120));
  QCOMPARE(e.doc().tuneState, qm::TuneState::ItemClosed);
  QVERIFY(e.prompter.messages.empty());

  // Saved in the tune view, the data keeps the tune caption until the view is left.
  const QString saved = e.path("tuned.q83");
  e.dialogs.choose(saved.toStdString());
  e.action("mnuFileSaveAs")->trigger();
  QVERIFY(QFile::exists(saved));
  QCOMPARE(e.w->windowTitle(), "正在调测－" + kTitle);

  // Back to the table: channel 2 switched on, tune channel 1's receive frequency typed in the
  // table's editor (the letter is not taken), and the table written.
  e.clickNode("testfreq");
  QVERIFY(e.find<QGroupBox>("fraTuneSet")->isVisible());
  Click(e.find<QCheckBox>("chkTuneCH_1"));
  QTableWidget* tg = e.find<QTableWidget>("gridTune");
  QTest::mouseClick(tg->viewport(), Qt::LeftButton, {},
                    tg->visualItemRect(tg->item(0, 0)).center());
  auto* tuneEditor = e.find<QLineEdit>("txtTuneFreq");
  QVERIFY(tuneEditor->isVisible());
  tuneEditor->selectAll();
  QTest::keyClicks(tuneEditor, "441.0125x");
  QTest::keyClick(tuneEditor, Qt::Key_Return);
  QVERIFY(!tuneEditor->isVisible());
  QCOMPARE(tg->item(0, 0)->text(), QString("441.01250"));
  // The tune channel, in red and said so.
  QVERIFY(MarkedRed(tg->item(0, 0)->foreground().color()));
  QCOMPARE(tg->item(0, 0)->data(Qt::AccessibleDescriptionRole).toString(), QString("调测用信道"));
  Click(e.find<QPushButton>("cmdSaveTnFq"));
  QVERIFY(e.said("写入数据完成，请按“确定”按钮继续......"));
  QVERIFY(!e.doc().flags.tuneDataChanged);

  // Leaving through the tree's exit node (the views and menus as leavingTuneMode checks them).
  e.clickNode("exit");
  QVERIFY(!tune->isVisible());
  QCOMPARE(e.w->windowTitle(), kTitle + saved);
  const QByteArray after = e.sim->stop();
  QCOMPARE(uint8_t(after[0x2F0]), uint8_t(120));          // stored by the item's end frame
  QVERIFY((uint8_t(after[0x100 + 16 + 2]) & 0x08) != 0);  // channel 2 on
  QCOMPARE(Freq(after, 0x100, e), QString("441.01250"));
  QTRY_VERIFY(e.simLog().contains("42 78 02"));  // stored
}

void RadioWindowTest::leavingTuneMode_data() {
  QTest::addColumn<QString>("how");
  QTest::newRow("channel menu") << "mnuChannel";
  QTest::newRow("read") << "mnuRead";
  QTest::newRow("write from the toolbar") << "Write";
  QTest::newRow("embedded information") << "mnuRadio";
  QTest::newRow("closing the window") << "close";
  QTest::newRow("tree exit, a version-1 radio") << "exit v1";
}

void RadioWindowTest::leavingTuneMode() {
  QFETCH(QString, how);
  Env e;
  const QStringList v1{"--version", "1.0"};
  QVERIFY(e.startRadio(TuneRadioImage(e), how == "exit v1" ? v1 : QStringList{}));
  e.action("mnuTune")->trigger();
  e.clickNode("Battery");
  QCOMPARE(e.doc().tuneState, qm::TuneState::ItemOpen);  // the battery item is open
  if (how == "exit v1") {
    // A version-1 radio has no narrow deviation items: their nodes are greyed.
    qm::ui::TunePanel* tune = e.w->tunePanel();
    const QColor normal = tune->palette().color(QPalette::Active, QPalette::Text);
    QVERIFY(tune->node("CTCDevN")->foreground(0).color() != normal);
    QCOMPARE(tune->node("CTCDevW")->foreground(0).color(), normal);
    how = "exit";
  }
  e.prompter.clear();
  if (how == "exit") {
    e.clickNode("exit");
  } else if (how == "close") {
    QVERIFY(e.w->close());
  } else if (how == "mnuRadio") {
    // The menu item is hidden in tune mode; the command itself still leaves it first.
    QVERIFY(!e.action(how)->isVisible());
    WithModal([&](QWidget* m) { Click(m->findChild<QPushButton*>("cmdCancel")); },
              [&] { e.w->embedInfo(); });
  } else if (how == "Write") {
    Click(e.find<QWidget>("Write"));
  } else {
    e.action(how)->trigger();
  }
  // The open item was discarded: its stored value once more in apply mode, then the channel
  // select; no leave frames, since an item was open.
  QCOMPARE(e.doc().tuneState, qm::TuneState::Off);
  const QByteArray log = e.simLog();
  QCOMPARE(CountNotes(log, "item 42 64 01"), 3);  // begin, the panel's trial value, discard
  QCOMPARE(CountNotes(log, "item 42 64 02"), 0);
  QCOMPARE(CountNotes(log, "channel 1"), 2);
  // 0x2F8 is read by the entry (and by the full read), never as a leave frame.
  QCOMPARE(log.count("PC>  52 02 F8 08"), how == "mnuRead" ? 2 : 1);
  if (how == "close") {
    QVERIFY(!e.w->isVisible());
    return;
  }
  QVERIFY(!e.w->tunePanel()->isVisible() && e.find<QWidget>("fraChannel")->isVisible());
  QVERIFY(e.action("mnuChannel")->isChecked() && !e.action("mnuTune")->isChecked());
  QVERIFY(e.action("mnuWrite")->isVisible());
  const QString caption = how == "mnuRead" ? "读频完成－ " : how == "Write" ? "写频完成－" : "";
  if (how != "mnuRadio" && how != "close") QCOMPARE(e.w->windowTitle(), caption + kTitle);
  QCOMPARE(e.doc().viewMode, how == "mnuRadio" ? qm::ViewMode::EmbedInfo : qm::ViewMode::Channels);
}

// Closing in the tune view with no item open takes the radio out of its tune state with the
// leave frames, after offering the tune table edited meanwhile for writing.
void RadioWindowTest::closingInTheTuneView() {
  Env e;
  QVERIFY(e.startRadio(TuneRadioImage(e)));
  e.action("mnuTune")->trigger();
  Click(e.find<QCheckBox>("chkTuneCH_1"));  // tune channel 2 on
  e.prompter.clear();
  e.prompter.answer(Answer::Yes);
  QVERIFY(e.w->close());
  QCOMPARE(e.texts(), (Said{"调测信道的数据已经改变，是否要写入对讲机？",
                            "写入数据完成，请按“确定”按钮继续....."}));
  const QByteArray log = e.simLog();
  QVERIFY(log.contains("PC>  52 02 F0 08"));
  QCOMPARE(CountNotes(log, "left"), 1);
  const QByteArray memory = e.sim->stop();
  QVERIFY((uint8_t(memory[0x100 + 16 + 2]) & 0x08) != 0);
}

QTEST_MAIN(RadioWindowTest)
#include "radio_window_test.moc"
