#include "model/layout.h"

#include <algorithm>
#include <tuple>

#include "base/text_util.h"
#include "model/codecs.h"
#include "model/tune_items.h"

namespace qm {

uint64_t ReadField(ConstRow record, const FieldDecl& f) {
  uint64_t v = 0;
  for (int i = 0; i < f.width; ++i) {
    const int at = f.bit + i;
    const size_t byte = f.byte + static_cast<size_t>(at / 8);
    if ((record[byte] >> (at % 8)) & 1) v |= uint64_t{1} << i;
  }
  return v;
}

void WriteField(Row record, const FieldDecl& f, uint64_t value) {
  for (int i = 0; i < f.width; ++i) {
    const int at = f.bit + i;
    uint8_t& b = record[f.byte + static_cast<size_t>(at / 8)];
    const auto bit = static_cast<uint8_t>(1u << (at % 8));
    b = static_cast<uint8_t>(((value >> i) & 1) ? (b | bit) : (b & ~bit));
  }
}

RecordMask MaskOf(const FieldDecl& field) {
  RecordMask m{};
  WriteField(m, field, ~uint64_t{0});
  return m;
}

FieldDecl CountPart(const FieldDecl& f) { return {f.name, f.byte, f.bit, 18, Encoding::Number}; }

FieldDecl StepUnitPart(const FieldDecl& f) {
  const int at = f.bit + 18;
  return {f.name, static_cast<uint8_t>(f.byte + at / 8), static_cast<uint8_t>(at % 8), 1,
          Encoding::Flag};
}

namespace {

constexpr int64_t kStep625Hz = 6250;
constexpr int64_t kStep5Hz = 5000;
constexpr int64_t kMaxCount = 0x3FFFF;  // 18 bits

template <size_t N>
RecordMask MaskOf(const std::array<FieldDecl, N>& fields) {
  RecordBytes ones{};
  ones.fill(0);
  for (const FieldDecl& f : fields) WriteField(ones, f, ~uint64_t{0});
  return ones;
}

// Raw field value and the neutral member, both ways. One overload per member type; the
// binding of each member to its field is in the Visit functions below, once.
void FromRaw(uint64_t v, Frequency& m) {
  m.step625 = ((v >> 18) & 1) != 0;
  m.hz = static_cast<int64_t>(v & kMaxCount) * (m.step625 ? kStep625Hz : kStep5Hz);
}
uint64_t ToRaw(const Frequency& m) {
  const int64_t unit = m.step625 ? kStep625Hz : kStep5Hz;
  const int64_t count = std::clamp<int64_t>(m.hz / unit, 0, kMaxCount);
  return static_cast<uint64_t>(count) | (m.step625 ? uint64_t{1} << 18 : 0);
}
void FromRaw(uint64_t v, Signal& m) {
  m.type = static_cast<uint8_t>(v & 0x0F);
  m.code = static_cast<uint16_t>(v >> 4);
}
uint64_t ToRaw(const Signal& m) { return uint64_t{m.type & 0x0Fu} | (uint64_t{m.code} << 4); }
void FromRaw(uint64_t v, bool& m) { m = v != 0; }
uint64_t ToRaw(bool m) { return m ? 1 : 0; }
void FromRaw(uint64_t v, uint8_t& m) { m = static_cast<uint8_t>(v); }
uint64_t ToRaw(uint8_t m) { return m; }
void FromRaw(uint64_t v, Bcd& m) { m.raw = static_cast<uint8_t>(v); }
uint64_t ToRaw(const Bcd& m) { return m.raw; }
template <class E>
requires std::is_enum_v<E>
void FromRaw(uint64_t v, E& m) { m = static_cast<E>(v); }
template <class E>
requires std::is_enum_v<E> uint64_t ToRaw(E m) { return static_cast<uint64_t>(m); }
void FromRaw(uint64_t v, std::string& m) {
  m.clear();
  for (int i = 0; i < 5; ++i) m.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}
uint64_t ToRaw(const std::string& m) {
  uint64_t v = 0;
  for (size_t i = 0; i < 5 && i < m.size(); ++i)
    v |= uint64_t{static_cast<uint8_t>(m[i])} << (8 * i);
  return v;
}

// Each member of a neutral value bound to its field: the k-th member is the k-th field of
// the record's declaration.
constexpr auto kChannelMembers =
    std::tuple(&Channel::rx, &Channel::inUse, &Channel::rxSignal, &Channel::tx, &Channel::txAllowed,
               &Channel::txSignal, &Channel::bandwidth, &Channel::busyLock, &Channel::scan,
               &Channel::power, &Channel::presetChannel, &Channel::presetSignal);
constexpr auto kFunctionMembers = std::tuple(
    &Functions::scanMode, &Functions::monitor, &Functions::revert, &Functions::priority,
    &Functions::lookBack, &Functions::powerKey, &Functions::powerKeySpare, &Functions::scanHang,
    &Functions::txTimeout, &Functions::squelch, &Functions::manualMode, &Functions::bandwidth,
    &Functions::batterySave, &Functions::keyBeep, &Functions::preAlert, &Functions::totRekey,
    &Functions::totReset);
constexpr auto kIdentMembers =
    std::tuple(&Ident::minorVersion, &Ident::zero, &Ident::modelCode, &Ident::identity);
static_assert(std::tuple_size_v<decltype(kChannelMembers)> == kChannelFieldCount);
static_assert(std::tuple_size_v<decltype(kFunctionMembers)> == kFunctionFieldCount);
static_assert(std::tuple_size_v<decltype(kIdentMembers)> == kIdentFieldCount);

template <class C, class Members, class Op>
void VisitMembers(C& c, const Members& members, Op&& op) {
  size_t k = 0;
  std::apply([&](auto... member) { (op(k++, c.*member), ...); }, members);
}

template <class C, class Op>
void VisitTuneValues(C& c, Op&& op) {
  for (size_t i = 0; i < kTuneValueCount; ++i) op(i, c.values[i]);
}

template <class T, class Fields, class Visit>
T Decode(ConstRow bytes, const Fields& fields, Visit visit) {
  T out;
  const RecordMask mask = MaskOf(fields);
  for (size_t i = 0; i < kRowSize; ++i) out.carried[i] = static_cast<uint8_t>(bytes[i] & ~mask[i]);
  visit(out, [&](auto id, auto& member) {
    FromRaw(ReadField(bytes, fields[static_cast<size_t>(id)]), member);
  });
  return out;
}

template <class T, class Fields, class Visit>
void Encode(const T& value, Row bytes, const Fields& fields, Visit visit) {
  const RecordMask mask = MaskOf(fields);
  for (size_t i = 0; i < kRowSize; ++i)
    bytes[i] = static_cast<uint8_t>(value.carried[i] & ~mask[i]);
  visit(value, [&](auto id, const auto& member) {
    WriteField(bytes, fields[static_cast<size_t>(id)], ToRaw(member));
  });
}

constexpr auto kVisitChannel = [](auto& c, auto&& op) { VisitMembers(c, kChannelMembers, op); };
constexpr auto kVisitFunctions = [](auto& c, auto&& op) { VisitMembers(c, kFunctionMembers, op); };
constexpr auto kVisitIdent = [](auto& c, auto&& op) { VisitMembers(c, kIdentMembers, op); };
constexpr auto kVisitTuneValues = [](auto& c, auto&& op) { VisitTuneValues(c, op); };

}  // namespace

// Receive side in bytes 0-4, transmit side in bytes 5-9 with the same layout.
const std::array<FieldDecl, kChannelFieldCount> kChannelFields = {{
    {"rx", 0, 0, 19, Encoding::Frequency},
    {"in_use", 2, 3, 1, Encoding::Flag},
    {"rx_signal", 2, 4, 20, Encoding::Signal},
    {"tx", 5, 0, 19, Encoding::Frequency},
    {"tx_allowed", 7, 3, 1, Encoding::Flag},
    {"tx_signal", 7, 4, 20, Encoding::Signal},
    {"bandwidth", 10, 0, 1, Encoding::Flag},  // 1 narrow
    {"busy_lock", 10, 2, 1, Encoding::Flag},
    {"scan", 10, 4, 1, Encoding::Flag},   // 1 deleted from the scan list
    {"power", 10, 5, 1, Encoding::Flag},  // 1 low
    {"preset_channel", 14, 0, 8, Encoding::Number},
    {"preset_signal", 15, 0, 8, Encoding::Number},
}};

const std::array<FieldDecl, kFunctionFieldCount> kFunctionFields = {{
    {"scan_mode", 0, 3, 2, Encoding::Position},
    {"monitor", 0, 5, 3, Encoding::Position},
    {"revert", 1, 0, 3, Encoding::Position},  // position + 1
    {"priority", 2, 0, 8, Encoding::Bcd},
    {"look_back", 3, 0, 8, Encoding::Bcd},
    {"power_key", 4, 0, 2, Encoding::Position},
    {"power_key_spare", 4, 2, 6, Encoding::Number},
    {"scan_hang", 6, 0, 8, Encoding::Bcd},
    {"tx_timeout", 7, 0, 8, Encoding::Bcd},  // 0xFF unlimited
    {"squelch", 11, 0, 8, Encoding::Number},
    {"manual_mode", 12, 0, 1, Encoding::Flag},
    {"bandwidth", 12, 1, 1, Encoding::Flag},  // 1 narrow
    {"battery_save", 12, 3, 1, Encoding::Flag},
    {"key_beep", 12, 5, 1, Encoding::Flag},
    {"pre_alert", 13, 0, 8, Encoding::Number},
    {"tot_rekey", 14, 0, 8, Encoding::Bcd},
    {"tot_reset", 15, 0, 8, Encoding::Bcd},
}};

const std::array<FieldDecl, kIdentFieldCount> kIdentFields = {{
    {"minor_version", 0, 0, 8, Encoding::Number},
    {"zero", 1, 0, 8, Encoding::Number},
    {"model_code", 2, 0, 8, Encoding::Number},
    {"identity", 3, 0, 40, Encoding::Text},
}};

const std::array<FieldDecl, kTuneValueCount> kTuneValueFields = [] {
  std::array<FieldDecl, kTuneValueCount> out{};
  for (size_t i = 0; i < kTuneValueCount; ++i)
    out[i] = {kTuneItems[i].key, static_cast<uint8_t>(i), 0, 8, Encoding::Number};
  return out;
}();

const FieldDecl& Decl(ChannelField f) { return kChannelFields[static_cast<size_t>(f)]; }
const FieldDecl& Decl(FunctionField f) { return kFunctionFields[static_cast<size_t>(f)]; }
const FieldDecl& Decl(IdentField f) { return kIdentFields[static_cast<size_t>(f)]; }

Frequency Frequency::Of(int64_t hz, bool step625) {
  Frequency f;
  FromRaw(ToRaw(Frequency{hz, step625}), f);
  return f;
}

int64_t Frequency::count() const { return static_cast<int64_t>(ToRaw(*this) & kMaxCount); }

Frequency Frequency::FromCount(int64_t count, bool step625) {
  return Frequency{(count & kMaxCount) * (step625 ? kStep625Hz : kStep5Hz), step625};
}

Frequency FreqFromText(std::string_view text, const Frequency& keep, char sep) {
  const FieldDecl& field = Decl(ChannelField::Rx);
  RecordBytes r{};
  WriteField(r, field, ToRaw(keep));
  FreqTextToBytes(text, r[0], r[1], r[2], sep);
  Frequency out;
  FromRaw(ReadField(r, field), out);
  return out;
}

std::string Frequency::text(char sep) const {
  return FormatFreq(static_cast<double>(hz) / 1e6, sep);
}

SignalKind Signal::kind() const {
  switch (type) {
    case 0x3:
      return SignalKind::Ctc;
    case 0x5:
      return SignalKind::Dcs;
    case 0x7:
      return SignalKind::DcsInverted;
    case 0x8:
      return SignalKind::Tts;
    default:
      return SignalKind::Off;
  }
}

std::string Signal::text(char sep) const {
  return SignalBytesToText(static_cast<uint8_t>(type << 4), low(), high(), sep);
}

std::string Signal::toneText() const { return CtcBytesToText(low(), high()); }
std::string Signal::dcsText() const { return DcsBytesToText(low(), high()); }

Signal Signal::FromText(std::string_view text, bool& ok, char sep) {
  uint8_t t = 0;
  uint8_t lo = 0;
  uint8_t hi = 0;
  ok = SignalTextToBytes(text, t, lo, hi, sep) == 1;
  return Signal{static_cast<uint8_t>(t >> 4), static_cast<uint16_t>(lo | (hi << 8))};
}

Signal Signal::FromText(std::string_view text, char sep) {
  bool ok = false;
  return FromText(text, ok, sep);
}

Channel DecodeChannel(ConstRow record) {
  return Decode<Channel>(record, kChannelFields, kVisitChannel);
}
void EncodeChannel(const Channel& channel, Row record) {
  Encode(channel, record, kChannelFields, kVisitChannel);
}
RecordBytes EncodeChannel(const Channel& channel) {
  RecordBytes out{};
  EncodeChannel(channel, out);
  return out;
}

bool ChannelRecord::inUse() const { return DecodeChannel(b_).inUse; }
bool ChannelRecord::txAllowed() const { return DecodeChannel(b_).txAllowed; }
bool ChannelRecord::narrow() const { return DecodeChannel(b_).bandwidth == Bandwidth::Narrow; }
bool ChannelRecord::busyLock() const { return DecodeChannel(b_).busyLock; }
bool ChannelRecord::scanDeleted() const { return DecodeChannel(b_).scan == ScanList::Deleted; }
bool ChannelRecord::lowPower() const { return DecodeChannel(b_).power == Power::Low; }

uint8_t Image::modelCode() const { return DecodeIdent(ident()).modelCode; }

void Image::setModelCode(uint8_t code) {
  Ident id = DecodeIdent(ident());
  id.modelCode = code;
  EncodeIdent(id, ident());
}

std::optional<int> Bcd::value() const {
  const int hi = raw >> 4;
  const int lo = raw & 0x0F;
  if (hi > 9 || lo > 9) return std::nullopt;
  return hi * 10 + lo;
}

Bcd Bcd::Of(int v) {
  v = std::clamp(v, 0, 99);
  return Bcd{static_cast<uint8_t>(((v / 10) << 4) | (v % 10))};
}

Functions DecodeFunctions(ConstRow block) {
  return Decode<Functions>(block, kFunctionFields, kVisitFunctions);
}
void EncodeFunctions(const Functions& functions, Row block) {
  Encode(functions, block, kFunctionFields, kVisitFunctions);
}

Ident DecodeIdent(ConstRow block) { return Decode<Ident>(block, kIdentFields, kVisitIdent); }
void EncodeIdent(const Ident& ident, Row block) { Encode(ident, block, kIdentFields, kVisitIdent); }

TuneItemValues DecodeTuneItemValues(ConstRow block) {
  return Decode<TuneItemValues>(block, kTuneValueFields, kVisitTuneValues);
}
void EncodeTuneItemValues(const TuneItemValues& values, Row block) {
  Encode(values, block, kTuneValueFields, kVisitTuneValues);
}

}  // namespace qm
