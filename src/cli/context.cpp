#include "cli/context.h"

#include <QCoreApplication>
#include <iostream>

#include "base/model_table.h"
#include "base/tr.h"
#include "document/config.h"
#include "files/data_file.h"
#include "files/data_file_messages.h"
#include "files/file_io.h"
#include "files/text_form.h"
#include "platform/translation.h"

namespace qm::cli {

CliApp::CliApp(const Invocation& inv) { LoadCliApp(inv, *this); }

void LoadCliApp(const Invocation& inv, CliApp& out) {
  std::string programDir = QCoreApplication::applicationDirPath().toStdString();
  std::string maker = inv.makerIni.empty() ? DefaultMakerIniPath(programDir) : inv.makerIni;
  LoadStartupConfig(programDir, maker, out.app, out.codec, inv.programIni);
  out.programIni = std::make_unique<ProfileFile>(out.app.iniFile, out.codec);
}

std::string MessageLine(const Message& m) {
  // Appended piece by piece: "[" + text would take GCC 12 into a false -Wrestrict at -O3.
  std::string line = "[";
  line += TrCoreUtf8(m.title);
  line += "] ";
  line += TrCoreUtf8(m.text);
  return line;
}

bool LoadOrReport(const std::string& path, LoadedFile& out, const Image& base,
                  const SpareBlock& baseSpare) {
  out = LoadDataFileFrom(path, base, baseSpare);
  if (out.status == LoadStatus::Ok) return true;
  std::cerr << MessageLine(LoadStatusMessage(out.status)) << " (" << path << ")\n";
  return false;
}

bool LoadOrReport(const AppState& app, const std::string& path, LoadedFile& out, const Image& base,
                  const SpareBlock& baseSpare) {
  AnyLoad any = LoadAnyDataFile(path, base, baseSpare, app);
  out = any.file;
  if (out.status == LoadStatus::Ok) return true;
  std::cerr << MessageLine(any.message) << " (" << path << ")\n";
  return false;
}

bool OpenDocumentFile(Document& doc, const std::string& path) {
  LoadedFile f;
  if (!LoadOrReport(doc.app(), path, f, doc.image, doc.spare)) return false;
  doc.image = f.image;
  doc.spare = f.spare;
  doc.imageVerMajor = f.imageVerMajor;
  ConvertModel(doc.app(), doc.image.modelCode());
  doc.modelByte = static_cast<uint8_t>(doc.app().curModel);
  doc.DisplayRadioData();
  return true;
}

bool WriteOrReport(const std::string& path, std::span<const uint8_t> bytes) {
  if (WriteFileAtomically(path, bytes)) return true;
  std::cerr << "[" << kAppTitle << "] (warning) " << TrCoreUtf8(QM_TR("保存文件错误")) << " ("
            << path << ")\n";
  return false;
}

bool SaveOrReport(const std::string& path, const Image& image, const SpareBlock& spare) {
  return WriteOrReport(path, SerializeDataFile(image, spare, IsLegacyName(path)));
}

bool SaveOrReport(const AppState& app, const std::string& path, const Image& image,
                  const SpareBlock& spare, int16_t imageVerMajor) {
  return WriteOrReport(path, SerializeAnyDataFile(path, image, spare, imageVerMajor, app));
}

int Usage(std::string_view usage) {
  std::cerr << "usage: qm830k-cli " << usage << "\n";
  return 2;
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
