#include "radio/port_check.h"

#include <algorithm>
#include <array>

#include "base/model_table.h"
#include "base/tr.h"

namespace qm {

namespace {

// Fixed texts of the outcomes, in the order of CheckOutcome.
constexpr std::array<CheckOutcomeInfo, 9> kOutcomes{{
    {CheckOutcome::RadioAnswers, QM_TR("%1: 对讲机已应答：%2，版本 %3。连接正常。"), 0},
    {CheckOutcome::NoSuchPort,
     QM_TR("%1: 没有这个端口。请插好写频线；插好后仍没有，请装上写频线芯片的驱动（CH340/CH341、"
           "PL2303、CP210x 或 FTDI）。"),
     3},
    {CheckOutcome::Busy, QM_TR("%1: 端口被另一个程序占用。请关闭那个程序后再试。"), 4},
    {CheckOutcome::NoPermission,
     QM_TR("%1: 没有打开这个端口的权限。请安装本软件的 udev 规则，或把用户加入 dialout 组"
           "（sudo usermod -aG dialout $USER），然后重新登录。"),
     5},
    {CheckOutcome::DriverRefused,
     QM_TR("%1: 驱动程序拒绝了这个设备（%2）。PL2303 仿制芯片请改装较早版本的 PL2303 驱动；"
           "其他芯片请重装驱动或换一个 USB 口。"),
     6},
    {CheckOutcome::OpenFailed, QM_TR("%1: 端口打不开（%2）。请换一个端口或重新插上写频线。"), 7},
    {CheckOutcome::Silent,
     QM_TR("%1: 端口已打开，但没有应答。请打开对讲机电源，把写频线插头插到底，或选另一个端口。"),
     8},
    {CheckOutcome::Echo,
     QM_TR("%1: 写频线把发出的每个字节原样送回，对讲机没有应答。这条线是为别的对讲机接的，"
           "请换用本机的写频线。"),
     9},
    {CheckOutcome::Foreign,
     QM_TR("%1: 收到的数据不是本机的协议。可能接的是别的对讲机，或通讯速率不对。"), 10},
}};

// Whether `reply` is the greeting coming back: its first two bytes at least, in order.
bool IsEcho(const std::vector<uint8_t>& reply) {
  if (reply.size() < 2) return false;
  const size_t n = std::min(reply.size(), frame::kGreeting.size());
  return std::equal(reply.begin(), reply.begin() + static_cast<std::ptrdiff_t>(n),
                    frame::kGreeting.begin());
}

}  // namespace

const CheckOutcomeInfo& InfoOf(CheckOutcome outcome) {
  return kOutcomes[static_cast<size_t>(outcome)];
}

std::string_view FailurePhrase(OpenFailure failure) {
  switch (failure) {
    case OpenFailure::None:
      return QM_TR("可用");
    case OpenFailure::Absent:
      return QM_TR("不在");
    case OpenFailure::Busy:
      return QM_TR("被另一个程序占用");
    case OpenFailure::NoPermission:
      return QM_TR("没有权限");
    case OpenFailure::DriverRefused:
      return QM_TR("驱动程序拒绝了它");
    case OpenFailure::Other:
      break;
  }
  return QM_TR("打不开");
}

CheckOutcome OutcomeOfOpenFailure(OpenFailure failure) {
  switch (failure) {
    case OpenFailure::Absent:
      return CheckOutcome::NoSuchPort;
    case OpenFailure::Busy:
      return CheckOutcome::Busy;
    case OpenFailure::NoPermission:
      return CheckOutcome::NoPermission;
    case OpenFailure::DriverRefused:
      return CheckOutcome::DriverRefused;
    case OpenFailure::None:
    case OpenFailure::Other:
      break;
  }
  return CheckOutcome::OpenFailed;
}

CheckResult CheckConnection(LinkContext& ctx) {
  CheckResult r;
  r.portNumber = ctx.portNumber;
  if (ctx.port.isOpen()) ctx.port.close();
  if (!ctx.port.open(ctx.portNumber, kLinkSettings)) {
    r.outcome = OutcomeOfOpenFailure(ctx.port.lastFailure());
    r.systemText = ctx.port.lastError();
    return r;
  }
  PortCloser closer(ctx);
  ctx.port.clearInput();
  ctx.port.clearOutput();
  ctx.clock.delayMs(80);

  // The greeting as the handshake sends it, three attempts on clean buffers.
  std::vector<uint8_t> reply;
  for (int attempt = 0; attempt < timing::kGreetingAttempts && reply.empty(); ++attempt) {
    ctx.port.clearOutput();
    ctx.port.clearInput();
    reply = Exchange(ctx, timing::kGreeting, frame::kGreeting);
  }
  if (reply.empty()) {
    r.outcome = CheckOutcome::Silent;
    return r;
  }
  // The reply stops at its first byte; what follows it tells an echo from a radio.
  ctx.clock.delayMs(timing::kGreeting.after);
  const std::vector<uint8_t> more = ctx.port.readAll();
  reply.insert(reply.end(), more.begin(), more.end());
  ctx.port.clearInput();
  if (IsEcho(reply)) {
    r.outcome = CheckOutcome::Echo;
    return r;
  }
  if (reply[0] != frame::kAck) {
    r.outcome = CheckOutcome::Foreign;
    return r;
  }

  // A radio of this protocol is in its programming mode from here on: it gets "END" whatever
  // it answers next.
  r.outcome = CheckOutcome::Foreign;
  const std::array<uint8_t, 1> request{frame::kIdentityRequest};
  const std::vector<uint8_t> identity = Exchange(ctx, timing::kIdentity, request);
  if (identity.size() == frame::kIdentityReplySize &&
      std::equal(frame::kIdentityText.begin(), frame::kIdentityText.end(), identity.begin())) {
    r.modelCode = identity[5];
    r.verMajor = identity[6];
    r.verMinor = identity[7];
    const std::array<uint8_t, 1> ack{frame::kAck};
    const std::vector<uint8_t> last = Exchange(ctx, timing::kFinalAck, ack);
    if (!last.empty() && last[0] == frame::kAck) r.outcome = CheckOutcome::RadioAnswers;
  }
  ExitProgramMode(ctx);
  return r;
}

std::string CheckLine(const AppState& app, const CheckResult& result, std::string_view portName) {
  const std::string port = portName.empty()
                               ? Fill(QM_TR("端口%1"), {std::to_string(result.portNumber)})
                               : std::string(portName);
  if (result.outcome == CheckOutcome::RadioAnswers) {
    const int m = FindModelByCode(app, result.modelCode);
    const std::string model = m >= 0
                                  ? app.models[static_cast<size_t>(m)].name
                                  : Fill(QM_TR("机型代码 %1"), {std::to_string(result.modelCode)});
    return Fill(InfoOf(result.outcome).text,
                {port, model, RadioVersion{result.verMajor, result.verMinor}.text()});
  }
  return Fill(InfoOf(result.outcome).text, {port, result.systemText});
}

}  // namespace qm
