// The program's private clipboard form of channel records: any bytes as the clipboard's data
// in that format. A clip that decodes encodes back to the same bytes; pasted as copied under
// the current model (the records as they are) and as copied under another model (through the
// checks of an imported row), it leaves the grid as fuzz_check.h requires.
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "channel_desk.h"
#include "document/channel_edits.h"
#include "fuzz_check.h"

namespace {

using qm::fuzz::ChannelDesk;
using qm::fuzz::Require;

struct Setup {
  int code;        // the current model
  char sep;        // the decimal separator
  int copiedFrom;  // the model code the clip is pasted as copied under
  int first;       // the first channel filled
};

constexpr Setup kSetups[] = {
    {7, '.', 7, 0},    // the same model: the records as they are
    {12, ',', 12, 9},  // the same model, rows past channel 16
    {7, '.', 10, 0},   // copied under a VHF model, pasted under a UHF one
    {32, ',', 7, 3},   // into the 446 MHz model and its raster
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::span<const uint8_t> bytes(data, size);
  const std::optional<qm::ChannelClip> clip = qm::DecodeChannelClip(bytes);
  if (!clip) return 0;
  Require(qm::EncodeChannelClip(*clip) == std::vector<uint8_t>(bytes.begin(), bytes.end()),
          "a clip encodes back to its bytes");

  // Two desks a setup: the one pasted into, and one that opens what it saved.
  static const std::vector<std::unique_ptr<ChannelDesk>> desks = [] {
    std::vector<std::unique_ptr<ChannelDesk>> out;
    for (const Setup& s : kSetups)
      for (int i = 0; i < 2; ++i) out.push_back(std::make_unique<ChannelDesk>(s.code, s.sep));
    return out;
  }();
  for (size_t k = 0; k < std::size(kSetups); ++k) {
    const Setup& s = kSetups[k];
    ChannelDesk& desk = *desks[2 * k];
    desk.reset();
    const qm::Image before = desk.saved();
    qm::ChannelClip pasted = *clip;
    pasted.modelCode = static_cast<int16_t>(s.copiedFrom);
    const qm::PasteResult r =
        qm::PasteChannels(desk.grid(), desk.image, desk.app, s.first, pasted, "");
    if (r.ok && s.copiedFrom == s.code) {
      // The bytes the grid does not show come along as they are.
      qm::Image after = desk.saved();
      for (int i = 0; i < r.pasted; ++i)
        for (size_t b = 11; b < qm::kRowSize; ++b)
          Require(after.channel(s.first + i)[b] == clip->records[static_cast<size_t>(i)][b],
                  "a record's hidden bytes are pasted as they are");
    }
    qm::fuzz::CheckEditOutcome(desk, *desks[2 * k + 1], before, r.ok, r.pasted, r.error, s.first,
                               s.copiedFrom != s.code);
  }
  return 0;
}
