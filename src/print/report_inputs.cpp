#include "print/report_inputs.h"

#include "base/model_table.h"
#include "model/codecs.h"
#include "model/layout.h"

namespace qm::print {

const std::array<Fn, kFunctionPairs> kFunctionReportOrder = {
    Fn::TxTimeout, Fn::KeyBeep,     Fn::PreAlert,  Fn::Squelch, Fn::TotRekey, Fn::ManualMode,
    Fn::TotReset,  Fn::BatterySave, Fn::Bandwidth, Fn::Revert,  Fn::ScanMode, Fn::ScanHang,
    Fn::Priority,  Fn::Monitor,     Fn::LookBack,  Fn::PowerKey};

PageHeaderInput ReportHeader(const AppState& app) { return {"NRV", app.softwareTitle}; }

ModelLineInput ChannelModelLine(const AppState& app) {
  ModelLineInput m;
  m.modelValue = app.currentModel().name;
  m.bandValue = app.models.empty() ? std::string() : BuildBandText(app, app.curModel);
  return m;
}

ModelLineInput TuneModelLine(const AppState& app) {
  ModelLineInput m;
  m.modelValue = app.currentModel().name;
  m.bandValue = app.models.empty() ? std::string() : BuildRangeLabelText(app, app.curModel);
  return m;
}

ChannelReportInput ChannelReportFrom(const ChannelTableModel& table, const AppState& app) {
  ChannelReportInput in;
  in.model = ChannelModelLine(app);
  for (int i = 0; i < kReportChannels; ++i) {
    ChannelReportRow& row = in.rows[static_cast<size_t>(i)];
    row.switchedOff = table.channelOff(i);
    row.txInhibited = table.txInhibited(i);
    for (int c = 1; c <= 8; ++c) row.cells[static_cast<size_t>(c - 1)] = table.cell(i + 1, c).text;
  }
  return in;
}

FunctionReportInput FunctionReportFrom(const FunctionSettingsModel& functions,
                                       const AppState& app) {
  FunctionReportInput in;
  in.model = ChannelModelLine(app);
  for (size_t i = 0; i < kFunctionReportOrder.size(); ++i) {
    const Fn fn = kFunctionReportOrder[i];
    in.pairs[i] = {FunctionInfo(fn).label, functions.text(fn)};
  }
  return in;
}

TuneReportInput TuneReportFromImage(const Image& image, int currentTuneChannel,
                                    const AppState& app) {
  TuneReportInput in;
  in.model = TuneModelLine(app);
  const char sep = app.decimalSep;
  // The grid writes 6.25 as a fixed text and 5 through the "0.00" format.
  const std::string five = std::string("5") + sep + "00";
  const auto step = [&five](const Frequency& f) { return f.step625 ? std::string("6.25") : five; };
  for (int r = 0; r < kReportTuneChannels; ++r) {
    const Channel ch = DecodeChannel(image.row(addr::kTuneChannels + 16 * static_cast<size_t>(r)));
    TuneReportRow& row = in.rows[static_cast<size_t>(r)];
    row.switchedOff = !ch.inUse;
    row.txInhibited = !ch.txAllowed;
    row.cells = {ch.rx.text(sep), step(ch.rx), ch.rxSignal.text(sep),
                 ch.tx.text(sep), step(ch.tx), ch.txSignal.text(sep)};
  }
  in.currentChannel = currentTuneChannel;
  const TuneItemValues items = DecodeTuneItemValues(image.tuneItems());
  for (int k = 0; k < kTuneItems; ++k)
    in.itemValues[static_cast<size_t>(k)] = items.values[static_cast<size_t>(k)];
  return in;
}

TuneReportInput TuneReportFrom(const TuneTableModel& table, const Image& image,
                               int currentTuneChannel) {
  TuneReportInput in;
  in.model.modelValue = table.radioLabel();
  in.model.bandValue = table.rangeLabel();
  for (int r = 0; r < kReportTuneChannels; ++r) {
    TuneReportRow& row = in.rows[static_cast<size_t>(r)];
    row.switchedOff = table.channelOff(r);
    row.txInhibited = table.txInhibited(r);
    for (int c = 1; c <= 6; ++c) row.cells[static_cast<size_t>(c - 1)] = table.text(r + 1, c);
  }
  in.currentChannel = currentTuneChannel;
  const ConstRow items = image.tuneItems();
  for (int k = 0; k < kTuneItems; ++k) {
    in.itemValues[static_cast<size_t>(k)] = items[static_cast<size_t>(k)];
  }
  return in;
}

void PrepareForPrint(Document& doc) {
  doc.CommitPendingEdit();
  if (!doc.flags.dataChanged && !doc.flags.functionsChanged) return;
  // The print needs the edits in the image, but they are on paper only, not in a file or
  // the radio: they must still count as unsaved when the window closes.
  const EditFlags before = doc.flags;
  doc.CollectRadioData();
  doc.flags.dataChanged = before.dataChanged;
  doc.flags.functionsChanged = before.functionsChanged;
}

std::vector<ReportPage> LayoutDocumentReports(const Document& doc, const TuneTableModel& tune,
                                              const PageGeometry& geometry) {
  const AppState& app = doc.app();
  const PageHeaderInput header = ReportHeader(app);
  if (doc.viewMode == ViewMode::Tune) {
    return LayoutTuneReport(header, TuneReportFrom(tune, doc.image, doc.curTuneChannel), geometry);
  }
  return LayoutChannelAndFunctionReports(header, ChannelReportFrom(doc.editors().channels(), app),
                                         FunctionReportFrom(doc.editors().functions(), app),
                                         geometry);
}

}  // namespace qm::print
