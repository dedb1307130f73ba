// The window test rig: one program run with a private program folder, the installation's
// maker file, the real main window with a scripted prompter and scripted file dialogs, and
// zr410-sim on a pseudo-terminal for the radio commands (when the test program has it). It
// brings the Qt widget and test modules for every window test.
#pragma once

#include <QtTest>
#include <QtWidgets>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "document/config.h"
#include "files/data_file.h"
#include "files/file_io.h"
#include "files/profile.h"
#include "model/image.h"
#include "platform/system_text_codec.h"
#include "support/fake_file_dialogs.h"
#include "support/fake_prompter.h"
#include "ui/main_window.h"

#ifdef _WIN32
#include "base/windows_api.h"
#endif
#include "ui/radio_dialogs.h"
#include "ui/screenshots.h"
#include "ui/tune_panel.h"

namespace qm::uitest {

inline const QString kTitle = "QM830K编程软件";
// The texts of the message boxes, in order.
using Said = std::vector<std::string>;

// Records every box like the scripted prompter, but shows the real version warning.
class WindowPrompter : public qm::test::FakePrompter {
 public:
  // The pointer while each box waits for the user: the hourglass is the main window's only
  // ("busy"), never the whole program's ("app").
  QPointer<QWidget> window;
  std::vector<std::string> pointers;

  qm::Answer ask(const qm::Message& message) override {
    pointers.push_back(std::string(QApplication::overrideCursor() ? "app " : "") +
                       (window && window->cursor().shape() == Qt::WaitCursor ? "busy" : "normal"));
    return FakePrompter::ask(message);
  }
  qm::WarningAnswer warn(int selIndex, const std::string& text) override {
    warnings.emplace_back(selIndex, text);
    qm::ui::DlgWarn dialog(selIndex, QString::fromStdString(text));
    dialog.exec();
    return dialog.answer();
  }
};

// Runs `inside` on the next modal window once it shows, while `act` runs. The polling ends
// with `act`, so a command that showed no window leaves nothing behind for the next case.
inline void WithModal(const std::function<void(QWidget*)>& inside,
                      const std::function<void()>& act) {
  auto alive = std::make_shared<bool>(true);
  auto poll = std::make_shared<std::function<void()>>();
  *poll = [inside, alive, poll] {
    if (!*alive) return;
    if (QWidget* m = QApplication::activeModalWidget()) {
      *alive = false;
      inside(m);
      return;
    }
    QTimer::singleShot(10, *poll);
  };
  QTimer::singleShot(10, *poll);
  act();
  *alive = false;
}

// The load check's red, darkened as far as the theme's field needs to keep it readable.
inline bool MarkedRed(const QColor& c) {
  return c.red() >= 180 && c.green() == c.blue() && c.red() > c.green() + 100;
}

inline void Click(QWidget* w) {
  QVERIFY(w);
  QTest::mouseClick(w, Qt::LeftButton, {}, w->rect().center());
}

// With QM_SCREENSHOT_DIR set, pictures of the windows are saved on the way.
inline void Shot(QWidget* w, const char* name) {
  const QByteArray dir = qgetenv("QM_SCREENSHOT_DIR");
  if (dir.isEmpty() || !w) return;
  // The main window as it opens on a screen with room for it, whatever the test's screen.
  if (auto* main = qobject_cast<qm::ui::FrmMain*>(w)) main->resize(main->fullSize());
  QApplication::processEvents();
  w->grab().save(QString::fromUtf8(dir) + "/" + name);
}

inline QByteArray ReadBytes(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return {};
  return f.readAll();
}

inline bool WriteBytes(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

// The machine's own ports stay out of the tests (its ttyS0 is the console): the window and
// the programs the tests start look for devices in an empty tree. Its path.
inline QString UseEmptyDeviceTree() {
  static const QTemporaryDir tree;
  qputenv("QM830K_DEVICE_ROOT", tree.path().toUtf8());
  return tree.path();
}

#ifdef QM_SIM_PATH
// The simulated radio. On Linux it runs on a pseudo-terminal. Under Wine it is the Linux
// program, started the way Wine starts any Unix program: a Windows program cannot signal it,
// so it stops when its stop file appears, and its pseudo-terminal is linked in as COM40 of
// the Wine prefix, which the window then opens.
class Sim {
 public:
  explicit Sim(QString dir) : dir_(std::move(dir)) {}
  ~Sim() { stop(); }
  QString dump() const { return dir_ + "/dump.bin"; }
  QString log() const { return dir_ + "/sim.log"; }
#ifndef _WIN32
  QString link() const { return dir_ + "/radio"; }
  // What the window opens to reach it.
  QString device() const { return link(); }
  // A file of the test's as the simulator names it.
  QString hostPath(const QString& path) const { return path; }

  bool start(const QStringList& options) {
    proc_.setProgram(QM_SIM_PATH);
    proc_.setArguments(QStringList{"--link", link(), "--dump", dump(), "--log", log()} + options);
    proc_.start();
    if (!proc_.waitForStarted(5000)) return false;
    // It prints the link once the terminal is ready.
    return proc_.waitForReadyRead(5000) && QFile::exists(link());
  }
  // Stops it; its memory is then in dump().
  QByteArray stop() {
    if (proc_.state() == QProcess::NotRunning) return ReadBytes(dump());
    proc_.terminate();
    proc_.waitForFinished(5000);
    return ReadBytes(dump());
  }

 private:
  QProcess proc_;
#else
  QString link() const {
    QString prefix = qEnvironmentVariable("WINEPREFIX");
    if (prefix.isEmpty()) prefix = qEnvironmentVariable("HOME") + "/.wine";
    return prefix + "/dosdevices/com40";
  }
  QString device() const { return "COM40"; }
  // A file of the test's as the simulator, a Unix program, names it.
  QString hostPath(const QString& path) const {
    using UnixName = char* (*)(const wchar_t*);
    static const auto unixName = reinterpret_cast<UnixName>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"kernel32"), "wine_get_unix_file_name")));
    if (!unixName) return path;
    const std::wstring wide = QDir::toNativeSeparators(QDir(path).absolutePath()).toStdWString();
    char* name = unixName(wide.c_str());
    if (!name) return path;
    const QString out = QString::fromUtf8(name);
    HeapFree(GetProcessHeap(), 0, name);
    return out;
  }

  bool start(const QStringList& options) {
    QFile::remove(stopFile());
    QStringList args{"--link", link(),          "--dump",      hostPath(dump()),
                     "--log",  hostPath(log()), "--stop-file", hostPath(stopFile())};
    std::wstring command = L"\"" + QDir::toNativeSeparators(QM_SIM_PATH).toStdWString() + L"\"";
    for (const QString& a : args + options) command += L" \"" + a.toStdWString() + L"\"";
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                        &pi))
      return false;
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    running_ = true;
    return waitFor([&] { return portOpens(); });
  }
  // Stops it; its memory is then in dump().
  QByteArray stop() {
    if (running_) {
      QFile f(stopFile());
      f.open(QIODevice::WriteOnly);
      f.close();
      // It removes its link last, after writing its memory.
      waitFor([&] { return !portOpens(); });
      running_ = false;
    }
    return ReadBytes(dump());
  }

 private:
  QString stopFile() const { return dir_ + "/stop"; }
  // Whether the port opens, that is whether its link is in place (the file functions see
  // nothing at a link to a terminal under Wine).
  bool portOpens() const {
    const std::wstring name = L"\\\\.\\" + device().toStdWString();
    const HANDLE h = CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                 OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    CloseHandle(h);
    return true;
  }
  static bool waitFor(const std::function<bool()>& done) {
    for (int i = 0; i < 500 && !done(); ++i) QTest::qWait(10);
    return done();
  }
  bool running_ = false;
#endif
  QString dir_;
};
#endif

// How often the simulator noted a tune frame ("item 42 64 01", "channel 1").
inline int CountNotes(const QByteArray& log, const char* note) {
  return int(QString::fromUtf8(log).count(QString("tune: ") + QString::fromUtf8(note)));
}

struct Env {
  QTemporaryDir dir;
  qm::SystemTextCodec codec;
  qm::AppState app;
  std::unique_ptr<qm::ProfileFile> ini;
  WindowPrompter prompter;
  qm::test::FakeFileDialogs dialogs;
  std::unique_ptr<qm::ui::FrmMain> w;
#ifdef QM_SIM_PATH
  std::unique_ptr<Sim> sim;
#endif

  explicit Env(const std::function<void(Env&)>& beforeStart = {}) {
    UseEmptyDeviceTree();
    const std::string programDir = dir.path().toStdString();
    qm::LoadStartupConfig(programDir, QM_SOURCE_DIR "/data/nrvPC.ini", app, codec,
                          programDir + "/QM830K.ini");
    ini = std::make_unique<qm::ProfileFile>(app.iniFile, codec);
    // Pictures in a dark theme, as the program takes them (QM830K_PALETTE=dark).
    if (qEnvironmentVariable("QM830K_PALETTE") == "dark") {
      QApplication::setStyle("Fusion");
      QApplication::setPalette(qm::ui::DarkPalette());
    }
    if (beforeStart) beforeStart(*this);
    w = std::make_unique<qm::ui::FrmMain>(app, prompter, dialogs, *ini);
    prompter.window = w.get();
    w->start();
    w->show();
    if (!QTest::qWaitForWindowExposed(w.get())) qWarning("window not exposed");
    w->activateWindow();
    if (!QTest::qWaitForWindowActive(w.get())) qWarning("window not active");
#ifdef QM_SIM_PATH
    sim = std::make_unique<Sim>(dir.path());
#endif
  }
  ~Env() {
    // Nothing may keep the window from closing at the end of a case.
    prompter.answer(qm::Answer::No);
    if (w) w->close();
  }

#ifdef QM_SIM_PATH
  // Starts the radio of the window's model with `memory` and points the window at it.
  bool startRadio(const qm::Image& memory, const QStringList& options = {}) {
    const QString mem = dir.filePath("memory.bin");
    if (!qm::WriteFileAtomically(mem.toStdString(), memory.bytes())) return false;
    const QString model = QString::number(app.currentModel().code);
    if (!sim->start(QStringList{"--model", model, "--load", sim->hostPath(mem)} + options))
      return false;
    w->setDevicePath(sim->device());
    return true;
  }
  QByteArray simLog() const { return ReadBytes(sim->log()); }
  // How often the simulator noted `note` so far.
  int notes(const char* note) const { return CountNotes(simLog(), note); }
#endif

  template <class T>
  T* find(const QString& name) const {
    return w->findChild<T*>(name);
  }
  QAction* action(const QString& name) const { return find<QAction>(name); }
  // Runs `inside` on the modal window the menu command `name` opens.
  void modal(const char* name, const std::function<void(QWidget*)>& inside) {
    WithModal(inside, [&] { action(name)->trigger(); });
  }
  QTableWidget* grid() const { return find<QTableWidget>("gridChan"); }
  QLineEdit* editor() const { return find<QLineEdit>("txtChFreq"); }
  QString cell(int row, int col) const { return grid()->item(row - 1, col)->text(); }
  QColor color(int row, int col) const { return grid()->item(row - 1, col)->foreground().color(); }
  QString path(const QString& name) const { return dir.filePath(name); }
  qm::Document& doc() { return w->document(); }
  qm::EditFlags& flags() { return w->document().flags; }
  // The centre of a cell of the channel grid (rows from 1), and a press on it.
  QPoint at(int row, int col) const {
    return grid()->visualItemRect(grid()->item(row - 1, col)).center();
  }
  void click(int row, int col, Qt::KeyboardModifiers mods = {}) {
    QTest::mouseClick(grid()->viewport(), Qt::LeftButton, mods, at(row, col));
  }
  void key(int k, Qt::KeyboardModifiers mods = {}) { QTest::keyClick(grid(), Qt::Key(k), mods); }
  // The grid's context menu asked for over a cell.
  void contextMenu(int row, int col) {
    QContextMenuEvent event(QContextMenuEvent::Mouse, at(row, col),
                            grid()->viewport()->mapToGlobal(at(row, col)));
    QApplication::sendEvent(grid()->viewport(), &event);
  }
  // A frequency typed over the text of a cell and applied with Enter.
  void typeFreq(int row, int col, const QString& text) {
    click(row, col);
    editor()->selectAll();
    QTest::keyClicks(editor(), text);
    QTest::keyClick(editor(), Qt::Key_Return);
  }
  // `image` saved as the data file `name` in the scratch folder; its path (empty on a failure).
  QString saveDataFile(const QString& name, const qm::Image& image) const {
    const QString file = path(name);
    const auto bytes = qm::SerializeDataFile(image, qm::SpareBlock{}, false);
    return qm::WriteFileAtomically(file.toStdString(), bytes) ? file : QString();
  }
  // Whether channel i (from 0) is switched off.
  bool off(int i) const { return find<QCheckBox>(QString("chkCH_%1").arg(i))->isChecked(); }
  // What a user's pick from a drop-down list sends.
  void choose(const QString& list, int position) {
    auto* box = find<QComboBox>(list);
    box->setCurrentIndex(position);
    emit box->activated(position);
  }
  QString panel(int n) const { return find<QLabel>(QString("sbPanel_%1").arg(n))->text(); }
  Said texts() const { return prompter.texts(); }
  // The boxes `act` shows, its question answered with `answer`.
  Said asks(qm::Answer answer, const std::function<void()>& act) {
    prompter.clear();
    prompter.answer(answer);
    act();
    prompter.answers.clear();  // an answer no box took is not left for the next
    return texts();
  }
  // Whether a box said `text` (or, with `prefix`, began with it).
  bool said(const std::string& text, bool prefix = false) const {
    for (const auto& t : prompter.texts())
      if (prefix ? t.rfind(text, 0) == 0 : t == text) return true;
    return false;
  }
  // Whether closing asks to save the data first (the question is cancelled: the window stays).
  bool closeAsksToSave() {
    prompter.clear();
    prompter.answer(qm::Answer::Cancel);
    return !w->close() && texts() == Said{"数据没有保存，是否要保存？"};
  }
  // A click on a node of the tune tree.
  void clickNode(const char* key) {
    qm::ui::TunePanel* tune = w->tunePanel();
    QTreeWidgetItem* n = tune->node(key);
    QVERIFY(n);
    QTest::mouseClick(tune->tree()->viewport(), Qt::LeftButton, {},
                      tune->tree()->visualItemRect(n).center());
  }
};

// An image the radio holds: the window's defaults with channel 1 moved to `freq`.
inline qm::Image RadioImage(Env& e, const char* freq = "441.02500") {
  auto& channels = e.w->document().editors().channels();
  channels.setCellText(1, 1, freq);
  channels.setCellText(1, 3, freq);
  qm::Image image = e.w->document().image;
  e.w->document().editors().CollectRadioData(image);
  // The window goes back to its defaults, so the read has something to change.
  e.w->document().DisplayRadioData();
  e.w->document().flags = qm::EditFlags{};
  e.w->refreshAll();
  return image;
}

// An image whose tune channel 1 alone is switched on; item 1 (battery) holds 100.
inline qm::Image TuneRadioImage(Env& e) {
  qm::Image radio = e.w->document().image;
  for (size_t r = 0; r < 11; ++r) radio[0x100 + 16 * r + 2] &= 0xF7;
  radio[0x100 + 2] |= 0x08;
  radio[0x2F0] = 100;
  return radio;
}

}  // namespace qm::uitest
