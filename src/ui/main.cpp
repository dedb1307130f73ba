// qm830k: the window program. Start-up shows the splash while the main window loads and
// keeps it up for at least 1.2 s.
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QThread>
#include <QTimer>
#include <cstdio>

#include "files/profile.h"
#include "platform/command_line.h"
#include "platform/program_instance.h"
#include "platform/system_text_codec.h"
#include "platform/translation.h"
#include "ui/main_window.h"
#include "ui/qt_seams.h"
#include "ui/screenshots.h"
#include "ui/small_dialogs.h"
#include "ui/startup.h"

namespace qm::ui {
namespace {

// The title of the message box that shows the help or a refusal where there is no console.
QString StartupTitle() { return TrCore(QM_TR("QM830K编程软件")); }

}  // namespace
}  // namespace qm::ui

int main(int argc, char** argv) {
  const qm::RunningMark running;
  // The command line first, so that --help and a wrong option need no display.
  QCoreApplication::setApplicationName("qm830k");
  QStringList arguments;
  for (const std::string& a : qm::Utf8Arguments(argc, argv)) arguments << QString::fromStdString(a);
  const qm::ui::CommandLine cmd = qm::ui::ParseCommandLine(arguments);
  if (!cmd.ok) {
    QString text = cmd.error;
    QString title = qm::ui::StartupTitle();
    // The help and the refusals in the language --lang names; a core application is enough
    // to load the translation.
    if (qm::ParseLanguage(cmd.lang.toStdString()) == qm::Language::English) {
      QCoreApplication core(argc, argv);
      qm::InstallLanguage(qm::Language::English, QCoreApplication::applicationDirPath());
      text = qm::ui::ParseCommandLine(arguments).error;
      title = qm::ui::StartupTitle();
    }
    qm::ShowStartupText(title, text, !cmd.help);
    return cmd.help ? 0 : 2;
  }

  qm::ui::UseSystemFontsOffscreen();
  QApplication application(argc, argv);
  QApplication::setApplicationName("qm830k");
  // The window in a dark theme without one on the desktop: the Fusion style on a dark palette,
  // the combination a dark desktop gives it (for pictures and for checking the colours).
  if (qEnvironmentVariable("QM830K_PALETTE") == "dark") {
    QApplication::setStyle("Fusion");
    QApplication::setPalette(qm::ui::DarkPalette());
  }
  qm::ui::UseChineseFont();

  qm::SystemTextCodec codec;
  qm::AppState app;
  qm::ui::LoadConfiguration(QApplication::applicationDirPath(), cmd, app, codec);
  // The interface language: --lang for this run, else the one kept in the configuration.
  const qm::Language language = cmd.lang.isEmpty()
                                    ? qm::ReadLanguage(qm::ProfileFile(app.iniFile, codec))
                                    : *qm::ParseLanguage(cmd.lang.toStdString());
  const qm::LanguageSetup setup = qm::InstallLanguage(language, QApplication::applicationDirPath());
  for (const QString& note : setup.notes) std::fprintf(stderr, "%s\n", qPrintable(note));

  qm::ui::FrmFlash splash(app);
  splash.show();
  QElapsedTimer shown;
  shown.start();
  QApplication::processEvents();
  QApplication::setOverrideCursor(Qt::WaitCursor);

  app.decimalSep = qm::ui::LocaleDecimalSeparator();
  const qm::ProfileFile ini(app.iniFile, codec);
  qm::ui::QtPrompter prompter;
  qm::ui::UnattendedPrompter unattended;
  qm::ui::QtFileDialogs dialogs;
  // Pictures are taken without anybody at the screen: no message may wait for an answer.
  const bool screenshots = !cmd.screenshot.isEmpty();
  qm::ui::FrmMain window(app, screenshots ? static_cast<qm::Prompter&>(unattended) : prompter,
                         dialogs, ini);
  prompter.setParent(&window);
  dialogs.setParent(&window);
  window.setDevicePath(cmd.device);
  window.start(&splash);

  // The splash stays up at least 1.2 s, painting meanwhile.
  while (shown.elapsed() < 1200) {
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 50);
    QThread::msleep(20);
  }
  splash.close();
  window.show();
  if (!cmd.file.isEmpty()) window.openDataFileFromPath(cmd.file);

  if (!cmd.screenshot.isEmpty()) {
    QTimer::singleShot(300, &window, [&] {
      const int failures = qm::ui::SaveScreenshots(window, cmd.screenshot);
      QApplication::exit(failures == 0 ? 0 : 1);
    });
  }
  return QApplication::exec();
}
