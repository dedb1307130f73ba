#include "radio/embed_info.h"

#include <array>
#include <string_view>

#include "base/tr.h"

namespace qm {

namespace {

constexpr int kReadBlocks = 30;   // 0x300 .. 0x3E8
constexpr int kWriteBlocks = 24;  // 0x300 .. 0x3B8

// Whether an embedded-information reply stays inside its 16-byte row and carries the bytes
// it announces.
bool FitsRow(std::span<const uint8_t> reply) {
  const size_t count = reply[3];
  // Byte 2 is the low byte of the address; its place within the row is that modulo 16.
  return 4 + count <= reply.size() && reply[2] % kRowSize + count <= kRowSize;
}

// The handshake with the operation's own no-answer text, then clean output and the pause
// before the first frame. False when the radio is not there to talk to.
bool Greet(LinkContext& ctx, Image& image, int16_t& imageVerMajor, std::string_view noAnswerTail,
           int settleMs) {
  if (!ReactToProgramMode(ctx, EnterProgramMode(ctx, imageVerMajor, image), noAnswerTail)) {
    return false;
  }
  ctx.port.clearOutput();
  ctx.clock.delayMs(settleMs);
  return true;
}

}  // namespace

bool ReadEmbedInfo(LinkContext& ctx, Image& image, int16_t& imageVerMajor) {
  PortCloser closer(ctx);
  if (!Greet(ctx, image, imageVerMajor, QM_TR("%1 没有响应, 请检查你的连接或机型电源是否打开！"),
             50)) {
    return false;
  }

  Image scratch = image;
  for (int i = 0; i < kReadBlocks; ++i) {
    const std::array<uint8_t, 4> request{frame::kRead, 0x03, static_cast<uint8_t>(8 * i),
                                         frame::kBlockSize};
    bool sent = false;
    const std::vector<uint8_t> reply = Exchange(ctx, timing::kReadRequest, request, &sent);
    ctx.port.clearOutput();
    if (!sent || reply.size() < frame::kReadReplySize ||
        (reply[0] == frame::kWrite && reply[1] == 0x03 && !FitsRow(reply))) {
      Notify(ctx.prompter, QM_TR("错误"), QM_TR("读取数据错误，请重试！"), Icon::Exclamation);
      return false;
    }
    if (reply[0] != frame::kWrite || reply[1] != 0x03) continue;
    const uint8_t low = reply[2];
    const bool kept = low < 0xC0 || (low >= 0xC0 && low <= 0xCF) || (low >= 0xE0 && low <= 0xEF);
    if (!kept) continue;
    for (size_t k = 0; k < reply[3]; ++k) scratch[0x300u + low + k] = reply[4 + k];
  }

  ExitProgramMode(ctx);
  ctx.clock.delayMs(20);
  const auto copyArea = [&](size_t start, size_t size) {
    for (size_t a = start; a < start + size; ++a) image[a] = scratch[a];
  };
  copyArea(addr::kEmbedText, addr::kEmbedTextSize);
  copyArea(addr::kWriteDate, kRowSize);
  copyArea(addr::kRadioId, kRowSize);
  Notify(ctx.prompter, QM_TR("完成"), QM_TR("读取数据完成，请按“确定”按钮继续....."), Icon::None);
  return true;
}

bool WriteEmbedInfo(LinkContext& ctx, Image& image, int16_t& imageVerMajor) {
  PortCloser closer(ctx);
  if (!Greet(ctx, image, imageVerMajor, QM_TR("%1 没有响应，请检查你的连接！"), 20)) return false;

  for (int i = 0; i < kWriteBlocks; ++i) {
    std::array<uint8_t, frame::kWriteFrameSize> bytes{
        frame::kWrite, 0x03, static_cast<uint8_t>(8 * i), frame::kBlockSize};
    for (size_t k = 0; k < frame::kBlockSize; ++k) {
      bytes[4 + k] = image[addr::kEmbedText + 8 * static_cast<size_t>(i) + k];
    }
    bool sent = false;
    const std::vector<uint8_t> reply = Exchange(ctx, timing::kWriteFrame, bytes, &sent);
    ctx.port.clearOutput();
    if (!sent || reply.empty() || reply[0] != frame::kAck) {
      Notify(ctx.prompter, QM_TR("错误"), QM_TR("写入数据中断，请重试！"), Icon::Exclamation);
      return false;
    }
  }

  ExitProgramMode(ctx);
  ctx.clock.delayMs(20);
  Notify(ctx.prompter, QM_TR("完成"), QM_TR("写入数据完成，请按“确定”按钮继续....."), Icon::None);
  return true;
}

}  // namespace qm
