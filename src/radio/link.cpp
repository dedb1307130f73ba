#include "radio/link.h"

#include <algorithm>
#include <cstdio>

#include "base/tr.h"

namespace qm {

namespace {

std::string PortText(const LinkContext& ctx) {
  std::string name = ctx.port.displayName();
  if (!name.empty()) return name;
  return Fill(QM_TR("端口%1"), {std::to_string(ctx.portNumber)});
}

}  // namespace

void OpenCommPort(LinkContext& ctx) {
  if (ctx.port.isOpen()) ctx.port.close();
  if (!ctx.port.isOpen()) ctx.port.open(ctx.portNumber, kLinkSettings);
  ctx.port.clearInput();
  ctx.port.clearOutput();
  ctx.clock.delayMs(80);
}

int16_t OpenLinkPort(LinkContext& ctx) {
  if (ctx.port.isOpen()) ctx.port.close();
  if (!ctx.port.isOpen() && !ctx.port.open(ctx.portNumber, kLinkSettings)) {
    Notify(ctx.prompter, QM_TR("错误"),
           Fill(QM_TR("%1: %2"), {PortText(ctx), ctx.port.lastError()}), Icon::Critical);
    return 0;
  }
  ctx.port.clearInput();
  ctx.port.clearOutput();
  ctx.clock.delayMs(80);
  return 1;
}

void CloseCommPort(LinkContext& ctx) {
  if (ctx.port.isOpen()) ctx.port.close();
}

int16_t TestCommPort(SerialPort& port, int portNumber) {
  if (port.isOpen()) port.close();
  if (!port.open(portNumber, kScanSettings)) return 0;
  port.close();
  return 1;
}

bool SendBytes(LinkContext& ctx, std::span<const uint8_t> bytes) {
  if (!ctx.port.write(bytes)) return false;
  const Micros start = ctx.clock.now();
  const Micros limit{int64_t{timing::kDrainLimitMs} * 1000};
  while (ctx.port.outCount() != 0) {
    if (ctx.clock.now() - start >= limit) {
      ctx.port.clearOutput();
      return false;
    }
    ctx.clock.delayMs(1);
  }
  ctx.port.clearOutput();
  return true;
}

namespace {

constexpr Micros Ms(int ms) { return Micros{int64_t{ms} * 1000}; }

// The polls of an exchange, with their deadlines laid out from `at`.
std::vector<uint8_t> AwaitFrom(LinkContext& ctx, const ExchangeTiming& t, Micros at) {
  for (int i = 0; i < t.polls; ++i) {
    at += Ms(t.pollWaitBefore);
    ctx.clock.delayUntil(at);
    if (ctx.port.inCount() >= t.stopAt) break;
    at += Ms(t.pollWaitAfter);
    ctx.clock.delayUntil(at);
  }
  std::vector<uint8_t> reply = ctx.port.readAll();
  ctx.port.clearInput();
  return reply;
}

}  // namespace

std::vector<uint8_t> AwaitReply(LinkContext& ctx, const ExchangeTiming& t) {
  return AwaitFrom(ctx, t, ctx.clock.now());
}

std::vector<uint8_t> Exchange(LinkContext& ctx, const ExchangeTiming& t,
                              std::span<const uint8_t> bytes, bool* sent) {
  Micros at = ctx.clock.now() + Ms(t.before);
  ctx.clock.delayUntil(at);
  // The time the line takes to carry the bytes moves the rest of the exchange back.
  const Micros sendStart = ctx.clock.now();
  const bool ok = SendBytes(ctx, bytes);
  at += ctx.clock.now() - sendStart;
  if (sent != nullptr) *sent = ok;
  if (!ok) return {};
  at += Ms(t.after);
  ctx.clock.delayUntil(at);
  return AwaitFrom(ctx, t, at);
}

HandshakeResult EnterProgramMode(LinkContext& ctx, int16_t& imageVerMajor, Image& image) {
  HandshakeResult result;
  const auto ended = [&result](Handshake outcome) {
    result.outcome = outcome;
    return result;
  };
  if (OpenLinkPort(ctx) == 0) return ended(Handshake::PortNotOpened);
  // From the first greeting byte on, a radio in its tune state has left it.
  if (ctx.tuneReturn != nullptr) ctx.tuneReturn->pending = true;

  // The radio may miss the greeting while it wakes up: three attempts, each on clean buffers.
  std::vector<uint8_t> reply;
  for (int attempt = 0; attempt < timing::kGreetingAttempts && reply.empty(); ++attempt) {
    ctx.port.clearOutput();
    ctx.port.clearInput();
    reply = Exchange(ctx, timing::kGreeting, frame::kGreeting);
  }
  if (reply.empty() || reply[0] != frame::kAck) return ended(Handshake::NoAnswer);

  const std::array<uint8_t, 1> request{frame::kIdentityRequest};
  reply = Exchange(ctx, timing::kIdentity, request);
  if (reply.size() != frame::kIdentityReplySize) return ended(Handshake::NoAnswer);
  if (!std::equal(frame::kIdentityText.begin(), frame::kIdentityText.end(), reply.begin())) {
    return ended(Handshake::OtherRadio);
  }

  const uint8_t modelCode = reply[5];
  imageVerMajor = reply[6];
  image[addr::kIdent] = reply[7];
  result.version = RadioVersion{reply[6], reply[7]};
  if (modelCode > kHighestModelCode) {
    Notify(ctx.prompter, QM_TR("错误"), QM_TR("机型错误，请写入正确机型！"), Icon::Critical);
  }

  const std::array<uint8_t, 1> ack{frame::kAck};
  reply = Exchange(ctx, timing::kFinalAck, ack);
  if (reply.empty() || reply[0] != frame::kAck) return ended(Handshake::NoAnswer);
  if (modelCode == kOtherRadioCode) return ended(Handshake::OtherRadio);
  result.modelCode = modelCode;
  return ended(Handshake::Accepted);
}

void ExitProgramMode(LinkContext& ctx) {
  Exchange(ctx, timing::kEndCommand, frame::kEnd);
  ctx.port.clearInput();
  ctx.port.clearOutput();
  if (ctx.tuneReturn != nullptr) {
    ctx.tuneReturn->pending = false;
    ctx.tuneReturn->leftTune = true;
  }
}

void ReturnToTune(LinkContext& ctx) {
  TuneReturn* back = ctx.tuneReturn;
  if (back == nullptr || !back->pending) return;
  back->pending = false;
  back->leftTune = false;
  if (back->switchOn) back->switchOn(ctx);
}

void BreakOff(LinkContext& ctx, std::string_view title, std::string_view text) {
  ReturnToTune(ctx);
  ctx.progress.close();
  Notify(ctx.prompter, std::string(title), std::string(text), Icon::Exclamation);
}

bool ReactToProgramMode(LinkContext& ctx, const HandshakeResult& result,
                        std::string_view noAnswerTail) {
  if (result.outcome == Handshake::PortNotOpened) return false;
  if (!result.accepted()) ReturnToTune(ctx);
  if (result.outcome == Handshake::NoAnswer) {
    Notify(ctx.prompter, QM_TR("通讯端口错误"), Fill(noAnswerTail, {PortText(ctx)}),
           Icon::Exclamation);

    return false;
  }
  if (result.outcome == Handshake::OtherRadio) {
    Notify(ctx.prompter, QM_TR("机型错误"), QM_TR("机型与软件不匹配，请选择正确的机型！"),
           Icon::Exclamation);
    return false;
  }
  return true;
}

std::string WarningText(int selIndex) {
  switch (selIndex) {
    case 0:
      return QM_TR("当前要写频的机器为V1.0版，某些功能无效，详情请查看帮助文件！是否继续？ ");
    case 1:
      return QM_TR(
          "当前连接的机器为更新版本，本软件可能不适用，请使用更新版本的编程软件软件。是否继续？ ");
    default:
      return QM_TR("是否继续？ ");
  }
}

bool ConfirmVersionWarning(LinkContext& ctx, int selIndex) {
  if (selIndex < 0 || selIndex > 1) return true;
  const size_t i = static_cast<size_t>(selIndex);
  if (!ctx.app.showWarning[i]) return true;
  const WarningAnswer answer = ctx.prompter.warn(selIndex, WarningText(selIndex));
  if (answer.dontShowAgain) ctx.app.showWarning[i] = false;
  return answer.confirmed;
}

PortScan ScanPorts(SerialPort& port, int16_t portNumber, std::span<const int> extraPorts) {
  PortScan scan;
  const auto tryPort = [&](int n) {
    if (TestCommPort(port, n) != 0) return true;
    scan.failure[n] = port.lastFailure();
    scan.reason[n] = port.lastError();
    return false;
  };
  int16_t candidate = 0;
  for (int n = kMaxPortNumber; n >= kMinPortNumber; --n) {
    if (tryPort(n)) {
      scan.usable[static_cast<size_t>(n)] = true;
      candidate = static_cast<int16_t>(n);
    } else if (n == portNumber) {
      portNumber = 0;
    }
  }
  // A port above COM16 is kept when it opens; with nothing below it usable, the lowest one
  // that opens is offered rather than a COM1 that is not there.
  int16_t extraCandidate = 0;
  bool currentListed = portNumber >= kMinPortNumber && portNumber <= kMaxPortNumber;
  for (const int n : extraPorts) {
    if (n <= kMaxPortNumber || n > kMaxListedPort) continue;
    const bool ok = tryPort(n);
    scan.extraUsable[n] = ok;
    if (n == portNumber) currentListed = ok;
    if (ok && (extraCandidate == 0 || n < extraCandidate)) extraCandidate = static_cast<int16_t>(n);
  }
  if (candidate == 0) candidate = extraCandidate;
  scan.candidate = candidate == 0 ? int16_t{1} : candidate;
  if (!currentListed) portNumber = 0;
  scan.portNumber = portNumber == 0 ? scan.candidate : portNumber;
  return scan;
}

}  // namespace qm
