// The window's views and tune mode's state. The document keeps them; tune mode changes them.
#pragma once

#include <cstdint>

namespace qm {

enum class ViewMode : int16_t {
  Channels = 1,   // the channel grid and the function panel
  EmbedInfo = 2,  // the embedded information dialog is open
  Tune = 3,       // the tune view
};

enum class TuneState : int16_t {
  Off = 0,
  Entered = 1,     // the radio is in its tune state, no item open
  ItemOpen = 2,    // an item is being adjusted: the port stays open
  ItemClosed = 3,  // an item was ended (its leave frame differs from Entered's)
};

}  // namespace qm
