// Tune mode verbs: tune-show, tune-adjust and tune-write. Each drives the same tune
// controller the window drives, over a document started as a fresh window starts it, with
// the console prompter (--yes answers the questions), a sleeping clock and the serial port the
// port number maps to (or --device).

#include <cstdio>
#include <iostream>
#include <optional>
#include <string>

#include "base/tr.h"
#include "cli/args.h"
#include "cli/console_prompter.h"
#include "cli/context.h"
#include "cli/trace_option.h"
#include "cli/verbs.h"
#include "document/config.h"
#include "document/document.h"
#include "files/data_file.h"
#include "files/data_file_messages.h"
#include "platform/sleep_clock.h"
#include "platform/system_serial_port.h"
#include "platform/translation.h"
#include "tune/tune_controller.h"

namespace qm::cli {

namespace {

constexpr const char* kShowUsage = "tune-show [--port N] [--device PATH] [--trace FILE] [--yes]";
constexpr const char* kAdjustUsage =
    "tune-adjust --item KEY --channel N --value V [--store] [--port N] [--device PATH] [--trace "
    "FILE] [--yes]";
constexpr const char* kWriteUsage =
    "tune-write FILE [--port N] [--device PATH] [--trace FILE] [--yes]";

// The progress window on a terminal: its caption when it opens.
class TuneConsoleProgress : public Progress {
 protected:
  void onOpen() override {
    std::cerr << "[" << TrCoreUtf8(title()) << "] " << TrCoreUtf8(caption()) << "\n";
  }
};

// A window's worth of state for one tune verb.
struct TuneSession {
  CliApp cli;
  std::optional<SystemSerialPort> port;
  SleepClock clock;
  std::optional<ConsolePrompter> prompter;
  TuneConsoleProgress progress;
  std::optional<Document> doc;
  std::optional<TuneController> ctl;
  TraceOption trace;  // --trace FILE

  bool setUp(const Invocation& inv, Args& a) {
    LoadCliApp(inv, cli);
    port.emplace(cli.programIni.get());
    prompter.emplace(a.flag("--yes"));
    doc.emplace(cli.app, *prompter, *cli.programIni);
    doc->Start();
    if (auto n = a.intValue("--port", kMinPortNumber, kMaxListedPort)) {
      doc->setPortNumber(static_cast<int16_t>(*n));
    }
    if (!ApplyLinkOptions(a, *port, clock, trace)) return false;
    ctl.emplace(cli.app, *prompter, TuneRefsOf(*doc),
                TuneLinkParts{trace.port(*port), clock, progress});
    return true;
  }

  // Leaves tune mode as the channel view command does; false when the radio did not
  // acknowledge the leave frames (it then stays in its tune state).
  bool leave() {
    ctl->ChannelMenu();
    if (doc->tuneState == 0) return true;
    std::cerr << "[" << kAppTitle << "] " << TrCoreUtf8(QM_TR("调测模式没有退出"))
              << " (the radio did not acknowledge)\n";
    return false;
  }
};

const std::set<std::string> kValueOptions = {"--port",    "--device", "--item",
                                             "--channel", "--value",  "--trace"};

void PrintTable(const TuneTableModel& t) {
  std::printf("%-4s %-10s %-5s %-10s %-10s %-5s %-10s %s\n", "CH", "RX-MHz", "STEP", "RX-SIG",
              "TX-MHz", "STEP", "TX-SIG", "STATE");
  for (int row = 1; row <= kTuneChannelCount; ++row) {
    const int i = row - 1;
    std::string state =
        TrCoreUtf8(t.channelOff(i) ? QM_TR("关闭") : (t.txInhibited(i) ? QM_TR("禁发") : "-"));
    if (t.selectedChannel() == i) state += " *";
    std::printf("%-4d %-10s %-5s %-10s %-10s %-5s %-10s %s\n", row, t.text(row, 1).c_str(),
                t.text(row, 2).c_str(), t.text(row, 3).c_str(), t.text(row, 4).c_str(),
                t.text(row, 5).c_str(), t.text(row, 6).c_str(), state.c_str());
  }
}

void PrintItems(const Image& image) {
  for (size_t k = 0; k < kTuneItems.size(); ++k) {
    std::printf("%-9s %3u  %s\n", kTuneItems[k].key,
                static_cast<unsigned>(image[addr::kTuneItems + k]),
                TrCoreUtf8(kTuneItems[k].panelCaption).c_str());
  }
}

int TuneShow(const Invocation& inv) {
  Args a(inv.args, kValueOptions, {"--yes"});
  if (!a.ok() || !a.positional().empty()) return Usage(kShowUsage);
  TuneSession s;
  if (!s.setUp(inv, a)) return 2;
  if (!s.ctl->EnterTuneMode()) return 1;
  PrintTable(s.ctl->table());
  PrintItems(s.doc->image);
  return s.leave() ? 0 : 1;
}

int TuneAdjust(const Invocation& inv) {
  Args a(inv.args, kValueOptions, {"--yes", "--store"});
  const auto key = a.value("--item");
  const auto channel = a.intValue("--channel", 1, kTuneChannelCount);
  const auto value = a.intValue("--value", 0, 255);
  if (!a.ok() || !a.positional().empty() || !key || !channel || !value) {
    if (!a.ok()) std::cerr << "qm830k-cli: " << a.error() << "\n";
    return Usage(kAdjustUsage);
  }
  if (TuneItemCodeOfKey(*key) == 0) {
    std::cerr << "qm830k-cli: --item takes one of";
    for (const TuneItemName& n : kTuneItems) std::cerr << " " << n.key;
    std::cerr << "\n";
    return 2;
  }
  TuneSession s;
  if (!s.setUp(inv, a)) return 2;
  if (!s.ctl->EnterTuneMode()) return 1;

  TuneController& c = *s.ctl;
  if (c.view().narrowNodesGrey && kTuneItemSpecs[TuneItemCodeOfKey(*key) - 1].narrow) {
    std::cerr << "[" << kAppTitle << "] " << *key << ": "
              << TrCoreUtf8(QM_TR("该机为V1.0版，没有窄带调测项")) << "\n";
    s.leave();
    return 1;
  }
  c.table().clickTestChannel(*channel - 1);
  c.NodeClick(*key);
  bool ok = s.doc->tuneState == 2;
  if (ok) {
    c.ScrollChanged(*value);
    ok = c.view().itemVisible;  // a failed trial value hides the item panel
    if (ok && a.flag("--store")) {
      c.Ok();
    } else {
      c.Cancel();
    }
    ok = ok && s.doc->tuneState == 3;
  }
  if (ok) {
    std::cout << *key << " channel " << *channel << ": " << *value
              << (a.flag("--store") ? " stored\n" : " tried, not stored\n");
  }
  const bool left = s.leave();
  return ok && left ? 0 : 1;
}

int TuneWrite(const Invocation& inv) {
  Args a(inv.args, kValueOptions, {"--yes"});
  if (!a.ok() || a.positional().size() != 1) return Usage(kWriteUsage);
  TuneSession s;
  if (!s.setUp(inv, a)) return 2;
  LoadedFile f;
  if (!LoadOrReport(a.positional()[0], f)) return 1;
  if (!s.ctl->EnterTuneMode()) return 1;
  // The file's tune channel table replaces the one just read, as if typed into the grid.
  for (size_t i = 0; i < kTuneChannelCount * kRowSize; ++i) {
    s.doc->image[addr::kTuneChannels + i] = f.image[addr::kTuneChannels + i];
  }
  s.ctl->table().DisplayTuneGrid(s.doc->image);
  const bool written = s.ctl->WriteTuneData() == 1;
  if (written) PrintTable(s.ctl->table());
  const bool left = s.leave();
  return written && left ? 0 : 1;
}

const VerbRegistrar kTuneShow{{"tune-show", kShowUsage,
                               "enter tune mode, print the tune channel table and the seven "
                               "item values, leave",
                               TuneShow}};
const VerbRegistrar kTuneAdjust{{"tune-adjust", kAdjustUsage,
                                 "adjust one tune item (Battery, SqlTight, SqlOpen, CTCDevW, "
                                 "DCSDevW, CTCDevN, DCSDevN) on a tune channel",
                                 TuneAdjust}};
const VerbRegistrar kTuneWrite{{"tune-write", kWriteUsage,
                                "write the tune channel table of a data file into the radio",
                                TuneWrite}};

}  // namespace
}  // namespace qm::cli
