// The window's clock for the radio exchanges: a wait runs a local event loop until its
// deadline, so the windows keep painting and timers keep running while the link code
// waits. User input is held back meanwhile; the command that waits keeps the window busy
// (see BusyScope) so that nothing the user did during the wait starts another command.
#pragma once

#include "radio/clock.h"

namespace qm::ui {

class GuiClock : public Clock {
 public:
  void delayMs(int ms) override;
  Micros now() const override;
};

// Drops the mouse and key events that were held back while a command waited: a click made
// during a read must not start something once the read is over.
void DiscardHeldInput();

}  // namespace qm::ui
