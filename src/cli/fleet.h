// Writing one data file into many radios, one after the other: `write FILE --fleet`.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>

#include "model/image.h"
#include "radio/link.h"
#include "radio/write_checks.h"

namespace qm::cli {

struct FleetOptions {
  WriteChecks checks;
  bool autoDetect = false;  // wait for a radio to answer instead of for Enter
  std::string logPath;      // CSV log, appended to (empty: none)
  int maxRadios = 0;        // stop after this many radios (0: no limit; for scripts and tests)
};

// Runs until "q", end of input or Ctrl+C (which lets the radio being written finish first),
// printing one line per radio on `out` and a summary at the end. Gives the exit code: 0 when
// every radio was written (and verified when asked), 1 otherwise.
int RunFleet(LinkContext& ctx, const Image& file, int16_t fileVerMajor, const FleetOptions& options,
             std::istream& in, std::ostream& out);

}  // namespace qm::cli
