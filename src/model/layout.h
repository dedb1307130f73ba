// The records of the memory image declared once: every field's name, byte, bits and
// encoding, and the neutral values decoded from them. Nothing outside this file and
// layout.cpp takes a record's bytes apart; everything else works on Channel, Functions,
// Ident and TuneItemValues, and encodes them back through the same declaration. The bits
// a record's declaration does not name are carried through a decode and an encode, so an
// encoded decode is the record's 16 bytes again, whatever they held.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "model/image.h"

namespace qm {

// How a field's bits are read.
enum class Encoding : uint8_t {
  Frequency,  // 18-bit step count (bits 17-0) with its step-unit bit (bit 18)
  Signal,     // signalling type nibble (bits 3-0) and its 16-bit code (bits 19-4)
  Flag,       // one bit
  Number,     // a plain number
  Bcd,        // two decimal digits, one in each nibble
  Position,   // a list position (or a list position plus one)
  Text,       // ASCII characters, first character in the lowest byte
};

struct FieldDecl {
  const char* name;  // language-neutral key
  uint8_t byte;      // the byte of the field's lowest bit
  uint8_t bit;       // the lowest bit within that byte
  uint8_t width;     // bits, running on into the following bytes
  Encoding encoding;
};

// The field's bits as a number (lowest bit first) and back; other bits stay.
uint64_t ReadField(ConstRow record, const FieldDecl& field);
void WriteField(Row record, const FieldDecl& field, uint64_t value);
// The bits of a record that a declaration names.
using RecordMask = std::array<uint8_t, kRowSize>;
using RecordBytes = std::array<uint8_t, kRowSize>;
RecordMask MaskOf(const FieldDecl& field);
// The two parts of a frequency field: its 18-bit count and its step-unit bit.
FieldDecl CountPart(const FieldDecl& frequency);
FieldDecl StepUnitPart(const FieldDecl& frequency);

// ---- the channel record (channel area and tune channel table alike) ----

enum class ChannelField : uint8_t {
  Rx,
  InUse,
  RxSignal,
  Tx,
  TxAllowed,
  TxSignal,
  Bandwidth,
  BusyLock,
  Scan,
  Power,
  PresetChannel,
  PresetSignal,
};
inline constexpr size_t kChannelFieldCount = 12;
extern const std::array<FieldDecl, kChannelFieldCount> kChannelFields;
const FieldDecl& Decl(ChannelField f);

// A frequency field: the step unit is part of the value, so a count in 5 kHz units that is
// also a multiple of 6.25 kHz keeps its unit.
struct Frequency {
  int64_t hz = 0;
  bool step625 = false;  // the step unit: 6.25 kHz, else 5 kHz
  // The nearest the field can hold: counts past 18 bits end at the field's end.
  static Frequency Of(int64_t hz, bool step625);
  // The field's step count and the frequency of a count (the low 18 bits of it).
  int64_t count() const;
  static Frequency FromCount(int64_t count, bool step625);
  std::string text(char sep = '.') const;  // "000.00000" in MHz
  bool operator==(const Frequency&) const = default;
};
// The grid's reading of a frequency text on the raster that fits it best; a text that is not
// a number gives `keep`.
Frequency FreqFromText(std::string_view text, const Frequency& keep, char sep = '.');

enum class SignalKind : uint8_t { Off, Ctc, Dcs, DcsInverted, Tts };

// A signalling field as the radio holds it: the type nibble and its code word. A nibble
// the radio does not know is carried and shows as off.
struct Signal {
  uint8_t type = 0;   // 0 off, 3 CTCSS, 5 DCS, 7 inverted DCS, 8 TTS; others carried
  uint16_t code = 0;  // low byte first in the record
  SignalKind kind() const;
  uint8_t low() const { return static_cast<uint8_t>(code & 0xFF); }  // the TTS digit
  uint8_t high() const { return static_cast<uint8_t>(code >> 8); }
  std::string toneText() const;            // the CTCSS tone, "#00.0"
  std::string dcsText() const;             // the DCS code's three octal digits
  std::string text(char sep = '.') const;  // "OFF", "CTC 67.0", "DCS 023", "-DCS 754", "TTS 5"
  // The grid's reading of a signalling text; an unreadable text gives off and false.
  static Signal FromText(std::string_view text, bool& ok, char sep = '.');
  static Signal FromText(std::string_view text, char sep = '.');
  bool operator==(const Signal&) const = default;
};

enum class Bandwidth : uint8_t { Wide = 0, Narrow = 1 };
enum class Power : uint8_t { High = 0, Low = 1 };
enum class ScanList : uint8_t { Added = 0, Deleted = 1 };

struct Channel {
  Frequency rx;
  Signal rxSignal;
  Frequency tx;
  Signal txSignal;
  bool inUse = false;
  bool txAllowed = false;
  Bandwidth bandwidth = Bandwidth::Wide;
  bool busyLock = false;
  ScanList scan = ScanList::Added;
  Power power = Power::High;
  uint8_t presetChannel = 0;  // 1..8 on the fixed 446 MHz models
  uint8_t presetSignal = 0;   // 0 off, 1..38 CTCSS entry, 39 on DCS entry - 39
  RecordBytes carried{};      // the bits no field names, as read
  bool operator==(const Channel&) const = default;
};

Channel DecodeChannel(ConstRow record);
void EncodeChannel(const Channel& channel, Row record);
RecordBytes EncodeChannel(const Channel& channel);

// ---- the function block ----

enum class FunctionField : uint8_t {
  ScanMode,
  Monitor,
  Revert,
  Priority,
  LookBack,
  PowerKey,
  PowerKeySpare,
  ScanHang,
  TxTimeout,
  Squelch,
  ManualMode,
  Bandwidth,
  BatterySave,
  KeyBeep,
  PreAlert,
  TotRekey,
  TotReset,
};
inline constexpr size_t kFunctionFieldCount = 17;
extern const std::array<FieldDecl, kFunctionFieldCount> kFunctionFields;
const FieldDecl& Decl(FunctionField f);

// A BCD byte as it is held, with its number when both nibbles are decimal digits.
struct Bcd {
  uint8_t raw = 0;
  std::optional<int> value() const;
  static Bcd Of(int v);  // 0..99, clamped
  bool operator==(const Bcd&) const = default;
};

inline constexpr uint8_t kTxTimeoutUnlimited = 0xFF;

struct Functions {
  uint8_t scanMode = 0;       // list position: off, carrier, time
  uint8_t monitor = 0;        // monitor mode by value (kMonitorModes)
  uint8_t revert = 0;         // revert channel, list position + 1
  Bcd priority;               // channel 1..15, 0 off
  Bcd lookBack;               // tenths of a second
  uint8_t powerKey = 0;       // list position
  uint8_t powerKeySpare = 0;  // the other bits of its byte, written as 0 by the editor
  Bcd scanHang;               // tenths of a second
  Bcd txTimeout;              // tens of seconds, or kTxTimeoutUnlimited
  uint8_t squelch = 0;
  bool manualMode = false;
  Bandwidth bandwidth = Bandwidth::Wide;
  bool batterySave = false;
  bool keyBeep = false;
  uint8_t preAlert = 0;  // seconds
  Bcd totRekey;          // seconds
  Bcd totReset;          // seconds
  RecordBytes carried{};
  bool operator==(const Functions&) const = default;
};

Functions DecodeFunctions(ConstRow block);
void EncodeFunctions(const Functions& functions, Row block);

// ---- the identification block ----

enum class IdentField : uint8_t { MinorVersion, Zero, ModelCode, Identity };
inline constexpr size_t kIdentFieldCount = 4;
extern const std::array<FieldDecl, kIdentFieldCount> kIdentFields;
const FieldDecl& Decl(IdentField f);

// "2174Q": the handshake identity in reverse order.
inline constexpr std::string_view kIdentityText = "2174Q";

struct Ident {
  uint8_t minorVersion = 0;
  uint8_t zero = 0;
  uint8_t modelCode = 0;
  std::string identity;  // five ASCII characters
  RecordBytes carried{};
  bool operator==(const Ident&) const = default;
};

Ident DecodeIdent(ConstRow block);
void EncodeIdent(const Ident& ident, Row block);

// ---- the tune item values ----

inline constexpr size_t kTuneValueCount = 7;
extern const std::array<FieldDecl, kTuneValueCount> kTuneValueFields;

struct TuneItemValues {
  std::array<uint8_t, kTuneValueCount> values{};  // item code - 1
  RecordBytes carried{};
  bool operator==(const TuneItemValues&) const = default;
};

TuneItemValues DecodeTuneItemValues(ConstRow block);
void EncodeTuneItemValues(const TuneItemValues& values, Row block);

}  // namespace qm
