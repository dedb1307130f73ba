#include "cli/fleet.h"

#include <iostream>
#include <vector>

#include "base/tr.h"
#include "cli/console.h"
#include "model/defaults.h"
#include "platform/translation.h"

namespace qm::cli {

namespace {

// Whether the user typed "q" (and Enter) on a terminal or pipe, without waiting.
bool QuitTyped(std::istream& in) {
  if (&in != &std::cin || !InputWaiting()) return false;
  std::string line;
  if (!std::getline(in, line)) return true;  // end of input ends the run as well
  return line == "q" || line == "Q";
}

// Enter for the next radio, "q" to end; Ctrl+C is read between radios, so the radio being
// written is finished first.
class TerminalSeam : public FleetSeam {
 public:
  TerminalSeam(std::istream& in, std::ostream& out) : in_(in), out_(out) {}
  bool stopRequested() override { return interrupt_.raised(); }
  bool nextRadio(int n) override {
    out_ << TrCoreUtf8(
                Fill(QM_TR("请连接第%1台对讲机，按回车写频（q 回车结束）："), {std::to_string(n)}))
         << std::endl;
    std::string line;
    return std::getline(in_, line) && line != "q" && line != "Q";
  }
  void detecting(int n) override {
    out_ << TrCoreUtf8(
                Fill(QM_TR("等待第%1台对讲机应答……（q 回车或 Ctrl+C 结束）"), {std::to_string(n)}))
         << std::endl;
  }
  bool pollDetect() override { return !QuitTyped(in_); }
  void radioDone(const FleetRecord& r, const RosterRow*) override {
    out_ << TrCoreUtf8(FleetLine(r)) << std::endl;
  }
  void logNotWritten(const std::string& path) override {
    out_ << "[" << kAppTitle << "] " << TrCoreUtf8(QM_TR("记录文件无法写入")) << " (" << path
         << ")\n";
  }

 private:
  const InterruptFlag interrupt_;
  std::istream& in_;
  std::ostream& out_;
};

}  // namespace

int RunFleet(LinkContext& ctx, const Image& file, int16_t fileVerMajor, const FleetOptions& options,
             const Roster* roster, std::istream& in, std::ostream& out) {
  TerminalSeam seam(in, out);
  const FleetSummary s = qm::RunFleet(ctx, file, fileVerMajor, options, roster, seam);
  const std::vector<int>& failed = s.failed;
  std::string summary = FillCount(QM_TR_N("共%n台：成功%1台，失败%2台"), s.count,
                                  {std::to_string(s.succeeded), std::to_string(failed.size())});
  out << TrCoreUtf8(summary);
  if (!failed.empty()) {
    std::string list;
    for (size_t k = 0; k < failed.size(); ++k)
      list += (k ? TrCoreUtf8(QM_TR("、")) : "") + "#" + std::to_string(failed[k]);
    out << TrCoreUtf8(Fill(QM_TR("（%1）"), {list}));
  }
  out << std::endl;
  return s.ok() ? 0 : 1;
}

}  // namespace qm::cli
