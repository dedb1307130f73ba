// Tune mode as the main window drives it: entering and leaving, the item tree's node clicks,
// the seven begin and end handlers, the item panel with its scroll bar, OK and Cancel, the
// tune channel table and the tune part of the channel-view command. The window renders
// view() and the table model and forwards the user's clicks here; no widget is involved, so
// every rule runs in tests.
//
// The tune state itself (TuneState, CurTuneChannel, CurTuneItem, TuneGridShown,
// TuneDataChanged, ViewMode) stays in the document, which owns it; the controller works on
// it through TuneDocumentRefs, and the document plugs it into its commands and its undo
// history (TuneRefsOf and AttachTune, document/document.h).
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "base/app_state.h"
#include "base/prompter.h"
#include "base/tr.h"
#include "model/edit_flags.h"
#include "model/image.h"
#include "model/tune_items.h"
#include "radio/clock.h"
#include "radio/link.h"
#include "radio/progress.h"
#include "radio/serial_port.h"
#include "tune/tune_protocol.h"
#include "tune/tune_table.h"

namespace qm {

// The caption while the tune view is shown: this followed by the title.
inline constexpr const char* kTuningNotice = QM_TR("正在调测－");

// The document fields tune mode reads and changes.
struct TuneDocumentRefs {
  Image& image;
  EditFlags& flags;  // tuneDataChanged
  ViewMode& viewMode;
  TuneState& tuneState;
  int16_t& curTuneChannel;
  int16_t& curTuneItem;
  bool& tuneGridShown;
  uint8_t& modelByte;  // the main window's model byte
  int16_t& imageVerMajor;
  int16_t& portNumber;
  std::string& caption;
  std::string& captionAfterTune;  // the caption leaving tune mode restores (a file saved meanwhile)
  std::string& statusBand;        // status bar panel 2
};

// The link seams an operation runs over.
struct TuneLinkParts {
  SerialPort& port;
  Clock& clock;
  Progress& progress;
};

// What the window shows of tune mode.
// The screens the view switches between: the tune view as tune mode is entered (the item
// tree and the tune table), and the channel view.
enum class TuneScreen { TuneTable, Channels };

struct TuneView {
  bool treeVisible = false;          // TreeView2
  bool tableVisible = false;         // fraTuneSet
  bool itemVisible = false;          // fraTune
  bool channelPanelsVisible = true;  // frmScan and fraChannel
  bool narrowNodesGrey = false;      // nodes "CTCDevN" and "DCSDevN" in the grey-text colour
  std::string itemCaption;           // fraTune
  std::string channelCaption;        // fraTuneCH: "调测信道" + channel
  std::string rxFreq, rxSignal;      // lblRxfreq, lblRxCTC
  std::string txFreq, txSignal;      // lblTxFreq, lblTxCTC
  int scrollValue = 0;               // hsbTune, 0..255
  std::string valueLabel = "0";      // lblTuneVal
  bool tuneChecked = false;          // mnuTune
  bool channelChecked = true;        // mnuChannel
  bool radioChecked = false;         // mnuRadio
  bool editMenusShown = true;        // mnuModel, mnuWrite and mnuRadio visible and enabled

  // Each screen is set whole, so no flag is left over from the other.
  void show(TuneScreen screen);
};

// The item value's scroll bar hsbTune: one byte, stepped one by one or a page at a time.
inline constexpr int kTuneValueMax = 255;
inline constexpr int kTuneValuePageStep = 8;
enum class TuneStep { Down, Up, PageDown, PageUp, Lowest, Highest };
// The value a step of the bar gives from `value`, kept in 0..kTuneValueMax.
int SteppedTuneValue(int value, TuneStep step);

// The ten nodes of the item tree, in order: the tune items under "adjust".
struct TuneTreeNode {
  const char* key;
  const char* text;
  const char* parent;  // nullptr for a top-level node
};
inline constexpr std::array<TuneTreeNode, 10> kTuneTree = {{
    {"testfreq", QM_TR("调整频率设置"), nullptr},
    {"adjust", QM_TR("调整项"), nullptr},
    {kTuneItems[0].key, kTuneItems[0].treeText, "adjust"},
    {kTuneItems[1].key, kTuneItems[1].treeText, "adjust"},
    {kTuneItems[2].key, kTuneItems[2].treeText, "adjust"},
    {kTuneItems[3].key, kTuneItems[3].treeText, "adjust"},
    {kTuneItems[4].key, kTuneItems[4].treeText, "adjust"},
    {kTuneItems[5].key, kTuneItems[5].treeText, "adjust"},
    {kTuneItems[6].key, kTuneItems[6].treeText, "adjust"},
    {"exit", QM_TR("退出调测"), nullptr},
}};

struct TuneHooks {
  // CommitPendingEdit of the main window (the channel grid's editor; the tune table's own
  // editor is committed here as well).
  std::function<void()> commitPendingEdit;
  // ShowModelInfo for the model byte that entering tune mode found (labels of the window).
  std::function<void()> showModelInfo;
  // The tune table was reloaded, or tune mode entered or left: no step can be undone.
  std::function<void()> forgetEdits;
  // The tune table was written: a step undone past the write brings back a table the radio
  // no longer holds.
  std::function<void()> tuneTableWritten;
};

class TuneController {
 public:
  TuneController(AppState& app, Prompter& prompter, TuneDocumentRefs doc, TuneLinkParts link);
  TuneController(const TuneController&) = delete;
  TuneController& operator=(const TuneController&) = delete;

  TuneHooks hooks;

  const TuneView& view() const { return view_; }
  // The window keeps the menu check marks of the other views here as well.
  TuneView& view() { return view_; }
  TuneTableModel& table() { return table_; }
  const TuneTableModel& table() const { return table_; }

  // mnuTune. True when tune mode was entered.
  bool EnterTuneMode();
  // Leaves tune mode (discarding an item being adjusted).
  void LeaveTuneMode();
  // The tune part of mnuChannel (also the node "exit", the embedded information and the
  // close sequence). False when the tune view stays: the table the user chose to write
  // could not be written.
  bool ChannelMenu();
  // Before the tune view is left (ChannelMenu, a read or write begun there): a tune table
  // with edits not yet written is offered for writing. Yes writes it (an open item is closed
  // first); No drops the edits, so the table shows what the radio holds. False when the
  // write failed and the tune view must stay.
  bool ConfirmLeave();

  // A click on the node with this key.
  void NodeClick(std::string_view key);
  // The begin and end handlers of item index k (0..6). True on success.
  bool BeginItem(int k);
  bool EndItem(int k, bool store);
  void ShowTuneItem(int k);
  // hsbTune moved to `value`.
  void ScrollChanged(int value);
  // A key or an arrow of hsbTune: the stepped value goes to the radio, unless the bar is at
  // its end already and the value stays.
  void ScrollStep(TuneStep step);
  void Ok();
  void Cancel();

  // The table: defaults of the selected model (the document's hook), the tune part of
  // CommitPendingEdit, and cmdSaveTnFq.
  void SetDefaultTuneChannels() { table_.SetDefaultTuneChannels(doc_.image); }
  bool CommitPendingEdit() { return table_.CommitPendingEdit(); }
  void SaveTuneTable();
  // Packs the table and writes it to the radio. 1 = written.
  int16_t WriteTuneData();

  // The model the radio reported on entering (the model byte), as an index of the table.
  int RadioModel() const;
  // The model the labels lblRadio and lblFreqRange name: in the tune view the radio's, else
  // the one selected for the channel data.
  int LabelModel() const;

 private:
  LinkContext link();
  // The offer of a changed table, then the begin. 0 when either failed; its one message has
  // been shown.
  int16_t BeginTuneItemChecked(int k);
  // The question whether to write the changed tune table; nullopt when it is not changed,
  // else whether the user chose to write it.
  std::optional<bool> AskWriteChangedTable();
  void forgetEdits();

  AppState& app_;
  Prompter& prompter_;
  TuneDocumentRefs doc_;
  TuneLinkParts parts_;
  TuneTableModel table_;
  TuneView view_;
};

}  // namespace qm
