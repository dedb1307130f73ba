// Writing one data file into many radios, one after the other: the loop the command line's
// `write FILE --fleet` and the window's fleet dialog share. What differs between them (how
// the user says "next radio", how a stop is asked for, where each radio's line goes) is the
// FleetSeam; the order of probe, write, checks, log row and summary is the same for both.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "model/image.h"
#include "radio/link.h"
#include "radio/write_checks.h"

namespace qm {

// ---- the roster: one row per radio ----

struct RosterRow {
  int line = 0;         // the file's line, for messages
  std::string label;    // logged beside the radio ID
  std::u16string text;  // written into the radio's user text area
};

struct Roster {
  std::vector<RosterRow> rows;
  std::string error;  // why the roster was refused (empty: accepted)
  bool ok() const { return error.empty(); }
};

// CSV text (UTF-8, a header row first): column 1 the label, column 2 the user text. A row
// without a user text column, or with a text longer than the area takes, refuses the whole
// roster with its line number, so that nothing is written with a roster half right.
Roster ParseRoster(std::string_view csv);
Roster LoadRoster(const std::string& path);

// ---- the run ----

struct FleetOptions {
  WriteChecks checks;
  bool autoDetect = false;  // wait for a radio to answer instead of for the user
  std::string logPath;      // CSV log, appended to (empty: none)
  int maxRadios = 0;        // stop after this many radios (0: no limit)
};

struct FleetSummary {
  int count = 0;
  int succeeded = 0;
  std::vector<int> failed;  // the numbers of the radios that failed
  bool ok() const { return failed.empty(); }
};

class FleetSeam {
 public:
  virtual ~FleetSeam() = default;
  // Between radios and while detecting: true ends the run (the radio being written is
  // always finished first).
  virtual bool stopRequested() = 0;
  // Waiting for the user: gives when radio `n` is on the line, false to end the run.
  virtual bool nextRadio(int n) = 0;
  // Detecting: said once before radio `n` is waited for; pollDetect() is asked before every
  // probe and false ends the run.
  virtual void detecting(int n) = 0;
  virtual bool pollDetect() { return true; }
  // Radio `r.count` is done; `row` is the roster row it used (null without a roster).
  virtual void radioDone(const FleetRecord& r, const RosterRow* row) = 0;
  // The log could not be appended to.
  virtual void logNotWritten(const std::string& path) = 0;
};

// Radio N gets the template with, when a roster is given, row N's user text, and the run
// ends after the last row. A radio of another model than the template's is logged as failed
// and not written. When detecting, the radio just written still answering is not the next
// one: it has to leave the line (or a radio with another ID answer) first. The log's rows
// carry the row's label as a last column when a roster is given.
FleetSummary RunFleet(LinkContext& ctx, const Image& templateImage, int16_t templateVerMajor,
                      const FleetOptions& options, const Roster* roster, FleetSeam& seam);

}  // namespace qm
