#include "radio/write_radio.h"

#include <array>

#include "base/tr.h"
#include "model/defaults.h"

namespace qm {

namespace {

constexpr int kProgressStep = 5;
constexpr int kProgressMax = 140;

struct PlanArea {
  uint16_t start;
  uint16_t frames;
};
constexpr std::array<PlanArea, 4> kWriteAreas = {{
    {addr::kChannels, 32},
    {addr::kFunctions, 2},
    {addr::kIdent, 2},
    {addr::kWriteDate, 2},
}};

}  // namespace

std::vector<uint16_t> WritePlan() {
  std::vector<uint16_t> plan;
  for (const PlanArea& a : kWriteAreas) {
    for (uint16_t i = 0; i < a.frames; ++i) plan.push_back(static_cast<uint16_t>(a.start + 8 * i));
  }
  return plan;
}

std::array<uint8_t, 8> WriteFrameData(const Image& image, uint16_t address, int16_t verMajor) {
  std::array<uint8_t, 8> data{};
  for (size_t i = 0; i < data.size(); ++i) data[i] = image[(address + i) % kImageSize];
  if (address == addr::kFunctions && verMajor < 2) data[0] = FuncByte0ToV1(data[0]);
  if (address == addr::kIdent || address == addr::kIdent + 8) {
    data[1] = static_cast<uint8_t>(verMajor);
  }
  return data;
}

std::string WriteDoneCaption(const AppState& app) {
  return QM_TR("写频完成－") + app.softwareTitle;
}

WriteResult WriteRadio(LinkContext& ctx, Image& image, int16_t& imageVerMajor,
                       const std::function<std::tm()>& localTime) {
  PortCloser closer(ctx);
  WriteResult result;

  result.handshake = EnterProgramMode(ctx, imageVerMajor, image);
  if (!ReactToProgramMode(ctx, result.handshake)) return result;

  if (result.handshake.modelCode != ctx.app.currentModel().code) {
    const Answer a =
        ctx.prompter.ask(Message{kAppTitle, QM_TR("选择的机型与当前机型不同 是否要继续？"),
                                 Icon::Information, Buttons::YesNo});
    if (a != Answer::Yes) {
      result.status = WriteStatus::Declined;
      return result;
    }
  }

  // The function block goes out from a copy (WriteFrameData); only the warning is decided
  // here.
  int warning = -1;
  if (imageVerMajor > 2) warning = 1;
  if (imageVerMajor < 2) warning = 0;
  if (warning >= 0 && !ConfirmVersionWarning(ctx, warning)) {
    result.status = WriteStatus::Declined;
    return result;
  }

  ctx.port.clearOutput();
  ctx.clock.delayMs(60);
  ctx.progress.open(QM_TR("正在向对讲机写入数据...."), QM_TR("写频"), kProgressMax);

  StampWriteDate(image.writeDate(), localTime ? localTime() : LocalTimeNow());

  int value = 0;
  for (uint16_t address : WritePlan()) {
    const std::array<uint8_t, 8> data = WriteFrameData(image, address, imageVerMajor);
    std::array<uint8_t, frame::kWriteFrameSize> bytes{};
    bytes[0] = frame::kWrite;
    bytes[1] = static_cast<uint8_t>(address / 256);
    bytes[2] = static_cast<uint8_t>(address % 256);
    bytes[3] = frame::kBlockSize;
    std::copy(data.begin(), data.end(), bytes.begin() + 4);

    bool sent = false;
    const std::vector<uint8_t> reply = Exchange(ctx, timing::kWriteFrame, bytes, &sent);
    if (!sent || reply.empty() || reply[0] != frame::kAck) {
      BreakOff(ctx, QM_TR("写频错误"),
               sent ? QM_TR("写频中断，请重试！") : QM_TR("写频错误，请重新写入！"));
      result.status = sent ? WriteStatus::Interrupted : WriteStatus::Failed;
      return result;
    }
    ++result.framesAcknowledged;
    value += kProgressStep;
    ctx.progress.show(value);
  }

  ExitProgramMode(ctx);
  ctx.progress.change();
  ctx.clock.delayMs(20);
  ctx.progress.close();

  Notify(ctx.prompter, QM_TR("写频完成"), QM_TR("写频完成，请按“确定”按钮继续....."), Icon::None);
  result.status = WriteStatus::Completed;
  return result;
}

}  // namespace qm
