// The least time a full read and a full write can take: the link routines run on a virtual
// clock against a simulated radio that answers at once but takes the line time of 9600 baud
// (11 bit times a byte) for everything it receives and sends, as zr410-sim --pace does on a
// pseudo-terminal. What is left is the fixed waits, the poll intervals and the line time.
// Each line gives the whole operation and, as zr410-sim's log measures it, the span from the
// first frame the radio receives to the last it sends (a program's own start-up left out).
#include <cstdio>

#include "model/defaults.h"
#include "radio/read_radio.h"
#include "radio/write_radio.h"
#include "sim/radio_sim.h"

namespace {

class Yes : public qm::Prompter {
 public:
  qm::Answer ask(const qm::Message& m) override {
    return m.buttons == qm::Buttons::Ok ? qm::Answer::Ok : qm::Answer::Yes;
  }
  qm::WarningAnswer warn(int, const std::string&) override { return {true, false}; }
};

class Bar : public qm::Progress {};

struct Floor {
  double totalMs = 0;
  double spanMs = 0;
};

Floor Run(bool write) {
  qm::sim::RadioConfig c;
  c.paceReplies = true;
  c.paceReceive = true;  // a pty hands over a whole write at once
  qm::sim::VirtualClock clock;
  qm::sim::RadioSim radio(c);
  qm::sim::FakeSerialPort port(clock, &radio);  // the PC's writes leave at once, as on a pty
  Yes prompter;
  Bar bar;
  qm::AppState app;
  qm::LinkContext ctx{port, clock, prompter, bar, app, 1};
  qm::Image image;
  int16_t ver = 2;
  if (write) {
    qm::WriteRadio(ctx, image, ver, qm::LocalTimeNow);
  } else {
    qm::ReadRadio(ctx, image, ver);
  }
  Floor f;
  f.totalMs = static_cast<double>(clock.now().count()) / 1000.0;
  const qm::Micros* first = nullptr;
  qm::Micros last{0};
  for (const qm::sim::LogEntry& e : radio.log()) {
    if (e.direction == qm::sim::Direction::FromPc && first == nullptr) first = &e.at;
    if (e.direction == qm::sim::Direction::ToPc) last = e.at;
  }
  if (first != nullptr) f.spanMs = static_cast<double>((last - *first).count()) / 1000.0;
  return f;
}

}  // namespace

int main() {
  const Floor read = Run(false);
  const Floor write = Run(true);
  std::printf("read %.1f %.1f\nwrite %.1f %.1f\n", read.totalMs, read.spanMs, write.totalMs,
              write.spanMs);
  return 0;
}
