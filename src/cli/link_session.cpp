#include "cli/link_session.h"

#include "document/config.h"
#include "radio/serial_port.h"

namespace qm::cli {

bool LinkSession::setUp(const Invocation& inv, Args& a) {
  LoadCliApp(inv, cli);
  port.emplace(cli.programIni.get());
  prompter.emplace(a.flag("--yes"));
  portNumber = static_cast<int16_t>(ReadPortNumber(*cli.programIni));
  if (auto n = a.intValue("--port", kMinPortNumber, kMaxListedPort)) {
    portNumber = static_cast<int16_t>(*n);
  }
  return ApplyLinkOptions(a, *port, clock, trace);
}

}  // namespace qm::cli
