#include "radio/write_checks.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "base/tr.h"
#include "files/chirp_csv.h"
#include "files/data_file.h"
#include "files/utf8_path.h"
#include "model/defaults.h"
#include "radio/read_radio.h"
#include "radio/serial_trace.h"

namespace qm {

namespace {

constexpr int kVerifyProgressStep = 5;

// Holds back the notices of an operation that is only a step of a larger one, and passes
// every question, warning and failure through.
class HoldingPrompter : public Prompter {
 public:
  // Notices with no icon and an OK button whose title is `title` (empty: any) are held.
  HoldingPrompter(Prompter& inner, std::string title) : inner_(inner), title_(std::move(title)) {}
  Answer ask(const Message& m) override {
    if (m.buttons == Buttons::Ok && m.icon == Icon::None && (title_.empty() || m.title == title_)) {
      held.push_back(m);
      return Answer::Ok;
    }
    return inner_.ask(m);
  }
  WarningAnswer warn(int selIndex, const std::string& text) override {
    return inner_.warn(selIndex, text);
  }
  std::vector<Message> held;

 private:
  Prompter& inner_;
  std::string title_;
};

LinkContext WithPrompter(const LinkContext& ctx, Prompter& p) {
  return LinkContext{ctx.port, ctx.clock, p, ctx.progress, ctx.app, ctx.portNumber, ctx.tuneReturn};
}

std::array<uint8_t, 4> ReadRequest(uint16_t address) {
  return {frame::kRead, static_cast<uint8_t>(address / 256), static_cast<uint8_t>(address % 256),
          frame::kBlockSize};
}

// One block read in programming mode: the 8 data bytes, or nullopt with `shortReply` telling
// a missing answer from one that does not fit.
std::optional<std::array<uint8_t, 8>> ReadBlock(LinkContext& ctx, uint16_t address,
                                                bool& shortReply) {
  bool sent = false;
  const std::vector<uint8_t> reply =
      Exchange(ctx, timing::kReadRequest, ReadRequest(address), &sent);
  shortReply = sent && reply.size() < frame::kReadReplySize;
  if (!sent || shortReply) return std::nullopt;
  if (reply[0] != frame::kWrite || reply[1] != address / 256 || reply[2] != address % 256 ||
      reply[3] != frame::kBlockSize)
    return std::nullopt;
  std::array<uint8_t, 8> data{};
  std::copy(reply.begin() + 4, reply.begin() + 12, data.begin());
  return data;
}

std::string Two(int v) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%02d", v);
  return buf;
}

}  // namespace

// ---- verify ----

std::string MismatchText(const VerifyMismatch& m) {
  char head[16];
  std::snprintf(head, sizeof head, "0x%03X", m.address);
  return Fill(QM_TR("%1: 写入 %2，读回 %3"), {head, HexText(m.sent), HexText(m.readBack)});
}

VerifyResult VerifyWrite(LinkContext& ctx, const Image& written, int16_t verMajor) {
  PortCloser closer(ctx);
  VerifyResult result;
  // The handshake stores the radio's version bytes; they must not land in the document.
  Image scratch = written;
  int16_t scratchVer = verMajor;
  if (!ReactToProgramMode(ctx, EnterProgramMode(ctx, scratchVer, scratch))) return result;

  const std::vector<uint16_t> plan = WritePlan();
  ctx.progress.open(QM_TR("正在校验对讲机数据...."), QM_TR("校验"),
                    kVerifyProgressStep * static_cast<int>(plan.size()));
  ctx.port.clearOutput();
  ctx.clock.delayMs(50);
  for (uint16_t address : plan) {
    bool shortReply = false;
    auto data = ReadBlock(ctx, address, shortReply);
    if (!data) {
      ctx.progress.close();
      char where[16];
      std::snprintf(where, sizeof where, "0x%03X", address);
      if (shortReply) {
        Notify(ctx.prompter, QM_TR("校验错误"),
               Fill(QM_TR("校验中断（地址 %1），请重试！"), {where}), Icon::Exclamation);
        result.status = VerifyStatus::Interrupted;
      } else {
        Notify(ctx.prompter, QM_TR("校验错误"),
               Fill(QM_TR("校验读回的数据错误（地址 %1），请重试！"), {where}), Icon::Exclamation);
        result.status = VerifyStatus::DataError;
      }
      return result;
    }
    ++result.blocksRead;
    const std::array<uint8_t, 8> sent = WriteFrameData(written, address, verMajor);
    if (*data != sent) result.mismatches.push_back({address, sent, *data});
    ctx.progress.show(kVerifyProgressStep * result.blocksRead);
  }
  ExitProgramMode(ctx);
  ctx.progress.close();

  if (!result.mismatches.empty()) {
    // One line per message part, so each is translated on its own where it is shown.
    std::string text = QM_TR("写频校验失败，对讲机中的数据与写入的不同：");
    constexpr size_t kShown = 8;
    for (size_t k = 0; k < result.mismatches.size() && k < kShown; ++k)
      text.append(1, '\n').append(MismatchText(result.mismatches[k]));
    if (result.mismatches.size() > kShown)
      text.append(1, '\n').append(
          Fill(QM_TR("……共%1处"), {std::to_string(result.mismatches.size())}));
    Notify(ctx.prompter, QM_TR("校验错误"), text, Icon::Exclamation);
    result.status = VerifyStatus::Mismatch;
    return result;
  }
  result.status = VerifyStatus::Passed;
  return result;
}

// ---- backup ----

std::string PrintableRadioId(std::span<const uint8_t> id) {
  std::string out;
  for (uint8_t c : id) out += (c >= 0x20 && c < 0x7F) ? static_cast<char>(c) : (c ? '?' : '\0');
  while (!out.empty() && (out.back() == '\0' || out.back() == ' ')) out.pop_back();
  for (char& c : out)
    if (c == '\0') c = '?';
  return out;
}

std::string BackupFileName(std::string_view radioId, const std::tm& now, std::string_view noId) {
  std::string id;
  for (char c : radioId) {
    const bool keep = (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
                      c == '-' || c == '_';
    id += keep ? c : '_';
  }
  if (id.empty()) id = std::string(noId);
  return id + "_" + std::to_string(now.tm_year + 1900) + Two(now.tm_mon + 1) + Two(now.tm_mday) +
         "-" + Two(now.tm_hour) + Two(now.tm_min) + Two(now.tm_sec) + ".q83";
}

BackupResult BackupRadio(LinkContext& ctx, const std::string& dir, const std::tm& now) {
  BackupResult out;
  // The read selects the radio's model and version as the window's read does; a backup is
  // not a read into the document, so the selection comes back afterwards (the write's model
  // question depends on it).
  const int16_t curModel = ctx.app.curModel;
  const std::string bandText = ctx.app.bandText;
  const RadioVersion radioVersion = ctx.app.radioVersion;

  HoldingPrompter quiet(ctx.prompter, QM_TR("读频"));
  LinkContext readCtx = WithPrompter(ctx, quiet);
  Image image;
  int16_t ver = 2;
  const ReadResult r = ReadRadio(readCtx, image, ver);

  ctx.app.curModel = curModel;
  ctx.app.bandText = bandText;
  ctx.app.radioVersion = radioVersion;

  if (!r.accepted()) {
    out.error = QM_TR("备份时读频失败");
    return out;
  }
  out.radioId = PrintableRadioId(image.radioId());
  std::error_code ec;
  std::filesystem::create_directories(PathFromUtf8(dir), ec);
  const std::string name = BackupFileName(out.radioId, now);
  std::filesystem::path path = PathFromUtf8(dir) / name;
  for (int k = 2; std::filesystem::exists(path, ec) && k < 1000; ++k) {
    path = PathFromUtf8(dir) / (name.substr(0, name.size() - 4) + "-" + std::to_string(k) + ".q83");
  }
  const std::vector<uint8_t> bytes = SerializeDataFile(image, SpareBlock{}, false);
  if (!WriteFileAtomically(PathToUtf8(path), bytes)) {
    out.error = Fill(QM_TR("备份文件无法保存 (%1)"), {PathToUtf8(path)});
    Notify(ctx.prompter, QM_TR("备份错误"), out.error, Icon::Exclamation);
    return out;
  }
  out.ok = true;
  out.path = PathToUtf8(path);
  return out;
}

// ---- probe ----

std::string RadioIdentity::version() const {
  return handshake.version ? handshake.version->text() : std::string();
}

RadioIdentity ProbeRadio(LinkContext& ctx) {
  PortCloser closer(ctx);
  RadioIdentity id;
  Image scratch;
  int16_t ver = 0;
  id.handshake = EnterProgramMode(ctx, ver, scratch);
  if (!id.answered()) return id;
  std::array<uint8_t, 16> raw{};
  bool ok = true;
  for (uint16_t half : {uint16_t{0}, uint16_t{8}}) {
    bool shortReply = false;
    auto data = ReadBlock(ctx, static_cast<uint16_t>(addr::kRadioId + half), shortReply);
    if (!data) {
      ok = false;
      break;
    }
    std::copy(data->begin(), data->end(), raw.begin() + half);
  }
  ExitProgramMode(ctx);
  id.idRead = ok;
  if (ok) id.radioId = PrintableRadioId(raw);
  return id;
}

// ---- checked write ----

bool CheckedWrite::ok() const {
  if (backup && !backup->ok) return false;
  if (!write.completed()) return false;
  return !verify || verify->passed();
}

std::string CheckedWrite::resultText() const {
  if (backup && !backup->ok) return QM_TR("备份失败");
  if (write.status == WriteStatus::Declined) return QM_TR("已取消");
  if (!write.completed()) return QM_TR("写频失败");
  if (verify && !verify->passed()) return QM_TR("校验失败");
  return QM_TR("成功");
}

CheckedWrite WriteRadioChecked(LinkContext& ctx, Image& image, int16_t& imageVerMajor,
                               const std::function<std::tm()>& localTime,
                               const WriteChecks& checks) {
  CheckedWrite out;
  auto now = [&] { return localTime ? localTime() : LocalTimeNow(); };
  if (!checks.backupDir.empty()) {
    out.backup = BackupRadio(ctx, checks.backupDir, now());
    if (!out.backup->ok) {
      Notify(ctx.prompter, QM_TR("写频错误"), QM_TR("备份没有完成，没有写频。"), Icon::Exclamation);
      return out;
    }
  }
  if (!checks.verify) {
    out.write = WriteRadio(ctx, image, imageVerMajor, localTime);
    return out;
  }
  HoldingPrompter hold(ctx.prompter, QM_TR("写频完成"));
  LinkContext writeCtx = WithPrompter(ctx, hold);
  out.write = WriteRadio(writeCtx, image, imageVerMajor, localTime);
  if (!out.write.completed()) return out;
  out.verify = VerifyWrite(ctx, image, imageVerMajor);
  if (out.verify->passed())
    Notify(ctx.prompter, QM_TR("写频完成"),
           QM_TR("写频完成，回读校验无误，请按“确定”按钮继续....."), Icon::None);
  return out;
}

// ---- fleet records ----

std::string FormatLocalTime(const std::tm& t) {
  return std::to_string(t.tm_year + 1900) + "-" + Two(t.tm_mon + 1) + "-" + Two(t.tm_mday) + " " +
         Two(t.tm_hour) + ":" + Two(t.tm_min) + ":" + Two(t.tm_sec);
}

std::string FleetLine(const FleetRecord& r) {
  char secs[32];
  std::snprintf(secs, sizeof secs, "%.1f", r.seconds);
  return Fill(QM_TR("#%1  ID %2  机型代码 %3  版本 %4  %5  %6  %7秒"),
              {std::to_string(r.count), r.radioId.empty() ? "-" : r.radioId,
               r.modelCode < 0 ? "-" : std::to_string(r.modelCode),
               r.version.empty() ? "-" : r.version, r.result, r.time, secs});
}

// The record file's header: data, the same in every language.
std::string FleetCsvHeader() { return QM_NOTR("序号,对讲机ID,机型代码,版本,结果,时间,用时(秒)"); }

std::string FleetCsvRow(const FleetRecord& r) {
  const auto field = [](const std::string& v) { return CsvField(v); };
  char secs[32];
  std::snprintf(secs, sizeof secs, "%.1f", r.seconds);
  return std::to_string(r.count) + "," + field(r.radioId) + "," +
         (r.modelCode < 0 ? std::string() : std::to_string(r.modelCode)) + "," + field(r.version) +
         "," + field(r.result) + "," + r.time + "," + secs;
}

}  // namespace qm
