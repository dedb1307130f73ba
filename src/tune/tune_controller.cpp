#include "tune/tune_controller.h"

#include <algorithm>

#include "base/model_table.h"
#include "base/tr.h"
#include "model/codecs.h"
#include "model/layout.h"

namespace qm {

namespace {

bool ValidItem(int k) { return k >= 0 && k < kTuneItemCount; }

}  // namespace

int SteppedTuneValue(int value, TuneStep step) {
  switch (step) {
    case TuneStep::Down:
      value -= 1;
      break;
    case TuneStep::Up:
      value += 1;
      break;
    case TuneStep::PageDown:
      value -= kTuneValuePageStep;
      break;
    case TuneStep::PageUp:
      value += kTuneValuePageStep;
      break;
    case TuneStep::Lowest:
      value = 0;
      break;
    case TuneStep::Highest:
      value = kTuneValueMax;
      break;
  }
  return std::clamp(value, 0, kTuneValueMax);
}

void TuneView::show(TuneScreen screen) {
  const bool tune = screen == TuneScreen::TuneTable;
  channelPanelsVisible = !tune;
  editMenusShown = !tune;
  channelChecked = !tune;
  treeVisible = tune;
  tableVisible = tune;
  tuneChecked = tune;
  itemVisible = false;
  radioChecked = false;
}

TuneController::TuneController(AppState& app, Prompter& prompter, TuneDocumentRefs doc,
                               TuneLinkParts link)
    : app_(app),
      prompter_(prompter),
      doc_(doc),
      parts_(link),
      table_(app, doc.flags, prompter, doc.modelByte, doc.curTuneChannel) {}

void TuneController::forgetEdits() {
  if (hooks.forgetEdits) hooks.forgetEdits();
}

LinkContext TuneController::link() {
  return LinkContext{parts_.port, parts_.clock, prompter_, parts_.progress, app_, doc_.portNumber};
}

bool TuneController::EnterTuneMode() {
  if (hooks.commitPendingEdit) hooks.commitPendingEdit();
  table_.CommitPendingEdit();

  LinkContext ctx = link();
  const TuneEntryResult r = qm::EnterTuneMode(ctx, doc_.image, doc_.imageVerMajor);
  // A failed entry leaves the channel view as it was, its menus included.
  if (!r.entered()) return false;

  doc_.caption = std::string(kTuningNotice) + app_.softwareTitle;
  doc_.captionAfterTune.clear();

  for (int row = 0; row < kTuneChannelCount; ++row) {
    if ((doc_.image[addr::kTuneChannels + 16 * static_cast<size_t>(row) + 2] & 0x08) != 0) {
      doc_.curTuneChannel = static_cast<int16_t>(row + 1);
      break;
    }
  }

  const int m = FindModelByCode(app_, r.handshake.modelCode);
  if (m >= 0) doc_.modelByte = static_cast<uint8_t>(m);
  if (hooks.showModelInfo) hooks.showModelInfo();
  table_.DisplayTuneGrid(doc_.image);
  app_.bandText = BuildBandText(app_, doc_.modelByte);
  doc_.statusBand = StatusBandPanel(app_.bandText);

  if (r.handshake.version) app_.radioVersion = *r.handshake.version;
  view_.narrowNodesGrey = doc_.imageVerMajor < 2;

  view_.show(TuneScreen::TuneTable);

  doc_.flags.tuneDataChanged = false;
  doc_.tuneGridShown = true;
  doc_.tuneState = TuneState::Entered;
  doc_.viewMode = ViewMode::Tune;
  forgetEdits();
  return true;
}

void TuneController::LeaveTuneMode() {
  if (doc_.tuneState == TuneState::ItemOpen) {
    Cancel();
    doc_.tuneState = TuneState::Off;
    doc_.tuneGridShown = false;
  } else if (doc_.tuneState == TuneState::Off) {
    return;
  } else {
    LinkContext ctx = link();
    if (SendTuneLeave(ctx, doc_.tuneState)) {
      doc_.tuneState = TuneState::Off;
      doc_.tuneGridShown = false;
    }
  }
  view_.itemVisible = false;
  view_.tableVisible = false;
  app_.bandText = BuildBandText(app_, app_.curModel);
  doc_.statusBand = StatusBandPanel(app_.bandText);
  LinkContext ctx = link();
  CloseCommPort(ctx);
  forgetEdits();
}

bool TuneController::ConfirmLeave() {
  if (doc_.viewMode != ViewMode::Tune) return true;
  const std::optional<bool> write = AskWriteChangedTable();
  if (!write) return true;
  if (!*write) {
    // Declined: the edits are dropped, or a later save would write a table the radio never
    // had and the window no longer shows.
    table_.DisplayTuneGrid(doc_.image);
    doc_.flags.tuneDataChanged = false;
    return true;
  }
  // The write greets the radio, which would end an open item without its discard.
  if (doc_.tuneState == TuneState::ItemOpen && !EndItem(doc_.curTuneItem - 1, false)) return false;
  if (WriteTuneData() != 1) return false;
  Notify(prompter_, QM_TR("写入完成"), QM_TR("写入数据完成，请按“确定”按钮继续....."), Icon::None);
  return true;
}

bool TuneController::ChannelMenu() {
  if (doc_.viewMode == ViewMode::Tune) {
    if (!ConfirmLeave()) return false;
    LeaveTuneMode();
  }
  doc_.viewMode = ViewMode::Channels;
  view_.editMenusShown = true;
  if (!view_.channelChecked) {
    view_.show(TuneScreen::Channels);
    if (doc_.caption == std::string(kTuningNotice) + app_.softwareTitle) {
      doc_.caption = doc_.captionAfterTune.empty() ? app_.softwareTitle : doc_.captionAfterTune;
    }
  }
  doc_.captionAfterTune.clear();
  return true;
}

void TuneController::NodeClick(std::string_view key) {
  if (key == "testfreq") {
    if (doc_.tuneState == TuneState::ItemOpen) EndItem(doc_.curTuneItem - 1, false);
    if (!view_.tableVisible) {
      // Edits not yet written (their offer declined, or their write failed, before a begin)
      // stay in the table: shown again from the document they would be gone while still
      // marked as changed, and a later write would send the radio its old table.
      if (!doc_.flags.tuneDataChanged) {
        table_.DisplayTuneGrid(doc_.image);
        forgetEdits();
      }
      view_.tableVisible = true;
    }
    view_.itemVisible = false;
    doc_.tuneGridShown = true;
    return;
  }
  if (key == "exit") {
    ChannelMenu();
    return;
  }
  const int code = TuneItemCodeOfKey(key);
  if (code == 0) return;  // "adjust" and unknown keys
  if (view_.narrowNodesGrey && kTuneItemSpecs[static_cast<size_t>(code - 1)].narrow) return;

  // An item still open on the radio is closed before another begins, also when it is the
  // one clicked (its discard failed before "testfreq"): the radio takes the begin's channel
  // select for the end of the open item. It stays the current one until it is closed: a
  // discard that failed is sent for it again, not for the item clicked now.
  const bool begins = doc_.tuneGridShown || doc_.tuneState != TuneState::ItemOpen;
  if (doc_.tuneState == TuneState::ItemOpen && (doc_.curTuneItem != code || begins) &&
      !EndItem(doc_.curTuneItem - 1, false)) {
    return;
  }
  doc_.curTuneItem = static_cast<int16_t>(code);
  view_.tableVisible = false;
  if (begins || doc_.tuneState != TuneState::ItemOpen) {
    view_.itemCaption = kTuneItems[static_cast<size_t>(code - 1)].panelCaption;
    BeginItem(code - 1);
    doc_.tuneGridShown = false;
  }
}

std::optional<bool> TuneController::AskWriteChangedTable() {
  if (!doc_.flags.tuneDataChanged) return std::nullopt;
  const Answer a = prompter_.ask(Message{
      "Note", QM_TR("调测信道的数据已经改变，是否要写入对讲机？"), Icon::Question, Buttons::YesNo});
  return a == Answer::Yes;
}

int16_t TuneController::BeginTuneItemChecked(int k) {
  if (const std::optional<bool> write = AskWriteChangedTable()) {
    if (*write) {
      if (WriteTuneData() != 1) return 0;
      Notify(prompter_, QM_TR("写入完成"), QM_TR("写入数据完成，请按“确定”按钮继续....."),
             Icon::None);
    }
  }
  LinkContext ctx = link();
  if (qm::BeginTuneItem(ctx, doc_.image, k, doc_.curTuneChannel) == 1) return 1;
  // The begin routine reports nothing itself; a table write that failed above has said why.
  Notify(prompter_, QM_TR("调测错误"), QM_TR("连接中断，请重试！"), Icon::Exclamation);
  return 0;
}

bool TuneController::BeginItem(int k) {
  if (!ValidItem(k)) return false;
  if (doc_.curTuneChannel < 1 || doc_.curTuneChannel > kTuneChannelCount) {
    // Nothing has been sent: the link is not at fault, the choice of channel is missing.
    Notify(prompter_, QM_TR("提示"), QM_TR("请先选择调测信道！"), Icon::Exclamation);
    view_.itemVisible = false;
    return false;
  }
  if (BeginTuneItemChecked(k) != 1) {
    view_.itemVisible = false;
    return false;
  }
  // The trial value that the panel sends belongs to this item.
  doc_.curTuneItem = static_cast<int16_t>(k + 1);
  ShowTuneItem(k);
  view_.itemVisible = true;
  doc_.tuneState = TuneState::ItemOpen;
  return true;
}

bool TuneController::EndItem(int k, bool store) {
  if (!ValidItem(k)) return false;
  LinkContext ctx = link();
  const uint8_t value = DecodeTuneItemValues(doc_.image.tuneItems()).values[static_cast<size_t>(k)];
  if (qm::EndTuneItem(ctx, k, doc_.curTuneChannel, value, store) != 1) {
    Notify(prompter_, QM_TR("调测错误"), QM_TR("连接中断，请重试！"), Icon::Exclamation);
    view_.itemVisible = false;
    return false;
  }
  doc_.tuneState = TuneState::ItemClosed;
  return true;
}

void TuneController::ShowTuneItem(int k) {
  if (!ValidItem(k)) return;
  const int channel = std::clamp<int>(doc_.curTuneChannel, 1, kTuneChannelCount);
  const Channel rec =
      DecodeChannel(doc_.image.row(addr::kTuneChannels + 16 * static_cast<size_t>(channel - 1)));
  const char sep = app_.decimalSep;
  view_.channelCaption = Fill(QM_TR("调测信道%1"), {std::to_string(doc_.curTuneChannel)});
  view_.rxFreq = rec.rx.text(sep);
  view_.rxSignal = rec.rxSignal.text(sep);
  view_.txFreq = rec.tx.text(sep);
  const uint8_t stored =
      DecodeTuneItemValues(doc_.image.tuneItems()).values[static_cast<size_t>(k)];
  view_.valueLabel = std::to_string(stored);
  if (table_.txInhibited(table_.selectedChannel())) {
    view_.txSignal = "----";
    view_.txFreq = "--------";
  } else {
    view_.txSignal = rec.txSignal.text(sep);
  }
  // Setting the scroll bar, or running its change handling when it already shows the
  // value, sends the stored value once as a trial value.
  ScrollChanged(stored);
}

void TuneController::ScrollChanged(int value) {
  view_.scrollValue = std::clamp(value, 0, kTuneValueMax);
  view_.valueLabel = std::to_string(view_.scrollValue);
  LinkContext ctx = link();
  if (!SendTuneAdjust(ctx, doc_.curTuneItem, static_cast<uint8_t>(view_.scrollValue))) {
    view_.itemVisible = false;
  }
}

void TuneController::ScrollStep(TuneStep step) {
  const int value = SteppedTuneValue(view_.scrollValue, step);
  if (value != view_.scrollValue) ScrollChanged(value);
}

int TuneController::RadioModel() const {
  return std::clamp<int>(doc_.modelByte, 0, std::max(static_cast<int>(app_.models.size()) - 1, 0));
}

int TuneController::LabelModel() const {
  const bool tuneShown = view_.treeVisible || view_.tableVisible || view_.itemVisible;
  return tuneShown ? RadioModel() : app_.curModel;
}

void TuneController::Ok() {
  const int code = doc_.curTuneItem;
  if (code >= 1 && code <= kTuneItemCount) {
    TuneItemValues values = DecodeTuneItemValues(doc_.image.tuneItems());
    values.values[static_cast<size_t>(code - 1)] = static_cast<uint8_t>(view_.scrollValue);
    EncodeTuneItemValues(values, doc_.image.tuneItems());
    EndItem(code - 1, true);
  }
  view_.itemVisible = false;
}

void TuneController::Cancel() {
  EndItem(doc_.curTuneItem - 1, false);
  view_.itemVisible = false;
}

int16_t TuneController::WriteTuneData() {
  table_.PackTuneGrid(doc_.image);
  LinkContext ctx = link();
  if (qm::WriteTuneData(ctx, doc_.image, doc_.imageVerMajor) != 1) return 0;
  if (doc_.viewMode == ViewMode::Tune) view_.treeVisible = true;
  doc_.flags.tuneDataChanged = false;
  // A step undone past the write brings back a table the radio no longer holds.
  if (hooks.tuneTableWritten) hooks.tuneTableWritten();
  return 1;
}

void TuneController::SaveTuneTable() {
  table_.CommitPendingEdit();
  if (WriteTuneData() == 1) {
    Notify(prompter_, QM_TR("写入完成"), QM_TR("写入数据完成，请按“确定”按钮继续......"),
           Icon::None);
  }
}

}  // namespace qm
