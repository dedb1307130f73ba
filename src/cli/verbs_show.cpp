// Verbs that build or show a document the way the window does: show and new.
#include <iostream>
#include <sstream>
#include <vector>

#include "base/model_table.h"
#include "base/tr.h"
#include "cli/args.h"
#include "cli/cli_document.h"
#include "cli/context.h"
#include "cli/json.h"
#include "cli/verbs.h"
#include "document/document.h"
#include "model/channel_table.h"
#include "model/codecs.h"
#include "model/function_settings.h"
#include "model/tune_items.h"
#include "platform/translation.h"
#include "tune/tune_table.h"

namespace qm::cli {

namespace {

// The tune channel table beside a document gives the start, New and a model change their
// tune defaults, as the window's tune view does.
void AttachTuneDefaults(Document& doc, TuneTableModel& tune) {
  doc.hooks.setDefaultTuneChannels = [&tune](Image& image) { tune.SetDefaultTuneChannels(image); };
}

// The document with the tune channel table beside it, as the window holds both.
struct ShownDocument {
  Document& doc;
  const TuneTableModel& tune;
};

void PrintText(const ShownDocument& shown, const std::vector<Message>& messages) {
  const Document& doc = shown.doc;
  const TuneTableModel& tune = shown.tune;
  const AppState& app = doc.app();
  const ChannelTableModel& ch = doc.editors().channels();
  const FunctionSettingsModel& fn = doc.editors().functions();
  std::ostringstream o;
  o << TrCoreUtf8(QM_TR("机型: ")) << app.currentModel().name << " (code "
    << app.currentModel().code << ")\n";
  o << TrCoreUtf8(QM_TR("频率范围: ")) << BuildRangeLabelText(app, app.curModel) << "\n";
  o << StatusBandPanel(app.bandText) << "\n\n";
  o << TrCoreUtf8(QM_TR("信道设置")) << "\n";
  for (int c = 0; c < kGridCols; ++c)
    o << (c ? "\t" : "") << TrCoreUtf8(kChannelGridColumns[c].header);
  o << "\t" << TrCoreUtf8(QM_TR("状态")) << "\n";
  for (int r = 1; r <= kChannelCount; ++r) {
    o << TrCoreUtf8(ChannelRowHeader(r));
    for (int c = 1; c < kGridCols; ++c) o << "\t" << TrCoreUtf8(ch.cell(r, c).text);
    std::string state;
    if (ch.channelOff(r - 1))
      state = QM_TR("关闭");
    else if (ch.txInhibited(r - 1))
      state = QM_TR("禁发");
    o << "\t" << TrCoreUtf8(state) << "\n";
  }
  o << "\n" << TrCoreUtf8(QM_TR("整机功能")) << "\n";
  for (Fn f : kFunctionLayout) {
    o << TrCoreUtf8(FunctionInfo(f).label) << "\t" << TrCoreUtf8(fn.text(f));
    if (fn.rejected(f)) o << "\t" << TrCoreUtf8(QM_TR("(错误)"));
    o << "\n";
  }
  o << "\n" << TrCoreUtf8(QM_TR("调测信道")) << "\n";
  for (int r = 0; r < kTuneChannelCount; ++r) {
    o << "CH" << r + 1;
    for (int c = 1; c <= 6; ++c) o << "\t" << tune.text(r + 1, c);
    o << "\t"
      << TrCoreUtf8(tune.channelOff(r) ? QM_TR("关闭") : (tune.txInhibited(r) ? QM_TR("禁发") : ""))
      << "\n";
  }
  o << "\n" << TrCoreUtf8(QM_TR("调整项")) << "\n";
  for (size_t i = 0; i < kTuneItems.size(); ++i)
    o << kTuneItems[i].key << "\t" << int(doc.image.tuneItems()[i]) << "\n";
  if (!messages.empty()) {
    o << "\n" << TrCoreUtf8(QM_TR("提示")) << "\n";
    for (const Message& m : messages) o << MessageLine(m) << "\n";
  }
  std::cout << o.str();
}

void PrintJson(const ShownDocument& shown, const std::vector<Message>& messages) {
  const Document& doc = shown.doc;
  const AppState& app = doc.app();
  const ShownModel model{app.curModel, app.currentModel().name, app.currentModel().code,
                         app.bandText, BuildRangeLabelText(app, app.curModel)};
  std::cout << ShowJson(model, messages,
                        DescribeDataFile(doc.image, doc.spare, doc.imageVerMajor, app));
}

int Show(const Invocation& inv) {
  Args a(inv.args, {}, {"--json"});
  if (!a.ok() || a.positional().size() != 1) return Usage("show FILE [--json]");
  CliDocument d(inv);
  TuneTableModel tune(d.cli.app, d.doc.flags, d.prompter, d.doc.modelByte, d.doc.curTuneChannel);
  AttachTuneDefaults(d.doc, tune);
  if (!d.open(a.positional()[0])) return 1;
  tune.DisplayTuneGrid(d.doc.image);

  ShownDocument shown{d.doc, tune};
  if (a.flag("--json"))
    PrintJson(shown, d.prompter.messages);
  else
    PrintText(shown, d.prompter.messages);
  return 0;
}

int New(const Invocation& inv) {
  Args a(inv.args, {"-o", "--model", "--model-code"}, {});
  auto out = a.value("-o");
  if (!a.ok() || !a.positional().empty() || !out ||
      (a.value("--model") && a.value("--model-code"))) {
    return Usage("new -o FILE [--model INDEX | --model-code N]");
  }
  CliDocument d(inv);  // its prompter answers Yes to the model change's question
  Document& doc = d.doc;
  TuneTableModel tune(d.cli.app, doc.flags, d.prompter, doc.modelByte, doc.curTuneChannel);
  AttachTuneDefaults(doc, tune);
  doc.Start();
  for (const char* opt : {"--model", "--model-code"}) {
    auto v = a.intValue(opt, -32768, 32767);
    if (!a.ok()) {
      std::cerr << "qm830k-cli: " << a.error() << "\n";
      return 2;
    }
    if (!v) continue;
    int m = ResolveModelOption(d.cli.app, opt, *v);
    if (m < 0) return 2;
    if (m != d.cli.app.curModel) doc.ChangeModel(true, m);
  }
  // Save As collects the editors into the image before writing; so does this.
  doc.CollectRadioData();
  return SaveOrReport(*out, doc.image, doc.spare) ? 0 : 1;
}

const VerbRegistrar kShow{
    {"show", "show FILE [--json]",
     "the model, channels, functions, load messages and tune data as the window shows them", Show}};
const VerbRegistrar kNew{
    {"new", "new -o FILE [--model INDEX | --model-code N]",
     "a data file with the defaults of a model (the start-up model by default)", New}};

}  // namespace
}  // namespace qm::cli
