// The window against zr410-sim where the tune view meets the rest of the program (the file
// commands, the scroll bar), the busy pointer, the signalling dialog's keys, the
// toolbar pictures and the unattended screenshots.
#include <fstream>

#include "files/data_file.h"
#include "files/recent_files.h"
#include "ui/icons.h"
#include "ui/signal_dialog.h"
#include "window_rig.h"

using namespace qm::uitest;
using qm::Answer;

class WindowChecksTest : public QObject {
  Q_OBJECT
 private slots:
  void initTestCase() { qputenv("XDG_RUNTIME_DIR", QTemporaryDir().path().toUtf8()); }
  void tuneViewKeepsTheRadiosData();
  void scrollBarSendsOneTrialValuePerMove();
  void busyPointerStaysOnTheMainWindow();
  void escapeCancelsTheSignalDialog();
  void readAndWriteIconsPointOppositeWays();
  void screenshotsNeverWaitForAPerson();
};

// The tune view works on what the radio holds: while it shows the radio's tune data no file
// replaces it, and the frames of an item carry the radio's own values.
void WindowChecksTest::tuneViewKeepsTheRadiosData() {
  QTemporaryDir scratch;
  const std::string file = scratch.filePath("446.q83").toStdString();
  Env e([&](Env& env) { qm::AddRecentFile(*env.ini, file); });
  // A QM830K-446 file with the default tune data; a QM830K-U1 radio whose tune channel 1
  // sends CTC 67.0 and whose CTC deviation (wide) is 130.
  qm::Image fromFile = e.w->document().image;
  fromFile[0x2D2] = 32;
  QVERIFY(qm::WriteFileAtomically(file, qm::SerializeDataFile(fromFile, qm::SpareBlock{}, false)));
  qm::Image radio = TuneRadioImage(e);
  radio[0x107] = static_cast<uint8_t>((radio[0x107] & 0x0F) | 0x30);
  radio[0x108] = 0x70;
  radio[0x109] = 0x06;
  radio[0x2F3] = 130;
  QVERIFY(e.startRadio(radio, e.modelOption()));
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
  const auto sent = [&](const char* note) { return CountNotes(ReadBytes(e.sim->log()), note); };
  QTRY_COMPARE(sent("signalling 20 70 06"), 1);
  QTRY_COMPARE(sent("item 51 82 01"), 2);  // the begin and the panel's trial value
}

// A drag of the thumb sends the value where it is released; an arrow click, a page step and
// a key press each send one.
void WindowChecksTest::scrollBarSendsOneTrialValuePerMove() {
  Env e;
  QVERIFY(OpenBatteryItem(e));
  auto* bar = e.find<QScrollBar>("hsbTune");
  auto* label = e.find<QLabel>("lblTuneVal");
  const auto trials = [&] { return CountNotes(ReadBytes(e.sim->log()), "item 42"); };
  int sent = trials();

  bar->setSliderDown(true);
  for (int v = 101; v <= 110; ++v) {
    bar->setSliderPosition(v);
    QCOMPARE(label->text(), QString::number(v));  // the label follows the thumb
  }
  QCOMPARE(trials(), sent);
  bar->setSliderDown(false);
  QTRY_COMPARE(trials(), sent + 1);
  QTRY_VERIFY(ReadBytes(e.sim->log()).contains("42 6E 01"));  // 110
  sent = trials();

  QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(bar->width() - 4, bar->height() / 2));
  QCOMPARE(bar->value(), 111);
  QTRY_COMPARE(trials(), sent + 1);
  bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
  QTRY_COMPARE(trials(), sent + 2);
  // The click gave the bar the focus; Right raises the value.
  QCOMPARE(e.w->focusWidget(), bar);
  QTest::keyClick(e.w->focusWidget(), Qt::Key_Right);
  QCOMPARE(bar->value(), 120);
  QTRY_COMPARE(trials(), sent + 3);
  QCOMPARE(label->text(), QString::number(bar->value()));

  // OK stores the value the radio was last given.
  const int last = bar->value();
  Click(e.find<QGroupBox>("fraTune")->findChild<QPushButton*>("cmdOK"));
  QCOMPARE(e.w->document().image[0x2F0], uint8_t(last));
}

// While a radio command waits for the user in a message box, the box has the normal pointer;
// the hourglass is the main window's only, and it goes when the command ends.
void WindowChecksTest::busyPointerStaysOnTheMainWindow() {
  Env e;
  QVERIFY(e.startRadio(RadioImage(e), e.modelOption()));
  std::vector<std::string> seen;
  e.prompter.onAsk = [&](const qm::Message& m) {
    const bool appWide = QApplication::overrideCursor() != nullptr;
    const bool window = e.w->cursor().shape() == Qt::WaitCursor;
    seen.push_back(m.text + (appWide ? " app" : "") + (window ? " window" : ""));
  };
  e.action("mnuRead")->trigger();
  e.action("mnuWrite")->trigger();
  QCOMPARE(seen, (std::vector<std::string>{"读频完成，请按“确定”按钮继续.... window",
                                           "写频完成，请按“确定”按钮继续..... window"}));
  QVERIFY(QApplication::overrideCursor() == nullptr);
  QCOMPARE(e.w->cursor().shape(), Qt::ArrowCursor);
  e.prompter.onAsk = nullptr;
}

// Escape in either list of the signalling dialog cancels it, with no check of the half-typed
// entry.
void WindowChecksTest::escapeCancelsTheSignalDialog() {
  for (const auto& [text, list] :
       {std::pair{"CTC 88.5", "cboChRxQT"}, std::pair{"DCS 023", "cboChRxDQT"}}) {
    qm::AppState app;
    qm::test::FakePrompter prompter;
    qm::ui::FrmSignal dialog(app, prompter);
    dialog.setSignalText(text);
    std::optional<std::string> result = "not run";
    bool closed = false;
    WithModal(
        [&](QWidget* m) {
          auto* box = m->findChild<QComboBox*>(list);
          QVERIFY(box && box->isEnabled());
          box->lineEdit()->setFocus();
          QTest::keyClicks(box->lineEdit(), "1");
          QTest::keyClick(box->lineEdit(), Qt::Key_Escape);
          closed = !m->isVisible();
          if (!closed) m->close();
        },
        [&] { result = dialog.run(); });
    QVERIFY2(closed && !result.has_value() && prompter.messages.empty(), list);
  }
}

namespace {

// Where the arrow of a transfer icon points: the column with the most pixels of the arrow's
// colour is its head; it lies on the side the arrow points to.
int ArrowHeadSide(const QImage& img, QRgb arrow) {
  int bestColumn = -1;
  int best = 0;
  int left = img.width();
  int right = -1;
  for (int x = 0; x < img.width(); ++x) {
    int count = 0;
    for (int y = 0; y < img.height(); ++y) count += (img.pixel(x, y) | 0xFF000000) == arrow;
    if (count > 0) {
      left = std::min(left, x);
      right = std::max(right, x);
    }
    if (count > best) {
      best = count;
      bestColumn = x;
    }
  }
  if (bestColumn < 0) return 0;
  return 2 * bestColumn < left + right ? -1 : 1;
}

}  // namespace

// Read brings data from the radio (left) to the computer (right); Write sends it the other
// way. Same devices in the same places, arrows of different colours pointing opposite ways.
void WindowChecksTest::readAndWriteIconsPointOppositeWays() {
  const QImage read = qm::ui::ToolbarIcon("Read").pixmap(32, 32).toImage();
  const QImage write = qm::ui::ToolbarIcon("Write").pixmap(32, 32).toImage();
  QCOMPARE(ArrowHeadSide(read, qm::ui::kReadArrowColor), 1);
  QCOMPARE(ArrowHeadSide(write, qm::ui::kWriteArrowColor), -1);
  QVERIFY(qm::ui::kReadArrowColor != qm::ui::kWriteArrowColor);
}

// The demo data of the pictures lies outside this maker file's band: the messages that
// causes must not wait for anybody.
void WindowChecksTest::screenshotsNeverWaitForAPerson() {
  QTemporaryDir dir;
  const QString maker = dir.filePath("nrvPC.ini");
  {
    std::ofstream f(maker.toStdString());
    f << "[Const String]\nSoftware Title=QM830K\n[Radio List]\nSum of Radios=1\n"
         "RadioName1=VHF\nRadioValue1=7\nStdFreqRange0=13600000\nEndFreqRange0=17400000\n"
         "StdFreqExtend0=13600000\nEndFreqExtend0=17400000\n";
  }
  QProcess p;
  p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  // No screen is needed for the pictures, whatever this test itself runs on.
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("QT_QPA_PLATFORM", "offscreen");
  p.setProcessEnvironment(env);
  p.start(QM_GUI_PATH, {"--maker-ini", maker, "--ini", dir.filePath("QM830K.ini"), "--screenshot",
                        dir.filePath("shots")});
  QVERIFY(p.waitForStarted());
  const bool finished = p.waitForFinished(60000);
  if (!finished) p.kill();
  QVERIFY(finished);
  QCOMPARE(p.exitCode(), 0);
  for (const char* name : {"main.png", "signal.png", "model.png", "about.png", "port.png"})
    QVERIFY2(QFile::exists(dir.filePath(QString("shots/") + name)), name);
}

QTEST_MAIN(WindowChecksTest)
#include "window_checks_test.moc"
