// The window against zr410-sim where the tune view meets the rest of the program (opening a
// file, dragging the scroll bar), the busy pointer, the signalling dialog's keys, the
// toolbar pictures and the unattended screenshots.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QProcess>
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <fstream>

#include "files/data_file.h"
#include "files/recent_files.h"
#include "model/codecs.h"
#include "ui/icons.h"
#include "ui/signal_dialog.h"
#include "ui/tune_panel.h"
#include "window_rig.h"

using namespace qm::uitest;
using qm::Answer;

class WindowChecksTest : public QObject {
  Q_OBJECT
 private slots:
  void initTestCase() { qputenv("XDG_RUNTIME_DIR", QTemporaryDir().path().toUtf8()); }
  void tuneViewShowsTheOpenedFile_data();
  void tuneViewShowsTheOpenedFile();
  void scrollBarSendsOneTrialValuePerMove();
  void busyPointerStaysOnTheMainWindow();
  void escapeCancelsTheSignalDialog_data();
  void escapeCancelsTheSignalDialog();
  void readAndWriteIconsPointOppositeWays();
  void screenshotsNeverWaitForAPerson();
};

void WindowChecksTest::tuneViewShowsTheOpenedFile_data() {
  QTest::addColumn<QString>("how");
  QTest::addColumn<bool>("itemOpen");
  QTest::newRow("toolbar") << "Open" << false;
  QTest::newRow("recent list") << "mnuRecentFile_1" << false;
  QTest::newRow("toolbar, an item open") << "Open" << true;
}

// Opening a file in the tune view shows the file's tune channel table, and the save button
// writes that table, not the one shown before.
void WindowChecksTest::tuneViewShowsTheOpenedFile() {
  QFETCH(QString, how);
  QFETCH(bool, itemOpen);
  QTemporaryDir scratch;
  const std::string file = scratch.filePath("job.q83").toStdString();
  Env e([&](Env& env) { qm::AddRecentFile(*env.ini, file); });
  qm::Image radio = TuneRadioImage(e);
  // The file's tune channel 1 is on 441.01250 MHz, the radio's on the band's lower edge.
  qm::Image fromFile = radio;
  const uint32_t n = 441012500 / 6250;
  fromFile[0x100] = fromFile[0x105] = uint8_t(n & 0xFF);
  fromFile[0x101] = fromFile[0x106] = uint8_t(n >> 8);
  fromFile[0x102] = uint8_t(0x0C | (n >> 16));
  fromFile[0x107] = uint8_t(0x0C | (n >> 16));
  fromFile[0x2F0] = 50;
  {
    const auto bytes = qm::SerializeDataFile(fromFile, qm::SpareBlock{}, false);
    QVERIFY(qm::WriteFileAtomically(file, bytes));
  }
  QVERIFY(e.startRadio(radio, e.modelOption()));
  e.action("mnuTune")->trigger();
  QCOMPARE(e.w->document().viewMode, int16_t(3));
  QTableWidget* tg = e.find<QTableWidget>("gridTune");
  const QString before = tg->item(0, 0)->text();
  QVERIFY(before != "441.01250");

  if (itemOpen) {
    e.clickNode("Battery");
    QCOMPARE(e.w->document().tuneState, int16_t(2));
  }
  if (how == "Open") {
    e.dialogs.choose(file);
    Click(e.find<QWidget>("Open"));
  } else {
    e.action(how)->trigger();
  }
  QCOMPARE(e.w->windowTitle(), kTitle + QString::fromStdString(file));
  if (itemOpen) {
    // The open item was discarded with the radio's value before the file replaced it.
    const QByteArray log = ReadBytes(e.sim->log());
    QCOMPARE(CountNotes(log, "item 42 64 01"), 3);  // begin, trial value, discard
    QCOMPARE(CountNotes(log, "item 42 32"), 0);
    QCOMPARE(e.w->document().tuneState, int16_t(0));
    e.clickNode("testfreq");
  }
  QCOMPARE(tg->item(0, 0)->text(), QString("441.01250"));
  QCOMPARE(tg->item(0, 3)->text(), QString("441.01250"));

  Click(e.find<QPushButton>("cmdSaveTnFq"));
  QVERIFY(e.said("写入数据完成，请按“确定”按钮继续......"));
  e.clickNode("exit");
  const QByteArray after = e.sim->stop();
  for (int a = 0x100; a < 0x1B0; ++a) QCOMPARE(uint8_t(after[a]), fromFile[size_t(a)]);
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
  QCOMPARE(trials(), sent + 1);
  QVERIFY(ReadBytes(e.sim->log()).contains("42 6E 01"));  // 110
  sent = trials();

  QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(bar->width() - 4, bar->height() / 2));
  QCOMPARE(bar->value(), 111);
  QCOMPARE(trials(), sent + 1);
  bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
  QCOMPARE(trials(), sent + 2);
  bar->setFocus();
  QTest::keyClick(bar, Qt::Key_Left);
  QCOMPARE(trials(), sent + 3);
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

void WindowChecksTest::escapeCancelsTheSignalDialog_data() {
  QTest::addColumn<QString>("text");
  QTest::addColumn<QString>("list");
  QTest::newRow("tone list") << "CTC 88.5"
                             << "cboChRxQT";
  QTest::newRow("code list") << "DCS 023"
                             << "cboChRxDQT";
}

void WindowChecksTest::escapeCancelsTheSignalDialog() {
  QFETCH(QString, text);
  QFETCH(QString, list);
  qm::AppState app;
  qm::test::FakePrompter prompter;
  qm::ui::FrmSignal dialog(app, prompter);
  dialog.setSignalText(text.toStdString());
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
  QVERIFY(closed);
  QVERIFY(!result.has_value());
  QVERIFY(prompter.messages.empty());  // no check of the half-typed entry
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
  const QByteArray dir = qgetenv("QM_SCREENSHOT_DIR");
  if (!dir.isEmpty()) {
    QImage both(288, 128, QImage::Format_ARGB32);
    both.fill(Qt::white);
    QPainter p(&both);
    p.drawImage(QRect(0, 0, 128, 128), read);
    p.drawImage(QRect(160, 0, 128, 128), write);
    p.end();
    both.save(QString::fromUtf8(dir) + "/read-write-icons.png");
  }
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
  p.start(QM_GUI_PATH, {"--maker-ini", maker, "--ini", dir.filePath("QM830K.ini"), "--screenshot",
                        dir.filePath("shots")});
  QVERIFY(p.waitForStarted());
  const bool finished = p.waitForFinished(60000);
  if (!finished) p.kill();
  QVERIFY(finished);
  QCOMPARE(p.exitCode(), 0);
  for (const char* name : {"main.png", "signal.png", "model.png", "about.png"})
    QVERIFY2(QFile::exists(dir.filePath(QString("shots/") + name)), name);
}

QTEST_MAIN(WindowChecksTest)
#include "window_checks_test.moc"
