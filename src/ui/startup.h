// Start-up helpers of the window program: the command line, a font that has the Chinese
// glyphs, the configuration and the locale's decimal separator.
#pragma once

#include <QFont>
#include <QString>
#include <QStringList>

#include "base/app_state.h"
#include "files/text_codec.h"

namespace qm::ui {

struct CommandLine {
  QString device;      // --device PATH: the serial device for the radio commands
  QString makerIni;    // --maker-ini PATH: instead of the program folder's nrvPC.ini
  QString ini;         // --ini PATH: the program's own configuration file
  QString screenshot;  // --screenshot DIR: save pictures of the windows and quit
  QString lang;        // --lang zh|en: the interface language for this run
  QString file;        // FILE: a data file to open once the window is up
  bool ok = true;
  bool help = false;  // --help: `error` holds the help text, for stdout
  QString error;
};

// The texts (help, refusals) are in the language installed when it runs: main parses once
// before any is, and again after installing the one --lang names.
// Qt's own options (-style Fusion, -platform offscreen, -reverse ...) are left to
// QApplication, which takes them from argv.
CommandLine ParseCommandLine(const QStringList& arguments);
// The arguments without the options QApplication takes itself.
QStringList WithoutQtOptions(const QStringList& arguments);

// A family that draws Simplified Chinese: the installed CJK faces first, then any family
// that says it has the script. Empty when there is none.
QString FindChineseFamily();
// Makes the application font one that has the glyphs, keeping the default size.
void UseChineseFont();

// Before the application starts: on Windows the offscreen platform (unattended pictures)
// reads its fonts from one folder, Qt's own by default, which holds none; it is pointed at the
// system's fonts unless QT_QPA_FONTDIR already names a folder. Nothing elsewhere, where the
// offscreen platform asks the system for its fonts.
void UseSystemFontsOffscreen();

// The character the locale writes between the whole and the fractional part of 5.5.
char LocaleDecimalSeparator();

// Reads the maker file into app (LoadStartupConfig) with the overrides of the command line.
void LoadConfiguration(const QString& programDir, const CommandLine& cmd, AppState& app,
                       const TextCodec& codec);

}  // namespace qm::ui
