#include "tune/tune_protocol.h"

#include <algorithm>

#include "base/tr.h"
#include "model/layout.h"

namespace qm {

namespace {

constexpr int kEntryBlocks = 24;
constexpr int kEntryTableBlocks = 22;
constexpr int kEntryProgressStep = 30;
constexpr int kEntryProgressMax = 690;
constexpr int kWriteBlocks = 22;
constexpr int kWriteProgressStep = 50;
constexpr int kWriteProgressMax = 1050;

const TuneItemSpec* ItemSpec(int item) {
  if (item < 0 || item >= kTuneItemCount) return nullptr;
  return &kTuneItemSpecs[static_cast<size_t>(item)];
}

void LinkLost(LinkContext& ctx) {
  Notify(ctx.prompter, QM_TR("调测错误"), QM_TR("连接中断，请重试！"), Icon::Exclamation);
}

}  // namespace

bool TuneReplyPasses(TuneCheck check, std::span<const uint8_t> reply,
                     std::span<const uint8_t> request, int item) {
  switch (check) {
    case TuneCheck::None:
      return true;
    case TuneCheck::Ack:
      return !reply.empty() && reply[0] == frame::kAck;
    case TuneCheck::ReadReply:
      return reply.size() >= frame::kReadReplySize && reply[0] == frame::kWrite;
    case TuneCheck::ItemPrefix:
    case TuneCheck::ItemExact: {
      const TuneItemSpec* info = ItemSpec(item);
      if (info == nullptr) return false;
      const size_t n = info->replyLength;
      if (reply.size() < n || (check == TuneCheck::ItemExact && reply.size() != n)) return false;
      return std::equal(info->reply.begin(), info->reply.begin() + static_cast<ptrdiff_t>(n),
                        reply.begin());
    }
    case TuneCheck::EchoAddress:
      return reply.size() >= frame::kReadReplySize && request.size() >= 4 &&
             std::equal(request.begin() + 1, request.begin() + 4, reply.begin() + 1);
  }
  return false;
}

TuneReply RunTuneExchange(LinkContext& ctx, TuneExchangeKind kind, std::span<const uint8_t> frame,
                          int item) {
  const TuneExchangeSpec& ex = TuneExchangeOf(kind);
  size_t need = ex.length;
  if (need == 0) {
    const TuneItemSpec* s = ItemSpec(item);
    need = s != nullptr ? s->replyLength : 1;
  }

  for (int attempt = 0; attempt < std::max(ex.attempts, 1); ++attempt) {
    if (ex.clear != TuneClear::None) ctx.port.clearOutput();
    if (ex.clear == TuneClear::Both) ctx.port.clearInput();
    ctx.clock.delayMs(ex.before);
    ctx.clock.delayMs(ex.beforeMore);
    // A port that refuses the bytes gets no reply: the polls run out as with a silent radio.
    const bool sent = SendBytes(ctx, frame);
    bool enough = false;
    for (int p = 0; p < ex.polls; ++p) {
      ctx.clock.delayMs(ex.interval);
      if (sent && ctx.port.inCount() >= need) {
        enough = true;
        break;
      }
      ctx.clock.delayMs(ex.missWait);
    }
    if (enough) break;
  }
  ctx.clock.delayMs(ex.afterPolls);

  TuneReply r;
  r.bytes = ctx.port.readAll();
  ctx.port.clearInput();
  if (ex.clearOutputAfter) ctx.port.clearOutput();
  r.ok = TuneReplyPasses(ex.check, r.bytes, frame, item);
  return r;
}

std::array<uint8_t, 2> ChannelSelectFrame(int channel) {
  return {tuneframe::kChannelSelect, static_cast<uint8_t>(channel)};
}

std::array<uint8_t, 4> SignallingFrame(ConstRow record) {
  const Signal tx = DecodeChannel(record).txSignal;
  uint8_t kind = 0;
  // The radio takes the type nibble's pair: 2-3 tone, 4-5 code, 6-7 inverted code.
  switch (tx.type) {
    case 0x2:
    case 0x3:
      kind = 0x20;
      break;
    case 0x4:
    case 0x5:
      kind = 0x40;
      break;
    case 0x6:
    case 0x7:
      kind = 0x50;
      break;
    default:
      return {tuneframe::kSignalling, 0x00, 0x00, 0x00};
  }
  return {tuneframe::kSignalling, kind, static_cast<uint8_t>(tx.code & 0xFF),
          static_cast<uint8_t>(tx.code >> 8)};
}

std::array<uint8_t, 3> ItemFrame(int item, uint8_t value, uint8_t mode) {
  const TuneItemSpec* info = ItemSpec(item);
  return {info != nullptr ? info->command : uint8_t{0}, value, mode};
}

std::array<uint8_t, 4> TuneReadRequest(uint16_t address) {
  return {frame::kRead, static_cast<uint8_t>(address >> 8), static_cast<uint8_t>(address & 0xFF),
          frame::kBlockSize};
}

bool StoreTuneReply(std::span<const uint8_t> reply, Image& image) {
  if (reply.size() < 4) return false;
  const uint8_t page = reply[1];
  const uint8_t low = reply[2];
  size_t address = 0;
  if (page == 0x01 && low < 0xB0) {
    address = addr::kTuneChannels + low;
  } else if (page == 0x02 && low >= 0xF0) {
    address = addr::kTuneItems + (low & 0x0F);
  } else {
    return false;
  }
  // A reply may announce more bytes than it carries or than its row holds: copy only the
  // bytes that are there, and only into the addressed row.
  const size_t column = low & 0x0F;
  const size_t count =
      std::min({static_cast<size_t>(reply[3]), reply.size() - 4, kRowSize - column});
  for (size_t i = 0; i < count; ++i) image[address + i] = reply[4 + i];
  return count > 0;
}

TuneEntryResult EnterTuneMode(LinkContext& ctx, Image& image, int16_t& imageVerMajor) {
  PortCloser closer(ctx);
  TuneEntryResult result;
  // What a cancelled entry gives back: the document as it was.
  const Image before = image;
  const int16_t verBefore = imageVerMajor;
  result.handshake = EnterProgramMode(ctx, imageVerMajor, image);
  if (!ReactToProgramMode(ctx, result.handshake)) return result;

  ctx.progress.open(QM_TR("正在进入调测模式，请等待....."), QM_TR("读取"), kEntryProgressMax, true);
  const auto fail = [&](TuneEntryStatus status, const char* text) {
    ctx.progress.close();
    Notify(ctx.prompter, QM_TR("调测错误"), text, Icon::Exclamation);
    result.status = status;
    return result;
  };

  for (int i = 0; i < kEntryBlocks; ++i) {
    const int address = i < kEntryTableBlocks ? addr::kTuneChannels + 8 * i
                                              : addr::kTuneItems + 8 * (i - kEntryTableBlocks);
    const auto request = TuneReadRequest(static_cast<uint16_t>(address));
    const TuneReply r = RunTuneExchange(ctx, TuneExchangeKind::EntryRead, request);
    if (r.bytes.size() < frame::kReadReplySize) {
      return fail(TuneEntryStatus::Interrupted, QM_TR("调测中断，请重新进入！"));
    }
    if (r.bytes[0] != frame::kWrite)
      return fail(TuneEntryStatus::DataError, QM_TR("调测错误，请重试！"));
    StoreTuneReply(r.bytes, image);
    ctx.progress.show(kEntryProgressStep * i);
    if (ctx.progress.cancelRequested()) {
      // After the current frame: the radio leaves programming mode before its tune state.
      ExitProgramMode(ctx);
      ctx.progress.close();
      image = before;
      imageVerMajor = verBefore;
      result.status = TuneEntryStatus::Cancelled;
      return result;
    }
  }

  const std::array<uint8_t, 1> ack{frame::kAck};
  if (!RunTuneExchange(ctx, TuneExchangeKind::EntryAck, ack).ok ||
      !RunTuneExchange(ctx, TuneExchangeKind::EntrySwitchOn, tuneframe::kSwitchOn).ok) {
    return fail(TuneEntryStatus::Interrupted, QM_TR("调测中断，请重新进入！"));
  }

  ctx.progress.change();
  ctx.clock.delayMs(20);
  ctx.progress.close();
  result.status = TuneEntryStatus::Entered;
  return result;
}

int16_t BeginTuneItem(LinkContext& ctx, const Image& image, int item, int channel) {
  const TuneItemSpec* info = ItemSpec(item);
  if (info == nullptr || channel < 1 || channel > kTuneChannelCount) return 0;
  OpenCommPort(ctx);
  if (!RunTuneExchange(ctx, TuneExchangeKind::BeginChannel, ChannelSelectFrame(channel)).ok) {
    return 0;
  }
  if (info->deviation) {
    const ConstRow record = image.row(addr::kTuneChannels + 16 * (channel - 1));
    RunTuneExchange(ctx, TuneExchangeKind::BeginSignalling, SignallingFrame(record));
  }
  if (info->narrow) {
    const std::array<uint8_t, 1> narrow{tuneframe::kNarrowBand};
    if (!RunTuneExchange(ctx, TuneExchangeKind::BeginNarrow, narrow).ok) return 0;
  }
  const uint8_t stored = DecodeTuneItemValues(image.tuneItems()).values[static_cast<size_t>(item)];
  const auto f = ItemFrame(item, stored, tuneframe::kApply);
  return RunTuneExchange(ctx, TuneExchangeKind::BeginItem, f, item).ok ? 1 : 0;
}

bool SendTuneAdjust(LinkContext& ctx, int code, uint8_t value) {
  if (code < 1 || code > kTuneItemCount) return true;
  const int item = code - 1;
  const auto f = ItemFrame(item, value, tuneframe::kApply);
  if (RunTuneExchange(ctx, TuneExchangeKind::Trial, f, item).ok) return true;
  LinkLost(ctx);
  return false;
}

int16_t EndTuneItem(LinkContext& ctx, int item, int channel, uint8_t value, bool store) {
  if (ItemSpec(item) == nullptr) return 0;
  const auto f = ItemFrame(item, value, store ? tuneframe::kStore : tuneframe::kApply);
  if (!RunTuneExchange(ctx, TuneExchangeKind::EndItem, f, item).ok) return 0;
  return RunTuneExchange(ctx, TuneExchangeKind::EndChannel, ChannelSelectFrame(channel)).ok ? 1 : 0;
}

void SwitchTuneOn(LinkContext& ctx) {
  RunTuneExchange(ctx, TuneExchangeKind::WriteSwitchOn, tuneframe::kSwitchOn);
}

int16_t WriteTuneData(LinkContext& outer, Image& image, int16_t& imageVerMajor) {
  // The handshake takes the radio out of its tune state; the write ends with the switch-on
  // whether it completes or not, so that leaving tune mode later finds the radio where it
  // expects it.
  TuneReturn back{SwitchTuneOn};
  LinkContext ctx = outer;
  ctx.tuneReturn = &back;
  PortCloser closer(ctx);
  if (!ReactToProgramMode(ctx, EnterProgramMode(ctx, imageVerMajor, image))) return 0;

  ctx.port.clearOutput();
  ctx.clock.delayMs(20);
  ctx.progress.open(QM_TR("正在向对讲机写入调测数据....."), QM_TR("写频"), kWriteProgressMax);
  for (int i = 0; i < kWriteBlocks; ++i) {
    std::array<uint8_t, frame::kWriteFrameSize> block{
        frame::kWrite, 0x01, static_cast<uint8_t>(8 * i), frame::kBlockSize};
    const size_t base = addr::kTuneChannels + 16 * static_cast<size_t>(i / 2) + (i % 2) * 8;
    for (size_t j = 0; j < 8; ++j) block[4 + j] = image[base + j];
    if (!RunTuneExchange(ctx, TuneExchangeKind::WriteBlock, block).ok) {
      ReturnToTune(ctx);
      ctx.progress.close();
      Notify(ctx.prompter, QM_TR("写入错误"), QM_TR("写入数据中断，请重试！"), Icon::Exclamation);
      return 0;
    }
    ctx.progress.show(kWriteProgressStep * i);
  }
  ReturnToTune(ctx);
  ctx.progress.change();
  ctx.clock.delayMs(20);
  ctx.progress.close();
  return 1;
}

bool SendTuneLeave(LinkContext& ctx, TuneState tuneState) {
  PortCloser closer(ctx);
  OpenCommPort(ctx);
  const uint16_t address =
      tuneState == TuneState::ItemClosed ? tuneframe::kLeaveClosed : tuneframe::kLeaveEntered;
  if (!RunTuneExchange(ctx, TuneExchangeKind::LeaveRead, TuneReadRequest(address)).ok) {
    return false;
  }
  const std::array<uint8_t, 1> ack{frame::kAck};
  return RunTuneExchange(ctx, TuneExchangeKind::LeaveAck, ack).ok;
}

}  // namespace qm
