#include "files/chirp_csv.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <map>
#include <variant>

#include "base/capturing_prompter.h"
#include "base/prompter.h"
#include "base/text_util.h"
#include "base/tr.h"
#include "model/codecs.h"
#include "model/layout.h"
#include "model/signal_entry.h"

namespace qm {

namespace {

using namespace cell_text;

// What the dialect writes in the tone columns it does not use.
constexpr const char* kDefaultTone = "88.5";
constexpr const char* kDefaultCode = "023";

// ---- one signalling side of a record ----

struct Side {
  enum Kind { Off, Tone, Dcs, Tts } kind = Off;
  std::string tone;  // "88.5"
  std::string code;  // "023"
  bool inverted = false;
  int tts = 0;
  bool operator==(const Side&) const = default;
};

Side DecodeSide(const Signal& signal) {
  Side s;
  switch (signal.kind()) {
    case SignalKind::Ctc:
      s.kind = Side::Tone;
      s.tone = std::string(TrimSpaces(signal.toneText()));
      break;
    case SignalKind::Dcs:
    case SignalKind::DcsInverted:
      s.kind = Side::Dcs;
      s.code = signal.dcsText();
      s.inverted = signal.kind() == SignalKind::DcsInverted;
      break;
    case SignalKind::Tts:
      s.kind = Side::Tts;
      s.tts = signal.low();
      break;
    case SignalKind::Off:
      break;
  }
  return s;
}

std::string SixDecimals(int64_t hz) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%lld.%06lld", static_cast<long long>(hz / 1000000),
                static_cast<long long>(hz % 1000000));
  return buf;
}

const char* CrossPart(Side::Kind k) {
  switch (k) {
    case Side::Tone:
      return "Tone";
    case Side::Dcs:
      return "DTCS";
    default:
      return "";
  }
}

std::string Lower(std::string_view s) { return ToLowerAscii(TrimSpaces(s)); }

std::string Line(int line, const std::string& text) {
  return Fill(QM_TR("第%1行：%2"), {std::to_string(line), text});
}

}  // namespace

std::string FormatChirpNote(const ChirpNote& note) {
  return note.line > 0 ? Line(note.line, note.text) : note.text;
}

// ---- export ----

ChirpExport ExportChirpCsv(const Image& image, std::string_view nameTemplate) {
  ChirpExport out;
  out.csv = std::string(kChirpHeader) + "\r\n";
  for (int i = 0; i < kChannelCount; ++i) {
    const Channel ch = DecodeChannel(image.row(addr::kChannels + 16 * static_cast<size_t>(i)));
    if (!ch.inUse) continue;  // switched off: the dialect has no empty rows
    const int n = i + 1;
    const int64_t rxHz = ch.rx.hz;
    const int64_t txHz = ch.tx.hz;
    const bool txInhibited = !ch.txAllowed;
    Side rx = DecodeSide(ch.rxSignal);
    Side tx = DecodeSide(ch.txSignal);
    for (Side* s : {&rx, &tx}) {
      if (s->kind != Side::Tts) continue;
      out.notes.push_back(Fill(QM_TR("信道%1：TTS %2在CSV中没有对应的信令，按无信令写出"),
                               {std::to_string(n), std::to_string(s->tts)}));
      *s = Side{};
    }

    std::string duplex, offset = "0.000000";
    if (txInhibited) {
      duplex = "off";
    } else if (txHz != rxHz) {
      duplex = "split";
      offset = SixDecimals(txHz);
    }

    std::string mode, rTone = kDefaultTone, cTone = kDefaultTone, code = kDefaultCode,
                      rxCode = kDefaultCode, cross = "Tone->Tone";
    std::string polarity = std::string(tx.inverted ? "R" : "N") + (rx.inverted ? "R" : "N");
    if (rx.kind == Side::Off && tx.kind == Side::Off) {
      mode = "";
    } else if (rx.kind == Side::Off && tx.kind == Side::Tone) {
      mode = "Tone";
      rTone = tx.tone;
    } else if (rx.kind == Side::Tone && tx.kind == Side::Tone && rx.tone == tx.tone) {
      mode = "TSQL";
      rTone = cTone = tx.tone;
    } else if (rx.kind == Side::Dcs && tx.kind == Side::Dcs && rx.code == tx.code) {
      mode = "DTCS";
      code = rxCode = tx.code;
    } else {
      mode = "Cross";
      cross = std::string(CrossPart(tx.kind)) + "->" + CrossPart(rx.kind);
      if (tx.kind == Side::Tone) rTone = tx.tone;
      if (rx.kind == Side::Tone) cTone = rx.tone;
      if (tx.kind == Side::Dcs) code = tx.code;
      if (rx.kind == Side::Dcs) rxCode = rx.code;
    }

    const std::array<std::string, 22> fields = {
        std::to_string(n),
        Fill(nameTemplate, {std::to_string(n)}),
        SixDecimals(rxHz),
        duplex,
        offset,
        mode,
        rTone,
        cTone,
        code,
        polarity,
        rxCode,
        cross,
        ch.bandwidth == Bandwidth::Narrow ? "NFM" : "FM",
        ch.rx.step625 ? "6.25" : "5.00",
        ch.scan == ScanList::Deleted ? "S" : "",
        ch.power == Power::Low ? kChirpLowPower : kChirpHighPower,
        "",
        "",
        "",
        "",
        "",
        ch.busyLock ? "On" : "Off",
    };
    out.csv += CsvRow(fields);
    ++out.rows;
  }
  return out;
}

// ---- import ----

namespace {

// One usable row, as grid texts.
struct PlannedChannel {
  int line = 0;
  std::string rxFreq, txFreq, rxSignal, txSignal;
  bool txInhibit = false;
  bool narrow = false;
  bool scanDelete = false;
  std::optional<bool> lowPower;
  std::optional<bool> busyLock;
};

// Why a row cannot be used; carries the report text. A paste that uses no row says why in
// one sentence when every row failed the same way.
struct Unusable {
  enum Why { NotChannelData, OutsideBand, Other };
  std::string text;
  Why why = Other;
};

// Reads a frequency (MHz) through the grid's check into its cell text. Notes about a value
// the check changed go to `notes`.
std::optional<Unusable> FreqText(const AppState& app, uint8_t identModelByte, double mhz,
                                 const char* what, std::string& out,
                                 std::vector<std::string>& notes) {
  const ModelEntry& m = app.currentModel();
  const std::string given = ExactFreqText(mhz);
  if (mhz < m.extendLow - kChirpFarOutsideMhz || mhz > m.extendHigh + kChirpFarOutsideMhz) {
    return Unusable{Fill(QM_TR("%1%2 MHz远在本机频率范围%3-%4 MHz之外，已跳过"),
                         {what, given, ShortestNumber(m.extendLow), ShortestNumber(m.extendHigh)}),
                    Unusable::OutsideBand};
  }
  CapturingPrompter p;
  const ValidFreq v = ValidFreqFromMhz(mhz, app, identModelByte, p);
  out = FormatFreq(v.mhz, app.decimalSep);
  for (const std::string& t : p.texts)
    notes.push_back(Fill(QM_TR("%1%2%3 MHz改为%4 MHz"), {t, what, given, out}));
  return std::nullopt;
}

class RowReader {
 public:
  RowReader(const AppState& app, uint8_t identModelByte, const std::vector<std::string>& header)
      : app_(app), identModelByte_(identModelByte) {
    for (size_t c = 0; c < header.size(); ++c) {
      std::string key = Lower(header[c]);
      if (!key.empty() && !columns_.count(key)) columns_[key] = static_cast<int>(c);
    }
  }

  bool has(const char* name) const { return columns_.count(Lower(name)) != 0; }

  std::string_view field(const CsvRecord& r, const char* name) const {
    auto it = columns_.find(Lower(name));
    if (it == columns_.end() || it->second >= static_cast<int>(r.fields.size())) return {};
    return TrimSpaces(r.fields[static_cast<size_t>(it->second)]);
  }

  // The row's Location, or nullopt when it is missing or not a whole number.
  std::optional<int> location(const CsvRecord& r) const {
    auto v = ParseNumber(field(r, "Location"));
    if (!v || *v != std::floor(*v) || std::fabs(*v) > 1e9) return std::nullopt;
    return static_cast<int>(*v);
  }

  // The row as grid texts, or the reason it cannot be used. Notes about values that were
  // changed on the way (clamped frequencies, tones, codes) go to `notes`.
  std::variant<PlannedChannel, Unusable> read(const CsvRecord& r, std::vector<std::string>& notes);

  // One signalling side of a channel record (type byte, code bytes) as a cell text, through
  // the checks a row's tone or code goes through: a record may hold what the grid would
  // show but a save would not write back (a tone of no BCD, a code below 023).
  std::optional<Unusable> recordSignal(const Signal& signal, const char* column, std::string& out,
                                       std::vector<std::string>& notes) const;

 private:
  static Unusable BadNumber(const char* column, std::string_view value) {
    return {Fill(QM_TR("%1列的数值无法识别（%2），已跳过"), {column, value})};
  }
  // A frequency field (MHz); nullopt when it is not a number.
  static std::optional<double> Mhz(std::string_view text) {
    auto v = ParseNumber(text);
    if (!v || std::fabs(*v) > 1e6) return std::nullopt;
    return *v;
  }
  std::optional<Unusable> toneText(std::string_view value, const char* column, std::string& out,
                                   std::vector<std::string>& notes) const;
  std::optional<Unusable> codeText(std::string_view value, const char* column, bool inverted,
                                   std::string& out, std::vector<std::string>& notes) const;

  const AppState& app_;
  uint8_t identModelByte_;
  std::map<std::string, int> columns_;
};

std::optional<Unusable> RowReader::toneText(std::string_view value, const char* column,
                                            std::string& out,
                                            std::vector<std::string>& notes) const {
  CapturingPrompter p;
  SignalEntry entry(app_, p);
  entry.load("OFF");
  entry.selectOption(SignalEntry::Option::Ctc);
  entry.setToneText(std::string(value));
  if (!entry.validateTone()) {
    std::string msg = p.texts.empty() ? QM_TR("CTC数据无效！") : p.texts.front();
    return Unusable{Fill(QM_TR("%1%2（%3），已跳过"), {column, msg, value})};
  }
  out = entry.ok();
  auto given = ParseNumber(value, app_.decimalSep);
  auto taken = ParseNumber(entry.tone().text, app_.decimalSep);
  if (given && taken && std::fabs(*given - *taken) > 0.05)
    notes.push_back(Fill(QM_TR("%1 %2改为%3"), {column, value, out}));
  return std::nullopt;
}

std::optional<Unusable> RowReader::codeText(std::string_view value, const char* column,
                                            bool inverted, std::string& out,
                                            std::vector<std::string>& notes) const {
  // The dialog lets an empty code through unchanged; a row needs one.
  if (value.empty()) return BadNumber(column, value);
  CapturingPrompter p;
  SignalEntry entry(app_, p);
  entry.load("OFF");
  entry.selectOption(SignalEntry::Option::Dcs);
  entry.setInverted(inverted);
  entry.setCodeText(std::string(value));
  if (!entry.validateCode()) {
    std::string msg = p.texts.empty() ? QM_TR("DCS 数据无效！") : p.texts.front();
    return Unusable{Fill(QM_TR("%1%2（%3），已跳过"), {column, msg, value})};
  }
  out = entry.ok();
  std::string given(value);
  while (given.size() < 3) given.insert(given.begin(), '0');
  if (given != entry.code().text) notes.push_back(Fill(QM_TR("%1 %2改为%3"), {column, value, out}));
  return std::nullopt;
}

std::optional<Unusable> RowReader::recordSignal(const Signal& signal, const char* column,
                                                std::string& out,
                                                std::vector<std::string>& notes) const {
  switch (signal.kind()) {
    case SignalKind::Ctc:
      return toneText(TrimSpaces(signal.toneText()), column, out, notes);
    case SignalKind::Dcs:
    case SignalKind::DcsInverted:
      return codeText(signal.dcsText(), column, signal.kind() == SignalKind::DcsInverted, out,
                      notes);
    case SignalKind::Tts:
      // "TTS " and one digit; a save keeps only the last digit of more.
      if (signal.low() > 9)
        return Unusable{Fill(QM_TR("无法识别的%1（%2），已跳过"),
                             {column, "TTS " + std::to_string(signal.low())})};
      [[fallthrough]];
    case SignalKind::Off:
      out = signal.text(app_.decimalSep);
      return std::nullopt;
  }
  return std::nullopt;
}

std::variant<PlannedChannel, Unusable> RowReader::read(const CsvRecord& r,
                                                       std::vector<std::string>& notes) {
  PlannedChannel plan;
  plan.line = r.line;
  std::vector<std::string> local;  // kept only when the row is used

  // Frequencies.
  std::string_view freq = field(r, "Frequency");
  if (freq.empty()) return Unusable{QM_TR("没有频率，已跳过")};
  auto rx = Mhz(freq);
  if (!rx) return BadNumber("Frequency", freq);
  if (*rx <= 0) return Unusable{QM_TR("没有频率，已跳过")};
  double tx = *rx;
  std::string duplex = Lower(field(r, "Duplex"));
  if (duplex == "+" || duplex == "-" || duplex == "split") {
    std::string_view off = field(r, "Offset");
    auto offset = Mhz(off);
    if (!offset) return BadNumber("Offset", off);
    tx = duplex == "split" ? *offset : duplex == "+" ? *rx + *offset : *rx - *offset;
  } else if (duplex == "off") {
    plan.txInhibit = true;
  } else if (!duplex.empty()) {
    return Unusable{Fill(QM_TR("无法识别的%1（%2），已跳过"), {"Duplex", field(r, "Duplex")})};
  }
  if (auto u = FreqText(app_, identModelByte_, *rx, QM_TR("接收频率"), plan.rxFreq, local))
    return *u;
  if (auto u = FreqText(app_, identModelByte_, tx, QM_TR("发射频率"), plan.txFreq, local))
    return *u;

  // Signalling. Polarity letters: transmit, then receive.
  std::string pol(field(r, "DtcsPolarity"));
  if (pol.empty()) pol = "NN";
  for (char& c : pol) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  if (pol.size() != 2 || (pol[0] != 'N' && pol[0] != 'R') || (pol[1] != 'N' && pol[1] != 'R'))
    return Unusable{Fill(QM_TR("无法识别的%1（%2），已跳过"), {"DtcsPolarity", pol})};
  const bool txInv = pol[0] == 'R';
  const bool rxInv = pol[1] == 'R';
  std::string_view toneMode = field(r, "Tone");
  std::string tm = Lower(toneMode);
  std::string txKind, rxKind;  // "", "tone", "tsql" (the shared tone), "dtcs"
  if (tm.empty()) {
  } else if (tm == "tone") {
    txKind = "tone";
  } else if (tm == "tsql") {
    txKind = rxKind = "tsql";
  } else if (tm == "dtcs") {
    txKind = rxKind = "dtcs";
  } else if (tm == "cross") {
    std::string cm = Lower(field(r, "CrossMode"));
    size_t arrow = cm.find("->");
    if (arrow == std::string::npos)
      return Unusable{
          Fill(QM_TR("无法识别的%1（%2），已跳过"), {"CrossMode", field(r, "CrossMode")})};
    txKind = cm.substr(0, arrow);
    rxKind = cm.substr(arrow + 2);
    auto known = [](const std::string& k) { return k.empty() || k == "tone" || k == "dtcs"; };
    if (!known(txKind) || !known(rxKind) || (txKind.empty() && rxKind.empty()))
      return Unusable{
          Fill(QM_TR("无法识别的%1（%2），已跳过"), {"CrossMode", field(r, "CrossMode")})};
  } else {
    return Unusable{Fill(QM_TR("本机没有%1信令方式，已跳过"), {toneMode})};
  }
  plan.rxSignal = plan.txSignal = "OFF";
  // Transmit side.
  if (txKind == "tone") {
    if (auto u = toneText(field(r, "rToneFreq"), "rToneFreq", plan.txSignal, local)) return *u;
  } else if (txKind == "tsql") {
    if (auto u = toneText(field(r, "cToneFreq"), "cToneFreq", plan.txSignal, local)) return *u;
  } else if (txKind == "dtcs") {
    if (auto u = codeText(field(r, "DtcsCode"), "DtcsCode", txInv, plan.txSignal, local)) return *u;
  }
  // Receive side.
  if (rxKind == "tone" || rxKind == "tsql") {
    if (auto u = toneText(field(r, "cToneFreq"), "cToneFreq", plan.rxSignal, local)) return *u;
  } else if (rxKind == "dtcs") {
    // Cross modes take the receive code from RxDtcsCode; DTCS (and a file without that
    // column) uses DtcsCode both ways.
    const char* column = tm == "cross" && has("RxDtcsCode") ? "RxDtcsCode" : "DtcsCode";
    if (auto u = codeText(field(r, column), column, rxInv, plan.rxSignal, local)) return *u;
  }

  // Bandwidth.
  std::string mode = Lower(field(r, "Mode"));
  if (mode == "nfm") {
    plan.narrow = true;
  } else if (!mode.empty() && mode != "fm") {
    return Unusable{Fill(QM_TR("本机没有%1调制方式，已跳过"), {field(r, "Mode")})};
  }

  plan.scanDelete = Lower(field(r, "Skip")) == "s";

  // Power: a wattage such as "2.0W" or "50W".
  std::string_view power = field(r, "Power");
  if (!power.empty()) {
    std::string_view w = power;
    if (w.back() == 'W' || w.back() == 'w') w.remove_suffix(1);
    auto watts = ParseNumber(w);
    if (!watts || *watts < 0) return BadNumber("Power", power);
    plan.lowPower = *watts < kChirpHighPowerThresholdW;
  }

  std::string lock = Lower(field(r, "BusyLock"));
  if (!lock.empty()) {
    if (lock == "on" || lock == "y" || lock == "yes" || lock == "1" || lock == "true" ||
        lock == kLockOn)
      plan.busyLock = true;
    else if (lock == "off" || lock == "n" || lock == "no" || lock == "0" || lock == "false" ||
             lock == kLockOff)
      plan.busyLock = false;
    else
      return Unusable{
          Fill(QM_TR("无法识别的%1（%2），已跳过"), {"BusyLock", field(r, "BusyLock")})};
  }

  notes.insert(notes.end(), local.begin(), local.end());
  return plan;
}

void Apply(const PlannedChannel& p, int i, ChannelTableModel& grid) {
  const int row = i + 1;
  if (grid.channelOff(i)) grid.clickChannelOff(i);
  if (grid.txInhibited(i) != p.txInhibit) grid.clickTxInhibit(i);
  grid.setCellText(row, col::kRxFreq, p.rxFreq);
  grid.setCellText(row, col::kRxSignal, p.rxSignal);
  grid.setCellText(row, col::kTxFreq, p.txFreq);
  grid.setCellText(row, col::kTxSignal, p.txSignal);
  grid.setCellText(row, col::kScan, p.scanDelete ? kScanDelete : kScanAdd);
  if (p.busyLock) grid.setCellText(row, col::kBusyLock, *p.busyLock ? kLockOn : kLockOff);
  if (p.lowPower) grid.setCellText(row, col::kPower, *p.lowPower ? kPowerLow : kPowerHigh);
  grid.setCellText(row, col::kBandwidth, p.narrow ? kNarrow : kWide);
}

// One row of a paste, in the order of the copy.
struct PasteRow {
  enum Kind { Fill, Skip, SwitchOff } kind = SwitchOff;
  bool gap = false;                // SwitchOff: a Location the copy left out, not a row of it
  PlannedChannel plan;             // Fill
  Unusable skip;                   // Skip
  std::vector<std::string> notes;  // Fill: values the checks changed
};

// Row k of the copy goes to channel firstChannel + k: a row that cannot be used leaves its
// channel as it was, so the rows after it land where they were copied to land. Notes and
// the error name the channels.
ChirpImportResult PasteRows(const std::vector<PasteRow>& rows, ChannelTableModel& grid,
                            const AppState& app, int firstChannel) {
  ChirpImportResult out;
  const size_t placed = std::min(rows.size(), static_cast<size_t>(kChannelCount - firstChannel));
  int usable = 0, outsideBand = 0, other = 0;
  auto note = [&](size_t k, const std::string& text) {
    const std::string channel =
        Fill(QM_TR("信道%1"), {std::to_string(firstChannel + static_cast<int>(k) + 1)});
    out.notes.push_back({0, Fill(QM_TR("%1：%2"), {channel, text})});
  };
  for (size_t k = 0; k < placed; ++k) {
    if (rows[k].kind == PasteRow::Skip) {
      note(k, rows[k].skip.text);
      outsideBand += rows[k].skip.why == Unusable::OutsideBand;
      other += rows[k].skip.why == Unusable::Other;
      continue;
    }
    usable += rows[k].kind == PasteRow::Fill;
    for (const std::string& n : rows[k].notes) note(k, n);
  }
  const auto beyond = std::count_if(rows.begin() + static_cast<std::ptrdiff_t>(placed), rows.end(),
                                    [](const PasteRow& r) { return !r.gap; });
  if (beyond > 0)
    out.notes.push_back({0, FillCount(QM_TR_N("还有%n个信道没有粘贴：信道16之后没有信道"),
                                      static_cast<long long>(beyond))});
  if (usable == 0) {
    // Said once when every row failed for the same reason, rather than once per row.
    const ModelEntry& m = app.currentModel();
    if (other == 0 && outsideBand == 0) {
      out.error = QM_TR("剪贴板中的文字不是信道数据，没有粘贴。");
      out.notes.clear();
    } else if (other == 0) {
      out.error = Fill(QM_TR("剪贴板中没有一行在本机频率范围%1-%2 MHz之内，没有粘贴。"),
                       {ShortestNumber(m.extendLow), ShortestNumber(m.extendHigh)});
      out.notes.clear();
    } else {
      out.error = QM_TR("剪贴板中没有可以粘贴的行，没有粘贴。");
    }
    return out;
  }
  EditScope scope(grid.editObserver(), QM_TR("粘贴"));
  for (size_t k = 0; k < placed; ++k) {
    const int ch = firstChannel + static_cast<int>(k);
    if (rows[k].kind == PasteRow::Fill) {
      Apply(rows[k].plan, ch, grid);
      ++out.imported;
    } else if (rows[k].kind == PasteRow::SwitchOff) {
      if (!grid.channelOff(ch)) grid.clickChannelOff(ch);
      ++out.imported;
    }
  }
  out.ok = true;
  return out;
}

}  // namespace

ChirpImportResult ImportChirpCsv(std::string_view text, ChannelTableModel& grid,
                                 const AppState& app, uint8_t identModelByte,
                                 const ChirpImportOptions& options) {
  ChirpImportResult out;
  const int firstChannel = std::clamp(options.firstChannel, 0, kChannelCount - 1);
  // Cells copied from a spreadsheet come tab-separated.
  const size_t lineEnd = text.find_first_of("\r\n");
  const char sep =
      options.forPaste && text.substr(0, lineEnd).find('\t') != std::string_view::npos ? '\t' : ',';
  std::vector<CsvRecord> records = ParseCsv(text, sep);
  if (records.empty()) {
    out.error = options.forPaste ? QM_TR("剪贴板中的文字不是信道数据，没有粘贴。")
                                 : QM_TR("文件中没有CSV表头（须有Location和Frequency列）");
    return out;
  }
  CsvRecord header = records.front();
  size_t first = 1;
  bool headerless = false;
  if (options.forPaste) {
    RowReader probe(app, identModelByte, header.fields);
    if (!probe.has("Location") || !probe.has("Frequency")) {
      // Rows without their header: the columns the export writes.
      header.fields.clear();
      for (std::string_view h = kChirpHeader; !h.empty();) {
        const size_t comma = h.find(',');
        header.fields.emplace_back(h.substr(0, comma));
        h = comma == std::string_view::npos ? std::string_view{} : h.substr(comma + 1);
      }
      first = 0;
      headerless = true;
    }
    // Spreadsheets leave trailing empty cells off.
    for (CsvRecord& r : records)
      if (r.fields.size() >= 3 && r.fields.size() < header.fields.size())
        r.fields.resize(header.fields.size());
  }
  RowReader reader(app, identModelByte, header.fields);
  if (!reader.has("Location") || !reader.has("Frequency")) {
    out.error = Line(header.line, QM_TR("不是CSV表头（须有Location和Frequency列）"));
    return out;
  }

  if (options.fromLocation) {
    const size_t from = first;
    first = records.size();
    for (size_t k = from; k < records.size(); ++k) {
      if (reader.location(records[k]) == options.fromLocation) {
        first = k;
        break;
      }
    }
    if (first == records.size()) {
      out.error = Fill(QM_TR("没有Location为%1的行"), {std::to_string(*options.fromLocation)});
      return out;
    }
  }

  auto readRow = [&](const CsvRecord& r,
                     std::vector<std::string>& notes) -> std::variant<PlannedChannel, Unusable> {
    if (r.fields.size() < header.fields.size()) {
      // A pasted row without a header has no column count to fall short of.
      if (headerless) return Unusable{QM_TR("不是信道数据，已跳过"), Unusable::NotChannelData};
      return Unusable{Fill(QM_TR("只有%1列，表头有%2列，已跳过"),
                           {std::to_string(r.fields.size()), std::to_string(header.fields.size())}),
                      Unusable::NotChannelData};
    }
    if (!reader.location(r))
      return Unusable{Fill(QM_TR("%1列的数值无法识别（%2），已跳过"),
                           {"Location", reader.field(r, "Location")}),
                      Unusable::NotChannelData};
    return reader.read(r, notes);
  };

  if (options.forPaste) {
    std::vector<PasteRow> rows;
    // The rows keep the places their Locations give them, as the private form keeps them:
    // a Location the copy skips (a switched-off channel, which the text form leaves out)
    // switches its channel off. Rows without increasing Locations fill in their order.
    std::vector<int> locations;
    for (size_t k = first; k < records.size(); ++k) {
      const std::optional<int> loc = records[k].fields.size() >= header.fields.size()
                                         ? reader.location(records[k])
                                         : std::nullopt;
      if (!loc || (!locations.empty() && *loc <= locations.back())) {
        locations.clear();
        break;
      }
      locations.push_back(*loc);
    }
    for (size_t k = first; k < records.size(); ++k) {
      if (!locations.empty() && k > first) {
        for (int gap = locations[k - first - 1] + 1;
             gap < locations[k - first] && rows.size() < static_cast<size_t>(kChannelCount);
             ++gap) {
          PasteRow off;
          off.gap = true;
          rows.push_back(std::move(off));
        }
      }
      PasteRow row;
      auto result = readRow(records[k], row.notes);
      if (auto* u = std::get_if<Unusable>(&result)) {
        row.kind = PasteRow::Skip;
        row.skip = std::move(*u);
      } else {
        row.kind = PasteRow::Fill;
        row.plan = std::get<PlannedChannel>(std::move(result));
      }
      rows.push_back(std::move(row));
    }
    return PasteRows(rows, grid, app, firstChannel);
  }

  std::vector<PlannedChannel> plan;
  size_t k = first;
  const auto room = static_cast<size_t>(kChannelCount - firstChannel);
  for (; k < records.size() && plan.size() < room; ++k) {
    const CsvRecord& r = records[k];
    std::vector<std::string> notes;
    auto result = readRow(r, notes);
    if (auto* u = std::get_if<Unusable>(&result)) {
      out.notes.push_back({r.line, u->text});
      continue;
    }
    for (std::string& n : notes) out.notes.push_back({r.line, std::move(n)});
    plan.push_back(std::get<PlannedChannel>(std::move(result)));
  }
  if (k < records.size()) {
    out.notes.push_back({0, FillCount(QM_TR_N("第%1行起的%n行未导入：本机只有16个信道"),
                                      static_cast<long long>(records.size() - k),
                                      {std::to_string(records[k].line)})});
  }
  if (plan.empty()) {
    out.error = QM_TR("没有可以导入的行");
    return out;
  }

  // All the rows are one edit.
  EditScope scope(grid.editObserver(), QM_TR("导入CSV"));
  for (size_t c = 0; c < plan.size(); ++c) {
    Apply(plan[c], firstChannel + static_cast<int>(c), grid);
    out.sourceLines.push_back(plan[c].line);
  }
  out.imported = static_cast<int>(plan.size());
  if (options.clearRest) {
    for (int i = firstChannel + out.imported; i < kChannelCount; ++i)
      if (!grid.channelOff(i)) grid.clickChannelOff(i);
  }
  out.ok = true;
  return out;
}

ChirpImportResult PasteChannelRecords(const std::vector<std::array<uint8_t, kRowSize>>& records,
                                      ChannelTableModel& grid, const AppState& app,
                                      uint8_t identModelByte, int firstChannel) {
  const RowReader reader(app, identModelByte, {});
  std::vector<PasteRow> rows;
  for (const std::array<uint8_t, kRowSize>& r : records) {
    PasteRow row;
    const Channel ch = DecodeChannel(r);
    if (!ch.inUse) {
      row.kind = PasteRow::SwitchOff;
      rows.push_back(std::move(row));
      continue;
    }
    PlannedChannel plan;
    plan.txInhibit = !ch.txAllowed;
    const double rx = static_cast<double>(ch.rx.hz) / 1e6;
    const double tx = static_cast<double>(ch.tx.hz) / 1e6;
    std::optional<Unusable> u =
        FreqText(app, identModelByte, rx, QM_TR("接收频率"), plan.rxFreq, row.notes);
    if (!u) {
      std::vector<std::string> txNotes;
      u = FreqText(app, identModelByte, tx, QM_TR("发射频率"), plan.txFreq, txNotes);
      // An inhibited side's frequency is never sent; it does not cost the row its place.
      if (u && plan.txInhibit) {
        u.reset();
        plan.txFreq = plan.rxFreq;
      } else {
        row.notes.insert(row.notes.end(), txNotes.begin(), txNotes.end());
      }
    }
    if (!u) u = reader.recordSignal(ch.rxSignal, QM_TR("接收CTC/DCS"), plan.rxSignal, row.notes);
    if (!u) {
      std::vector<std::string> txNotes;
      u = reader.recordSignal(ch.txSignal, QM_TR("发射CTC/DCS"), plan.txSignal, txNotes);
      if (u && plan.txInhibit) {
        u.reset();
        plan.txSignal = "OFF";
      } else {
        row.notes.insert(row.notes.end(), txNotes.begin(), txNotes.end());
      }
    }
    if (u) {
      row.kind = PasteRow::Skip;
      row.skip = *u;
      row.notes.clear();
    } else {
      plan.narrow = ch.bandwidth == Bandwidth::Narrow;
      plan.busyLock = ch.busyLock;
      plan.scanDelete = ch.scan == ScanList::Deleted;
      plan.lowPower = ch.power == Power::Low;
      row.kind = PasteRow::Fill;
      row.plan = plan;
    }
    rows.push_back(std::move(row));
  }
  return PasteRows(rows, grid, app, std::clamp(firstChannel, 0, kChannelCount - 1));
}

}  // namespace qm
