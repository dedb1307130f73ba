// qm830k-cli: the command-line tool over the core, for scripts, benches and tests.
#include <QCoreApplication>
#include <algorithm>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "cli/cli_application.h"
#include "cli/console.h"
#include "cli/verbs.h"
#include "platform/command_line.h"
#include "platform/program_instance.h"
#include "platform/translation.h"

namespace qm::cli {

std::vector<Verb>& VerbTable() {
  static std::vector<Verb> table;
  return table;
}

namespace {

void PrintHelp() {
  auto verbs = VerbTable();
  std::sort(verbs.begin(), verbs.end(),
            [](const Verb& a, const Verb& b) { return a.name < b.name; });
  std::cout
      << "usage: qm830k-cli [--maker-ini PATH] [--ini PATH] [--lang zh|en] VERB [ARGS]\n\n"
         "Common options:\n"
         "  --maker-ini PATH  the installation maker file (default: nrvPC.ini beside the program)\n"
         "  --ini PATH        the program's own configuration file\n"
         "  --lang zh|en      the language of messages and show/diff texts (default: zh, or\n"
         "                    QM830K_LANG); --json output is the same in every language\n"
         "  --help            this text; VERB --help shows a verb's usage\n\n"
         "Verbs:\n";
  for (const Verb& v : verbs) {
    std::cout << "  " << qm::TrCoreUtf8(v.usage) << "\n      " << v.summary << "\n";
  }
}

}  // namespace
}  // namespace qm::cli

namespace {

// Qt's note that it made its own runtime folder is noise on a terminal and in scripts.
void QuietMessages(QtMsgType type, const QMessageLogContext&, const QString& msg) {
  if (msg.startsWith(QStringLiteral("QStandardPaths:"))) return;
  if (type == QtDebugMsg || type == QtInfoMsg) return;
  std::fprintf(stderr, "%s\n", msg.toLocal8Bit().constData());
}

}  // namespace

int main(int argc, char** argv) {
  using namespace qm::cli;
  const qm::RunningMark running;
  qInstallMessageHandler(QuietMessages);
  const Utf8Console console;  // Chinese output on a Windows console
  const std::vector<std::string> args = qm::Utf8Arguments(argc, argv);
  const auto qapp = MakeCliApplication(argc, argv);  // paths, codecs, the serial port; fonts
  std::setlocale(LC_NUMERIC, "C");

  Invocation inv;
  std::string verbName;
  std::vector<std::string> rest;
  bool help = false;
  const char* env = std::getenv("QM830K_LANG");
  std::string lang = env && *env ? env : "zh";
  for (size_t i = 1; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--lang" && i + 1 < args.size()) {
      lang = args[++i];
    } else if (a.rfind("--lang=", 0) == 0) {
      lang = a.substr(7);
    } else if ((a == "--maker-ini" || a == "--ini") && i + 1 < args.size()) {
      (a == "--ini" ? inv.programIni : inv.makerIni) = args[++i];
    } else if (a.rfind("--maker-ini=", 0) == 0) {
      inv.makerIni = a.substr(12);
    } else if (a.rfind("--ini=", 0) == 0) {
      inv.programIni = a.substr(6);
    } else if (verbName.empty() && (a == "--help" || a == "-h")) {
      help = true;  // shown once the language is known: some usages name values in it
    } else if (verbName.empty() && !a.empty() && a[0] != '-') {
      verbName = a;
    } else {
      rest.push_back(a);
    }
  }
  const auto language = qm::ParseLanguage(lang);
  if (!language) {
    std::cerr << "qm830k-cli: " << qm::UnknownLanguageText(lang) << "\n";
    return 2;
  }
  for (const QString& note :
       qm::InstallLanguage(*language, QCoreApplication::applicationDirPath()).notes)
    std::cerr << note.toStdString() << "\n";
  if (help || verbName.empty()) {
    PrintHelp();
    return help ? 0 : 2;
  }
  for (const Verb& v : VerbTable()) {
    if (v.name != verbName) continue;
    if (std::find(rest.begin(), rest.end(), "--help") != rest.end()) {
      std::cout << "usage: qm830k-cli " << qm::TrCoreUtf8(v.usage) << "\n  " << v.summary << "\n";
      return 0;
    }
    inv.args = rest;
    return v.run(inv);
  }
  std::cerr << "qm830k-cli: unknown verb '" << verbName << "' (see --help)\n";
  return 2;
}
