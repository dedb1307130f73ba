// Commands on whole channel rows of the grid: copy (a private clipboard form with the exact
// channel records, and the rows as CSV text with its header, as the export writes them),
// paste, clear, and the bulk edit of chosen settings on chosen rows. Each goes through the
// grid model's own operations and checks, so a pasted or bulk-edited value is one a user
// could have entered, and each is one undo step.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/app_state.h"
#include "files/chirp_csv.h"
#include "model/channel_table.h"
#include "model/image.h"

namespace qm {

// The clipboard format of the private form.
inline constexpr const char* kChannelClipMime = "application/x-qm830k-channels";

struct ChannelClip {
  int16_t modelCode = 0;  // the model the records were copied under
  std::vector<std::array<uint8_t, kRowSize>> records;
  bool operator==(const ChannelClip&) const = default;
};
std::vector<uint8_t> EncodeChannelClip(const ChannelClip& clip);
// nullopt for anything that is not a whole, well-formed clip.
std::optional<ChannelClip> DecodeChannelClip(std::span<const uint8_t> bytes);

struct CopiedChannels {
  ChannelClip clip;
  std::string csv;  // header and the switched-on rows, CRLF
};
// Channels (0..15, in the order given) as the grid shows them; nothing changes. The text
// form names the channels from `nameTemplate` (the interface language's row header).
CopiedChannels CopyChannels(const ChannelTableModel& grid, const Image& image, const AppState& app,
                            const std::vector<int>& channels,
                            std::string_view nameTemplate = kChirpChannelName);

struct PasteResult {
  bool ok = false;  // false: nothing changed
  int pasted = 0;   // channels filled, from the first one on
  std::vector<std::string> notes;
  std::string error;
};
// Fills channels from firstChannel (0..15) down, at most to channel 16, copied row k to
// channel firstChannel + k: from the private form exactly when it was copied under the
// current model (the carried bytes of the record go into the image); copied under another
// model, its records through the checks of the CSV import (a switched-off record switches
// its channel off, one that does not fit leaves its channel as it was); without the private
// form, the text through those checks. Notes name the channels.
PasteResult PasteChannels(ChannelTableModel& grid, Image& image, const AppState& app,
                          int firstChannel, const std::optional<ChannelClip>& clip,
                          std::string_view text);

// A paste onto the chosen channels (0..15): one copied row fills each of them, as one step;
// several rows fill from the first chosen channel down, as PasteChannels does.
PasteResult PasteChannelsOnto(ChannelTableModel& grid, Image& image, const AppState& app,
                              const std::vector<int>& channels,
                              const std::optional<ChannelClip>& clip, std::string_view text);

// Switches the channels off ("清除"; "剪切" after a copy); one step named label.
int SwitchOffChannels(ChannelTableModel& grid, const std::vector<int>& channels,
                      const std::string& label);

// A bulk edit: only the fields that hold a value change.
struct BulkEdit {
  std::optional<bool> narrow;
  std::optional<bool> lowPower;
  std::optional<bool> scanDelete;
  std::optional<bool> busyLock;
  std::optional<std::string> rxSignal;  // "OFF", "CTC 88.5", "DCS 023", "-DCS 023"
  std::optional<std::string> txSignal;
  std::optional<bool> txInhibit;
  bool txEqualsRx = false;
  // "按步进填充频率": the first chosen row gets fillFrom (MHz), each next one fillStepKhz more.
  // A step the radio's raster cannot space evenly is refused; a row the raster still moves
  // (a start off the raster) is named in the notes.
  std::optional<std::string> fillFrom;
  std::string fillStepKhz = "12.5";
  bool fillTx = false;  // the transmit frequencies too
  bool any() const;
};

// The input a refused bulk edit names, so the dialog can point at it.
enum class BulkField { None, RxSignal, TxSignal, FillFrom, FillStep };

struct BulkResult {
  bool ok = false;  // false: a value was unreadable and nothing changed
  BulkField field = BulkField::None;
  int changedRows = 0;
  std::vector<std::string> notes;  // per row: what it kept and why
  std::string error;
};
// Why the edit's values cannot be used (unreadable signalling, start or step, a step off the
// raster), or empty; ApplyBulkEdit refuses the same values with the same text.
std::string CheckBulkEdit(const AppState& app, uint8_t identModelByte, const BulkEdit& edit);
// The transmit settings are made before an inhibit the edit sets, as the grid allows them.
BulkResult ApplyBulkEdit(ChannelTableModel& grid, const AppState& app, uint8_t identModelByte,
                         const std::vector<int>& channels, const BulkEdit& edit);

// A signalling text as the signalling dialog would return it ("ctc 88.5" reads as
// "CTC 88.5", a tone is clamped as the dialog clamps it); nullopt with the dialog's
// message when it cannot take it.
std::optional<std::string> CheckSignalText(std::string_view text, const AppState& app,
                                           std::string& message);

// The channels a row command works on: the selected rows, else the current cell's row.
std::vector<int> ChosenChannels(const ChannelTableModel& grid, std::vector<int> selected);

// "1-4, 7": channels (0..15, sorted) as the bulk edit names them, numbered from 1.
std::string ChannelRangeText(const std::vector<int>& channels);

// "1-8", "1,3,5-7": channel numbers 1..16 as indexes 0..15, sorted, no repeats; nullopt for
// anything else (an empty item, a reversed range, a number outside 1..16), with the reason
// in `error` when given.
std::optional<std::vector<int>> ParseChannelList(std::string_view text,
                                                 std::string* error = nullptr);

}  // namespace qm
