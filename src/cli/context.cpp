#include "cli/context.h"

#include <QCoreApplication>
#include <iostream>

#include "app/model_table.h"
#include "document/config.h"
#include "files/data_file.h"
#include "files/data_file_messages.h"

namespace qm::cli {

void LoadCliApp(const Invocation& inv, CliApp& out) {
  std::string programDir = QCoreApplication::applicationDirPath().toStdString();
  std::string maker = inv.makerIni.empty() ? DefaultMakerIniPath(programDir) : inv.makerIni;
  LoadStartupConfig(programDir, maker, out.app, out.codec, inv.programIni);
  out.programIni = std::make_unique<ProfileFile>(out.app.iniFile, out.codec);
}

bool OpenDocumentFile(Document& doc, const std::string& path) {
  const LoadedFile f = LoadDataFileFrom(path, doc.image, doc.spare);
  if (f.status != LoadStatus::Ok) {
    const Message m = LoadStatusMessage(f.status);
    std::cerr << "[" << m.title << "] " << m.text << " (" << path << ")\n";
    return false;
  }
  doc.image = f.image;
  doc.spare = f.spare;
  doc.imageVerMajor = f.imageVerMajor;
  ConvertModel(doc.app(), doc.image);
  doc.modelByte = static_cast<uint8_t>(doc.app().curModel);
  doc.DisplayRadioData();
  return true;
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
