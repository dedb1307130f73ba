// Undo and redo of the user's edits. The history watches the editor models through their
// edit seam (EditObserver): the state before a user action and the state after it make one
// step when they differ. A step keeps whole states of the editors' working copies (the
// channel grid, the function lists, the tune table), the change flags and the memory image;
// undo puts the "before" state back, redo the "after" state. Only the image bytes the step
// itself changed are put back, so data that reached the image since (a read of the
// embedded information, the write date of a write) stays.
//
// Undo never talks to a radio: it only restores working copies and flags.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "model/edit_flags.h"
#include "model/edit_observer.h"
#include "model/image.h"
#include "model/radio_data.h"
#include "tune/tune_table.h"

namespace qm {

struct EditSnapshot {
  Image image;
  EditFlags flags;
  ChannelTableModel::State channels;
  FunctionSettingsModel::State functions;
  std::optional<TuneTableModel::State> tune;
  // Same data: the flags aside, nothing a user could see or save differs.
  bool sameContent(const EditSnapshot& o) const;
};

// The name of the step from `before` to `after`: "修改信道3接收频率", "关闭信道5",
// "修改调测信道2发射步进"; "修改信道3" when several settings of one channel changed and
// "修改数据" when more changed.
std::string DescribeEdit(const EditSnapshot& before, const EditSnapshot& after);

class EditHistory : public EditObserver {
 public:
  // Steps beyond this many are forgotten, the oldest first.
  static constexpr size_t kMaxSteps = 100;

  EditHistory(Image& image, EditFlags& flags, RadioEditors& editors);
  EditHistory(const EditHistory&) = delete;
  EditHistory& operator=(const EditHistory&) = delete;

  // The tune table joins the history (its model reports to it from now on).
  void attachTune(TuneTableModel& table);

  // ---- the edit seam ----
  void beginEdit(const std::string& label) override;
  void endEdit() override;
  void editBoundary() override;

  // ---- commands ----
  bool canUndo() const;
  bool canRedo() const { return !redo_.empty(); }
  // The name of the step undo (redo) would take back (do again); empty when there is none.
  std::string undoLabel() const;
  std::string redoLabel() const;
  bool undo();
  bool redo();
  // The document was replaced (New, Open, a read, a model change, tune mode entered or
  // left): every step is forgotten.
  void clear();
  // The data was saved: every kept state now differs from the file, so each one carries
  // the change flags set; undoing to before the save must not pass for saved data.
  void markSaved();
  // The tune table was written to the radio: every kept state of it now differs from what
  // the radio holds, so undoing or redoing to one marks the table changed again.
  void markTuneWritten();
  size_t undoCount() const { return undo_.size(); }
  // An in-place edit (frequency editor, signalling dialog) is open: its step is not named yet.
  bool inPlaceEditOpen() const { return editing(); }

  // Runs after every change of the steps (the window's menu follows it).
  std::function<void()> changed;

 private:
  struct Step {
    std::string label;
    EditSnapshot before;
    EditSnapshot after;
  };
  EditSnapshot capture() const;
  void restore(const EditSnapshot& to, const EditSnapshot& from);
  // Undo (back) or redo: the newest step of `from` restored and moved to `to`.
  bool replay(std::vector<Step>& from, std::vector<Step>& to, bool back);
  bool editing() const;
  void openStep(const std::string& label);
  void closeStep();
  void notify();

  Image& image_;
  EditFlags& flags_;
  RadioEditors& editors_;
  TuneTableModel* tune_ = nullptr;
  std::vector<Step> undo_;
  std::vector<Step> redo_;
  std::optional<EditSnapshot> open_;  // the state before the step in progress
  std::string openLabel_;
  int depth_ = 0;
};

// One named step around a command made of several edits (a paste, a bulk edit, an import).
class NamedEdit {
 public:
  NamedEdit(EditObserver* history, const std::string& label) : scope_(history, label) {}

 private:
  EditScope scope_;
};

}  // namespace qm
