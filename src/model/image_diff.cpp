#include "model/image_diff.h"

#include <array>
#include <cstdio>
#include <span>

#include "base/text_util.h"
#include "base/tr.h"
#include "model/edit_flags.h"
#include "model/embed_areas.h"
#include "model/function_settings.h"
#include "model/layout.h"
#include "model/tune_items.h"

namespace qm {

namespace {

// Loading a block with out-of-range values would show a message per value; a comparison
// only wants the texts.
class SilentPrompter : public Prompter {
 public:
  Answer ask(const Message&) override { return Answer::Ok; }
  WarningAnswer warn(int, const std::string&) override { return {true, false}; }
};

std::string Hex2(uint8_t v) {
  char buf[4];
  std::snprintf(buf, sizeof buf, "%02X", v);
  return buf;
}

std::string Hex3(size_t v) {
  char buf[8];
  std::snprintf(buf, sizeof buf, "0x%03zX", v);
  return buf;
}

class Differ {
 public:
  Differ(const Image& a, const Image& b) : a_(a), b_(b) {}

  // Lists the field of the record at `record` when its texts differ; its bits then count as
  // explained.
  void field(const std::string& where, const std::string& what, const std::string& ta,
             const std::string& tb, size_t record, const FieldDecl& decl) {
    if (ta == tb) return;
    out.entries.push_back({where, what, ta, tb});
    const RecordMask mask = MaskOf(decl);
    for (size_t k = 0; k < kRowSize; ++k) explained_[record + k] |= mask[k];
  }
  void fieldRange(const std::string& where, const std::string& what, const std::string& ta,
                  const std::string& tb, size_t from, size_t count) {
    if (ta == tb) return;
    out.entries.push_back({where, what, ta, tb});
    for (size_t k = from; k < from + count; ++k) explained_[k] = 0xFF;
  }
  // Every differing bit that no listed field explains, by its byte's address.
  void rawBytes() {
    for (size_t k = 0; k < kImageSize; ++k) {
      if (((a_[k] ^ b_[k]) & ~explained_[k]) != 0)
        out.entries.push_back({Hex3(k), "", Hex2(a_[k]), Hex2(b_[k])});
    }
  }

  ImageDiff out;

 private:
  const Image& a_;
  const Image& b_;
  std::array<uint8_t, kImageSize> explained_{};
};

// Raw bytes of a fixed-size text field for a terminal: printable ASCII as it is, other bytes
// as \xNN, trailing zero bytes left out.
std::string Printable(std::span<const uint8_t> bytes) {
  size_t n = bytes.size();
  while (n > 0 && bytes[n - 1] == 0) --n;
  std::string out;
  for (size_t k = 0; k < n; ++k) {
    uint8_t c = bytes[k];
    if (c >= 0x20 && c < 0x7F && c != '\\')
      out += static_cast<char>(c);
    else
      out += "\\x" + Hex2(c);
  }
  return out;
}

const char* YesNo(bool v) { return v ? QM_TR("是") : QM_TR("否"); }

// A side of a channel record, the same in the channel area and the tune channel table.
struct RecordSide {
  ChannelField onField;
  ChannelField freqField;
  ChannelField signalField;
  Frequency Channel::*freq;
  Signal Channel::*signal;
  bool Channel::*on;
  const char* off;
  const char* freqLabel;
  const char* step;
  const char* signalLabel;
};
constexpr RecordSide kSides[] = {
    {ChannelField::InUse, ChannelField::Rx, ChannelField::RxSignal, &Channel::rx,
     &Channel::rxSignal, &Channel::inUse, QM_TR("关闭"), QM_TR("接收频率"), QM_TR("接收步进"),
     QM_TR("接收CTC/DCS")},
    {ChannelField::TxAllowed, ChannelField::Tx, ChannelField::TxSignal, &Channel::tx,
     &Channel::txSignal, &Channel::txAllowed, QM_TR("禁发"), QM_TR("发射频率"), QM_TR("发射步进"),
     QM_TR("发射CTC/DCS")},
};

// In the channel grid the step unit belongs to the frequency; a tune channel shows it as a
// column of its own, between the frequency and the signalling.
void DiffSide(Differ& d, const std::string& where, const RecordSide& side, size_t o,
              const Channel& x, const Channel& y, bool tune, char sep) {
  const auto step = [](const Frequency& f) { return std::string(f.step625 ? "6.25" : "5.00"); };
  const FieldDecl& freq = Decl(side.freqField);
  d.field(where, side.off, YesNo(!(x.*side.on)), YesNo(!(y.*side.on)), o, Decl(side.onField));
  d.field(where, side.freqLabel, (x.*side.freq).text(sep), (y.*side.freq).text(sep), o,
          tune ? CountPart(freq) : freq);
  if (tune)
    d.field(where, side.step, step(x.*side.freq), step(y.*side.freq), o, StepUnitPart(freq));
  d.field(where, side.signalLabel, (x.*side.signal).text(sep), (y.*side.signal).text(sep), o,
          Decl(side.signalField));
}

void DiffChannels(Differ& d, const Image& a, const Image& b, char sep) {
  struct Toggle {
    const char* what;
    ChannelField field;
    bool (*set)(const Channel&);
    const char* off;
    const char* on;
  };
  static constexpr Toggle kToggles[] = {
      {QM_TR("扫描"), ChannelField::Scan,
       [](const Channel& c) { return c.scan == ScanList::Deleted; }, QM_TR("添加"), QM_TR("删除")},
      {QM_TR("繁忙锁定"), ChannelField::BusyLock, [](const Channel& c) { return c.busyLock; },
       QM_TR("关闭"), QM_TR("打开")},
      {QM_TR("发射功率"), ChannelField::Power,
       [](const Channel& c) { return c.power == Power::Low; }, QM_TR("高"), QM_TR("低")},
      {QM_TR("带宽"), ChannelField::Bandwidth,
       [](const Channel& c) { return c.bandwidth == Bandwidth::Narrow; }, QM_TR("宽带"),
       QM_TR("窄带")}};
  for (int i = 0; i < kChannelCount; ++i) {
    const size_t o = addr::kChannels + 16 * static_cast<size_t>(i);
    const Channel x = DecodeChannel(a.row(o));
    const Channel y = DecodeChannel(b.row(o));
    const std::string where = Fill(QM_TR("信道%1"), {std::to_string(i + 1)});
    for (const RecordSide& side : kSides) DiffSide(d, where, side, o, x, y, false, sep);
    for (const Toggle& t : kToggles)
      d.field(where, t.what, t.set(x) ? t.on : t.off, t.set(y) ? t.on : t.off, o, Decl(t.field));
  }
}

// The field of the function block each list stands for.
struct FnField {
  Fn fn;
  FunctionField field;
};
constexpr FnField kFnFields[] = {
    {Fn::Monitor, FunctionField::Monitor},     {Fn::ScanMode, FunctionField::ScanMode},
    {Fn::Revert, FunctionField::Revert},       {Fn::Priority, FunctionField::Priority},
    {Fn::LookBack, FunctionField::LookBack},   {Fn::PowerKey, FunctionField::PowerKey},
    {Fn::ScanHang, FunctionField::ScanHang},   {Fn::TxTimeout, FunctionField::TxTimeout},
    {Fn::Squelch, FunctionField::Squelch},     {Fn::ManualMode, FunctionField::ManualMode},
    {Fn::Bandwidth, FunctionField::Bandwidth}, {Fn::BatterySave, FunctionField::BatterySave},
    {Fn::KeyBeep, FunctionField::KeyBeep},     {Fn::PreAlert, FunctionField::PreAlert},
    {Fn::TotRekey, FunctionField::TotRekey},   {Fn::TotReset, FunctionField::TotReset},
};

void DiffFunctions(Differ& d, const Image& a, const Image& b, const AppState& app) {
  SilentPrompter quiet;
  EditFlags flagsA, flagsB;
  FunctionSettingsModel fa(app, flagsA, quiet), fb(app, flagsB, quiet);
  fa.BuildComboLists();
  fb.BuildComboLists();
  fa.LoadFunctions(a.functions());
  fb.LoadFunctions(b.functions());
  auto shown = [](const FunctionSettingsModel& m, Fn fn) {
    if (!m.rejected(fn)) return m.text(fn);
    return m.text(fn).empty() ? std::string(QM_TR("(错误)"))
                              : Fill(QM_TR("%1 (错误)"), {m.text(fn)});
  };
  for (Fn fn : kFunctionLayout) {
    for (const FnField& f : kFnFields) {
      if (f.fn != fn) continue;
      d.field(QM_TR("整机功能"), FunctionInfo(fn).label, shown(fa, fn), shown(fb, fn),
              addr::kFunctions, Decl(f.field));
    }
  }
}

void DiffTune(Differ& d, const Image& a, const Image& b, char sep) {
  for (int r = 0; r < kTuneChannelCount; ++r) {
    const size_t o = addr::kTuneChannels + 16 * static_cast<size_t>(r);
    const Channel x = DecodeChannel(a.row(o));
    const Channel y = DecodeChannel(b.row(o));
    const std::string where = Fill(QM_TR("调测信道%1"), {std::to_string(r + 1)});
    for (const RecordSide& side : kSides) DiffSide(d, where, side, o, x, y, true, sep);
  }
  const TuneItemValues x = DecodeTuneItemValues(a.tuneItems());
  const TuneItemValues y = DecodeTuneItemValues(b.tuneItems());
  for (size_t i = 0; i < kTuneValueCount; ++i) {
    d.field(QM_TR("调整项"), kTuneItems[i].treeText, std::to_string(x.values[i]),
            std::to_string(y.values[i]), addr::kTuneItems, kTuneValueFields[i]);
  }
}

void DiffEmbedded(Differ& d, const Image& a, const Image& b) {
  auto quoted = [](const Image& img) {
    std::string text(1, '"');
    text.append(Utf16ToUtf8(EmbedTextFromArea(img))).append(1, '"');
    return text;
  };
  d.fieldRange(QM_TR("内嵌信息"), QM_TR("用户信息"), quoted(a), quoted(b), addr::kEmbedText,
               addr::kEmbedTextSize);
  // The date as the embedded information dialog shows it, when its 14 digits are digits.
  auto date = [](const Image& img) {
    ConstRow row = img.writeDate();
    for (size_t k = 0; k < 14; ++k)
      if (row[k] < '0' || row[k] > '9') return Printable(row);
    std::string text = DisplayEmbedInfo(img).lastTime;
    if (row[14] || row[15]) text.append(1, ' ').append(Printable(row));
    return text;
  };
  d.fieldRange(QM_TR("内嵌信息"), QM_TR("写频日期"), date(a), date(b), addr::kWriteDate, kRowSize);
  d.fieldRange(QM_TR("内嵌信息"), QM_TR("电台ID"), Printable(a.radioId()), Printable(b.radioId()),
               addr::kRadioId, kRowSize);
}

}  // namespace

ImageDiff DiffImages(const Image& a, const Image& b, const AppState& app) {
  Differ d(a, b);
  if (a == b) return d.out;
  const char sep = app.decimalSep;
  DiffChannels(d, a, b, sep);
  DiffFunctions(d, a, b, app);
  d.field(QM_TR("识别码"), QM_TR("机型代码"), std::to_string(DecodeIdent(a.ident()).modelCode),
          std::to_string(DecodeIdent(b.ident()).modelCode), addr::kIdent,
          Decl(IdentField::ModelCode));
  DiffTune(d, a, b, sep);
  DiffEmbedded(d, a, b);
  d.rawBytes();
  return d.out;
}

ImageDiff DiffImages(const Image& a, const SpareBlock& spareA, const Image& b,
                     const SpareBlock& spareB, const AppState& app) {
  ImageDiff out = DiffImages(a, b, app);
  for (size_t k = 0; k < spareA.size(); ++k) {
    if (spareA[k] == spareB[k]) continue;
    char offset[40];  // room for any size_t, as the format check demands
    std::snprintf(offset, sizeof offset, "0x%02zX", k);
    out.entries.push_back(
        {Fill(QM_TR("附加块+%1"), {offset}), "", Hex2(spareA[k]), Hex2(spareB[k])});
  }
  return out;
}

std::string FormatDiff(const ImageDiff& diff,
                       const std::function<std::string(std::string_view)>& shown) {
  auto show = [&shown](const std::string& s) { return shown ? shown(s) : s; };
  std::string out;
  for (const DiffEntry& e : diff.entries) {
    out.append(show(e.where));
    if (!e.what.empty()) out.append(1, ' ').append(show(e.what));
    out.append(": ").append(show(e.a)).append(" -> ").append(show(e.b)).append(1, '\n');
  }
  return out;
}

}  // namespace qm
