#include "cli/fleet.h"

#include <filesystem>
#include <fstream>
#include <iostream>
#include <vector>

#include "base/tr.h"
#include "cli/console.h"
#include "files/utf8_path.h"
#include "model/defaults.h"
#include "platform/translation.h"

namespace qm::cli {

namespace {

// A probe that fails is the normal state while no radio is connected: nothing to show.
class QuietPrompter : public Prompter {
 public:
  Answer ask(const Message& m) override {
    return m.buttons == Buttons::Ok ? Answer::Ok : Answer::No;
  }
  WarningAnswer warn(int, const std::string&) override { return {}; }
};

// Whether the user typed "q" (and Enter) on a terminal or pipe, without waiting.
bool QuitTyped(std::istream& in) {
  if (&in != &std::cin || !InputWaiting()) return false;
  std::string line;
  if (!std::getline(in, line)) return true;  // end of input ends the run as well
  return line == "q" || line == "Q";
}

void AppendLog(const std::string& path, const FleetRecord& r, std::ostream& out) {
  if (path.empty()) return;
  std::error_code ec;
  const std::filesystem::path file = PathFromUtf8(path);
  const bool fresh =
      !std::filesystem::exists(file, ec) || std::filesystem::file_size(file, ec) == 0;
  std::ofstream log(file, std::ios::binary | std::ios::app);
  if (fresh) log << "\xEF\xBB\xBF" << FleetCsvHeader() << "\r\n";  // BOM: spreadsheets read UTF-8
  log << FleetCsvRow(r) << "\r\n";
  if (!log)
    out << "[" << kAppTitle << "] " << TrCoreUtf8(QM_TR("记录文件无法写入")) << " (" << path
        << ")\n";
}

}  // namespace

int RunFleet(LinkContext& ctx, const Image& file, int16_t fileVerMajor, const FleetOptions& options,
             std::istream& in, std::ostream& out) {
  // Ctrl+C is read between radios, so the radio being written is finished first.
  const InterruptFlag interrupt;
  QuietPrompter quiet;
  LinkContext probeCtx{ctx.port, ctx.clock, quiet, ctx.progress, ctx.app, ctx.portNumber};
  int count = 0, succeeded = 0;
  std::vector<int> failed;
  std::string lastId;
  bool lastStillThere = false;

  while (!interrupt.raised() && (options.maxRadios == 0 || count < options.maxRadios)) {
    const int n = count + 1;
    RadioIdentity id;
    if (options.autoDetect) {
      out << TrCoreUtf8(
                 Fill(QM_TR("等待第%1台对讲机应答……（q 回车或 Ctrl+C 结束）"), {std::to_string(n)}))
          << std::endl;
      bool quit = false;
      for (;;) {
        if (interrupt.raised() || QuitTyped(in)) {
          quit = true;
          break;
        }
        id = ProbeRadio(probeCtx);
        // The radio just written still answering is not the next one: it must be taken off
        // the line first (or a radio with another ID must answer).
        if (id.answered() && !(lastStillThere && id.radioId == lastId)) break;
        if (!id.answered()) lastStillThere = false;
        ctx.clock.delayMs(500);
      }
      if (quit) break;
    } else {
      out << TrCoreUtf8(
                 Fill(QM_TR("请连接第%1台对讲机，按回车写频（q 回车结束）："), {std::to_string(n)}))
          << std::endl;
      std::string line;
      if (!std::getline(in, line) || interrupt.raised() || line == "q" || line == "Q") break;
      id = ProbeRadio(ctx);  // a port that cannot be opened says so here
    }

    count = n;
    const Micros started = ctx.clock.now();
    FleetRecord rec;
    rec.count = n;
    CheckedWrite w;
    if (!id.answered()) {
      ReactToProgramMode(ctx, id.result);  // the usual message: which port, what to check
      rec.result = id.result == kOtherRadio      ? QM_TR("机型错误")
                   : id.result == kPortNotOpened ? QM_TR("端口错误")
                                                 : QM_TR("无响应");
    } else {
      rec.radioId = id.radioId;
      rec.modelCode = id.result;
      rec.version = id.version();
      Image image = file;  // every radio gets the file as it is, with its own write date
      int16_t ver = fileVerMajor;
      w = WriteRadioChecked(ctx, image, ver, LocalTimeNow, options.checks);
      rec.result = w.resultText();
    }
    rec.time = FormatLocalTime(LocalTimeNow());
    rec.seconds = static_cast<double>((ctx.clock.now() - started).count()) / 1e6;
    out << TrCoreUtf8(FleetLine(rec)) << std::endl;
    AppendLog(options.logPath, rec, out);
    if (w.ok()) {
      ++succeeded;
    } else {
      failed.push_back(n);
    }
    lastId = id.radioId;
    lastStillThere = id.answered();
  }

  std::string summary = FillCount(QM_TR_N("共%n台：成功%1台，失败%2台"), count,
                                  {std::to_string(succeeded), std::to_string(failed.size())});
  out << TrCoreUtf8(summary);
  if (!failed.empty()) {
    std::string list;
    for (size_t k = 0; k < failed.size(); ++k)
      list += (k ? TrCoreUtf8(QM_TR("、")) : "") + "#" + std::to_string(failed[k]);
    out << TrCoreUtf8(Fill(QM_TR("（%1）"), {list}));
  }
  out << std::endl;
  return failed.empty() ? 0 : 1;
}

}  // namespace qm::cli
