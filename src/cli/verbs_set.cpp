// The bulk edit of the window for scripts: set FILE --channels LIST [settings] -o OUT. The
// same core code and checks as the window's "批量修改"; each row's report goes to stderr.
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "base/app_state.h"
#include "base/prompter.h"
#include "base/text_util.h"
#include "base/tr.h"
#include "cli/args.h"
#include "cli/cli_document.h"
#include "cli/context.h"
#include "cli/verbs.h"
#include "document/channel_edits.h"
#include "document/document.h"
#include "model/channel_table.h"
#include "platform/translation.h"

namespace qm::cli {

namespace {

// The values of the options are typed as the grid shows them, in either language. The help
// names them in the interface language.
constexpr const char* kSetUsage = QM_TR(
    "set FILE --channels 1-8 [--bandwidth 宽带|窄带] [--power 高|低] [--scan 添加|删除] "
    "[--busy-lock 打开|关闭] [--rx-signal TEXT] [--tx-signal TEXT] [--tx-inhibit on|off] "
    "[--tx-equals-rx] [--fill-from MHZ [--step KHZ] [--fill-tx]] -o OUT");

// True for the grid's `text`, for its translation and for each of `words` (English words a
// technician types in either interface language). Letter case does not matter.
bool Names(std::string_view value, const char* text, std::initializer_list<const char*> words) {
  const std::string v = ToLowerAscii(value);
  if (v == ToLowerAscii(text) || v == ToLowerAscii(TrCoreUtf8(text))) return true;
  for (const char* w : words)
    if (v == w) return true;
  return false;
}

// An on/off setting: out is true for the `onText` side and stays empty when the option was
// not given. False for a value of neither side.
bool Choice(const std::optional<std::string>& value, const char* offText, const char* onText,
            std::initializer_list<const char*> offWords, std::initializer_list<const char*> onWords,
            std::optional<bool>& out) {
  if (!value) return true;
  if (Names(*value, onText, onWords)) {
    out = true;
  } else if (Names(*value, offText, offWords)) {
    out = false;
  } else {
    return false;
  }
  return true;
}

int Set(const Invocation& inv) {
  Args a(inv.args,
         {"-o", "--channels", "--bandwidth", "--power", "--scan", "--busy-lock", "--rx-signal",
          "--tx-signal", "--tx-inhibit", "--fill-from", "--step"},
         {"--tx-equals-rx", "--fill-tx"});
  const auto out = a.value("-o");
  const auto list = a.value("--channels");
  if (!a.ok() || a.positional().size() != 1 || !out || !list) {
    if (!a.ok()) std::cerr << "qm830k-cli: set: " << TrCoreUtf8(a.error()) << "\n";
    return Usage(TrCoreUtf8(kSetUsage));
  }
  // Given twice, one of the two values would be dropped without a word.
  if (const auto twice = a.repeated()) {
    std::cerr << "qm830k-cli: " << *twice << ": " << TrCoreUtf8(QM_TR("这个选项只能给一次"))
              << "\n";
    return 2;
  }
  for (const char* needsFill : {"--step", "--fill-tx"}) {
    if (!a.value("--fill-from") && (a.value(needsFill) || a.flag(needsFill))) {
      std::cerr << "qm830k-cli: " << needsFill << ": "
                << TrCoreUtf8(Fill(QM_TR("只有和%1一起才起作用"), {"--fill-from"})) << "\n";
      return 2;
    }
  }
  std::string listError;
  const std::optional<std::vector<int>> channels = ParseChannelList(*list, &listError);
  if (!channels) {
    std::cerr << "qm830k-cli: --channels: " << TrCoreUtf8(listError) << "\n";
    return 2;
  }

  using namespace cell_text;
  BulkEdit edit;
  struct OnOff {
    const char* option;
    std::optional<bool>* target;
    const char* offText;
    const char* onText;
    std::initializer_list<const char*> offWords, onWords;
  };
  const OnOff choices[] = {
      {"--bandwidth", &edit.narrow, kWide, kNarrow, {"wide"}, {"narrow"}},
      {"--power", &edit.lowPower, kPowerHigh, kPowerLow, {"high"}, {"low"}},
      {"--scan", &edit.scanDelete, kScanAdd, kScanDelete, {"add"}, {"delete", "del"}},
      {"--busy-lock", &edit.busyLock, kLockOff, kLockOn, {"off"}, {"on"}},
      {"--tx-inhibit",
       &edit.txInhibit,
       QM_NOTR("允许"),
       QM_NOTR("禁发"),
       {"off", "no"},
       {"on", "yes"}},
  };
  for (const OnOff& c : choices) {
    const auto v = a.value(c.option);
    if (!Choice(v, c.offText, c.onText, c.offWords, c.onWords, *c.target)) {
      // The values the help names, in the interface language.
      const bool words = std::string_view(c.option) == "--tx-inhibit";
      const std::string valid =
          words ? std::string("on|off") : TrCoreUtf8(c.offText) + "|" + TrCoreUtf8(c.onText);
      std::cerr << "qm830k-cli: " << c.option << ": "
                << TrCoreUtf8(Fill(QM_TR("无法识别的值（%1），应为%2"), {*v, valid})) << "\n";
      return 2;
    }
  }
  edit.rxSignal = a.value("--rx-signal");
  edit.txSignal = a.value("--tx-signal");
  edit.txEqualsRx = a.flag("--tx-equals-rx");
  edit.fillFrom = a.value("--fill-from");
  if (auto step = a.value("--step")) edit.fillStepKhz = *step;
  edit.fillTx = a.flag("--fill-tx");
  if (!edit.any()) {
    std::cerr << "qm830k-cli: set: " << TrCoreUtf8(QM_TR("没有要修改的项目")) << "\n";
    return Usage(TrCoreUtf8(kSetUsage));
  }

  CliDocument d(inv);
  if (!d.open(a.positional()[0])) return 1;
  d.prompter.printTo(std::cerr);

  const BulkResult r = ApplyBulkEdit(d.doc.editors().channels(), d.cli.app, d.doc.image.modelCode(),
                                     *channels, edit);
  for (const std::string& n : r.notes) std::cerr << TrCoreUtf8(n) << "\n";
  if (!r.ok) {
    std::cerr << "[" << kAppTitle << "] " << TrCoreUtf8(Fill(QM_TR("%1，没有修改"), {r.error}))
              << "\n";
    return 1;
  }
  // As Save As: the editors are collected into the image before it is written.
  d.doc.CollectRadioData();
  if (!SaveOrReport(*out, d.doc.image, d.doc.spare)) return 1;
  std::cerr << TrCoreUtf8(FillCount(QM_TR_N("修改了%n个信道 (%1)"), r.changedRows, {*out})) << "\n";
  return 0;
}

const VerbRegistrar kSet{
    {"set", kSetUsage,
     "change chosen settings of chosen channels through the grid's checks; save to OUT", Set}};

}  // namespace

}  // namespace qm::cli
