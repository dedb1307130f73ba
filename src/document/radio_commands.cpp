#include "document/radio_commands.h"

#include "tune/tune_protocol.h"
#include "tune/tune_state.h"

namespace qm {

namespace {

void Run(const std::function<void(const std::function<void()>&)>& on,
         const std::function<void()>& step) {
  if (on) {
    on(step);
  } else {
    step();
  }
}

void Call(const std::function<void()>& fn) {
  if (fn) fn();
}

// The part both commands share before their routine: an item being adjusted is ended (the
// greeting would end it without its discard), and a command begun in the tune view brings
// the radio back to its tune state if it stops before "END".
void Prepare(Document& doc, LinkContext& ctx, TuneReturn& tuneReturn,
             const RadioCommandSeams& seams) {
  if (doc.tuneState == TuneState::ItemOpen && doc.hooks.leaveTuneMode) {
    doc.hooks.leaveTuneMode();
    Call(seams.viewChanged);
  }
  if (doc.viewMode == ViewMode::Tune) ctx.tuneReturn = &tuneReturn;
}

// A command declined after "END" has taken the radio out of its tune state all the same.
void AfterLink(Document& doc, const TuneReturn& tuneReturn, const RadioCommandSeams& seams) {
  if (doc.viewMode == ViewMode::Tune && tuneReturn.leftTune) Call(seams.leaveTuneView);
}

}  // namespace

ReadResult ReadRadioIntoDocument(Document& doc, LinkContext ctx, const RadioCommandSeams& seams) {
  TuneReturn tuneReturn{SwitchTuneOn};
  Prepare(doc, ctx, tuneReturn, seams);
  ReadHooks hooks;
  hooks.accepted = [&] {
    Run(seams.onWindow, [&] {
      if (doc.viewMode == ViewMode::Tune) Call(seams.leaveTuneView);
      doc.caption = ReadDoneCaption(doc.app());
      Call(seams.viewChanged);
    });
  };
  ReadResult r;
  Run(seams.onLink, [&] { r = ReadRadio(ctx, doc.image, doc.imageVerMajor, hooks); });
  AfterLink(doc, tuneReturn, seams);
  if (!r.accepted()) {
    doc.RadioCommandFailed();
    return r;
  }
  // Kept before anything is edited, so a write that goes wrong later has it to go back to.
  if (seams.keepRead) seams.keepRead(doc.image);
  doc.modelByte = static_cast<uint8_t>(doc.app().curModel);
  doc.DisplayRadioData();
  Call(doc.hooks.showModelInfo);
  doc.fileNewEnabled = true;
  return r;
}

CheckedWrite WriteDocumentToRadio(Document& doc, LinkContext ctx, const WriteChecks& checks,
                                  const RadioCommandSeams& seams) {
  const EditFlags before = doc.flags;
  doc.CollectRadioData();
  TuneReturn tuneReturn{SwitchTuneOn};
  Prepare(doc, ctx, tuneReturn, seams);
  CheckedWrite r;
  Run(seams.onLink, [&] {
    r = WriteRadioChecked(
        ctx, doc.image, doc.imageVerMajor, [&doc] { return doc.now(); }, checks);
  });
  AfterLink(doc, tuneReturn, seams);
  if (!r.ok()) {
    // The edits are in the image but not in the radio nor in a file: they still count as
    // unsaved, or closing the window would drop them without asking.
    doc.flags.dataChanged = before.dataChanged;
    doc.flags.functionsChanged = before.functionsChanged;
    doc.RadioCommandFailed();
    return r;
  }
  doc.caption = WriteDoneCaption(doc.app());
  doc.fileNewEnabled = true;
  return r;
}

}  // namespace qm
