#include "cli/context.h"

#include <QCoreApplication>
#include <iostream>

#include "app/config.h"
#include "app/model_table.h"

namespace qm::cli {

void LoadCliApp(const Invocation& inv, CliApp& out) {
  std::string programDir = QCoreApplication::applicationDirPath().toStdString();
  std::string maker = inv.makerIni.empty() ? DefaultMakerIniPath(programDir) : inv.makerIni;
  LoadStartupConfig(programDir, maker, out.app, out.codec, inv.programIni);
  out.programIni = std::make_unique<ProfileFile>(out.app.iniFile, out.codec);
}

int ResolveModelOption(const AppState& app, const std::string& option, int value) {
  if (option == "--model") {
    if (value >= 0 && value < static_cast<int>(app.models.size())) return value;
    std::cerr << "qm830k-cli: --model takes an index from 0 to " << app.models.size() - 1 << "\n";
    return -1;
  }
  int m = FindModelByCode(app, value);
  if (m < 0) std::cerr << "qm830k-cli: no model has the code " << value << "\n";
  return m;
}

}  // namespace qm::cli
