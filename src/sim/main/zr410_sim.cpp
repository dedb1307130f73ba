// zr410-sim: a simulated ZR410 radio on a pseudo-terminal. The program opens a pty, links
// PATH to its terminal side (--link PATH), prints PATH when it is ready and then serves the
// programming protocol until SIGTERM or SIGINT, optionally dumping its memory on the way out.
//
//   zr410-sim --link /tmp/radio [--load FILE] [--dump FILE] [--log FILE] [--pace] [faults]
//
// A pty carries bytes instantly, so with --pace the simulator itself takes 11 bit times at
// 9600 baud for every byte it receives and sends.

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#ifdef __linux__
#include <sys/prctl.h>
#endif
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <fstream>
#include <iostream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "files/data_file.h"
#include "files/file_io.h"
#include "model/image.h"
#include "sim/radio_sim.h"
#include "sim/tune_sim.h"

namespace {

using qm::Micros;
using qm::sim::RadioConfig;
using qm::sim::RadioSim;
using qm::sim::TimedByte;

volatile sig_atomic_t gStop = 0;  // set by the signal handler only
void OnSignal(int) { gStop = 1; }

struct Options {
  std::string link;
  std::string load;
  std::string dump;
  std::string log;
  std::string stopFile;
  RadioConfig radio;
  qm::sim::TuneSimConfig tune;
};

void Usage() {
  std::cerr
      << "usage: zr410-sim --link PATH [options]\n"
         "  --link PATH           symlink to the terminal side of the pty (required)\n"
         "  --load FILE           memory from a 1024-byte image or a .q83/.z410 data file\n"
         "  --dump FILE           write the 1024-byte memory to FILE on exit\n"
         "  --log FILE            log every frame with its time\n"
         "  --stop-file FILE      stop (as on SIGTERM) once FILE exists: a Windows program\n"
         "                        under Wine cannot signal this process\n"
         "  --pace                take 11 bit times at 9600 baud per byte, both ways\n"
         "  --model N             model code of the identity reply (default 1)\n"
         "  --version MAJ.MIN     version bytes (default 2.0)\n"
         "  --identity TEXT       identity text (default Q4712)\n"
         "  --identity-9          a 9-byte identity reply\n"
         "  --ignore-greetings N  leave the first N greetings unanswered\n"
         "  --silent              never answer\n"
         "  --echo                send every byte straight back (a cable for another radio)\n"
         "  --foreign             answer every byte with 0x3F (another radio, another speed)\n"
         "  --latency MS          wait before every reply\n"
         "  --late ADDR:MS        the reply for ADDR comes MS later still\n"
         "  --short ADDR          the read reply for ADDR has 8 bytes only\n"
         "  --long ADDR           the read reply for ADDR has 13 bytes\n"
         "  --over-count ADDR     the read reply for ADDR announces 16 data bytes\n"
         "  --wrong-first ADDR    the read reply for ADDR starts with 0x00\n"
         "  --no-read-reply ADDR  no reply to the read request for ADDR\n"
         "  --redirect FROM:TO    the read request for FROM is answered for TO\n"
         "  --no-ack ADDR         the write frame for ADDR is not acknowledged\n"
         "  --nak ADDR            the write frame for ADDR is answered 0x15\n"
         "  --corrupt ADDR        the byte written at ADDR is stored inverted\n"
         "  --no-end-ack          no answer to END\n"
         "  --tune-item-extra     tune item replies carry one extra byte\n"
         "  --tune-silent-items   tune item frames are not answered\n"
         "  --tune-refuse         NRVTUNE is answered 0x15\n";
}

std::optional<long> ParseNumber(const std::string& s) {
  if (s.empty()) return std::nullopt;
  char* end = nullptr;
  errno = 0;
  const long v = std::strtol(s.c_str(), &end, 0);
  if (errno != 0 || *end != '\0') return std::nullopt;
  return v;
}

std::optional<std::pair<long, long>> ParsePair(const std::string& s, char sep) {
  const auto p = s.find(sep);
  if (p == std::string::npos) return std::nullopt;
  const auto a = ParseNumber(s.substr(0, p));
  const auto b = ParseNumber(s.substr(p + 1));
  if (!a || !b) return std::nullopt;
  return std::make_pair(*a, *b);
}

bool ParseOptions(int argc, char** argv, Options& o) {
  auto& r = o.radio;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    const auto next = [&]() -> std::optional<std::string> {
      if (i + 1 >= argc) return std::nullopt;
      return std::string(argv[++i]);
    };
    const auto address = [&](std::set<uint16_t>& into) {
      const auto v = next();
      const auto n = v ? ParseNumber(*v) : std::nullopt;
      if (!n || *n < 0 || *n > 0xFFFF) return false;
      into.insert(static_cast<uint16_t>(*n));
      return true;
    };
    bool ok = true;
    if (a == "--link" || a == "--load" || a == "--dump" || a == "--log" || a == "--stop-file") {
      const auto v = next();
      ok = v.has_value();
      if (ok)
        (a == "--link"   ? o.link
         : a == "--load" ? o.load
         : a == "--dump" ? o.dump
         : a == "--log"  ? o.log
                         : o.stopFile) = *v;
    } else if (a == "--pace") {
      r.paceReplies = r.paceReceive = true;
    } else if (a == "--model" || a == "--ignore-greetings" || a == "--latency") {
      const auto v = next();
      const auto n = v ? ParseNumber(*v) : std::nullopt;
      ok = n && *n >= 0 && (a != "--model" || *n <= 255);
      if (ok && a == "--model") r.modelCode = static_cast<uint8_t>(*n);
      if (ok && a == "--ignore-greetings") r.ignoreGreetings = static_cast<int>(*n);
      if (ok && a == "--latency") r.latency = Micros{*n * 1000};
    } else if (a == "--version") {
      const auto v = next();
      const auto p = v ? ParsePair(*v, '.') : std::nullopt;
      ok = p && p->first >= 0 && p->first <= 255 && p->second >= 0 && p->second <= 255;
      if (ok) {
        r.verMajor = static_cast<uint8_t>(p->first);
        r.verMinor = static_cast<uint8_t>(p->second);
      }
    } else if (a == "--identity") {
      const auto v = next();
      ok = v.has_value();
      if (ok) r.identity = *v;
    } else if (a == "--identity-9") {
      r.identityExtraByte = true;
    } else if (a == "--echo") {
      r.echo = true;
    } else if (a == "--foreign") {
      r.foreign = true;
    } else if (a == "--silent") {
      r.silent = true;
    } else if (a == "--no-end-ack") {
      r.answerEnd = false;
    } else if (a == "--tune-item-extra") {
      o.tune.itemExtraByte = true;
    } else if (a == "--tune-silent-items") {
      o.tune.silentItems = true;
    } else if (a == "--tune-refuse") {
      o.tune.refuseSwitchOn = true;
    } else if (a == "--late" || a == "--redirect") {
      const auto v = next();
      const auto p = v ? ParsePair(*v, ':') : std::nullopt;
      ok = p && p->first >= 0 && p->first <= 0xFFFF && p->second >= 0 && p->second <= 0xFFFF;
      if (ok && a == "--late") {
        r.lateAt.insert(static_cast<uint16_t>(p->first));
        r.lateLatency = Micros{p->second * 1000};
      }
      if (ok && a == "--redirect") {
        r.redirect[static_cast<uint16_t>(p->first)] = static_cast<uint16_t>(p->second);
      }
    } else if (a == "--short") {
      ok = address(r.shortAt);
    } else if (a == "--long") {
      ok = address(r.longAt);
    } else if (a == "--over-count") {
      ok = address(r.overCountAt);
    } else if (a == "--wrong-first") {
      ok = address(r.wrongFirstAt);
    } else if (a == "--no-read-reply") {
      ok = address(r.silentReadAt);
    } else if (a == "--no-ack") {
      ok = address(r.noAckAt);
    } else if (a == "--nak") {
      ok = address(r.nakAt);
    } else if (a == "--corrupt") {
      ok = address(r.corruptAt);
    } else if (a == "--help" || a == "-h") {
      Usage();
      std::exit(0);
    } else {
      ok = false;
    }
    if (!ok) {
      std::cerr << "zr410-sim: bad option or value: " << a << "\n";
      return false;
    }
  }
  if (o.link.empty()) {
    std::cerr << "zr410-sim: --link PATH is required\n";
    return false;
  }
  return true;
}

// The memory from a raw 1024-byte image or a data file. A data file holds function byte 0
// in the current layout; a version-1 radio keeps it in the old one.
bool LoadMemory(const std::string& path, RadioSim& sim) {
  // Larger than any data file: what is larger is neither.
  constexpr size_t kReadLimit = size_t{1} << 20;
  const qm::FileBytes file = qm::ReadFileBytes(path, kReadLimit);
  if (file.status != qm::ReadStatus::Ok) {
    std::cerr << "zr410-sim: cannot read " << path << "\n";
    return false;
  }
  const std::vector<uint8_t>& bytes = file.bytes;
  if (bytes.size() == RadioSim::kMemorySize) {
    std::copy(bytes.begin(), bytes.end(), sim.memory().begin());
    return true;
  }
  const qm::LoadedFile f = qm::ParseDataFile(bytes, qm::Image{}, qm::SpareBlock{});
  if (f.status != qm::LoadStatus::Ok) {
    std::cerr << "zr410-sim: " << path << " is neither a 1024-byte image nor a data file\n";
    return false;
  }
  std::copy(f.image.bytes().begin(), f.image.bytes().end(), sim.memory().begin());
  if (sim.config().verMajor < 2) {
    sim.memory()[qm::addr::kFunctions] = qm::FuncByte0ToV1(sim.memory()[qm::addr::kFunctions]);
  }
  return true;
}

bool DumpMemory(const std::string& path, const RadioSim& sim) {
  return qm::WriteFileAtomically(path, sim.memory());
}

class Log {
 public:
  bool open(const std::string& path) {
    if (path.empty()) return true;
    file_.open(path, std::ios::trunc);
    return static_cast<bool>(file_);
  }
  void flush(RadioSim& sim) {
    if (!file_.is_open()) {
      sim.clearLog();
      return;
    }
    char buf[32];
    for (const qm::sim::LogEntry& e : sim.log()) {
      std::snprintf(buf, sizeof buf, "%10.3f ", static_cast<double>(e.at.count()) / 1000.0);
      file_ << buf;
      switch (e.direction) {
        case qm::sim::Direction::FromPc:
          file_ << "PC>  ";
          break;
        case qm::sim::Direction::ToPc:
          file_ << "  <R ";
          break;
        case qm::sim::Direction::Note:
          file_ << "---  ";
          break;
      }
      file_ << qm::sim::HexBytes(e.bytes);
      if (!e.note.empty()) file_ << (e.bytes.empty() ? "" : "  ") << e.note;
      file_ << '\n';
    }
    file_.flush();
    sim.clearLog();
  }

 private:
  std::ofstream file_;
};

Micros Now(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration_cast<Micros>(std::chrono::steady_clock::now() - start);
}

int Run(const Options& o) {
  RadioSim sim(o.radio);
  qm::sim::TuneSim tune(o.tune);
  sim.setExtension(&tune);
  if (!o.load.empty() && !LoadMemory(o.load, sim)) return 1;
  Log log;
  if (!log.open(o.log)) {
    std::cerr << "zr410-sim: cannot write " << o.log << "\n";
    return 1;
  }

  const int master = posix_openpt(O_RDWR | O_NOCTTY);
  if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0) {
    std::cerr << "zr410-sim: no pseudo-terminal: " << std::strerror(errno) << "\n";
    return 1;
  }
  const char* slaveName = ptsname(master);
  if (slaveName == nullptr) {
    std::cerr << "zr410-sim: no pseudo-terminal name\n";
    return 1;
  }
  // Hold the terminal side open in raw mode: the PC's port may come and go without the
  // master seeing a hang-up, and nothing is echoed or translated before the PC opens it.
  const int slave = ::open(slaveName, O_RDWR | O_NOCTTY);
  if (slave < 0) {
    std::cerr << "zr410-sim: cannot open " << slaveName << ": " << std::strerror(errno) << "\n";
    return 1;
  }
  termios tio{};
  tcgetattr(slave, &tio);
  cfmakeraw(&tio);
  tcsetattr(slave, TCSANOW, &tio);
  tcgetattr(master, &tio);
  cfmakeraw(&tio);
  tcsetattr(master, TCSANOW, &tio);
  fcntl(master, F_SETFL, fcntl(master, F_GETFL) | O_NONBLOCK);

  ::unlink(o.link.c_str());
  if (::symlink(slaveName, o.link.c_str()) != 0) {
    std::cerr << "zr410-sim: cannot link " << o.link << ": " << std::strerror(errno) << "\n";
    return 1;
  }

  // SIGTERM and SIGINT are blocked except while waiting, so a stop is never missed.
  struct sigaction sa {};
  sa.sa_handler = OnSignal;
  sigemptyset(&sa.sa_mask);
  sigaction(SIGTERM, &sa, nullptr);
  sigaction(SIGINT, &sa, nullptr);
  sigset_t blocked;
  sigset_t waiting;
  sigemptyset(&blocked);
  sigaddset(&blocked, SIGTERM);
  sigaddset(&blocked, SIGINT);
  sigprocmask(SIG_BLOCK, &blocked, &waiting);
  sigdelset(&waiting, SIGTERM);
  sigdelset(&waiting, SIGINT);

  std::cout << o.link << std::endl;

#ifdef __linux__
  // Paced bytes are due every 1.146 ms: wake up on time, not up to 50 us later.
  prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);
#endif
  const auto start = std::chrono::steady_clock::now();
  std::deque<TimedByte> outgoing;  // replies, by the time they are complete at the PC
  std::vector<TimedByte> produced;
  std::vector<uint8_t> due;
  uint8_t buf[512];
  int status = 0;
  while (gStop == 0) {
    timespec timeout{};
    timespec* timeoutPtr = nullptr;
    if (!o.stopFile.empty() && ::access(o.stopFile.c_str(), F_OK) == 0) break;
    // With a stop file to watch, no wait is longer than a tenth of a second.
    const int64_t longest = o.stopFile.empty() ? INT64_MAX : 100'000;
    if (!outgoing.empty() || longest != INT64_MAX) {
      const int64_t due = outgoing.empty() ? longest : (outgoing.front().at - Now(start)).count();
      const int64_t wait = std::clamp<int64_t>(due, 0, longest);
      timeout.tv_sec = static_cast<time_t>(wait / 1'000'000);
      timeout.tv_nsec = static_cast<long>((wait % 1'000'000) * 1000);
      timeoutPtr = &timeout;
    }
    pollfd pfd{master, POLLIN, 0};
    const int n = ppoll(&pfd, 1, timeoutPtr, &waiting);
    if (n < 0 && errno != EINTR) {
      std::cerr << "zr410-sim: poll: " << std::strerror(errno) << "\n";
      status = 1;
      break;
    }
    if (n > 0 && (pfd.revents & POLLIN) != 0) {
      const ssize_t got = ::read(master, buf, sizeof buf);
      const Micros at = Now(start);
      for (ssize_t i = 0; i < got; ++i) {
        produced.clear();
        sim.receive(buf[i], at, produced);
        for (const TimedByte& b : produced) {
          const auto pos = std::upper_bound(outgoing.begin(), outgoing.end(), b.at,
                                            [](Micros t, const TimedByte& x) { return t < x.at; });
          outgoing.insert(pos, b);
        }
      }
      log.flush(sim);
    }
    const Micros now = Now(start);
    due.clear();
    while (!outgoing.empty() && outgoing.front().at <= now) {
      due.push_back(outgoing.front().value);
      outgoing.pop_front();
    }
    if (!due.empty()) {
      // The terminal side is held open, so this never blocks for long; a PC that does not
      // read just leaves the bytes in its input queue.
      size_t off = 0;
      while (off < due.size()) {
        const ssize_t w = ::write(master, due.data() + off, due.size() - off);
        if (w < 0 && errno == EAGAIN) {
          pollfd wp{master, POLLOUT, 0};
          ::poll(&wp, 1, 10);
          continue;
        }
        if (w < 0) break;
        off += static_cast<size_t>(w);
      }
    }
  }
  log.flush(sim);
  if (!o.dump.empty() && !DumpMemory(o.dump, sim)) {
    std::cerr << "zr410-sim: cannot write " << o.dump << "\n";
    status = 1;
  }
  ::unlink(o.link.c_str());
  ::close(slave);
  ::close(master);
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  Options o;
  if (!ParseOptions(argc, argv, o)) {
    Usage();
    return 2;
  }
  return Run(o);
}
