// The text form's TOML lives in this file alone: toml++ is a large header, and one
// translation unit keeps its compile cost out of the rest of the program.
#include "files/text_form.h"

#define TOML_EXCEPTIONS 0
#define TOML_ENABLE_FORMATTERS 0
#include <toml++/toml.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <variant>

#include "base/capturing_prompter.h"
#include "base/model_table.h"
#include "base/tables.h"
#include "base/text_util.h"
#include "base/tr.h"
#include "files/data_file_messages.h"
#include "files/file_io.h"
#include "files/utf8_path.h"
#include "model/codecs.h"
#include "model/embed_areas.h"
#include "model/layout.h"
#include "model/tune_items.h"

namespace qm {

bool IsTextFormName(const std::string& path) {
  if (path.size() < kTextFormExtension.size()) return false;
  std::string tail = path.substr(path.size() - kTextFormExtension.size());
  std::transform(tail.begin(), tail.end(), tail.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return tail == kTextFormExtension;
}

namespace {

using Kind = FormValue::Kind;

FormValue BoolV(bool b) { return {Kind::Bool, b, 0, 0.0, {}}; }
FormValue IntV(int64_t n) { return {Kind::Int, false, n, 0.0, {}}; }
FormValue RealV(double d) { return {Kind::Real, false, 0, d, {}}; }
FormValue TextV(std::string s) { return {Kind::Text, false, 0, 0.0, std::move(s)}; }
FormValue RawV(uint64_t bits) { return {Kind::Raw, false, static_cast<int64_t>(bits), 0.0, {}}; }

std::string WrongType(const char* expected) {
  return Fill(QM_TR("值的类型不对，应为%1"), {expected});
}
const char* const kTypeText = QM_TR("文字");
const char* const kTypeInt = QM_TR("整数");
const char* const kTypeBool = QM_TR("true 或 false");
const char* const kTypeNumber = QM_TR("数");

// What the checks of a field need beside its value: the model the identification names and
// whether the grid would let the user edit the frequency (a channel in use, its transmit
// side allowed).
struct Ctx {
  const AppState& app;  // with that model selected, as an open selects it (ModelChosen)
  uint8_t identByte;
  bool rxChecked = false;
  bool txChecked = false;
};

// One field by meaning: the value it is written as and the reading of a value, which gives
// an empty text when taken or the refusal's text.
template <class T>
struct Rule {
  const FieldDecl* decl;
  std::function<FormValue(const T&)> describe;
  std::function<std::string(const FormValue&, const Ctx&, T&)> parse;
};

template <class T>
Rule<T> BoolRule(const FieldDecl& d, bool T::*m, bool inverted = false) {
  return {&d, [m, inverted](const T& t) { return BoolV((t.*m) != inverted); },
          [m, inverted](const FormValue& v, const Ctx&, T& t) -> std::string {
            if (v.kind != Kind::Bool) return WrongType(kTypeBool);
            t.*m = v.flag != inverted;
            return {};
          }};
}

// Two states by name ("wide" / "narrow", "high" / "low").
template <class T, class E>
Rule<T> NameRule(const FieldDecl& d, E T::*m, const char* name0, const char* name1) {
  return {&d, [=](const T& t) { return TextV(static_cast<int>(t.*m) ? name1 : name0); },
          [=](const FormValue& v, const Ctx&, T& t) -> std::string {
            if (v.kind != Kind::Text) return WrongType(kTypeText);
            if (v.text == name0) {
              t.*m = static_cast<E>(0);
            } else if (v.text == name1) {
              t.*m = static_cast<E>(1);
            } else {
              return Fill(QM_TR("应为“%1”或“%2”"), {name0, name1});
            }
            return {};
          }};
}

std::string RangeText(int64_t lo, int64_t hi) {
  return Fill(QM_TR("数值超出范围（%1到%2）"), {std::to_string(lo), std::to_string(hi)});
}

std::string IntIn(const FormValue& v, int64_t lo, int64_t hi, int64_t& out) {
  if (v.kind != Kind::Int) return WrongType(kTypeInt);
  if (v.number < lo || v.number > hi) return RangeText(lo, hi);
  out = v.number;
  return {};
}

template <class T>
Rule<T> IntRule(const FieldDecl& d, uint8_t T::*m, int lo, int hi) {
  return {&d, [m](const T& t) { return IntV(t.*m); },
          [m, lo, hi](const FormValue& v, const Ctx&, T& t) {
            int64_t n = 0;
            std::string e = IntIn(v, lo, hi, n);
            if (e.empty()) t.*m = static_cast<uint8_t>(n);
            return e;
          }};
}

// A BCD setting as the list offers it: `lo` to `hi` in steps of `step`, in the field's unit;
// written in seconds, which are tenths of the field (Tenths) or ten of it (Tens).
enum class Unit : uint8_t { One, Tenths, Tens };

std::string UnitText(int64_t n, Unit u) {
  if (u == Unit::Tenths) return FormatFixed(static_cast<double>(n) / 10.0, 1, 1, '.');
  return std::to_string(u == Unit::Tens ? n * 10 : n);
}

template <class T>
Rule<T> BcdRule(const FieldDecl& d, Bcd T::*m, int lo, int hi, int step, Unit unit,
                bool unlimited = false) {
  auto describe = [=](const T& t) {
    if (unlimited && (t.*m).raw == kTxTimeoutUnlimited) return TextV("unlimited");
    std::optional<int> n = (t.*m).value();
    if (!n) return RawV((t.*m).raw);
    if (unit == Unit::Tenths) return RealV(*n / 10.0);
    return IntV(unit == Unit::Tens ? *n * 10 : *n);
  };
  auto parse = [=](const FormValue& v, const Ctx&, T& t) -> std::string {
    if (unlimited && v.kind == Kind::Text && v.text == "unlimited") {
      (t.*m).raw = kTxTimeoutUnlimited;
      return {};
    }
    int64_t n = 0;
    if (unit == Unit::Tenths) {
      if (v.kind != Kind::Int && v.kind != Kind::Real) return WrongType(kTypeNumber);
      const double x = (v.kind == Kind::Int ? static_cast<double>(v.number) : v.real) * 10.0;
      if (!std::isfinite(x) || std::fabs(x) > 1e6 || std::fabs(x - std::round(x)) > 1e-6)
        return Fill(QM_TR("应为%1的倍数"), {"0.1"});
      n = std::llround(x);
    } else if (v.kind != Kind::Int) {
      return WrongType(unlimited ? QM_TR("整数或“unlimited”") : kTypeInt);
    } else if (unit == Unit::Tens) {
      if (v.number % 10 != 0) return Fill(QM_TR("应为%1的倍数"), {"10"});
      n = v.number / 10;
    } else {
      n = v.number;
    }
    if (n < lo || n > hi)
      return Fill(QM_TR("数值超出范围（%1到%2）"), {UnitText(lo, unit), UnitText(hi, unit)});
    if ((n - lo) % step != 0) return Fill(QM_TR("应为%1的倍数"), {UnitText(step, unit)});
    (t.*m) = Bcd::Of(static_cast<int>(n));
    return {};
  };
  return {&d, describe, parse};
}

// toml++ 3.3 asks of many letters (U+00A1-U+0499 among them) whether they are whitespace
// through a lookup that runs into undefined behaviour, wherever the grammar allows whitespace
// and also where a broken text makes it look for some. The reader hands it each such letter as
// a character of the private use area, one for one, and takes the letters back in every text
// and key it reads; the TOML means the same, since those letters are never whitespace.
bool MisreadByToml(char32_t c) {
  if (c <= 0xA0 || c >= 0xFEFF || c == 0x3000) return false;
  const char32_t bucket = (c - 0xA0) / 0x3FA;
  return bucket == 0 || bucket == 11 || bucket == 63;
}
constexpr char32_t kStandInFirst = 0xE000;
const std::vector<char32_t>& MisreadLetters() {
  static const std::vector<char32_t> kLetters = [] {
    std::vector<char32_t> out;
    for (char32_t c = 0xA1; c < 0xFEFF; ++c)
      if (MisreadByToml(c)) out.push_back(c);
    return out;
  }();
  return kLetters;
}
char32_t StandInEnd() { return kStandInFirst + static_cast<char32_t>(MisreadLetters().size()); }

// The code point of a valid UTF-8 sequence at s[i], and its length.
char32_t CodePointAt(std::string_view s, size_t i, size_t& len) {
  const auto u = static_cast<unsigned char>(s[i]);
  len = u < 0x80 ? 1 : u >= 0xF0 ? 4 : u >= 0xE0 ? 3 : 2;
  char32_t c = len == 1 ? u : u & (0x7F >> len);
  for (size_t k = 1; k < len && i + k < s.size(); ++k)
    c = (c << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3F);
  return c;
}
void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    // Everything swapped here is below U+10000.
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}
// Letters to stand-ins (`toToml`) or back.
std::string Swapped(std::string_view s, bool toToml) {
  const std::vector<char32_t>& letters = MisreadLetters();
  std::string out;
  out.reserve(s.size());
  for (size_t i = 0, len = 1; i < s.size(); i += len) {
    const char32_t c = CodePointAt(s, i, len);
    if (toToml && MisreadByToml(c)) {
      const auto at = std::lower_bound(letters.begin(), letters.end(), c) - letters.begin();
      AppendUtf8(out, kStandInFirst + static_cast<char32_t>(at));
    } else if (!toToml && c >= kStandInFirst && c < StandInEnd()) {
      AppendUtf8(out, letters[c - kStandInFirst]);
    } else {
      out.append(s.substr(i, len));
    }
  }
  return out;
}
bool HoldsStandIn(std::string_view s) {
  for (size_t i = 0, len = 1; i < s.size(); i += len) {
    const char32_t c = CodePointAt(s, i, len);
    if (c >= kStandInFirst && c < StandInEnd()) return true;
  }
  return false;
}

// ---- frequencies and signalling: the grid's own checks ----

std::string ParseFreq(const FormValue& v, bool checked, const Ctx& ctx, Frequency& out) {
  if (v.kind != Kind::Text) return WrongType(kTypeText);
  std::optional<double> mhz = ParseNumber(v.text);
  if (!mhz || *mhz < 0 || !std::isfinite(*mhz))
    return Fill(QM_TR("无法识别的频率（%1）"), {v.text});
  if (!checked) {
    out = FreqFromText(v.text, Frequency{});
    return {};
  }
  if (*mhz < ctx.app.currentModel().extendLow || *mhz > ctx.app.currentModel().extendHigh) {
    return Fill(QM_TR("频率%1 MHz超出本机频率范围%2-%3 MHz"),
                {v.text, ShortestNumber(ctx.app.currentModel().extendLow),
                 ShortestNumber(ctx.app.currentModel().extendHigh)});
  }
  CapturingPrompter quiet;
  const ValidFreq f = ValidFreqFromMhz(*mhz, ctx.app, ctx.identByte, quiet);
  out = FreqFromText(Frequency{f.hz, true}.text(), Frequency{});
  return {};
}

std::string ParseSignal(const FormValue& v, Signal& out) {
  if (v.kind != Kind::Text) return WrongType(kTypeText);
  bool ok = false;
  Signal s = Signal::FromText(v.text, ok);
  if (!ok || s.text() != v.text) return Fill(QM_TR("无法识别的信令（%1）"), {v.text});
  if (s.kind() == SignalKind::Ctc) {
    const double tone = ParseNumber(s.toneText()).value_or(0.0);
    if (std::none_of(kCtcTones.begin() + 1, kCtcTones.end(),
                     [tone](double t) { return std::fabs(t - tone) < 0.05; }))
      return Fill(QM_TR("本机没有这个CTC频率（%1）"), {v.text});
  } else if (s.kind() == SignalKind::Dcs || s.kind() == SignalKind::DcsInverted) {
    const int code = std::stoi(s.dcsText());
    if (std::find(kDcsCodes.begin(), kDcsCodes.end(), code) == kDcsCodes.end())
      return Fill(QM_TR("本机没有这个DCS码（%1）"), {v.text});
  }
  out = s;
  return {};
}

// ---- the records ----

// One side of a channel, receive or transmit: its frequency, bound to the band when the grid
// would let the user edit it (`checked`), and its signalling.
void SideRules(std::vector<Rule<Channel>>& r, const FieldDecl& freq, Frequency Channel::*f,
               bool Ctx::*checked, const FieldDecl& signal, Signal Channel::*sig) {
  r.push_back({&freq, [f](const Channel& c) { return TextV((c.*f).text()); },
               [f, checked](const FormValue& v, const Ctx& x, Channel& c) {
                 return ParseFreq(v, x.*checked, x, c.*f);
               }});
  r.push_back(
      {&signal, [sig](const Channel& c) { return TextV((c.*sig).text()); },
       [sig](const FormValue& v, const Ctx&, Channel& c) { return ParseSignal(v, c.*sig); }});
}

std::vector<Rule<Channel>> ChannelRules() {
  using F = ChannelField;
  std::vector<Rule<Channel>> r;
  SideRules(r, Decl(F::Rx), &Channel::rx, &Ctx::rxChecked, Decl(F::RxSignal), &Channel::rxSignal);
  SideRules(r, Decl(F::Tx), &Channel::tx, &Ctx::txChecked, Decl(F::TxSignal), &Channel::txSignal);
  r.push_back(BoolRule(Decl(F::InUse), &Channel::inUse));
  r.push_back(BoolRule(Decl(F::TxAllowed), &Channel::txAllowed));
  r.push_back(NameRule(Decl(F::Bandwidth), &Channel::bandwidth, "wide", "narrow"));
  r.push_back(BoolRule(Decl(F::BusyLock), &Channel::busyLock));
  // true: the channel is in the scan list (the bit says deleted).
  r.push_back({&Decl(F::Scan), [](const Channel& c) { return BoolV(c.scan == ScanList::Added); },
               [](const FormValue& v, const Ctx&, Channel& c) -> std::string {
                 if (v.kind != Kind::Bool) return WrongType(kTypeBool);
                 c.scan = v.flag ? ScanList::Added : ScanList::Deleted;
                 return {};
               }});
  r.push_back(NameRule(Decl(F::Power), &Channel::power, "high", "low"));
  r.push_back(IntRule(Decl(F::PresetChannel), &Channel::presetChannel, 0, 255));
  r.push_back(IntRule(Decl(F::PresetSignal), &Channel::presetSignal, 0, 255));
  return r;
}

// The ranges are those the function lists offer (their load checks).
std::vector<Rule<Functions>> FunctionRules() {
  using F = FunctionField;
  using Fs = Functions;
  return {
      IntRule(Decl(F::ScanMode), &Fs::scanMode, 0, 2),
      IntRule(Decl(F::Monitor), &Fs::monitor, 0, 3),
      IntRule(Decl(F::Revert), &Fs::revert, 1, 4),
      BcdRule(Decl(F::Priority), &Fs::priority, 0, 15, 1, Unit::One),
      BcdRule(Decl(F::LookBack), &Fs::lookBack, 3, 50, 1, Unit::Tenths),
      IntRule(Decl(F::PowerKey), &Fs::powerKey, 0, 2),
      IntRule(Decl(F::PowerKeySpare), &Fs::powerKeySpare, 0, 63),
      BcdRule(Decl(F::ScanHang), &Fs::scanHang, 5, 50, 5, Unit::Tenths),
      BcdRule(Decl(F::TxTimeout), &Fs::txTimeout, 0, 30, 3, Unit::Tens, true),
      IntRule(Decl(F::Squelch), &Fs::squelch, 0, 9),
      BoolRule(Decl(F::ManualMode), &Fs::manualMode),
      NameRule(Decl(F::Bandwidth), &Fs::bandwidth, "wide", "narrow"),
      BoolRule(Decl(F::BatterySave), &Fs::batterySave),
      BoolRule(Decl(F::KeyBeep), &Fs::keyBeep),
      IntRule(Decl(F::PreAlert), &Fs::preAlert, 0, 255),
      BcdRule(Decl(F::TotRekey), &Fs::totRekey, 0, 60, 1, Unit::One),
      BcdRule(Decl(F::TotReset), &Fs::totReset, 0, 15, 1, Unit::One),
  };
}

bool PrintableAscii(std::string_view s) {
  return std::all_of(s.begin(), s.end(), [](char c) { return c >= 0x20 && c < 0x7F; });
}

std::vector<Rule<Ident>> IdentRules() {
  using F = IdentField;
  std::vector<Rule<Ident>> r = {
      IntRule(Decl(F::MinorVersion), &Ident::minorVersion, 0, 255),
      IntRule(Decl(F::Zero), &Ident::zero, 0, 255),
      IntRule(Decl(F::ModelCode), &Ident::modelCode, 0, 255),
  };
  r.push_back({&Decl(F::Identity), [](const Ident& i) { return TextV(i.identity); },
               [](const FormValue& v, const Ctx&, Ident& i) -> std::string {
                 if (v.kind != Kind::Text) return WrongType(kTypeText);
                 if (v.text.size() != kIdentityText.size() || !PrintableAscii(v.text))
                   return Fill(QM_TR("应为%1个ASCII字符"), {std::to_string(kIdentityText.size())});
                 i.identity = v.text;
                 return {};
               }});
  return r;
}

std::vector<Rule<TuneItemValues>> TuneValueRules() {
  std::vector<Rule<TuneItemValues>> r;
  for (size_t i = 0; i < kTuneValueCount; ++i) {
    r.push_back({&kTuneValueFields[i], [i](const TuneItemValues& t) { return IntV(t.values[i]); },
                 [i](const FormValue& v, const Ctx&, TuneItemValues& t) {
                   int64_t n = 0;
                   std::string e = IntIn(v, 0, 255, n);
                   if (e.empty()) t.values[i] = static_cast<uint8_t>(n);
                   return e;
                 }});
  }
  return r;
}

// How a record type is taken apart and put together (model/layout.h).
template <class T>
struct Record {
  std::function<T(ConstRow)> decode;
  std::function<RecordBytes(const T&)> encode;
  std::vector<Rule<T>> rules;
};

Record<Channel> ChannelRecordKind() {
  return {[](ConstRow r) { return DecodeChannel(r); },
          [](const Channel& c) { return EncodeChannel(c); }, ChannelRules()};
}
template <class T, auto Dec, auto Enc>
Record<T> BlockKind(std::vector<Rule<T>> rules) {
  return {[](ConstRow r) { return Dec(r); },
          [](const T& t) {
            RecordBytes b{};
            Enc(t, b);
            return b;
          },
          std::move(rules)};
}

// The model table with the model of the identification's code selected; an unknown code
// keeps the current model, as opening a file does.
AppState ModelChosen(const AppState& app, uint8_t code) {
  AppState out = app;
  ConvertModel(out, code);
  return out;
}

// The bits of a record no field names.
RecordBytes CarriedBits(ConstRow bytes, const std::vector<const FieldDecl*>& fields) {
  RecordBytes out{};
  std::copy(bytes.begin(), bytes.end(), out.begin());
  for (const FieldDecl* f : fields) WriteField(out, *f, 0);
  return out;
}

template <class T>
std::vector<const FieldDecl*> FieldsOf(const Record<T>& kind) {
  std::vector<const FieldDecl*> out;
  for (const Rule<T>& r : kind.rules) out.push_back(r.decl);
  return out;
}

bool AllZero(std::span<const uint8_t> b) {
  return std::all_of(b.begin(), b.end(), [](uint8_t x) { return x == 0; });
}

FormRow RowAt(std::span<const uint8_t> bytes, size_t offset) {
  FormRow r;
  r.address = static_cast<uint16_t>(offset);
  std::copy_n(bytes.begin() + static_cast<std::ptrdiff_t>(offset), kRowSize, r.bytes.begin());
  return r;
}

// Each field by meaning where reading that meaning back gives the same bits, else its bits.
template <class T>
FormTable DescribeRecord(const Record<T>& kind, ConstRow bytes, const Ctx& ctx,
                         std::vector<FormRow>& rows, uint16_t address) {
  const T value = kind.decode(bytes);
  const RecordBytes want = kind.encode(value);
  FormTable out;
  for (const Rule<T>& rule : kind.rules) {
    FormValue v = rule.describe(value);
    bool kept = v.kind != Kind::Raw;
    if (kept) {
      T probe = value;
      kept = rule.parse(v, ctx, probe).empty() && kind.encode(probe) == want;
    }
    if (!kept) v = RawV(ReadField(bytes, *rule.decl));
    out.push_back({rule.decl->name, std::move(v)});
  }
  const RecordBytes carried = CarriedBits(bytes, FieldsOf(kind));
  if (!AllZero(carried)) {
    rows.push_back(RowAt(carried, 0));
    rows.back().address = address;
  }
  return out;
}

Ctx ChannelCtx(const Ctx& base, const Channel& c) {
  Ctx x = base;
  x.rxChecked = c.inUse;
  x.txChecked = c.inUse && c.txAllowed;
  return x;
}

struct Area {
  uint16_t from;
  uint16_t to;  // exclusive
};
// Rows no part of the program interprets.
constexpr std::array<Area, 5> kUninterpreted = {
    {{0x1B0, 0x2B0}, {0x2C0, 0x2D0}, {0x2E0, 0x2F0}, {0x3D0, 0x3E0}, {0x3F0, 0x400}}};

bool DateDigits(std::string_view s) {
  return s.size() == 14 &&
         std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The write date and the radio ID: single-byte text, or "" for a row of zeros.
std::optional<std::string> RowText(ConstRow row, bool date) {
  if (AllZero(row)) return std::string();
  std::string s(row.begin(), row.end());
  if (date) {
    if (row[14] != 0 || row[15] != 0) return std::nullopt;
    s.resize(14);
    return DateDigits(s) ? std::optional(s) : std::nullopt;
  }
  return PrintableAscii(s) ? std::optional(s) : std::nullopt;
}

std::string ParseRowText(const FormValue& v, bool date, Row out) {
  if (v.kind != Kind::Text) return WrongType(kTypeText);
  std::fill(out.begin(), out.end(), 0);
  if (v.text.empty()) return {};
  if (date ? !DateDigits(v.text) : (v.text.size() != kRowSize || !PrintableAscii(v.text)))
    return date ? QM_TR("应为14位数字（年月日时分秒）或空") : QM_TR("应为16个ASCII字符或空");
  std::copy(v.text.begin(), v.text.end(), out.begin());
  return {};
}

std::string ParseEmbedText(const FormValue& v, Image& image) {
  if (v.kind != Kind::Text) return WrongType(kTypeText);
  std::u16string u = Utf8ToUtf16(v.text);
  if (u.size() > kEmbedTextChars)
    return Fill(QM_TR("超过%1个字符"), {std::to_string(kEmbedTextChars)});
  CollectEmbedText(u, image);
  return {};
}

}  // namespace

DataFileForm DescribeDataFile(const Image& image, const SpareBlock& spare, int16_t imageVerMajor,
                              const AppState& app) {
  DataFileForm form;
  form.file.push_back({"version", TextV(imageVerMajor < 2 ? "1.1" : "2.0")});
  const AppState chosen = ModelChosen(app, image.modelCode());
  const Ctx ctx{chosen, image.modelCode()};

  form.ident = DescribeRecord(BlockKind<Ident, DecodeIdent, EncodeIdent>(IdentRules()),
                              image.ident(), ctx, form.rows, addr::kIdent);
  form.functions =
      DescribeRecord(BlockKind<Functions, DecodeFunctions, EncodeFunctions>(FunctionRules()),
                     image.functions(), ctx, form.rows, addr::kFunctions);
  const Record<Channel> channel = ChannelRecordKind();
  auto channels = [&](uint16_t base, int count, std::vector<FormTable>& out) {
    for (int n = 0; n < count; ++n) {
      const auto at = static_cast<uint16_t>(base + 16 * n);
      const Ctx x = ChannelCtx(ctx, DecodeChannel(image.row(at)));
      FormTable t = DescribeRecord(channel, image.row(at), x, form.rows, at);
      t.insert(t.begin(), {"channel", IntV(n + 1)});
      out.push_back(std::move(t));
    }
  };
  channels(addr::kChannels, kChannelCount, form.channels);
  channels(addr::kTuneChannels, kTuneChannelCount, form.tuneChannels);
  form.tuneItems = DescribeRecord(
      BlockKind<TuneItemValues, DecodeTuneItemValues, EncodeTuneItemValues>(TuneValueRules()),
      image.tuneItems(), ctx, form.rows, addr::kTuneItems);

  const std::string text = Utf16ToUtf8(EmbedTextFromArea(image));
  Image probe;
  CollectEmbedText(Utf8ToUtf16(text), probe);
  // The iterator forms of the algorithms here: not every standard library the core is built
  // with has the ranges ones.
  const std::span<const uint8_t> probed = probe.embedText(), held = image.embedText();
  if (std::equal(probed.begin(), probed.end(), held.begin(), held.end()) && !HoldsStandIn(text)) {
    form.embedded.push_back({"text", TextV(text)});
  } else {
    for (size_t a = addr::kEmbedText; a < addr::kEmbedText + addr::kEmbedTextSize; a += kRowSize)
      form.rows.push_back(RowAt(image.bytes(), a));
  }
  for (auto [key, at, date] : {std::tuple{"write_date", addr::kWriteDate, true},
                               std::tuple{"radio_id", addr::kRadioId, false}}) {
    if (auto s = RowText(image.row(at), date))
      form.embedded.push_back({key, TextV(*s)});
    else
      form.rows.push_back(RowAt(image.bytes(), at));
  }
  for (const Area& area : kUninterpreted)
    for (size_t a = area.from; a < area.to; a += kRowSize)
      form.rows.push_back(RowAt(image.bytes(), a));
  std::sort(form.rows.begin(), form.rows.end(),
            [](const FormRow& a, const FormRow& b) { return a.address < b.address; });
  for (size_t a = 0; a < spare.size(); a += kRowSize) form.spare.push_back(RowAt(spare, a));
  return form;
}

// ---- writing ----

namespace {

std::string Quoted(std::string_view s) {
  std::string out = "\"";
  for (char c : s) {
    const auto u = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (c == '\n') {
      out += "\\n";
    } else if (c == '\t') {
      out += "\\t";
    } else if (u < 0x20 || u == 0x7F) {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\u%04X", u);
      out += buf;
    } else {
      out += c;
    }
  }
  return out + "\"";
}

std::string Hex(uint64_t v, int digits) {
  char buf[24];
  std::snprintf(buf, sizeof buf, "0x%0*llX", digits, static_cast<unsigned long long>(v));
  return buf;
}

std::string ValueText(const FormValue& v) {
  switch (v.kind) {
    case Kind::Bool:
      return v.flag ? "true" : "false";
    case Kind::Int:
      return std::to_string(v.number);
    case Kind::Real:
      return FormatFixed(v.real, 1, 1, '.');
    case Kind::Text:
      return Quoted(v.text);
    case Kind::Raw:
      return "{ raw = " + Hex(static_cast<uint64_t>(v.number), 2) + " }";
  }
  return {};
}

void WriteTable(std::string& out, const FormTable& t) {
  for (const FormEntry& e : t) out += e.key + " = " + ValueText(e.value) + "\n";
}

void WriteRows(std::string& out, const std::vector<FormRow>& rows, int digits) {
  for (const FormRow& r : rows) {
    out += Hex(r.address, digits) + " = \"";
    for (size_t i = 0; i < kRowSize; ++i) {
      char buf[4];
      std::snprintf(buf, sizeof buf, i ? " %02X" : "%02X", r.bytes[i]);
      out += buf;
    }
    out += "\"\n";
  }
}

}  // namespace

std::string WriteTextForm(const Image& image, const SpareBlock& spare, int16_t imageVerMajor,
                          const AppState& app) {
  const DataFileForm f = DescribeDataFile(image, spare, imageVerMajor, app);
  std::string out = "[file]\n";
  WriteTable(out, f.file);
  out += "\n[ident]\n";
  WriteTable(out, f.ident);
  out += "\n[functions]\n";
  WriteTable(out, f.functions);
  for (const FormTable& c : f.channels) {
    out += "\n[[channel]]\n";
    WriteTable(out, c);
  }
  for (const FormTable& c : f.tuneChannels) {
    out += "\n[[tune_channel]]\n";
    WriteTable(out, c);
  }
  out += "\n[tune_items]\n";
  WriteTable(out, f.tuneItems);
  out += "\n[embedded]\n";
  WriteTable(out, f.embedded);
  out += "\n[bytes]\n";
  WriteRows(out, f.rows, 3);
  out += "\n[spare]\n";
  WriteRows(out, f.spare, 2);
  return out;
}

// ---- reading ----

namespace {

struct Refusal {
  TextFormError error;
};

int LineOf(const toml::node& n) { return static_cast<int>(n.source().begin.line); }

// The value of a key as the rules take it; a table { raw = N } is a field's bits.
std::optional<FormValue> ValueOf(const toml::node& n) {
  if (auto b = n.value_exact<bool>()) return BoolV(*b);
  if (auto i = n.value_exact<int64_t>()) return IntV(*i);
  if (auto d = n.value_exact<double>()) return RealV(*d);
  if (auto s = n.value_exact<std::string>()) return TextV(Swapped(*s, false));
  if (const toml::table* t = n.as_table(); t && t->size() == 1) {
    if (auto raw = (*t)["raw"].value_exact<int64_t>()) {
      FormValue v = RawV(static_cast<uint64_t>(*raw));
      v.number = *raw;
      return v;
    }
  }
  return std::nullopt;
}

class Reader {
 public:
  Reader(const AppState& app) : app_(app) {}

  const toml::table& table(const toml::table& parent, std::string_view key, bool required,
                           int parentLine) {
    static const toml::table kEmpty;
    const toml::node* n = parent.get(key);
    if (!n) {
      if (required) fail(parentLine, std::string(key), QM_TR("缺少这个表"));
      return kEmpty;
    }
    if (!n->is_table()) fail(LineOf(*n), std::string(key), WrongType(QM_TR("表")));
    return *n->as_table();
  }

  // Every key of `t` is one of `known`.
  void knownKeys(const toml::table& t, const std::string& path,
                 const std::set<std::string>& known) {
    for (auto&& [k, v] : t) {
      if (!known.count(std::string(k.str())))
        fail(static_cast<int>(k.source().begin.line), Join(path, k.str()), QM_TR("未知的键"));
    }
  }

  static std::string Join(const std::string& path, std::string_view key) {
    const std::string k = Swapped(key, false);
    return path.empty() ? k : path + "." + k;
  }

  // Reads one record's keys on top of `bytes` (which holds the bits it carries).
  template <class T>
  void record(const Record<T>& kind, const toml::table& t, const std::string& path, int line,
              Row bytes, const std::function<Ctx(const T&)>& ctxOf,
              const std::set<std::string>& extra = {}) {
    std::set<std::string> known = extra;
    for (const Rule<T>& r : kind.rules) known.insert(r.decl->name);
    knownKeys(t, path, known);
    // The flags that decide which frequencies the band binds are read first.
    std::vector<std::pair<const FieldDecl*, uint64_t>> raws;
    std::vector<std::pair<const Rule<T>*, FormValue>> values;
    for (const Rule<T>& r : kind.rules) {
      const toml::node* n = t.get(r.decl->name);
      const std::string key = Join(path, r.decl->name);
      if (!n) fail(line, key, QM_TR("缺少这个键"));
      std::optional<FormValue> v = ValueOf(*n);
      if (!v) fail(LineOf(*n), key, QM_TR("值的类型不对"));
      if (v->kind == Kind::Raw) {
        if (v->number < 0 || (r.decl->width < 63 && v->number >= (int64_t{1} << r.decl->width)))
          fail(LineOf(*n), key,
               Fill(QM_TR("raw的值超出这个字段的%1位"), {std::to_string(r.decl->width)}));
        raws.emplace_back(r.decl, static_cast<uint64_t>(v->number));
        WriteField(bytes, *r.decl, static_cast<uint64_t>(v->number));
      } else {
        values.emplace_back(&r, *v);
      }
    }
    T value = kind.decode(bytes);  // the raw flags count for the checks
    // Flags first, so that the band check knows whether the channel is in use.
    for (int pass = 0; pass < 2; ++pass) {
      for (auto& [rule, v] : values) {
        if ((v.kind == Kind::Bool) != (pass == 0)) continue;
        const Ctx ctx = ctxOf(value);
        std::string e = rule->parse(v, ctx, value);
        if (!e.empty()) fail(LineOf(*t.get(rule->decl->name)), Join(path, rule->decl->name), e);
      }
    }
    const RecordBytes out = kind.encode(value);
    std::copy(out.begin(), out.end(), bytes.begin());
    for (auto [decl, bits] : raws) WriteField(bytes, *decl, bits);
  }

  // Hex rows "0x1B0" = "00 11 ..." into `into` (size bytes); every address a row start.
  void rows(const toml::table& t, const std::string& path, std::span<uint8_t> into) {
    std::set<size_t> seen;
    for (auto&& [k, v] : t) {
      const std::string key = Join(path, k.str());
      const int line = static_cast<int>(k.source().begin.line);
      const std::string name(k.str());
      size_t address = 0;
      bool ok = name.size() > 2 && name.size() <= 6 && name[0] == '0' &&
                (name[1] == 'x' || name[1] == 'X');
      for (size_t i = 2; ok && i < name.size(); ++i) {
        const auto c = static_cast<unsigned char>(name[i]);
        ok = std::isxdigit(c) != 0;
        if (ok)
          address =
              address * 16 + static_cast<size_t>(std::isdigit(c) ? c - '0' : (c | 0x20) - 'a' + 10);
      }
      if (!ok || address % kRowSize != 0 || address + kRowSize > into.size()) {
        fail(line, key,
             Fill(QM_TR("地址不在范围内：应为%1到%2之间16的倍数"),
                  {"0x000", Hex(into.size() - kRowSize, 3)}));
      }
      if (!seen.insert(address).second) fail(line, key, QM_TR("这个地址的行重复"));
      auto s = v.value_exact<std::string>();
      if (!s) fail(LineOf(v), key, WrongType(kTypeText));
      std::vector<uint8_t> bytes;
      bool hex = true;
      std::string_view rest = *s;
      while (hex) {
        while (!rest.empty() && rest.front() == ' ') rest.remove_prefix(1);
        if (rest.empty()) break;
        hex = rest.size() >= 2 && std::isxdigit(static_cast<unsigned char>(rest[0])) &&
              std::isxdigit(static_cast<unsigned char>(rest[1])) &&
              (rest.size() == 2 || rest[2] == ' ');
        if (hex)
          bytes.push_back(
              static_cast<uint8_t>(std::stoi(std::string(rest.substr(0, 2)), nullptr, 16)));
        rest.remove_prefix(std::min<size_t>(rest.size(), 2));
      }
      if (!hex || bytes.size() != kRowSize)
        fail(LineOf(v), key, QM_TR("应为16个十六进制字节，以空格分开"));
      std::copy(bytes.begin(), bytes.end(), into.begin() + static_cast<std::ptrdiff_t>(address));
    }
  }

  // The records of an array of tables, each named by its number once.
  void channels(const toml::table& top, const char* key, int count, uint16_t base, Image& image,
                const Ctx& ctx) {
    const toml::node* n = top.get(key);
    if (!n) fail(1, key, QM_TR("缺少这个表"));
    const toml::array* a = n->as_array();
    if (!a || !a->is_array_of_tables()) fail(LineOf(*n), key, WrongType(QM_TR("表的数组")));
    const Record<Channel> kind = ChannelRecordKind();
    std::set<int64_t> seen;
    for (const toml::node& e : *a) {
      const toml::table& t = *e.as_table();
      const toml::node* num = t.get("channel");
      const std::string where = key;
      if (!num) fail(LineOf(e), where + ".channel", QM_TR("缺少这个键"));
      auto c = num->value_exact<int64_t>();
      if (!c) fail(LineOf(*num), where + ".channel", WrongType(kTypeInt));
      if (*c < 1 || *c > count) fail(LineOf(*num), where + ".channel", RangeText(1, count));
      if (!seen.insert(*c).second)
        fail(LineOf(*num), where + ".channel", Fill(QM_TR("信道%1重复"), {std::to_string(*c)}));
      const std::string path = where + "[" + std::to_string(*c) + "]";
      record<Channel>(kind, t, path, LineOf(e), image.row(base + 16 * static_cast<size_t>(*c - 1)),
                      [&ctx](const Channel& ch) { return ChannelCtx(ctx, ch); }, {"channel"});
    }
    for (int c = 1; c <= count; ++c) {
      if (!seen.count(c)) fail(LineOf(*n), key, Fill(QM_TR("缺少信道%1"), {std::to_string(c)}));
    }
  }

  [[noreturn]] void fail(int line, std::string key, std::string text) {
    throw Refusal{{line, std::move(key), std::move(text)}};
  }

  LoadedFile read(const toml::table& top) {
    knownKeys(top, "",
              {"file", "ident", "functions", "channel", "tune_channel", "tune_items", "embedded",
               "bytes", "spare"});
    LoadedFile out;
    const toml::table& file = table(top, "file", true, 1);
    knownKeys(file, "file", {"version"});
    const toml::node* version = file.get("version");
    if (!version) fail(LineOf(file), "file.version", QM_TR("缺少这个键"));
    auto v = version->value_exact<std::string>();
    if (!v || (*v != "2.0" && *v != "1.1"))
      fail(LineOf(*version), "file.version", Fill(QM_TR("应为“%1”或“%2”"), {"2.0", "1.1"}));
    out.imageVerMajor = *v == "2.0" ? 2 : 0;

    // Rows first: what the records carry and the uninterpreted areas.
    rows(table(top, "bytes", false, 1), "bytes", out.image.bytes());
    rows(table(top, "spare", false, 1), "spare", out.spare);

    const auto noCtx = [this](const auto&) { return Ctx{app_, 0}; };
    const toml::table& ident = table(top, "ident", true, 1);
    record<Ident>(BlockKind<Ident, DecodeIdent, EncodeIdent>(IdentRules()), ident, "ident",
                  LineOf(ident), out.image.ident(), noCtx);
    const uint8_t code = out.image.modelCode();
    const AppState chosen = ModelChosen(app_, code);
    const Ctx ctx{chosen, code};
    const toml::table& fn = table(top, "functions", true, 1);
    record<Functions>(BlockKind<Functions, DecodeFunctions, EncodeFunctions>(FunctionRules()), fn,
                      "functions", LineOf(fn), out.image.functions(), noCtx);
    channels(top, "channel", kChannelCount, addr::kChannels, out.image, ctx);
    channels(top, "tune_channel", kTuneChannelCount, addr::kTuneChannels, out.image, ctx);
    const toml::table& tune = table(top, "tune_items", true, 1);
    record<TuneItemValues>(
        BlockKind<TuneItemValues, DecodeTuneItemValues, EncodeTuneItemValues>(TuneValueRules()),
        tune, "tune_items", LineOf(tune), out.image.tuneItems(), noCtx);

    const toml::table& embedded = table(top, "embedded", false, 1);
    knownKeys(embedded, "embedded", {"text", "write_date", "radio_id"});
    for (auto&& [k, node] : embedded) {
      const std::string key = Join("embedded", k.str());
      std::optional<FormValue> value = ValueOf(node);
      if (!value) fail(LineOf(node), key, WrongType(kTypeText));
      std::string e;
      if (k.str() == "text")
        e = ParseEmbedText(*value, out.image);
      else
        e = ParseRowText(*value, k.str() == "write_date",
                         k.str() == "write_date" ? out.image.writeDate() : out.image.radioId());
      if (!e.empty()) fail(LineOf(node), key, e);
    }
    out.status = LoadStatus::Ok;
    return out;
  }

 private:
  const AppState& app_;
};

// The key written on a line, under the name of its table ("ident.identity"), for a fault
// found before the TOML is parsed.
std::string KeyOnLine(std::string_view line, const std::string& table) {
  auto trim = [](std::string_view v) {
    while (!v.empty() && (v.front() == ' ' || v.front() == '\t' || v.front() == '['))
      v.remove_prefix(1);
    while (!v.empty() && (v.back() == ' ' || v.back() == ']' || v.back() == '\r'))
      v.remove_suffix(1);
    return std::string(v);
  };
  if (line.starts_with("[")) return {};
  std::string key = trim(line.substr(0, std::min(line.find('='), line.size())));
  if (!IsValidUtf8(key) || !PrintableAscii(key)) return {};
  return table.empty() || key.empty() ? key : table + "." + key;
}

// The name of the last table header ("[ident]", "[[channel]]") before `offset`.
std::string TableBefore(std::string_view text, size_t offset) {
  std::string table;
  for (size_t start = 0; start < offset;) {
    size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view l = text.substr(start, end - start);
    if (l.starts_with("[")) {
      while (!l.empty() && l.front() == '[') l.remove_prefix(1);
      table = std::string(l.substr(0, std::min(l.find(']'), l.size())));
    }
    start = end + 1;
  }
  return table;
}

// The text as the TOML reader is given it. Not UTF-8 is refused by line. toml++ 3.3 takes a
// character for whitespace through a lookup that runs into undefined behaviour for many
// letters (U+00A1-U+0499 among them) where the grammar allows whitespace: outside quotes and
// after a backslash in a multi-line string. Such a character outside quotes is an error in
// any case and is refused here; inside a multi-line basic string every non-ASCII character
// becomes its \u escape, which means the same and keeps the lines.
std::variant<std::string, TextFormError> Prepared(std::string_view text) {
  enum class In : uint8_t { Normal, Comment, Basic, Literal, MultiBasic, MultiLiteral };
  In in = In::Normal;
  std::string out;
  out.reserve(text.size());
  int line = 1;
  size_t lineStart = 0;
  auto lineText = [&] {
    const size_t end = text.find('\n', lineStart);
    return text.substr(lineStart, (end == std::string_view::npos ? text.size() : end) - lineStart);
  };
  // The first line that is not UTF-8.
  for (size_t start = 0, n = 1; start <= text.size(); ++n) {
    size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view l = text.substr(start, end - start);
    if (!IsValidUtf8(l)) {
      return TextFormError{static_cast<int>(n), KeyOnLine(l, TableBefore(text, start)),
                           QM_TR("不是UTF-8文字")};
    }
    if (HoldsStandIn(l)) {
      char last[8];
      std::snprintf(last, sizeof last, "%04X", static_cast<unsigned>(StandInEnd() - 1));
      return TextFormError{static_cast<int>(n), KeyOnLine(l, TableBefore(text, start)),
                           Fill(QM_TR("不能使用私用区字符U+E000到U+%1"), {last})};
    }
    start = end + 1;
  }
  auto quotes = [&](size_t at, char q) {
    size_t n = 0;
    while (at + n < text.size() && text[at + n] == q) ++n;
    return n;
  };
  for (size_t i = 0; i < text.size();) {
    const char c = text[i];
    const auto u = static_cast<unsigned char>(c);
    if (c == '\n') {
      out += c;
      ++i;
      ++line;
      lineStart = i;
      if (in == In::Comment || in == In::Basic || in == In::Literal) in = In::Normal;
      continue;
    }
    switch (in) {
      case In::Normal:
        if (u >= 0x80)
          return TextFormError{line, KeyOnLine(lineText(), TableBefore(text, lineStart)),
                               QM_TR("引号之外只能用ASCII字符")};
        if (c == '#') {
          in = In::Comment;
        } else if (c == '"' || c == '\'') {
          const size_t n = quotes(i, c);
          const bool multi = n >= 3;
          in = c == '"' ? (multi ? In::MultiBasic : In::Basic)
                        : (multi ? In::MultiLiteral : In::Literal);
          if (n == 2) in = In::Normal;  // an empty string
          const size_t take = multi ? 3 : std::min<size_t>(n, 2);
          out.append(text.substr(i, take));
          i += take;
          continue;
        }
        break;
      case In::Basic:
        if (c == '\\' && i + 1 < text.size() && text[i + 1] != '\n') {
          out.append(text.substr(i, 2));
          i += 2;
          continue;
        }
        if (c == '"') in = In::Normal;
        break;
      case In::Literal:
        if (c == '\'') in = In::Normal;
        break;
      case In::Comment:
        break;
      case In::MultiBasic:
      case In::MultiLiteral: {
        const char q = in == In::MultiBasic ? '"' : '\'';
        if (c == q && quotes(i, q) >= 3) {
          // Up to two quotes of the content may stand before the closing three.
          const size_t n = std::min<size_t>(quotes(i, q), 5);
          out.append(text.substr(i, n));
          i += n;
          in = In::Normal;
          continue;
        }
        if (in == In::MultiBasic && c == '\\' && i + 1 < text.size() && text[i + 1] != '\n') {
          out.append(text.substr(i, 2));  // an escaped quote does not end the string
          i += 2;
          continue;
        }
        break;
      }
    }
    out += c;
    ++i;
  }
  return Swapped(out, true);
}

}  // namespace

TextFormLoad ParseTextForm(std::string_view text, const AppState& app) {
  TextFormLoad out;
  out.file.status = LoadStatus::Damaged;
  std::variant<std::string, TextFormError> prepared = Prepared(text);
  if (auto* bad = std::get_if<TextFormError>(&prepared)) {
    out.error = *bad;
    return out;
  }
  toml::parse_result parsed = toml::parse(std::get<std::string>(prepared));
  if (!parsed) {
    out.error = {static_cast<int>(parsed.error().source().begin.line), "",
                 Fill(QM_TR("不是TOML文字：%1"), {Swapped(parsed.error().description(), false)})};
    return out;
  }
  try {
    Reader reader(app);
    out.file = reader.read(parsed.table());
  } catch (const Refusal& r) {
    out.error = r.error;
    out.file = LoadedFile{};
    out.file.status = LoadStatus::Damaged;
  }
  return out;
}

Message TextFormMessage(const TextFormError& e) {
  const std::string line = std::to_string(e.line);
  std::string text = e.key.empty() ? Fill(QM_TR("第%1行：%2"), {line, e.text})
                                   : Fill(QM_TR("第%1行，%2：%3"), {line, e.key, e.text});
  return Message{QM_TR("文件错误"), text, Icon::Information, Buttons::Ok};
}

AnyLoad LoadAnyDataFile(const std::string& path, const Image& current,
                        const SpareBlock& currentSpare, const AppState& app) {
  AnyLoad out;
  if (!IsTextFormName(path)) {
    out.file = LoadDataFileFrom(path, current, currentSpare);
    out.message = LoadStatusMessage(out.file.status);
    return out;
  }
  out.file.status = LoadStatus::NotFound;
  const std::string name = PathToUtf8(PathFromUtf8(path).filename());
  // A text form is some 8 kB; far more is not one.
  constexpr size_t kLimit = size_t{1} << 20;
  FileBytes f = name.empty() || name.front() == '.' ? FileBytes{} : ReadFileBytes(path, kLimit + 1);
  if (f.status == ReadStatus::Ok && f.bytes.size() > kLimit) {
    out.file.status = LoadStatus::Damaged;
    out.message = TextFormMessage({1, "", QM_TR("文件太大，不是文本形式的数据文件")});
    return out;
  }
  if (f.status != ReadStatus::Ok) {
    if (f.status == ReadStatus::Unreadable) out.file.status = LoadStatus::Damaged;
    out.message = LoadStatusMessage(out.file.status);
    return out;
  }
  TextFormLoad t = ParseTextForm(
      std::string_view(reinterpret_cast<const char*>(f.bytes.data()), f.bytes.size()), app);
  out.file = t.file;
  out.message = t.file.status == LoadStatus::Ok ? Message{} : TextFormMessage(t.error);
  return out;
}

std::vector<uint8_t> SerializeAnyDataFile(const std::string& path, const Image& image,
                                          const SpareBlock& spare, int16_t imageVerMajor,
                                          const AppState& app) {
  if (!IsTextFormName(path)) return SerializeDataFile(image, spare, IsLegacyName(path));
  const std::string text = WriteTextForm(image, spare, imageVerMajor, app);
  return {text.begin(), text.end()};
}

}  // namespace qm
