// The cable check: what is on a port, told in one line with what to do about it. It opens the
// port, greets the radio as the handshake does and, when a radio of this protocol answers,
// takes its identity, acknowledges and sends "END", so the radio is left as it was. Nothing
// else is ever sent. The window's port dialog and `qm830k-cli check` both run it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "radio/link.h"

namespace qm {

enum class CheckOutcome {
  RadioAnswers,
  NoSuchPort,
  Busy,
  NoPermission,
  DriverRefused,
  OpenFailed,  // any other reason the system gives for not opening it
  Silent,
  Echo,
  Foreign,
};

struct CheckResult {
  CheckOutcome outcome = CheckOutcome::Silent;
  int portNumber = 1;
  std::string systemText;  // the system's reason when the open failed
  // From the identity reply when a radio answered.
  uint8_t modelCode = 0;
  uint8_t verMajor = 0;
  uint8_t verMinor = 0;
};

// Runs the check on ctx.portNumber; the port is closed afterwards. No message box is shown.
CheckResult CheckConnection(LinkContext& ctx);

// What each outcome tells the user (a template: %1 the port, "端口3"; %2 the system's
// reason or the radio's model; %3 its version) and the command line's exit code for it.
struct CheckOutcomeInfo {
  CheckOutcome outcome;
  std::string_view text;
  int exitCode;
};
const CheckOutcomeInfo& InfoOf(CheckOutcome outcome);
// The one line of a result, in Chinese (the front ends translate it). The port is named
// "端口<n>", or `portName` when given (a device path).
std::string CheckLine(const AppState& app, const CheckResult& result,
                      std::string_view portName = {});

// How the port listings name a present port that cannot be opened ("被另一个程序占用").
std::string_view FailurePhrase(OpenFailure failure);

// The outcome an open failure stands for.
CheckOutcome OutcomeOfOpenFailure(OpenFailure failure);

}  // namespace qm
