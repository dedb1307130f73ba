#include "document/channel_edits.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <tuple>

#include "base/capturing_prompter.h"
#include "base/prompter.h"
#include "base/text_util.h"
#include "base/tr.h"
#include "files/chirp_csv.h"
#include "model/codecs.h"
#include "model/layout.h"
#include "model/signal_entry.h"

namespace qm {

namespace {

using namespace cell_text;

constexpr char kClipMagic[8] = {'Q', 'M', '8', '3', '0', 'K', 'C', 'H'};
constexpr uint8_t kClipVersion = 1;
constexpr size_t kClipHeaderSize = sizeof kClipMagic + 4;  // version, model (2), count

// A number as typed: "," or "." for the decimal separator.
std::string LocalNumber(std::string_view text, char sep) {
  std::string out(TrimSpaces(text));
  for (char& c : out)
    if (c == '.' || c == ',') c = sep;
  return out;
}

std::string ChannelName(int ch) { return Fill(QM_TR("信道%1"), {std::to_string(ch + 1)}); }

std::vector<int> ValidChannels(std::vector<int> channels) {
  std::erase_if(channels, [](int ch) { return ch < 0 || ch >= kChannelCount; });
  std::sort(channels.begin(), channels.end());
  channels.erase(std::unique(channels.begin(), channels.end()), channels.end());
  return channels;
}

}  // namespace

// ---- clipboard ----

std::vector<uint8_t> EncodeChannelClip(const ChannelClip& clip) {
  std::vector<uint8_t> out(kClipMagic, kClipMagic + sizeof kClipMagic);
  out.push_back(kClipVersion);
  out.push_back(static_cast<uint8_t>(clip.modelCode & 0xFF));
  out.push_back(static_cast<uint8_t>((clip.modelCode >> 8) & 0xFF));
  out.push_back(static_cast<uint8_t>(std::min<size_t>(clip.records.size(), kChannelCount)));
  for (size_t k = 0; k < clip.records.size() && k < kChannelCount; ++k)
    out.insert(out.end(), clip.records[k].begin(), clip.records[k].end());
  return out;
}

std::optional<ChannelClip> DecodeChannelClip(std::span<const uint8_t> bytes) {
  if (bytes.size() < kClipHeaderSize ||
      !std::equal(kClipMagic, kClipMagic + sizeof kClipMagic, bytes.begin()))
    return std::nullopt;
  const size_t at = sizeof kClipMagic;
  const size_t count = bytes[at + 3];
  if (bytes[at] != kClipVersion || count == 0 || count > kChannelCount ||
      bytes.size() != kClipHeaderSize + count * kRowSize)
    return std::nullopt;
  ChannelClip clip;
  clip.modelCode = static_cast<int16_t>(bytes[at + 1] | (bytes[at + 2] << 8));
  for (size_t k = 0; k < count; ++k) {
    std::array<uint8_t, kRowSize> rec{};
    std::copy_n(bytes.begin() + static_cast<std::ptrdiff_t>(kClipHeaderSize + k * kRowSize),
                kRowSize, rec.begin());
    clip.records.push_back(rec);
  }
  return clip;
}

CopiedChannels CopyChannels(const ChannelTableModel& grid, const Image& image, const AppState& app,
                            const std::vector<int>& channels, std::string_view nameTemplate) {
  CopiedChannels out;
  out.clip.modelCode = app.currentModel().code;
  // The channels as the grid holds them; the document stays as it is.
  Image shown = image;
  grid.SaveChannels(shown);
  const std::vector<int> chosen = ValidChannels(channels);
  Image rows = shown;
  for (int ch = 0; ch < kChannelCount; ++ch) {
    if (std::binary_search(chosen.begin(), chosen.end(), ch)) {
      ConstRow r = shown.row(addr::kChannels + kRowSize * static_cast<size_t>(ch));
      std::array<uint8_t, kRowSize> rec{};
      std::copy(r.begin(), r.end(), rec.begin());
      out.clip.records.push_back(rec);
    } else {
      // The text form writes the chosen channels only.
      Channel off = DecodeChannel(rows.channel(ch).bytes());
      off.inUse = false;
      EncodeChannel(off, rows.channel(ch).bytes());
    }
  }
  out.csv = ExportChirpCsv(rows, nameTemplate).csv;
  return out;
}

namespace {

// Records copied under another model, as the rows of a paste: each through the checks of an
// imported row, a switched-off record switching its channel off. A transmit side that does
// not pass the checks does not cost an inhibited channel its place: it is never sent.
ChirpImportResult PasteRecords(const std::vector<std::array<uint8_t, kRowSize>>& records,
                               ChannelTableModel& grid, const AppState& app, uint8_t identModelByte,
                               int firstChannel) {
  const ChannelRowChecks checks(app, identModelByte);
  std::vector<PasteRow> rows;
  for (const std::array<uint8_t, kRowSize>& r : records) {
    PasteRow& row = rows.emplace_back();
    const Channel ch = DecodeChannel(r);
    if (!ch.inUse) continue;  // a PasteRow is SwitchOff until filled
    ChannelRowPlan& plan = row.plan;
    plan.txInhibit = !ch.txAllowed;
    // The receive side, then the transmit side, which an inhibit excuses.
    auto txSide = [&](auto check, std::string& out, const std::string& fallback) {
      std::vector<std::string> txNotes;
      std::optional<UnusableRow> u = check(txNotes);
      if (u && plan.txInhibit) {
        out = fallback;
        return std::optional<UnusableRow>{};
      }
      row.notes.insert(row.notes.end(), txNotes.begin(), txNotes.end());
      return u;
    };
    std::optional<UnusableRow> u =
        checks.freq(static_cast<double>(ch.rx.hz) / 1e6, QM_TR("接收频率"), plan.rxFreq, row.notes);
    if (!u)
      u = txSide(
          [&](std::vector<std::string>& n) {
            return checks.freq(static_cast<double>(ch.tx.hz) / 1e6, QM_TR("发射频率"), plan.txFreq,
                               n);
          },
          plan.txFreq, plan.rxFreq);
    if (!u) u = checks.signal(ch.rxSignal, QM_TR("接收CTC/DCS"), plan.rxSignal, row.notes);
    if (!u)
      u = txSide(
          [&](std::vector<std::string>& n) {
            return checks.signal(ch.txSignal, QM_TR("发射CTC/DCS"), plan.txSignal, n);
          },
          plan.txSignal, "OFF");
    if (u) {
      row.kind = PasteRow::Skip;
      row.skip = *u;
      row.notes.clear();
      continue;
    }
    plan.narrow = ch.bandwidth == Bandwidth::Narrow;
    plan.busyLock = ch.busyLock;
    plan.scanDelete = ch.scan == ScanList::Deleted;
    plan.lowPower = ch.power == Power::Low;
    row.kind = PasteRow::Fill;
  }
  return PasteRows(rows, grid, app, firstChannel);
}

}  // namespace

PasteResult PasteChannels(ChannelTableModel& grid, Image& image, const AppState& app,
                          int firstChannel, const std::optional<ChannelClip>& clip,
                          std::string_view text) {
  PasteResult out;
  const int first = std::clamp(firstChannel, 0, kChannelCount - 1);
  const auto room = static_cast<size_t>(kChannelCount - first);
  if (clip && clip->modelCode == app.currentModel().code && !clip->records.empty()) {
    EditScope step(grid.editObserver(), QM_TR("粘贴"));
    const size_t n = std::min(room, clip->records.size());
    for (size_t k = 0; k < n; ++k) {
      const int ch = first + static_cast<int>(k);
      const std::array<uint8_t, kRowSize>& rec = clip->records[k];
      grid.setChannelRecord(ch, ConstRow(rec));
      // What the grid does not show goes with the row: the bits no field names and the
      // preset numbers.
      Channel shown = DecodeChannel(image.channel(ch).bytes());
      const Channel copied = DecodeChannel(rec);
      shown.carried = copied.carried;
      shown.presetChannel = copied.presetChannel;
      shown.presetSignal = copied.presetSignal;
      EncodeChannel(shown, image.channel(ch).bytes());
    }
    if (clip->records.size() > n)
      out.notes.push_back(FillCount(QM_TR_N("还有%n个信道没有粘贴：信道16之后没有信道"),
                                    static_cast<long long>(clip->records.size() - n)));
    out.ok = true;
    out.pasted = static_cast<int>(n);
    return out;
  }
  ChirpImportResult r;
  if (clip && !clip->records.empty()) {
    // Copied under another model: the records go through the checks of an imported row.
    r = PasteRecords(clip->records, grid, app, image.modelCode(), first);
  } else if (text.find_first_not_of(" \t\r\n") == std::string_view::npos) {
    out.error = QM_TR("剪贴板中没有信道数据，没有粘贴。");
    return out;
  } else {
    ChirpImportOptions opt;
    opt.firstChannel = first;
    opt.forPaste = true;
    r = ImportChirpCsv(text, grid, app, image.modelCode(), opt);
  }
  for (const ChirpNote& n : r.notes) out.notes.push_back(FormatChirpNote(n));
  out.ok = r.ok;
  out.error = r.error;
  out.pasted = r.imported;
  return out;
}

namespace {

// How many rows the clipboard holds: the private form's records, else the text's records
// less a header line (one that names a Location column).
size_t CopiedRowCount(const std::optional<ChannelClip>& clip, std::string_view text) {
  if (clip) return clip->records.size();
  const std::string_view firstLine = text.substr(0, text.find('\n'));
  std::vector<CsvRecord> records =
      ParseCsv(text, firstLine.find('\t') != std::string_view::npos ? '\t' : ',');
  if (!records.empty()) {
    for (const std::string& f : records.front().fields) {
      std::string key(TrimSpaces(f));
      for (char& c : key) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
      if (key == "location") {
        records.erase(records.begin());
        break;
      }
    }
  }
  return records.size();
}

}  // namespace

PasteResult PasteChannelsOnto(ChannelTableModel& grid, Image& image, const AppState& app,
                              const std::vector<int>& channels,
                              const std::optional<ChannelClip>& clip, std::string_view text) {
  const std::vector<int> chosen = ValidChannels(channels);
  if (chosen.empty()) return PasteChannels(grid, image, app, 0, clip, text);
  if (chosen.size() == 1 || CopiedRowCount(clip, text) != 1)
    return PasteChannels(grid, image, app, chosen.front(), clip, text);
  EditScope step(grid.editObserver(), QM_TR("粘贴"));
  PasteResult out;
  for (int ch : chosen) {
    // The same row each time: it is refused on the first channel or not at all.
    PasteResult r = PasteChannels(grid, image, app, ch, clip, text);
    if (!r.ok) return r;
    out.pasted += r.pasted;
    for (std::string& n : r.notes)
      if (std::find(out.notes.begin(), out.notes.end(), n) == out.notes.end())
        out.notes.push_back(std::move(n));
  }
  out.ok = true;
  return out;
}

int SwitchOffChannels(ChannelTableModel& grid, const std::vector<int>& channels,
                      const std::string& label) {
  EditScope step(grid.editObserver(), label);
  int n = 0;
  for (int ch : ValidChannels(channels)) {
    if (grid.channelOff(ch)) continue;
    grid.clickChannelOff(ch);
    ++n;
  }
  return n;
}

// ---- bulk edit ----

bool BulkEdit::any() const {
  return narrow || lowPower || scanDelete || busyLock || rxSignal || txSignal || txInhibit ||
         txEqualsRx || fillFrom;
}

std::optional<std::string> CheckSignalText(std::string_view text, const AppState& app,
                                           std::string& message) {
  std::string t(TrimSpaces(text));
  std::string upper = t;
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  CapturingPrompter p;
  SignalEntry entry(app, p);
  entry.load("OFF");
  auto rest = [&](size_t n) { return std::string(TrimSpaces(std::string_view(t).substr(n))); };
  if (upper == "OFF") return std::string("OFF");
  if (upper.rfind("CTC", 0) == 0) {
    entry.selectOption(SignalEntry::Option::Ctc);
    entry.setToneText(LocalNumber(rest(3), app.decimalSep));
    if (!entry.validateTone()) {
      message = p.texts.empty() ? QM_TR("CTC数据无效！") : p.texts.front();
      return std::nullopt;
    }
    return entry.ok();
  }
  const bool inverted = upper.rfind("-DCS", 0) == 0;
  if (inverted || upper.rfind("DCS", 0) == 0) {
    const std::string code = rest(inverted ? 4 : 3);
    entry.selectOption(SignalEntry::Option::Dcs);
    entry.setInverted(inverted);
    entry.setCodeText(code);
    // The dialog lets an empty code through; a bulk value needs one.
    if (code.empty() || !entry.validateCode()) {
      message = p.texts.empty() ? QM_TR("DCS 数据无效！") : p.texts.front();
      return std::nullopt;
    }
    return entry.ok();
  }
  message = Fill(QM_TR("无法识别的信令（%1）"), {t});
  return std::nullopt;
}

namespace {

struct ReadBulkEdit {
  std::optional<std::string> rxSignal, txSignal;
  std::optional<double> fromMhz;
  double stepKhz = 0;
};

// The values of a bulk edit, read and checked; a refusal says why and which field it was.
std::optional<ReadBulkEdit> ReadBulkValues(const AppState& app, uint8_t identModelByte,
                                           const BulkEdit& edit, std::string& error,
                                           BulkField& field) {
  ReadBulkEdit out;
  const char sep = app.decimalSep;
  for (auto [given, taken, what, which] :
       {std::tuple{&edit.rxSignal, &out.rxSignal, QM_TR("接收CTC/DCS"), BulkField::RxSignal},
        std::tuple{&edit.txSignal, &out.txSignal, QM_TR("发射CTC/DCS"), BulkField::TxSignal}}) {
    if (!*given) continue;
    std::string message;
    *taken = CheckSignalText(**given, app, message);
    if (!*taken) {
      error = Fill(QM_TR("%1：%2"), {what, message});
      field = which;
      return std::nullopt;
    }
  }
  if (edit.fillFrom) {
    auto from = ParseNumber(LocalNumber(*edit.fillFrom, sep), sep);
    auto step = ParseNumber(LocalNumber(edit.fillStepKhz, sep), sep);
    if (!from || !(*from > 0 && *from < 9000)) {
      error = TrimSpaces(*edit.fillFrom).empty()
                  ? QM_TR("没有填写起始频率")
                  : Fill(QM_TR("起始频率无法识别（%1）"), {*edit.fillFrom});
      field = BulkField::FillFrom;
      return std::nullopt;
    }
    field = BulkField::FillStep;
    if (!step || !(std::fabs(*step) <= 100000)) {
      error = TrimSpaces(edit.fillStepKhz).empty()
                  ? QM_TR("没有填写步进")
                  : Fill(QM_TR("步进无法识别（%1）"), {edit.fillStepKhz});
      return std::nullopt;
    }
    // A step off the raster would be snapped row by row into uneven steps and repeats.
    if (!StepFitsRaster(*step, identModelByte)) {
      error = Fill(identModelByte == kOnly625ModelByte
                       ? QM_TR("步进%1 kHz不是6.25 kHz的整数倍，本机的信道频率无法按此步进等距排列")
                       : QM_TR("步进%1 kHz不是5 kHz或6.25 kHz的整数倍，本机的信道频率无法按此步进等"
                               "距排列"),
                   {std::string(TrimSpaces(edit.fillStepKhz))});
      return std::nullopt;
    }
    field = BulkField::None;
    out.fromMhz = *from;
    out.stepKhz = *step;
  }
  return out;
}

}  // namespace

std::string CheckBulkEdit(const AppState& app, uint8_t identModelByte, const BulkEdit& edit) {
  std::string error;
  BulkField field = BulkField::None;
  ReadBulkValues(app, identModelByte, edit, error, field);
  return error;
}

BulkResult ApplyBulkEdit(ChannelTableModel& grid, const AppState& app, uint8_t identModelByte,
                         const std::vector<int>& channels, const BulkEdit& edit) {
  BulkResult out;
  const char sep = app.decimalSep;
  // Every value is read first: one that cannot be read changes nothing.
  const std::optional<ReadBulkEdit> v =
      ReadBulkValues(app, identModelByte, edit, out.error, out.field);
  if (!v) return out;

  EditScope step(grid.editObserver(), QM_TR("批量修改"));
  int k = -1;
  for (int ch : ValidChannels(channels)) {
    ++k;
    const int row = ch + 1;
    const std::string unit = ChannelName(ch);
    // A switched-off channel cannot be edited in the grid either.
    if (grid.channelOff(ch)) {
      out.notes.push_back(Fill(QM_TR("%1已关闭，没有修改"), {unit}));
      continue;
    }
    const ChannelTableModel::State before = grid.state();
    // As in the grid: the transmit settings are made while transmit is allowed, and the
    // inhibit is set afterwards.
    const bool txKeep = grid.txInhibited(ch) && !edit.txInhibit;
    bool txKept = false;
    auto setTx = [&](int col, const std::string& text) {
      if (txKeep)
        txKept = true;
      else
        grid.setCellText(row, col, text);
    };
    if (v->fromMhz) {
      const double mhz = *v->fromMhz + k * v->stepKhz / 1000.0;
      const std::string asked = ExactFreqText(mhz, sep);
      CapturingPrompter p;
      const ValidFreq f = ValidFreqFromMhz(mhz, app, identModelByte, p);
      if (!p.texts.empty()) {
        // Clamped to the band edge, every such row would end on the same frequency.
        out.notes.push_back(
            Fill(QM_TR("%1：%2（%3 MHz），频率没有修改"), {unit, p.texts.front(), asked}));
      } else {
        const std::string text = FormatFreq(f.mhz, sep);
        const FineFreq fine = MhzToFine(mhz);
        if (f.hz * fine.unitsPerHz != fine.value)
          out.notes.push_back(
              Fill(QM_TR("%1：%2 MHz不在本机的频率栅格上，改为%3 MHz"), {unit, asked, text}));
        grid.setCellText(row, col::kRxFreq, text);
        if (edit.fillTx) setTx(col::kTxFreq, text);
      }
    }
    if (edit.txEqualsRx) setTx(col::kTxFreq, grid.cell(row, col::kRxFreq).text);
    if (v->rxSignal) grid.setCellText(row, col::kRxSignal, *v->rxSignal);
    if (v->txSignal) setTx(col::kTxSignal, *v->txSignal);
    if (edit.busyLock) setTx(col::kBusyLock, *edit.busyLock ? kLockOn : kLockOff);
    if (edit.lowPower) setTx(col::kPower, *edit.lowPower ? kPowerLow : kPowerHigh);
    if (edit.scanDelete)
      grid.setCellText(row, col::kScan, *edit.scanDelete ? kScanDelete : kScanAdd);
    if (edit.narrow) {
      // While the radio-wide bandwidth is narrow the grid only takes "窄带".
      if (!*edit.narrow && grid.radioBandwidth() != kWide)
        out.notes.push_back(Fill(QM_TR("%1：整机带宽为窄带，信道带宽没有修改"), {unit}));
      else
        grid.setCellText(row, col::kBandwidth, *edit.narrow ? kNarrow : kWide);
    }
    if (edit.txInhibit && grid.txInhibited(ch) != *edit.txInhibit) grid.clickTxInhibit(ch);
    if (txKept) out.notes.push_back(Fill(QM_TR("%1禁发，发射设置没有修改"), {unit}));
    if (!grid.state().sameContent(before)) ++out.changedRows;
  }
  out.ok = true;
  return out;
}

std::optional<std::vector<int>> ParseChannelList(std::string_view text, std::string* error) {
  auto fail = [&](std::string why) -> std::optional<std::vector<int>> {
    if (error) *error = std::move(why);
    return std::nullopt;
  };
  const std::string all(TrimSpaces(text));
  auto unreadable = [&] { return fail(Fill(QM_TR("信道号无法识别（%1），应为1-16"), {all})); };
  auto number = [](std::string_view s) -> std::optional<int> {
    s = TrimSpaces(s);
    if (s.empty() || s.size() > 2) return std::nullopt;
    int n = 0;
    for (char c : s) {
      if (c < '0' || c > '9') return std::nullopt;
      n = n * 10 + (c - '0');
    }
    if (n < 1 || n > kChannelCount) return std::nullopt;
    return n;
  };
  if (all.empty()) return unreadable();
  std::vector<int> out;
  std::string_view rest = all;
  for (bool more = true; more;) {
    const size_t comma = rest.find(',');
    const std::string_view part = TrimSpaces(rest.substr(0, comma));
    more = comma != std::string_view::npos;
    if (more) rest = rest.substr(comma + 1);
    // A comma at either end or two in a row: an item left out, not a shorter list.
    if (part.empty()) return fail(Fill(QM_TR("信道列表中有空项（%1）"), {all}));
    const size_t dash = part.find('-');
    auto a = number(part.substr(0, dash));
    auto b = dash == std::string_view::npos ? a : number(part.substr(dash + 1));
    if (!a || !b) return unreadable();
    if (*a > *b)
      return fail(Fill(QM_TR("信道范围%1是倒序的，应写成%2-%3"),
                       {std::string(part), std::to_string(*b), std::to_string(*a)}));
    for (int n = *a; n <= *b; ++n) out.push_back(n - 1);
  }
  return ValidChannels(out);
}

std::vector<int> ChosenChannels(const ChannelTableModel& grid, std::vector<int> selected) {
  if (selected.empty()) selected.push_back(grid.currentRow() - 1);
  return selected;
}

std::string ChannelRangeText(const std::vector<int>& channels) {
  std::string out;
  for (size_t k = 0; k < channels.size();) {
    size_t e = k;
    while (e + 1 < channels.size() && channels[e + 1] == channels[e] + 1) ++e;
    if (!out.empty()) out += ", ";
    out += std::to_string(channels[k] + 1);
    if (e != k) out.append("-").append(std::to_string(channels[e] + 1));
    k = e + 1;
  }
  return out;
}

}  // namespace qm
