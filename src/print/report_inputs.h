// The report inputs gathered from what the editors show: the channel grid, the function
// lists, the tune channel table and the tune item values, and the model labels.
#pragma once

#include "base/app_state.h"
#include "document/document.h"
#include "model/channel_table.h"
#include "model/function_settings.h"
#include "model/image.h"
#include "print/report_layout.h"
#include "tune/tune_table.h"

namespace qm::print {

// "NRV" and the software title.
PageHeaderInput ReportHeader(const AppState& app);

// The model line of the channel and function reports: the model dialog's model name and band
// text (the status-bar form of the band).
ModelLineInput ChannelModelLine(const AppState& app);
// The model line of the tune report: the main window's model label and lblFreqRange.
ModelLineInput TuneModelLine(const AppState& app);

// The grid's cell texts and check boxes as they stand (nothing is re-encoded).
ChannelReportInput ChannelReportFrom(const ChannelTableModel& table, const AppState& app);
// The label captions and list texts in the report's pair order.
FunctionReportInput FunctionReportFrom(const FunctionSettingsModel& functions, const AppState& app);
// The list behind each report pair, in the report's order.
extern const std::array<Fn, kFunctionPairs> kFunctionReportOrder;

// The tune report from the image's tune channel table and tune item values, with the texts
// the tune grid shows for them (frequencies "000.00000", steps "6.25" or "5.00", signalling
// text forms), and the current tune channel.
TuneReportInput TuneReportFromImage(const Image& image, int currentTuneChannel,
                                    const AppState& app);

// The tune report from the tune channel grid as it stands (its cells, boxes and model
// labels), the current tune channel and the item values of the image.
TuneReportInput TuneReportFrom(const TuneTableModel& table, const Image& image,
                               int currentTuneChannel);

// The print command's data step before anything is laid out: the open cell editors are closed
// and edits not yet in the image are collected into it. The change flags stay as they were:
// a print does not save the edits.
void PrepareForPrint(Document& doc);

// What the print command prints for the document's view: the tune report in the tune view
// (ViewMode::Tune), otherwise the channel report followed by the function report.
std::vector<ReportPage> LayoutDocumentReports(const Document& doc, const TuneTableModel& tune,
                                              const PageGeometry& geometry = {});

}  // namespace qm::print
