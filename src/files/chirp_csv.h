// Channel lists in the CSV dialect of the common open-source programming tool: the 16
// channels written out as its rows, and its rows read into the channel grid through the
// grid's own checks (band clamp and raster of getValidFreq, the signal dialog's tone and
// code checks), so that an imported channel is one a user could have typed.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/app_state.h"
#include "base/tr.h"
#include "files/csv.h"
#include "model/channel_table.h"
#include "model/image.h"
#include "model/layout.h"

namespace qm {

// The full header the dialect writes, then the one column this radio adds.
inline constexpr const char* kChirpHeader =
    "Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,"
    "RxDtcsCode,CrossMode,Mode,TStep,Skip,Power,Comment,URCALL,RPT1CALL,RPT2CALL,DVCODE,"
    "BusyLock";

// The two wattages the power cell is written as ("高", "低"). On import a power of at least
// kChirpHighPowerThresholdW counts as high.
inline constexpr const char* kChirpHighPower = "2.0W";
inline constexpr const char* kChirpLowPower = "0.5W";
inline constexpr double kChirpHighPowerThresholdW = 1.0;

// A frequency this far (MHz) or farther outside the model's extended band makes its row
// unusable; nearer, it is clamped to the band edge as the grid clamps a typed one.
inline constexpr double kChirpFarOutsideMhz = 1.0;

struct ChirpExport {
  std::string csv;                 // UTF-8, CRLF line ends, no BOM
  int rows = 0;                    // channels written (switched-off channels are not)
  std::vector<std::string> notes;  // what the dialect could not hold (TTS signalling)
};

// The Name column: the channel's name as the grid's row header gives it ("信道1"), in the
// interface language when the caller passes the translated template.
inline constexpr const char* kChirpChannelName = QM_TR("信道%1");

// The in-use channels of the image's channel area as rows, Location = channel number, Name
// from `nameTemplate` ("%1" is the channel number). The import reads no name back.
ChirpExport ExportChirpCsv(const Image& image, std::string_view nameTemplate = kChirpChannelName);

struct ChirpImportOptions {
  std::optional<int> fromLocation;  // start at the first row with this Location
  bool clearRest = false;           // switch off the channels after the imported ones
  int firstChannel = 0;             // the first channel (0..15) filled
  // Rows pasted from the clipboard: the header may be missing (the columns are then those
  // the export writes, trailing empty ones may be left off) and fields may be separated by
  // tabs. Row k fills channel firstChannel + k; a row that cannot be used leaves its
  // channel as it was. Notes and the error name channels ("信道5：..."), not lines.
  bool forPaste = false;
};

// One line of the import report. line is the file's line number (1 = first line), 0 for a
// remark about the file as a whole.
struct ChirpNote {
  int line = 0;
  std::string text;
};

struct ChirpImportResult {
  bool ok = false;               // false: nothing in the grid changed
  int imported = 0;              // channels 1..imported were filled
  std::vector<int> sourceLines;  // the file line each imported channel came from
  std::vector<ChirpNote> notes;  // in file order: skipped rows, clamped values, remarks
  std::string error;             // why nothing was imported (ok = false)
};

// Reads the text (UTF-8 with or without BOM, LF or CRLF, "#" comment lines, quoted fields)
// and fills the grid's channels from options.firstChannel on, in file order, up to 16. The grid's
// change flag is set when a channel was imported. identModelByte is image byte 0x2D2 (the raster
// rule).
ChirpImportResult ImportChirpCsv(std::string_view text, ChannelTableModel& grid,
                                 const AppState& app, uint8_t identModelByte,
                                 const ChirpImportOptions& options = {});

// ---- a channel row as grid texts: what the import and the row commands' paste share ----

// One usable row, as the texts a user would type into the grid.
struct ChannelRowPlan {
  int line = 0;  // the file line it came from (0: not from a file)
  std::string rxFreq, txFreq, rxSignal, txSignal;
  bool txInhibit = false;
  bool narrow = false;
  bool scanDelete = false;
  std::optional<bool> lowPower;  // unset: the channel keeps its own
  std::optional<bool> busyLock;
};

// Why a row cannot be used; carries the report text. A paste that uses no row says why in
// one sentence when every row failed the same way.
struct UnusableRow {
  enum Why { NotChannelData, OutsideBand, Other };
  std::string text;
  Why why = Other;
};

// The grid's checks a row's values go through (band clamp and raster, the signal dialog's
// tone and code checks). Each gives the cell text in `out`, or why the row cannot be used;
// a value the check changed is named in `notes`.
class ChannelRowChecks {
 public:
  ChannelRowChecks(const AppState& app, uint8_t identModelByte)
      : app_(app), identModelByte_(identModelByte) {}
  std::optional<UnusableRow> freq(double mhz, const char* what, std::string& out,
                                  std::vector<std::string>& notes) const;
  std::optional<UnusableRow> tone(std::string_view value, const char* column, std::string& out,
                                  std::vector<std::string>& notes) const;
  std::optional<UnusableRow> code(std::string_view value, const char* column, bool inverted,
                                  std::string& out, std::vector<std::string>& notes) const;
  // One signalling side of a channel record: a record may hold what the grid would show but
  // a save would not write back (a tone of no BCD, a code below 023).
  std::optional<UnusableRow> signal(const Signal& signal, const char* column, std::string& out,
                                    std::vector<std::string>& notes) const;

 private:
  const AppState& app_;
  uint8_t identModelByte_;
};

// One row of a paste, in the order of the copy.
struct PasteRow {
  enum Kind { Fill, Skip, SwitchOff } kind = SwitchOff;
  bool gap = false;                // SwitchOff: a Location the copy left out, not a row of it
  ChannelRowPlan plan;             // Fill
  UnusableRow skip;                // Skip
  std::vector<std::string> notes;  // Fill: values the checks changed
};

// Row k of the copy goes to channel firstChannel + k, as one step: a row that cannot be used
// leaves its channel as it was, so the rows after it land where they were copied to land.
// Notes and the error name the channels.
ChirpImportResult PasteRows(const std::vector<PasteRow>& rows, ChannelTableModel& grid,
                            const AppState& app, int firstChannel);

// "第12行：..." or the text alone for a file-wide note.
std::string FormatChirpNote(const ChirpNote& note);

}  // namespace qm
