// The tune mode exchange with the radio: entering (the two tune areas read block by block,
// then the radio switched into its tune state), beginning an item on a tune channel, trial
// values, ending an item with or without storing, writing the tune channel table and
// leaving. Each routine is linear over the link seams and reports its failures itself; the
// tune controller keeps the state between them.
//
// Every send-and-receive follows one pattern whose parameters are data (kTuneExchanges):
// optionally clear the buffers, wait, send, poll, retry, read, judge.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "model/image.h"
#include "model/tune_items.h"
#include "radio/link.h"
#include "tune/tune_state.h"

namespace qm {

// What tune mode sends and expects for each tune item, in the order of kTuneItems
// (model/tune_items.h; item code = index + 1).
struct TuneItemSpec {
  uint8_t command;  // first byte of its item frame
  std::array<uint8_t, 3> reply;
  size_t replyLength;  // the first replyLength bytes of `reply` are expected
  bool deviation;      // also sends the signalling frame when it begins
  bool narrow;         // also sends the narrow-band frame when it begins
};

inline constexpr std::array<TuneItemSpec, kTuneItemCount> kTuneItemSpecs = {{
    {0x42, {0x62, 0x4E, 0x06}, 3, false, false},  // Battery
    {0x4D, {0x47, 0x00, 0x06}, 3, false, false},  // SqlTight
    {0x6D, {0x47, 0x00, 0x06}, 3, false, false},  // SqlOpen
    {0x51, {0x06, 0, 0}, 1, true, false},         // CTCDevW
    {0x44, {0x06, 0, 0}, 1, true, false},         // DCSDevW
    {0x51, {0x06, 0, 0}, 1, true, true},          // CTCDevN
    {0x44, {0x06, 0, 0}, 1, true, true},          // DCSDevN
}};

// Frame bytes of tune mode.
namespace tuneframe {
inline constexpr std::array<uint8_t, 7> kSwitchOn = {'N', 'R', 'V', 'T', 'U', 'N', 'E'};
inline constexpr uint8_t kChannelSelect = 0x43;    // 'C', channel 1..11
inline constexpr uint8_t kSignalling = 0x53;       // 'S', kind, code byte 1, code byte 2
inline constexpr uint8_t kNarrowBand = 0x6E;       // 'n'
inline constexpr uint8_t kApply = 0x01;            // item mode: apply without storing
inline constexpr uint8_t kStore = 0x02;            // item mode: store
inline constexpr uint16_t kLeaveEntered = 0x02F0;  // leave read after entering
inline constexpr uint16_t kLeaveClosed = 0x02F8;   // leave read after an item was closed
}  // namespace tuneframe

// How a reply is judged.
enum class TuneCheck {
  None,         // not examined
  Ack,          // byte 0 is 0x06
  ReadReply,    // at least 12 bytes and byte 0 is 0x57
  ItemPrefix,   // at least L bytes, the first L are the item's reply
  ItemExact,    // exactly the L bytes of the item's reply
  EchoAddress,  // at least 12 bytes, bytes 1-3 repeat bytes 1-3 of the request
};

enum class TuneClear { None, Output, Both };

// The parameters of one kind of exchange.
struct TuneExchangeSpec {
  TuneClear clear = TuneClear::None;
  int before = 0;      // wait before sending
  int beforeMore = 0;  // a second wait before sending
  int polls = 0;
  int interval = 0;    // wait of each poll before it looks
  int missWait = 0;    // further wait after a poll that did not stop (the "+5")
  size_t length = 1;   // bytes that stop the polling; 0 = the item's reply length
  int attempts = 1;    // another attempt while fewer than `length` bytes arrived
  int afterPolls = 0;  // wait between the polling and the reading
  bool clearOutputAfter = false;
  TuneCheck check = TuneCheck::Ack;
};

enum class TuneExchangeKind {
  EntryRead,
  EntryAck,
  EntrySwitchOn,
  BeginChannel,
  BeginSignalling,
  BeginNarrow,
  BeginItem,
  Trial,
  EndItem,
  EndChannel,
  WriteBlock,
  WriteSwitchOn,
  LeaveRead,
  LeaveAck,
};
inline constexpr size_t kTuneExchangeKinds = 14;

inline constexpr std::array<TuneExchangeSpec, kTuneExchangeKinds> kTuneExchanges = {{
    // clear, before, more, polls, interval, miss, L, attempts, after, clearOut, check
    {TuneClear::Output, 30, 0, 61, 20, 0, 12, 1, 0, false, TuneCheck::ReadReply},  // EntryRead
    {TuneClear::None, 30, 0, 41, 20, 0, 1, 1, 0, false, TuneCheck::Ack},           // EntryAck
    {TuneClear::None, 30, 0, 41, 20, 0, 1, 1, 20, false, TuneCheck::Ack},          // EntrySwitchOn
    {TuneClear::Both, 80, 0, 21, 20, 5, 1, 3, 0, false, TuneCheck::Ack},           // BeginChannel
    {TuneClear::None, 40, 0, 21, 10, 5, 1, 1, 0, false, TuneCheck::None},        // BeginSignalling
    {TuneClear::None, 30, 0, 21, 20, 5, 1, 1, 0, false, TuneCheck::Ack},         // BeginNarrow
    {TuneClear::None, 80, 0, 41, 10, 0, 0, 1, 0, false, TuneCheck::ItemPrefix},  // BeginItem
    {TuneClear::Both, 80, 0, 61, 20, 5, 0, 3, 0, false, TuneCheck::ItemExact},   // Trial
    {TuneClear::None, 20, 0, 60, 20, 5, 0, 1, 0, false, TuneCheck::ItemPrefix},  // EndItem
    {TuneClear::Both, 80, 0, 61, 20, 5, 1, 3, 0, false, TuneCheck::Ack},         // EndChannel
    {TuneClear::None, 30, 0, 41, 10, 0, 1, 1, 0, true, TuneCheck::Ack},          // WriteBlock
    {TuneClear::None, 30, 0, 41, 20, 0, 1, 1, 20, false, TuneCheck::None},       // WriteSwitchOn
    {TuneClear::Both, 80, 0, 41, 20, 5, 12, 3, 0, false, TuneCheck::EchoAddress},  // LeaveRead
    {TuneClear::None, 60, 20, 61, 20, 5, 1, 1, 0, false, TuneCheck::Ack},          // LeaveAck
}};

inline const TuneExchangeSpec& TuneExchangeOf(TuneExchangeKind kind) {
  return kTuneExchanges[static_cast<size_t>(kind)];
}

struct TuneReply {
  std::vector<uint8_t> bytes;
  bool ok = false;  // the success test of the exchange passed
};

// One exchange as the table describes it. `item` (0..6) supplies the reply length and the
// expected bytes of the item checks; it is ignored elsewhere.
TuneReply RunTuneExchange(LinkContext& ctx, TuneExchangeKind kind, std::span<const uint8_t> frame,
                          int item = 0);
// The success test alone.
bool TuneReplyPasses(TuneCheck check, std::span<const uint8_t> reply,
                     std::span<const uint8_t> request, int item);

// ---- frames ----
std::array<uint8_t, 2> ChannelSelectFrame(int channel);
// The signalling frame of a tune channel record: the kind from byte 7's high nibble (0x2_
// or 0x3_ CTC gives 0x20, 0x4_/0x5_ gives 0x40, 0x6_/0x7_ gives 0x50) with code bytes 8 and
// 9; any other kind sends 53 00 00 00.
std::array<uint8_t, 4> SignallingFrame(ConstRow record);
std::array<uint8_t, 3> ItemFrame(int item, uint8_t value, uint8_t mode);
std::array<uint8_t, 4> TuneReadRequest(uint16_t address);

// Stores an entry read reply by the address it names: a row of the tune channel table or
// the tune item values; any other address stores nothing. Only bytes present in the reply
// and inside the addressed row are copied. Returns whether anything was stored.
bool StoreTuneReply(std::span<const uint8_t> reply, Image& image);

// ---- the routines ----
enum class TuneEntryStatus {
  NotStarted,   // the handshake failed; its message has been shown
  Interrupted,  // "调测错误" / "调测中断，请重新进入！"
  DataError,    // "调测错误" / "调测错误，请重试！"
  Cancelled,    // Cancel in the progress window: the radio was told "END", the image restored
  Entered,
};
struct TuneEntryResult {
  TuneEntryStatus status = TuneEntryStatus::NotStarted;
  HandshakeResult handshake;
  bool entered() const { return status == TuneEntryStatus::Entered; }
};

// Handshake, the 24 reads (tune channel table 0x100-0x1AF and tune item values
// 0x2F0-0x2FF, each stored where its reply says), acknowledge and NRVTUNE, with the
// progress window "正在进入调测模式，请等待....." / "读取". The tune areas keep what was read
// when the entry fails part-way. The port is closed at the end in every case.
TuneEntryResult EnterTuneMode(LinkContext& ctx, Image& image, int16_t& imageVerMajor);

// The radio part of beginning item `item` (0..6) on `channel` (1..11): the port is opened,
// the channel selected (three attempts), the signalling and narrow-band frames sent where the
// item needs them, and the stored value applied. The port stays open. 1 = success.
int16_t BeginTuneItem(LinkContext& ctx, const Image& image, int item, int channel);

// A trial value on the open port (item code 1..7; other codes do nothing and succeed). On
// failure shows "调测错误" / "连接中断，请重试！" and returns false.
bool SendTuneAdjust(LinkContext& ctx, int code, uint8_t value);

// Ends item `item` with `value`: stored (mode 0x02) or discarded (0x01), then the channel
// select. The channel is not selected when the item frame failed. 1 = success.
int16_t EndTuneItem(LinkContext& ctx, int item, int channel, uint8_t value, bool store);

// Writes the tune channel table (0x100-0x1AF, already packed into `image`) after a
// handshake, then switches the radio back on with NRVTUNE. Whatever stops the write after its
// first greeting byte (the handshake, a refused block) ends with NRVTUNE as well, before the
// message: the radio is then back in its tune state, as after a complete write. 1 = written.
// The port is closed at the end.
int16_t WriteTuneData(LinkContext& ctx, Image& image, int16_t& imageVerMajor);

// NRVTUNE on the open port, its reply read and not examined: a radio in a programming session
// goes back into its tune state. The switch-on of an operation begun in the tune view
// (TuneReturn::switchOn).
void SwitchTuneOn(LinkContext& ctx);

// The leave frames for TuneState 1 or 3: the read of 0x2F0 (1) or 0x2F8 (3) and its
// acknowledge. Opens the port first and closes it at the end. True when acknowledged.
bool SendTuneLeave(LinkContext& ctx, TuneState tuneState);

}  // namespace qm
