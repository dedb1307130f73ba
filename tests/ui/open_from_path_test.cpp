// A data file named on the command line (or dropped on the window): the command line's FILE
// argument, and the open that follows, which must behave as the recent list's open does.
#include <QAction>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "document/config.h"
#include "files/data_file.h"
#include "files/file_io.h"
#include "files/profile.h"
#include "files/recent_files.h"
#include "platform/system_text_codec.h"
#include "support/fake_prompter.h"
#include "ui/main_window.h"
#include "ui/startup.h"

using qm::ui::FrmMain;

namespace {

class NoFileDialogs : public qm::FileDialogs {
 public:
  std::optional<std::string> openFile(const qm::FileDialogRequest&) override { return {}; }
  std::optional<std::string> saveFile(const qm::FileDialogRequest&) override { return {}; }
};

// One program run in a private folder, started as main() starts it.
struct Run {
  QTemporaryDir dir;
  qm::SystemTextCodec codec;
  qm::AppState app;
  std::unique_ptr<qm::ProfileFile> ini;
  qm::test::FakePrompter prompter;
  NoFileDialogs dialogs;
  std::unique_ptr<FrmMain> w;

  Run() {
    const std::string programDir = dir.path().toStdString();
    qm::LoadStartupConfig(programDir, QM_SOURCE_DIR "/data/nrvPC.ini", app, codec,
                          programDir + "/QM830K.ini");
    ini = std::make_unique<qm::ProfileFile>(app.iniFile, codec);
    w = std::make_unique<FrmMain>(app, prompter, dialogs, *ini);
    w->start();
    w->show();
  }
  // As the window keeps it: in the system's own form (backslashes on Windows).
  QString path(const QString& name) const { return QDir::toNativeSeparators(dir.filePath(name)); }
  QString recent1() const { return w->findChild<QAction*>("mnuRecentFile_1")->text(); }
};

}  // namespace

class OpenFromPathTest : public QObject {
  Q_OBJECT
 private slots:
  void initTestCase() { qputenv("XDG_RUNTIME_DIR", QTemporaryDir().path().toUtf8()); }
  void commandLineTakesOneFile();
  void fileOpensAsFromTheRecentList();
  void badFilesGiveTheLoadMessagesAndKeepTheDefaultDocument();
};

void OpenFromPathTest::commandLineTakesOneFile() {
  struct Case {
    QStringList args;
    bool ok;
    QString file;
  };
  const Case cases[] = {
      {{"qm830k"}, true, ""},
      {{"qm830k", "radio.q83"}, true, "radio.q83"},
      {{"qm830k", "--device", "/dev/ttyUSB0", "旧 数据.z410"}, true, "旧 数据.z410"},
      {{"qm830k", "a.q83", "b.q83"}, false, ""},
  };
  for (const Case& c : cases) {
    const qm::ui::CommandLine cmd = qm::ui::ParseCommandLine(c.args);
    QCOMPARE(cmd.ok, c.ok);
    QCOMPARE(cmd.file, c.file);
  }
}

void OpenFromPathTest::fileOpensAsFromTheRecentList() {
  Run r;
  qm::Image image = r.w->document().image;
  image[0x20] ^= 0x5A;  // a byte the default document does not have
  const std::vector<uint8_t> bytes = qm::SerializeDataFile(image, qm::SpareBlock{}, false);
  QVERIFY(qm::WriteFileAtomically(r.path("机队 一.q83").toStdString(), bytes));

  // A relative name is taken from the current folder and kept as an absolute path.
  const QString old = QDir::currentPath();
  QDir::setCurrent(r.dir.path());
  r.w->openDataFileFromPath("机队 一.q83");
  QDir::setCurrent(old);

  QVERIFY(r.prompter.messages.empty());
  QCOMPARE(r.w->document().image[0x20], image[0x20]);
  QCOMPARE(QString::fromStdString(r.w->document().curFileName), r.path("机队 一.q83"));
  QVERIFY(r.w->windowTitle().contains("机队 一.q83"));
  QVERIFY(r.recent1().contains("机队 一.q83"));
  QVERIFY(!r.w->document().flags.dataChanged);
}

void OpenFromPathTest::badFilesGiveTheLoadMessagesAndKeepTheDefaultDocument() {
  struct Case {
    const char* name;
    QByteArray content;  // empty: no file at all
    const char* message;
  };
  const Case cases[] = {
      {"missing.q83", {}, "文件不存在，请确认！"},
      {"text.q83", "not a data file\n", "该文件不是ZR410 的数据文件！"},
  };
  for (const Case& c : cases) {
    Run r;
    const qm::Image before = r.w->document().image;
    const QString title = r.w->windowTitle();
    if (!c.content.isEmpty()) {
      QFile f(r.path(c.name));
      QVERIFY(f.open(QIODevice::WriteOnly));
      f.write(c.content);
    }
    r.w->openDataFileFromPath(r.path(c.name));
    QCOMPARE(r.prompter.texts(), std::vector<std::string>{c.message});
    QVERIFY(r.w->document().image == before);
    QCOMPARE(r.w->windowTitle(), title);
    QVERIFY(r.w->document().curFileName.empty());
  }
}

QTEST_MAIN(OpenFromPathTest)
#include "open_from_path_test.moc"
