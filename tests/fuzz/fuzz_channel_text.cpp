// The text a paste or a CSV import takes: any bytes as the clipboard's text (pasted without
// the private form) and as the content of a CSV file, under models of different bands and
// rasters and both decimal separators. Besides the sanitizers' checks: a refusal changes
// nothing and says why; an accepted paste or import is one undo step that puts everything
// back, and what it put in the grid is what a save writes and a reload shows again.
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "channel_desk.h"
#include "document/channel_edits.h"
#include "files/chirp_csv.h"
#include "fuzz_check.h"

namespace {

using qm::fuzz::ChannelDesk;
using qm::fuzz::Require;

struct Setup {
  int code;  // the model
  char sep;  // the decimal separator
  bool paste;
  int first;  // the first channel filled
  std::optional<int> fromLocation;
  bool clearRest;
};

constexpr Setup kSetups[] = {
    {7, '.', true, 0, std::nullopt, false},    // 440-470 MHz, 5 and 6.25 kHz
    {32, ',', true, 13, std::nullopt, false},  // the 446 MHz model, rows past channel 16
    {10, '.', false, 0, std::nullopt, false},  // VHF, the file as it stands
    {12, ',', false, 4, 3, true},              // from Location 3, the rest switched off
};

void Run(const Setup& s, ChannelDesk& desk, ChannelDesk& reload, std::string_view text) {
  desk.reset();
  const qm::Image before = desk.saved();
  bool ok = false;
  int count = 0;
  std::string error;
  if (s.paste) {
    const qm::PasteResult r =
        qm::PasteChannels(desk.grid(), desk.image, desk.app, s.first, std::nullopt, text);
    ok = r.ok, count = r.pasted, error = r.error;
  } else {
    qm::ChirpImportOptions opt;
    opt.firstChannel = s.first;
    opt.fromLocation = s.fromLocation;
    opt.clearRest = s.clearRest;
    const qm::ChirpImportResult r =
        qm::ImportChirpCsv(text, desk.grid(), desk.app, desk.image.modelCode(), opt);
    ok = r.ok, count = r.imported, error = r.error;
    Require(!ok || r.sourceLines.size() == static_cast<size_t>(count), "a source line each");
  }
  qm::fuzz::CheckEditOutcome(desk, reload, before, ok, count, error, s.first, true);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // Two desks a setup: the one edited, and one that shows what it saved.
  static const std::vector<std::unique_ptr<ChannelDesk>> desks = [] {
    std::vector<std::unique_ptr<ChannelDesk>> out;
    for (const Setup& s : kSetups)
      for (int i = 0; i < 2; ++i) out.push_back(std::make_unique<ChannelDesk>(s.code, s.sep));
    return out;
  }();
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  for (size_t k = 0; k < std::size(kSetups); ++k)
    Run(kSetups[k], *desks[2 * k], *desks[2 * k + 1], text);
  return 0;
}
