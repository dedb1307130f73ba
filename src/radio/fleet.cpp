#include "radio/fleet.h"

#include <filesystem>
#include <fstream>

#include "base/text_util.h"
#include "base/tr.h"
#include "files/chirp_csv.h"
#include "files/utf8_path.h"
#include "model/defaults.h"
#include "model/embed_areas.h"
#include "radio/embed_info.h"

namespace qm {

namespace {

// A probe that fails is the normal state while no radio is connected: nothing to show.
class QuietPrompter : public Prompter {
 public:
  Answer ask(const Message& m) override {
    return m.buttons == Buttons::Ok ? Answer::Ok : Answer::No;
  }
  WarningAnswer warn(int, const std::string&) override { return {}; }
};

bool AppendLog(const std::string& path, const FleetRecord& r, const RosterRow* row,
               bool withLabel) {
  std::error_code ec;
  const std::filesystem::path file = PathFromUtf8(path);
  const bool fresh =
      !std::filesystem::exists(file, ec) || std::filesystem::file_size(file, ec) == 0;
  std::ofstream log(file, std::ios::binary | std::ios::app);
  // BOM: spreadsheets read UTF-8. The label column only for a run with a roster, so that a
  // log without one reads as it always did.
  if (fresh)
    log << "\xEF\xBB\xBF" << FleetCsvHeader() << (withLabel ? QM_NOTR(",标签") : "") << "\r\n";
  log << FleetCsvRow(r);
  if (withLabel) log << "," << CsvField(row ? row->label : std::string());
  log << "\r\n";
  return static_cast<bool>(log);
}

}  // namespace

Roster ParseRoster(std::string_view csv) {
  Roster roster;
  const std::vector<CsvRecord> records = ParseCsv(csv);
  for (size_t k = 1; k < records.size(); ++k) {  // the first record is the header
    const CsvRecord& rec = records[k];
    if (rec.fields.size() < 2) {
      roster.error = Fill(QM_TR("名单第%1行：缺少用户信息"), {std::to_string(rec.line)});
      roster.rows.clear();  // refused as a whole: no radio is written from it
      return roster;
    }
    RosterRow row{rec.line, rec.fields[0], Utf8ToUtf16(rec.fields[1])};
    if (row.text.size() > kEmbedTextChars) {
      roster.error = Fill(QM_TR("名单第%1行：用户信息超过%2个字符"),
                          {std::to_string(rec.line), std::to_string(kEmbedTextChars)});
      roster.rows.clear();
      return roster;
    }
    roster.rows.push_back(std::move(row));
  }
  if (roster.rows.empty()) roster.error = QM_TR("名单中没有对讲机");
  return roster;
}

Roster LoadRoster(const std::string& path) {
  const CsvFile file = ReadCsvFile(path);
  if (file.status != CsvFileStatus::Ok) {
    Roster roster;
    roster.error = Fill(QM_TR("名单文件无法读取：%1"), {path});
    return roster;
  }
  return ParseRoster(file.text);
}

FleetSummary RunFleet(LinkContext& ctx, const Image& templateImage, int16_t templateVerMajor,
                      const FleetOptions& options, const Roster* roster, FleetSeam& seam) {
  QuietPrompter quiet;
  LinkContext probeCtx{ctx.port, ctx.clock, quiet, ctx.progress, ctx.app, ctx.portNumber};
  const int16_t templateModel = ctx.app.currentModel().code;
  FleetSummary summary;
  std::string lastId;
  bool lastStillThere = false;

  auto more = [&] {
    if (options.maxRadios != 0 && summary.count >= options.maxRadios) return false;
    return !roster || summary.count < static_cast<int>(roster->rows.size());
  };
  while (!seam.stopRequested() && more()) {
    const int n = summary.count + 1;
    RadioIdentity id;
    if (options.autoDetect) {
      seam.detecting(n);
      bool quit = false;
      for (;;) {
        if (seam.stopRequested() || !seam.pollDetect()) {
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
      if (!seam.nextRadio(n) || seam.stopRequested()) break;
      id = ProbeRadio(ctx);  // a port that cannot be opened says so here
    }

    summary.count = n;
    const RosterRow* row = roster ? &roster->rows[static_cast<size_t>(n - 1)] : nullptr;
    const Micros started = ctx.clock.now();
    FleetRecord rec;
    rec.count = n;
    bool ok = false;
    if (!id.answered()) {
      ReactToProgramMode(ctx, id.handshake);  // the usual message: which port, what to check
      rec.result = id.handshake.outcome == Handshake::OtherRadio      ? QM_TR("机型错误")
                   : id.handshake.outcome == Handshake::PortNotOpened ? QM_TR("端口错误")
                                                                      : QM_TR("无响应");
    } else {
      rec.radioId = id.radioId;
      rec.modelCode = id.handshake.modelCode;
      rec.version = id.version();
      if (id.handshake.modelCode != templateModel) {
        // Never written: a fleet is one model, and a question per radio would stop the line.
        rec.result = QM_TR("机型错误");
      } else {
        Image image = templateImage;  // every radio gets the file as it is, with its own date
        int16_t ver = templateVerMajor;
        const CheckedWrite w = WriteRadioChecked(ctx, image, ver, LocalTimeNow, options.checks);
        rec.result = w.resultText();
        ok = w.ok();
        // The write leaves the user text area alone; the row's text goes after it, through
        // the routine that writes that area on its own.
        if (ok && row) {
          CollectEmbedText(row->text, image);
          ok = WriteEmbedInfo(ctx, image, ver);
          if (!ok) rec.result = QM_TR("用户信息写入失败");
        }
      }
    }
    rec.time = FormatLocalTime(LocalTimeNow());
    rec.seconds = static_cast<double>((ctx.clock.now() - started).count()) / 1e6;
    seam.radioDone(rec, row);
    if (!options.logPath.empty() && !AppendLog(options.logPath, rec, row, roster != nullptr))
      seam.logNotWritten(options.logPath);
    if (ok) {
      ++summary.succeeded;
    } else {
      summary.failed.push_back(n);
    }
    lastId = id.radioId;
    lastStillThere = id.answered();
  }
  return summary;
}

}  // namespace qm
