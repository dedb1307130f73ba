// The link layer shared by every exchange with the radio: opening and closing the port, the
// way bytes are sent and awaited, the programming-mode handshake and the end command.
// Exchanges are half-duplex: the PC sends, then polls the receive buffer with fixed waits
// until enough bytes have arrived or the polls run out. A reply is judged only by its length
// and its first byte.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/app_state.h"
#include "base/prompter.h"
#include "base/tr.h"
#include "model/image.h"
#include "radio/clock.h"
#include "radio/progress.h"
#include "radio/serial_port.h"

namespace qm {

struct LinkContext;

// The way back into the radio's tune state, for an operation begun in the tune view. The
// first greeting byte takes the radio out of its tune state; an operation that stops after it
// and before "END" (a handshake that fails, a refused block, a question answered No) sends
// NRVTUNE through `switchOn` before it says why it stopped, so the radio is again where the
// tune view expects it. The link routines keep the two marks.
struct TuneReturn {
  std::function<void(LinkContext&)> switchOn;
  bool pending = false;   // a greeting went out; neither "END" nor NRVTUNE since
  bool leftTune = false;  // "END" closed a session: the radio is in normal operation
};

// Everything an exchange with the radio works with. The window and the command line build
// one per operation; the document fields an operation changes are passed to it separately.
struct LinkContext {
  SerialPort& port;
  Clock& clock;
  Prompter& prompter;
  Progress& progress;
  AppState& app;
  int16_t portNumber = 1;
  TuneReturn* tuneReturn = nullptr;  // set for an operation begun in the tune view
};

// Frame bytes.
namespace frame {
inline constexpr uint8_t kAck = 0x06;
inline constexpr uint8_t kRead = 0x52;   // 'R'
inline constexpr uint8_t kWrite = 0x57;  // 'W', also the first byte of a read reply
inline constexpr uint8_t kIdentityRequest = 0x02;
inline constexpr std::array<uint8_t, 8> kGreeting = {0x02, 'P', 'R', 'O', 'G', 'R', 'A', 'M'};
inline constexpr std::array<uint8_t, 3> kEnd = {'E', 'N', 'D'};
inline constexpr std::array<uint8_t, 5> kIdentityText = {'Q', '4', '7', '1', '2'};
inline constexpr size_t kIdentityReplySize = 8;
inline constexpr uint8_t kBlockSize = 8;
inline constexpr size_t kReadReplySize = 4 + kBlockSize;   // 12
inline constexpr size_t kWriteFrameSize = 4 + kBlockSize;  // 12
}  // namespace frame

// The waits of one exchange, in milliseconds. A poll waits `pollWaitBefore`, looks at the
// receive count (stopping when `stopAt` bytes are waiting), then waits `pollWaitAfter`.
struct ExchangeTiming {
  int before = 0;  // wait before sending
  int after = 0;   // wait after sending, before the first poll
  int polls = 0;
  int pollWaitBefore = 0;
  int pollWaitAfter = 0;
  size_t stopAt = 1;
};

namespace timing {
inline constexpr ExchangeTiming kGreeting{80, 20, 41, 10, 5, 1};  // per attempt
inline constexpr ExchangeTiming kIdentity{40, 20, 61, 0, 5, frame::kIdentityReplySize};
inline constexpr ExchangeTiming kFinalAck{40, 20, 61, 0, 5, 1};
inline constexpr ExchangeTiming kReadRequest{25, 0, 81, 10, 0, frame::kReadReplySize};
inline constexpr ExchangeTiming kWriteFrame{30, 0, 51, 20, 0, 1};
inline constexpr ExchangeTiming kEndCommand{30, 0, 31, 20, 0, 1};
inline constexpr int kGreetingAttempts = 3;
// How long the send loop waits for the transmit buffer to drain before it gives up. A
// frame of 12 bytes needs 14 ms at 9600 baud; a port that never drains must not hang the
// program.
inline constexpr int kDrainLimitMs = 2000;
}  // namespace timing

// How the handshake ended.
enum class Handshake : uint8_t {
  PortNotOpened,  // the port could not be opened (OpenLinkPort has said so)
  NoAnswer,       // no acknowledge of the greeting, a short identity or no final acknowledge
  OtherRadio,     // the identity reply is not this series'
  Accepted,       // the radio is in programming mode
};
struct HandshakeResult {
  Handshake outcome = Handshake::NoAnswer;
  uint8_t modelCode = 0;  // with Accepted: the model code of the identity reply
  // The identity reply's version; from a reply that came, also when the final acknowledge
  // then failed (nullopt before it).
  std::optional<RadioVersion> version;
  bool accepted() const { return outcome == Handshake::Accepted; }
};
// A model code of 255 has always meant a radio of another series: it is refused as such.
inline constexpr uint8_t kOtherRadioCode = 255;
inline constexpr int kHighestModelCode = 32;

// Opens the port for tuning: errors are ignored (they show up later as a radio that does
// not answer).
void OpenCommPort(LinkContext& ctx);
// Opens the port for programming; on failure shows "错误" / "端口<n>: <reason>" and gives 0.
int16_t OpenLinkPort(LinkContext& ctx);
void CloseCommPort(LinkContext& ctx);
// Whether port n can be opened (with odd parity); the port is closed again, nothing is sent.
int16_t TestCommPort(SerialPort& port, int portNumber);

// Writes the bytes and waits until the transmit buffer has drained, then clears it.
// False when the port refused the bytes or never drained.
bool SendBytes(LinkContext& ctx, std::span<const uint8_t> bytes);
// Polls as `t` says, then reads every waiting byte (possibly none) and clears the input.
std::vector<uint8_t> AwaitReply(LinkContext& ctx, const ExchangeTiming& t);
// Waits `t.before`, sends, waits `t.after` and awaits the reply. `sent` is false when the
// bytes could not be sent (the reply is then empty).
std::vector<uint8_t> Exchange(LinkContext& ctx, const ExchangeTiming& t,
                              std::span<const uint8_t> bytes, bool* sent = nullptr);

// The handshake. Opens the port (OpenLinkPort) and greets the radio. Once the identity reply is
// accepted, `imageVerMajor` = its major version and image byte 0x2D0 = its minor version,
// also when the final acknowledge then fails. The port stays open.
HandshakeResult EnterProgramMode(LinkContext& ctx, int16_t& imageVerMajor, Image& image);
// Sends "END" and discards the answer. The port stays open.
void ExitProgramMode(LinkContext& ctx);
// An operation begun in the tune view stops after its first greeting byte and before "END":
// the radio goes back into its tune state (TuneReturn). Nothing happens otherwise.
void ReturnToTune(LinkContext& ctx);
// The end of a read or write that broke off after the greeting: the radio back in its tune
// state (ReturnToTune), the progress window closed, then the message (exclamation icon).
void BreakOff(LinkContext& ctx, std::string_view title, std::string_view text);

// The callers' common reaction to a handshake result: true to go on. A port not opened stops
// silently; no answer shows "通讯端口错误" with "端口<n>" and `noAnswerTail`; another radio
// shows "机型错误". A failure after the greeting returns the radio to its tune state first
// (ReturnToTune).
// The tail is a template: "%1" is the port ("端口3").
inline constexpr std::string_view kNoAnswerTail =
    QM_TR("%1 没有响应，请检查你的连接或机器电源是否打开！");
bool ReactToProgramMode(LinkContext& ctx, const HandshakeResult& result,
                        std::string_view noAnswerTail = kNoAnswerTail);

// The version warning: asks with dlgWarn when app.showWarning[selIndex] is on (a tick in
// "下次不再提示" turns it off); true when the operation may go on.
bool ConfirmVersionWarning(LinkContext& ctx, int selIndex);
// The text of the warning dialog for a selection index.
std::string WarningText(int selIndex);

// Closes the port when it goes out of scope: every operation ends with a closed port, and an
// operation begun in the tune view leaves the radio in its tune state unless "END" ended it.
class PortCloser {
 public:
  explicit PortCloser(LinkContext& ctx) : ctx_(ctx) {}
  ~PortCloser() {
    ReturnToTune(ctx_);
    CloseCommPort(ctx_);
  }
  PortCloser(const PortCloser&) = delete;
  PortCloser& operator=(const PortCloser&) = delete;

 private:
  LinkContext& ctx_;
};

// The port scan of the port dialog: which of COM1..COM16 can be opened, tried from 16 down
// to 1, then the present ports above COM16 the system lists (`extraPorts`), and the port
// number to offer.
struct PortScan {
  std::array<bool, kMaxPortNumber + 1> usable{};  // index 1..16
  std::map<int, bool> extraUsable;                // the listed ports above COM16
  std::map<int, OpenFailure> failure;             // why a port that failed did
  std::map<int, std::string> reason;              // ... in the system's words
  int16_t candidate = 1;                          // the lowest usable port (COM1..16 first), or 1
  int16_t portNumber = 1;  // the current port when usable, else the candidate
};
PortScan ScanPorts(SerialPort& port, int16_t portNumber, std::span<const int> extraPorts = {});

}  // namespace qm
