// Writing one data file into many radios, one after the other: `write FILE --fleet`. The
// loop is the core's (radio/fleet.h); this is its terminal.
#pragma once

#include <cstdint>
#include <iosfwd>

#include "model/image.h"
#include "radio/fleet.h"
#include "radio/link.h"

namespace qm::cli {

// Runs until "q", end of input or Ctrl+C (which lets the radio being written finish first),
// or the roster's last row, printing one line per radio on `out` and a summary at the end.
// Gives the exit code: 0 when every radio was written (and verified when asked), 1 otherwise.
int RunFleet(LinkContext& ctx, const Image& file, int16_t fileVerMajor, const FleetOptions& options,
             const Roster* roster, std::istream& in, std::ostream& out);

}  // namespace qm::cli
