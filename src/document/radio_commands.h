// A read and a write of the radio over the document: what happens around the link routine
// (an open tune item left, the tune view given up once "END" ended the tune state, the
// editors collected, the change flags kept after a write that did not happen, the image
// replaced, the model selected, the read kept) is done here for the window and the command
// line alike, so the two cannot drift apart.
#pragma once

#include <functional>

#include "document/document.h"
#include "model/image.h"
#include "radio/link.h"
#include "radio/read_radio.h"
#include "radio/write_checks.h"

namespace qm {

// What a front end adds around the commands. Each may be empty: the command line, with no
// second thread and no tune view, leaves all but keepRead so.
struct RadioCommandSeams {
  // Runs the link routine: the window on its link thread; at once where empty.
  std::function<void(const std::function<void()>&)> onLink;
  // Runs a step the routine takes on the window's thread; at once where empty.
  std::function<void(const std::function<void()>&)> onWindow;
  // The channel view back without another exchange: "END" took the radio out of its tune
  // state.
  std::function<void()> leaveTuneView;
  // The view changed while the command runs (an open item left, the caption of a read).
  std::function<void()> viewChanged;
  // A read accepted, as it came from the radio, before anything edits it.
  std::function<void(const Image&)> keepRead;
};

// mnuRead. The image is replaced only by a read that completed and was accepted; then the
// model it names is selected and the editors show it. Otherwise the data stays as it was
// and the caption no longer claims an earlier success (RadioCommandFailed).
ReadResult ReadRadioIntoDocument(Document& doc, LinkContext ctx, const RadioCommandSeams& seams);

// mnuWrite. The editors are collected into the image and written with the checks; a write
// that failed or was declined leaves the change flags as they were before the collect (the
// edits are in neither the radio nor a file).
CheckedWrite WriteDocumentToRadio(Document& doc, LinkContext ctx, const WriteChecks& checks,
                                  const RadioCommandSeams& seams);

}  // namespace qm
