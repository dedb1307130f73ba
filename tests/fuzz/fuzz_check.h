// What a paste or an import must leave behind, whatever it was given.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>

#include "channel_desk.h"

namespace qm::fuzz {

inline void Require(bool holds, const char* what) {
  if (holds) return;
  std::fprintf(stderr, "fuzz check failed: %s\n", what);
  std::abort();
}

// Where two grids or two images differ, for the report of a failed check.
inline void PrintDifferences(const ChannelTableModel::State& a, const ChannelTableModel::State& b) {
  for (size_t r = 1; r < a.cells.size(); ++r)
    for (size_t c = 1; c < a.cells[r].size(); ++c)
      if (a.cells[r][c].text != b.cells[r][c].text)
        std::fprintf(stderr, "  row %zu column %zu: \"%s\" / \"%s\"\n", r, c,
                     a.cells[r][c].text.c_str(), b.cells[r][c].text.c_str());
  for (size_t i = 0; i < a.chOff.size(); ++i)
    if (a.chOff[i] != b.chOff[i] || a.txOff[i] != b.txOff[i] || a.txEqRx[i] != b.txEqRx[i])
      std::fprintf(stderr, "  channel %zu: off %d/%d, tx off %d/%d, tx = rx %d/%d\n", i + 1,
                   a.chOff[i], b.chOff[i], a.txOff[i], b.txOff[i], a.txEqRx[i], b.txEqRx[i]);
}
inline void PrintDifferences(const Image& a, const Image& b) {
  for (size_t i = 0; i < kImageSize; ++i)
    if (a[i] != b[i]) std::fprintf(stderr, "  0x%03zx: %02x / %02x\n", i, a[i], b[i]);
}

// ok, count and error: the outcome of a paste or an import into desk's grid from channel
// `first` on; before: desk.saved() before it. reload: a desk of the same model, to open what
// a save would write. checked: every value went through the grid's checks, as an imported
// row's do, so the grid holds only values a save writes as shown. Records pasted as they are
// show what they hold, as a record from a file does, and a save writes the value its text
// stands for (a DCS code below 010 as 010, a tone that is no BCD as the digits shown).
inline void CheckEditOutcome(ChannelDesk& desk, ChannelDesk& reload, const Image& before, bool ok,
                             int count, const std::string& error, int first, bool checked) {
  if (!ok) {
    Require(count == 0 && !error.empty(), "a refusal says why and fills no channel");
    Require(desk.saved() == before && desk.history.undoCount() == 0, "a refusal changes nothing");
    return;
  }
  Require(error.empty() && count >= 1 && count <= kChannelCount - first,
          "the channels filled are there from the first one on");
  const Image after = desk.saved();
  if (checked) {
    // The grid shows what a save writes: saved and opened again, the channels read the same.
    reload.image = after;
    reload.editors.DisplayRadioData(reload.image);
    reload.history.clear();
    const Image again = reload.saved();
    if (!(again == after)) PrintDifferences(again, after);
    Require(again == after, "a reload saves the same channels (reloaded / pasted)");
    const ChannelTableModel::State shown = reload.grid().state();
    if (!shown.sameContent(desk.grid().state())) PrintDifferences(shown, desk.grid().state());
    Require(shown.sameContent(desk.grid().state()),
            "a reload shows the same grid (reloaded / pasted)");
  }
  // One step, and undo puts everything back.
  Require(desk.history.undoCount() <= 1, "one undo step");
  if (desk.history.undoCount() == 1)
    Require(desk.history.undo() && desk.saved() == before, "undo puts everything back");
  else
    Require(after == before, "no undo step only when nothing changed");
}

}  // namespace qm::fuzz
