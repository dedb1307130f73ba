// The document's "edited since the last collection" flags. The editors set them; the
// document owns them and clears them after a save, a load or a New.
#pragma once

namespace qm {

struct EditFlags {
  bool dataChanged = false;       // channel grid, its check boxes and the scan settings
  bool functionsChanged = false;  // the radio-wide function lists (cboRadio)
  bool tuneDataChanged = false;   // the tune channel table and tune items

  bool operator==(const EditFlags&) const = default;
};

}  // namespace qm
