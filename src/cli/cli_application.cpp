#include "cli/cli_application.h"

#include <string>

#ifdef QM_CLI_WITH_GUI
#include <QGuiApplication>
#endif

namespace qm::cli {
namespace {

// The verb the command line names: the first word that is neither an option nor the value of
// --maker-ini, --ini or --lang, as the verb dispatch reads it.
[[maybe_unused]] std::string VerbOf(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--maker-ini" || a == "--ini" || a == "--lang") {
      ++i;
      continue;
    }
    if (!a.empty() && a[0] != '-') return a;
  }
  return {};
}

}  // namespace

std::unique_ptr<QCoreApplication> MakeCliApplication(int& argc, char** argv) {
#ifdef QM_CLI_WITH_GUI
  if (VerbOf(argc, argv) == "print") {
#ifndef _WIN32
    // Painting a report needs no screen: a terminal without one prints too. Windows always
    // has its own platform, whose fonts are the system's.
    qputenv("QT_QPA_PLATFORM", "offscreen");
#endif
    return std::make_unique<QGuiApplication>(argc, argv);
  }
#endif
  return std::make_unique<QCoreApplication>(argc, argv);
}

}  // namespace qm::cli
