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

namespace {

// ---- the columns ----

// One channel as the export writes it: the cells that depend on several fields are worked
// out once, and each column takes its own.
struct ExportRow {
  int number = 0;
  std::string name;
  Channel ch;
  std::string duplex, offset = "0.000000";
  std::string mode, rTone = kDefaultTone, cTone = kDefaultTone, code = kDefaultCode, polarity,
                    rxCode = kDefaultCode, cross = "Tone->Tone";
};

class RowReader;

// One row being read: each column's step fills its part of the plan.
struct RowIn {
  const RowReader& reader;
  const ChannelRowChecks& checks;
  const CsvRecord& record;
  ChannelRowPlan& plan;
  std::vector<std::string>& notes;  // kept only when the row is used
  std::string_view field(const char* name) const;
  bool has(const char* name) const;
};

using WriteCell = std::string (*)(const ExportRow&);
using ReadStep = std::optional<UnusableRow> (*)(RowIn&);

UnusableRow BadNumber(const char* column, std::string_view value) {
  return {Fill(QM_TR("%1列的数值无法识别（%2），已跳过"), {column, value})};
}

UnusableRow Unknown(const char* column, std::string_view value) {
  return {Fill(QM_TR("无法识别的%1（%2），已跳过"), {column, value})};
}

// A frequency field (MHz); nullopt when it is not a number.
std::optional<double> Mhz(std::string_view text) {
  auto v = ParseNumber(text);
  if (!v || std::fabs(*v) > 1e6) return std::nullopt;
  return *v;
}

// Frequency with Duplex and Offset, which say where the transmit frequency is.
std::optional<UnusableRow> ReadFrequencies(RowIn& in) {
  std::string_view freq = in.field("Frequency");
  if (freq.empty()) return UnusableRow{QM_TR("没有频率，已跳过")};
  auto rx = Mhz(freq);
  if (!rx) return BadNumber("Frequency", freq);
  if (*rx <= 0) return UnusableRow{QM_TR("没有频率，已跳过")};
  double tx = *rx;
  std::string duplex = Lower(in.field("Duplex"));
  if (duplex == "+" || duplex == "-" || duplex == "split") {
    std::string_view off = in.field("Offset");
    auto offset = Mhz(off);
    if (!offset) return BadNumber("Offset", off);
    tx = duplex == "split" ? *offset : duplex == "+" ? *rx + *offset : *rx - *offset;
  } else if (duplex == "off") {
    in.plan.txInhibit = true;
  } else if (!duplex.empty()) {
    return Unknown("Duplex", in.field("Duplex"));
  }
  const ChannelRowChecks& checks = in.checks;
  if (auto u = checks.freq(*rx, QM_TR("接收频率"), in.plan.rxFreq, in.notes)) return u;
  return checks.freq(tx, QM_TR("发射频率"), in.plan.txFreq, in.notes);
}

// Tone (the mode) with the columns it names: the tones, the codes and their polarity, and
// CrossMode.
std::optional<UnusableRow> ReadSignalling(RowIn& in) {
  // Polarity letters: transmit, then receive.
  std::string pol(in.field("DtcsPolarity"));
  if (pol.empty()) pol = "NN";
  for (char& c : pol) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  if (pol.size() != 2 || (pol[0] != 'N' && pol[0] != 'R') || (pol[1] != 'N' && pol[1] != 'R'))
    return Unknown("DtcsPolarity", pol);
  const bool txInv = pol[0] == 'R';
  const bool rxInv = pol[1] == 'R';
  std::string_view toneMode = in.field("Tone");
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
    std::string cm = Lower(in.field("CrossMode"));
    size_t arrow = cm.find("->");
    if (arrow == std::string::npos) return Unknown("CrossMode", in.field("CrossMode"));
    txKind = cm.substr(0, arrow);
    rxKind = cm.substr(arrow + 2);
    auto known = [](const std::string& k) { return k.empty() || k == "tone" || k == "dtcs"; };
    if (!known(txKind) || !known(rxKind) || (txKind.empty() && rxKind.empty()))
      return Unknown("CrossMode", in.field("CrossMode"));
  } else {
    return UnusableRow{Fill(QM_TR("本机没有%1信令方式，已跳过"), {toneMode})};
  }
  const ChannelRowChecks& checks = in.checks;
  ChannelRowPlan& plan = in.plan;
  plan.rxSignal = plan.txSignal = "OFF";
  auto tone = [&](const char* column, std::string& out) {
    return checks.tone(in.field(column), column, out, in.notes);
  };
  auto code = [&](const char* column, bool inverted, std::string& out) {
    return checks.code(in.field(column), column, inverted, out, in.notes);
  };
  // Transmit side.
  if (txKind == "tone") {
    if (auto u = tone("rToneFreq", plan.txSignal)) return u;
  } else if (txKind == "tsql") {
    if (auto u = tone("cToneFreq", plan.txSignal)) return u;
  } else if (txKind == "dtcs") {
    if (auto u = code("DtcsCode", txInv, plan.txSignal)) return u;
  }
  // Receive side.
  if (rxKind == "tone" || rxKind == "tsql") return tone("cToneFreq", plan.rxSignal);
  if (rxKind == "dtcs") {
    // Cross modes take the receive code from RxDtcsCode; DTCS (and a file without that
    // column) uses DtcsCode both ways.
    return code(tm == "cross" && in.has("RxDtcsCode") ? "RxDtcsCode" : "DtcsCode", rxInv,
                plan.rxSignal);
  }
  return std::nullopt;
}

std::optional<UnusableRow> ReadMode(RowIn& in) {
  std::string mode = Lower(in.field("Mode"));
  if (mode == "nfm") {
    in.plan.narrow = true;
  } else if (!mode.empty() && mode != "fm") {
    return UnusableRow{Fill(QM_TR("本机没有%1调制方式，已跳过"), {in.field("Mode")})};
  }
  return std::nullopt;
}

std::optional<UnusableRow> ReadSkip(RowIn& in) {
  in.plan.scanDelete = Lower(in.field("Skip")) == "s";
  return std::nullopt;
}

// A wattage such as "2.0W" or "50W".
std::optional<UnusableRow> ReadPower(RowIn& in) {
  std::string_view power = in.field("Power");
  if (power.empty()) return std::nullopt;
  std::string_view w = power;
  if (w.back() == 'W' || w.back() == 'w') w.remove_suffix(1);
  auto watts = ParseNumber(w);
  if (!watts || *watts < 0) return BadNumber("Power", power);
  in.plan.lowPower = *watts < kChirpHighPowerThresholdW;
  return std::nullopt;
}

std::optional<UnusableRow> ReadBusyLock(RowIn& in) {
  std::string lock = Lower(in.field("BusyLock"));
  if (lock.empty()) return std::nullopt;
  if (lock == "on" || lock == "y" || lock == "yes" || lock == "1" || lock == "true" ||
      lock == kLockOn)
    in.plan.busyLock = true;
  else if (lock == "off" || lock == "n" || lock == "no" || lock == "0" || lock == "false" ||
           lock == kLockOff)
    in.plan.busyLock = false;
  else
    return Unknown("BusyLock", in.field("BusyLock"));
  return std::nullopt;
}

std::string Empty(const ExportRow&) { return {}; }

// The dialect's columns in the order they are written. A row is read by the columns' steps in
// this order, which is also the order in which its faults are reported; a column without a
// step is not read, or is read by the step of a column before it.
struct Column {
  const char* name;
  WriteCell write;
  ReadStep read;
};
constexpr Column kColumns[] = {
    {"Location", [](const ExportRow& o) { return std::to_string(o.number); }, nullptr},
    {"Name", [](const ExportRow& o) { return o.name; }, nullptr},
    {"Frequency", [](const ExportRow& o) { return SixDecimals(o.ch.rx.hz); }, ReadFrequencies},
    {"Duplex", [](const ExportRow& o) { return o.duplex; }, nullptr},
    {"Offset", [](const ExportRow& o) { return o.offset; }, nullptr},
    {"Tone", [](const ExportRow& o) { return o.mode; }, ReadSignalling},
    {"rToneFreq", [](const ExportRow& o) { return o.rTone; }, nullptr},
    {"cToneFreq", [](const ExportRow& o) { return o.cTone; }, nullptr},
    {"DtcsCode", [](const ExportRow& o) { return o.code; }, nullptr},
    {"DtcsPolarity", [](const ExportRow& o) { return o.polarity; }, nullptr},
    {"RxDtcsCode", [](const ExportRow& o) { return o.rxCode; }, nullptr},
    {"CrossMode", [](const ExportRow& o) { return o.cross; }, nullptr},
    {"Mode",
     [](const ExportRow& o) {
       return std::string(o.ch.bandwidth == Bandwidth::Narrow ? "NFM" : "FM");
     },
     ReadMode},
    {"TStep", [](const ExportRow& o) { return std::string(o.ch.rx.step625 ? "6.25" : "5.00"); },
     nullptr},
    {"Skip",
     [](const ExportRow& o) { return std::string(o.ch.scan == ScanList::Deleted ? "S" : ""); },
     ReadSkip},
    {"Power",
     [](const ExportRow& o) {
       return std::string(o.ch.power == Power::Low ? kChirpLowPower : kChirpHighPower);
     },
     ReadPower},
    {"Comment", Empty, nullptr},
    {"URCALL", Empty, nullptr},
    {"RPT1CALL", Empty, nullptr},
    {"RPT2CALL", Empty, nullptr},
    {"DVCODE", Empty, nullptr},
    {"BusyLock", [](const ExportRow& o) { return std::string(o.ch.busyLock ? "On" : "Off"); },
     ReadBusyLock},
};

// The published header is the table's names.
constexpr bool HeaderIsTheColumns() {
  std::string_view h = kChirpHeader;
  for (const Column& c : kColumns) {
    const std::string_view name = c.name;
    if (h.substr(0, name.size()) != name) return false;
    h.remove_prefix(name.size());
    if (!h.empty() && h.front() == ',') h.remove_prefix(1);
  }
  return h.empty();
}
static_assert(HeaderIsTheColumns(), "kChirpHeader must list kColumns");

}  // namespace

// ---- export ----

ChirpExport ExportChirpCsv(const Image& image, std::string_view nameTemplate) {
  ChirpExport out;
  out.csv = std::string(kChirpHeader) + "\r\n";
  for (int i = 0; i < kChannelCount; ++i) {
    ExportRow o;
    o.ch = DecodeChannel(image.row(addr::kChannels + 16 * static_cast<size_t>(i)));
    if (!o.ch.inUse) continue;  // switched off: the dialect has no empty rows
    o.number = i + 1;
    o.name = Fill(nameTemplate, {std::to_string(o.number)});
    Side rx = DecodeSide(o.ch.rxSignal);
    Side tx = DecodeSide(o.ch.txSignal);
    for (Side* s : {&rx, &tx}) {
      if (s->kind != Side::Tts) continue;
      out.notes.push_back(Fill(QM_TR("信道%1：TTS %2在CSV中没有对应的信令，按无信令写出"),
                               {std::to_string(o.number), std::to_string(s->tts)}));
      *s = Side{};
    }

    if (!o.ch.txAllowed) {
      o.duplex = "off";
    } else if (o.ch.tx.hz != o.ch.rx.hz) {
      o.duplex = "split";
      o.offset = SixDecimals(o.ch.tx.hz);
    }

    o.polarity = std::string(tx.inverted ? "R" : "N") + (rx.inverted ? "R" : "N");
    if (rx.kind == Side::Off && tx.kind == Side::Off) {
      o.mode = "";
    } else if (rx.kind == Side::Off && tx.kind == Side::Tone) {
      o.mode = "Tone";
      o.rTone = tx.tone;
    } else if (rx.kind == Side::Tone && tx.kind == Side::Tone && rx.tone == tx.tone) {
      o.mode = "TSQL";
      o.rTone = o.cTone = tx.tone;
    } else if (rx.kind == Side::Dcs && tx.kind == Side::Dcs && rx.code == tx.code) {
      o.mode = "DTCS";
      o.code = o.rxCode = tx.code;
    } else {
      o.mode = "Cross";
      o.cross = std::string(CrossPart(tx.kind)) + "->" + CrossPart(rx.kind);
      if (tx.kind == Side::Tone) o.rTone = tx.tone;
      if (rx.kind == Side::Tone) o.cTone = rx.tone;
      if (tx.kind == Side::Dcs) o.code = tx.code;
      if (rx.kind == Side::Dcs) o.rxCode = rx.code;
    }

    std::vector<std::string> fields;
    for (const Column& c : kColumns) fields.push_back(c.write(o));
    out.csv += CsvRow(fields);
    ++out.rows;
  }
  return out;
}

// ---- the grid's checks ----

std::optional<UnusableRow> ChannelRowChecks::freq(double mhz, const char* what, std::string& out,
                                                  std::vector<std::string>& notes) const {
  const ModelEntry& m = app_.currentModel();
  const std::string given = ExactFreqText(mhz);
  if (mhz < m.extendLow - kChirpFarOutsideMhz || mhz > m.extendHigh + kChirpFarOutsideMhz) {
    return UnusableRow{
        Fill(QM_TR("%1%2 MHz远在本机频率范围%3-%4 MHz之外，已跳过"),
             {what, given, ShortestNumber(m.extendLow), ShortestNumber(m.extendHigh)}),
        UnusableRow::OutsideBand};
  }
  CapturingPrompter p;
  const ValidFreq v = ValidFreqFromMhz(mhz, app_, identModelByte_, p);
  out = FormatFreq(v.mhz, app_.decimalSep);
  for (const std::string& t : p.texts)
    notes.push_back(Fill(QM_TR("%1%2%3 MHz改为%4 MHz"), {t, what, given, out}));
  return std::nullopt;
}

std::optional<UnusableRow> ChannelRowChecks::tone(std::string_view value, const char* column,
                                                  std::string& out,
                                                  std::vector<std::string>& notes) const {
  CapturingPrompter p;
  SignalEntry entry(app_, p);
  entry.load("OFF");
  entry.selectOption(SignalEntry::Option::Ctc);
  entry.setToneText(std::string(value));
  if (!entry.validateTone()) {
    std::string msg = p.texts.empty() ? QM_TR("CTC数据无效！") : p.texts.front();
    return UnusableRow{Fill(QM_TR("%1%2（%3），已跳过"), {column, msg, value})};
  }
  out = entry.ok();
  auto given = ParseNumber(value, app_.decimalSep);
  auto taken = ParseNumber(entry.tone().text, app_.decimalSep);
  if (given && taken && std::fabs(*given - *taken) > 0.05)
    notes.push_back(Fill(QM_TR("%1 %2改为%3"), {column, value, out}));
  return std::nullopt;
}

std::optional<UnusableRow> ChannelRowChecks::code(std::string_view value, const char* column,
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
    return UnusableRow{Fill(QM_TR("%1%2（%3），已跳过"), {column, msg, value})};
  }
  out = entry.ok();
  std::string given(value);
  while (given.size() < 3) given.insert(given.begin(), '0');
  if (given != entry.code().text) notes.push_back(Fill(QM_TR("%1 %2改为%3"), {column, value, out}));
  return std::nullopt;
}

std::optional<UnusableRow> ChannelRowChecks::signal(const Signal& signal, const char* column,
                                                    std::string& out,
                                                    std::vector<std::string>& notes) const {
  switch (signal.kind()) {
    case SignalKind::Ctc:
      return tone(TrimSpaces(signal.toneText()), column, out, notes);
    case SignalKind::Dcs:
    case SignalKind::DcsInverted:
      return code(signal.dcsText(), column, signal.kind() == SignalKind::DcsInverted, out, notes);
    case SignalKind::Tts:
      // "TTS " and one digit; a save keeps only the last digit of more.
      if (signal.low() > 9) return Unknown(column, "TTS " + std::to_string(signal.low()));
      [[fallthrough]];
    case SignalKind::Off:
      out = signal.text(app_.decimalSep);
      return std::nullopt;
  }
  return std::nullopt;
}

// ---- import ----

namespace {

class RowReader {
 public:
  RowReader(const AppState& app, uint8_t identModelByte, const std::vector<std::string>& header)
      : checks_(app, identModelByte) {
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

  // The row as grid texts through the columns' steps, or the reason it cannot be used.
  // Notes about values that were changed on the way go to `notes`.
  std::variant<ChannelRowPlan, UnusableRow> read(const CsvRecord& r,
                                                 std::vector<std::string>& notes) const {
    ChannelRowPlan plan;
    plan.line = r.line;
    std::vector<std::string> local;
    RowIn in{*this, checks_, r, plan, local};
    for (const Column& c : kColumns)
      if (c.read)
        if (auto u = c.read(in)) return *std::move(u);
    notes.insert(notes.end(), local.begin(), local.end());
    return plan;
  }

 private:
  ChannelRowChecks checks_;
  std::map<std::string, int> columns_;
};

std::string_view RowIn::field(const char* name) const { return reader.field(record, name); }
bool RowIn::has(const char* name) const { return reader.has(name); }

void Apply(const ChannelRowPlan& p, int i, ChannelTableModel& grid) {
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

// The text's rows with their header worked out: where the columns are and which row is the
// first to read.
struct ResolvedRows {
  std::vector<CsvRecord> records;
  size_t columns = 0;  // the header's column count
  size_t first = 0;
  bool headerless = false;  // pasted rows without their header
  std::optional<RowReader> reader;
  std::string error;  // set: nothing can be read
};

ResolvedRows ResolveHeader(std::string_view text, const AppState& app, uint8_t identModelByte,
                           const ChirpImportOptions& options) {
  ResolvedRows out;
  // Cells copied from a spreadsheet come tab-separated.
  const size_t lineEnd = text.find_first_of("\r\n");
  const char sep =
      options.forPaste && text.substr(0, lineEnd).find('\t') != std::string_view::npos ? '\t' : ',';
  out.records = ParseCsv(text, sep);
  if (out.records.empty()) {
    out.error = options.forPaste ? QM_TR("剪贴板中的文字不是信道数据，没有粘贴。")
                                 : QM_TR("文件中没有CSV表头（须有Location和Frequency列）");
    return out;
  }
  CsvRecord header = out.records.front();
  out.first = 1;
  if (options.forPaste) {
    RowReader probe(app, identModelByte, header.fields);
    if (!probe.has("Location") || !probe.has("Frequency")) {
      // Rows without their header: the columns the export writes.
      header.fields.clear();
      for (const Column& c : kColumns) header.fields.emplace_back(c.name);
      out.first = 0;
      out.headerless = true;
    }
    // Spreadsheets leave trailing empty cells off.
    for (CsvRecord& r : out.records)
      if (r.fields.size() >= 3 && r.fields.size() < header.fields.size())
        r.fields.resize(header.fields.size());
  }
  out.columns = header.fields.size();
  const RowReader& reader = out.reader.emplace(app, identModelByte, header.fields);
  if (!reader.has("Location") || !reader.has("Frequency")) {
    out.error = Line(header.line, QM_TR("不是CSV表头（须有Location和Frequency列）"));
    return out;
  }
  if (options.fromLocation) {
    const auto from = std::find_if(
        out.records.begin() + static_cast<std::ptrdiff_t>(out.first), out.records.end(),
        [&](const CsvRecord& r) { return reader.location(r) == options.fromLocation; });
    if (from == out.records.end())
      out.error = Fill(QM_TR("没有Location为%1的行"), {std::to_string(*options.fromLocation)});
    out.first = static_cast<size_t>(from - out.records.begin());
  }
  return out;
}

std::variant<ChannelRowPlan, UnusableRow> ReadRow(const ResolvedRows& rows, const CsvRecord& r,
                                                  std::vector<std::string>& notes) {
  if (r.fields.size() < rows.columns) {
    // A pasted row without a header has no column count to fall short of.
    if (rows.headerless)
      return UnusableRow{QM_TR("不是信道数据，已跳过"), UnusableRow::NotChannelData};
    return UnusableRow{Fill(QM_TR("只有%1列，表头有%2列，已跳过"),
                            {std::to_string(r.fields.size()), std::to_string(rows.columns)}),
                       UnusableRow::NotChannelData};
  }
  if (!rows.reader->location(r))
    return UnusableRow{BadNumber("Location", rows.reader->field(r, "Location")).text,
                       UnusableRow::NotChannelData};
  return rows.reader->read(r, notes);
}

// The rows of a file, each to the next channel, skipped rows and changed values noted.
struct ImportPlan {
  std::vector<ChannelRowPlan> channels;
  std::vector<ChirpNote> notes;
};

ImportPlan PlanRows(const ResolvedRows& rows, int firstChannel) {
  ImportPlan out;
  size_t k = rows.first;
  const auto room = static_cast<size_t>(kChannelCount - firstChannel);
  for (; k < rows.records.size() && out.channels.size() < room; ++k) {
    const CsvRecord& r = rows.records[k];
    std::vector<std::string> notes;
    auto result = ReadRow(rows, r, notes);
    if (auto* u = std::get_if<UnusableRow>(&result)) {
      out.notes.push_back({r.line, u->text});
      continue;
    }
    for (std::string& n : notes) out.notes.push_back({r.line, std::move(n)});
    out.channels.push_back(std::get<ChannelRowPlan>(std::move(result)));
  }
  if (k < rows.records.size()) {
    out.notes.push_back({0, FillCount(QM_TR_N("第%1行起的%n行未导入：本机只有16个信道"),
                                      static_cast<long long>(rows.records.size() - k),
                                      {std::to_string(rows.records[k].line)})});
  }
  return out;
}

// The rows of a paste keep the places their Locations give them, as the private form keeps
// them: a Location the copy skips (a switched-off channel, which the text form leaves out)
// switches its channel off. Rows without increasing Locations fill in their order.
std::vector<PasteRow> PlanPasteRows(const ResolvedRows& in) {
  std::vector<int> locations;
  for (size_t k = in.first; k < in.records.size(); ++k) {
    const std::optional<int> loc = in.records[k].fields.size() >= in.columns
                                       ? in.reader->location(in.records[k])
                                       : std::nullopt;
    if (!loc || (!locations.empty() && *loc <= locations.back())) {
      locations.clear();
      break;
    }
    locations.push_back(*loc);
  }
  std::vector<PasteRow> rows;
  for (size_t k = in.first; k < in.records.size(); ++k) {
    if (!locations.empty() && k > in.first) {
      for (int gap = locations[k - in.first - 1] + 1;
           gap < locations[k - in.first] && rows.size() < static_cast<size_t>(kChannelCount);
           ++gap) {
        PasteRow off;
        off.gap = true;
        rows.push_back(std::move(off));
      }
    }
    PasteRow row;
    auto result = ReadRow(in, in.records[k], row.notes);
    if (auto* u = std::get_if<UnusableRow>(&result)) {
      row.kind = PasteRow::Skip;
      row.skip = std::move(*u);
    } else {
      row.kind = PasteRow::Fill;
      row.plan = std::get<ChannelRowPlan>(std::move(result));
    }
    rows.push_back(std::move(row));
  }
  return rows;
}

// All the rows of a file are one edit.
ChirpImportResult ApplyRows(ImportPlan plan, ChannelTableModel& grid, int firstChannel,
                            bool clearRest) {
  ChirpImportResult out;
  out.notes = std::move(plan.notes);
  if (plan.channels.empty()) {
    out.error = QM_TR("没有可以导入的行");
    return out;
  }
  EditScope scope(grid.editObserver(), QM_TR("导入CSV"));
  for (size_t c = 0; c < plan.channels.size(); ++c) {
    Apply(plan.channels[c], firstChannel + static_cast<int>(c), grid);
    out.sourceLines.push_back(plan.channels[c].line);
  }
  out.imported = static_cast<int>(plan.channels.size());
  if (clearRest) {
    for (int i = firstChannel + out.imported; i < kChannelCount; ++i)
      if (!grid.channelOff(i)) grid.clickChannelOff(i);
  }
  out.ok = true;
  return out;
}

}  // namespace

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
      outsideBand += rows[k].skip.why == UnusableRow::OutsideBand;
      other += rows[k].skip.why == UnusableRow::Other;
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

// Resolve the header, plan the rows, apply them.
ChirpImportResult ImportChirpCsv(std::string_view text, ChannelTableModel& grid,
                                 const AppState& app, uint8_t identModelByte,
                                 const ChirpImportOptions& options) {
  const int firstChannel = std::clamp(options.firstChannel, 0, kChannelCount - 1);
  const ResolvedRows rows = ResolveHeader(text, app, identModelByte, options);
  if (!rows.error.empty()) {
    ChirpImportResult out;
    out.error = rows.error;
    return out;
  }
  if (options.forPaste) return PasteRows(PlanPasteRows(rows), grid, app, firstChannel);
  return ApplyRows(PlanRows(rows, firstChannel), grid, firstChannel, options.clearRest);
}

}  // namespace qm
