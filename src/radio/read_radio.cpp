#include "radio/read_radio.h"

#include <array>

#include "base/model_table.h"
#include "base/tr.h"

namespace qm {

namespace {

constexpr int kBlockCount = 128;
constexpr int kProgressStep = 5;
constexpr int kProgressMax = 635;

}  // namespace

bool StoreReadReply(std::span<const uint8_t> reply, Image& image, bool& ignored) {
  ignored = true;
  if (reply.size() < 4 || reply[0] != frame::kWrite) return true;
  const size_t page = reply[1];
  if (page > 3) return true;
  ignored = false;
  const size_t low = reply[2];
  const size_t count = reply[3];
  if (4 + count > reply.size()) return false;
  if ((low & 0x0F) + count > kRowSize) return false;
  const size_t address = page * 256 + low;
  for (size_t i = 0; i < count; ++i) image[address + i] = reply[4 + i];
  return true;
}

std::string ReadDoneCaption(const AppState& app) {
  return QM_TR("读频完成－ ") + app.softwareTitle;
}

ReadResult ReadRadio(LinkContext& ctx, Image& image, int16_t& imageVerMajor,
                     const ReadHooks& hooks) {
  PortCloser closer(ctx);
  ReadResult result;

  // Everything lands in a scratch copy first: the document changes only when the whole
  // memory has arrived and the user accepted it.
  Image scratch = image;
  int16_t scratchVer = imageVerMajor;

  result.handshake = EnterProgramMode(ctx, scratchVer, scratch);
  if (!ReactToProgramMode(ctx, result.handshake)) return result;
  if (result.handshake.version) ctx.app.radioVersion = *result.handshake.version;

  ctx.progress.open(QM_TR("正在从对讲机读取数据....."), QM_TR("读频"), kProgressMax, true);
  ctx.port.clearOutput();
  ctx.clock.delayMs(50);

  for (int k = 0; k < kBlockCount; ++k) {
    const int a = 8 * k;
    const std::array<uint8_t, 4> request{frame::kRead, static_cast<uint8_t>(a / 256),
                                         static_cast<uint8_t>(a % 256), frame::kBlockSize};
    bool sent = false;
    const std::vector<uint8_t> reply = Exchange(ctx, timing::kReadRequest, request, &sent);
    const bool interrupted = sent && reply.size() < frame::kReadReplySize;
    bool ignored = false;
    if (interrupted || !sent || !StoreReadReply(reply, scratch, ignored)) {
      if (interrupted) {
        BreakOff(ctx, QM_TR("读频错误"), QM_TR("读频中断，请重试！"));
      } else {
        BreakOff(ctx, QM_TR("数据错误"), QM_TR("读取数据错误，请重试！"));
      }
      result.status = interrupted ? ReadStatus::Interrupted : ReadStatus::DataError;
      return result;
    }
    ctx.progress.show(kProgressStep * k);
    if (ctx.progress.cancelRequested()) {
      // The user's choice, after the current frame: the radio leaves programming mode (or
      // goes back to its tune state) and the document keeps what it had.
      if (ctx.tuneReturn != nullptr) {
        ReturnToTune(ctx);
      } else {
        ExitProgramMode(ctx);
      }
      ctx.progress.close();
      result.status = ReadStatus::Cancelled;
      return result;
    }
  }

  ExitProgramMode(ctx);
  ctx.progress.change();
  ctx.clock.delayMs(20);
  ctx.progress.close();

  if (scratchVer == 2) {
    Notify(ctx.prompter, QM_TR("读频"), QM_TR("读频完成，请按“确定”按钮继续...."), Icon::None);
  } else if (scratchVer > 2) {
    if (!ConfirmVersionWarning(ctx, 1)) {
      result.status = ReadStatus::Declined;
      return result;
    }
  } else {
    Notify(ctx.prompter, QM_TR("读频"),
           QM_TR("读频完成。该机为V1.0版，某些功能无效，详情请查看帮助文件！"), Icon::None);
  }

  image = scratch;
  imageVerMajor = scratchVer;
  result.status = ReadStatus::Completed;
  if (hooks.accepted) hooks.accepted();
  CloseCommPort(ctx);

  ConvertModel(ctx.app, image.modelCode());
  ctx.app.bandText = BuildBandText(ctx.app, ctx.app.curModel);
  if (imageVerMajor > 2) {
    Notify(ctx.prompter, QM_TR("读频"), QM_TR("新的机型版本,请升级你的写频软件!"), Icon::None);
  } else if (imageVerMajor < 2) {
    ConvertFromV1Layout(image);
  }
  return result;
}

}  // namespace qm
