#include "print/report_inputs.h"

#include <gtest/gtest.h>

#include <functional>
#include <tuple>
#include <vector>

#include "base/model_table.h"
#include "model/codecs.h"
#include "model/radio_data.h"
#include "print/report_samples.h"
#include "support/channel_bytes.h"
#include "support/fake_prompter.h"
#include "support/gbk_codec.h"
#include "support/scratch_dir.h"

namespace qm::print {
namespace {

AppState TestApp() {
  AppState app;
  app.softwareTitle = "QM830K编程软件";
  app.models = {ModelEntry{"QM830K-V", 32, 136.0, 174.0, 130.0, 180.0}};
  app.modelCount = 1;
  app.curModel = 0;
  return app;
}

using test::SetChannel;

Image SampleImage() {
  Image image;
  for (int n = 0; n < kChannelCount; ++n) {
    SetChannel(image, n, "150.00000", "OFF", "150.00000", "OFF");
  }
  SetChannel(image, 0, "136.12500", "CTC 67.0", "137.02500", "DCS 023");
  SetChannel(image, 1, "140.00000", "OFF", "141.00000", "CTC 88.5", 0x35, false);
  SetChannel(image, 2, "150.00000", "OFF", "150.00000", "OFF", 0, true, false);
  const std::array<uint8_t, 16> fb = {0x48, 0x01, 0x03, 0x10, 0x02, 0x00, 0x25, 0x06,
                                      0x00, 0x00, 0x00, 0x05, 0x28, 0x05, 0x00, 0x00};
  std::copy(fb.begin(), fb.end(), image.functions().begin());
  return image;
}

// The window's editors showing SampleImage.
struct EditorBench {
  EditorBench() { editors.DisplayRadioData(SampleImage()); }
  AppState app = TestApp();
  EditFlags flags;
  test::FakePrompter prompter;
  RadioEditors editors{app, flags, prompter, [] { return uint8_t{32}; }};
};

TEST(ReportInputs, ChannelReportTakesTheGridAsItStands) {
  EditorBench b;
  auto [app, editors] = std::tie(b.app, b.editors);
  const ChannelReportInput in = ChannelReportFrom(editors.channels(), app);
  EXPECT_EQ(std::tuple(in.title, in.model.modelValue, in.model.bandValue),
            std::tuple("信道设置", "QM830K-V", BuildBandText(app, 0)));
  // The grid's texts, in its column order (what the texts of a record are is the layout
  // test's).
  for (size_t r = 0; r < in.rows.size(); ++r)
    for (size_t c = 0; c < 8; ++c)
      EXPECT_EQ(in.rows[r].cells[c], editors.channels().cell(int(r) + 1, int(c) + 1).text) << r;
  EXPECT_EQ(in.rows[0].cells[3], "DCS 023");
  EXPECT_EQ(std::tuple(in.rows[0].switchedOff, in.rows[0].txInhibited, in.rows[1].txInhibited,
                       in.rows[2].switchedOff),
            std::tuple(false, false, true, true));
  // An edit in the grid shows on paper without a collection into the image.
  editors.channels().setCellText(1, col::kRxFreq, "136.50000");
  EXPECT_EQ(ChannelReportFrom(editors.channels(), app).rows[0].cells[0], "136.50000");
}

TEST(ReportInputs, FunctionReportPairsFollowTheReportOrder) {
  EditorBench b;
  EXPECT_TRUE(b.prompter.messages.empty()) << b.prompter.messages.front().text;

  const FunctionReportInput in = FunctionReportFrom(b.editors.functions(), b.app);
  EXPECT_EQ(in.title, "整机功能");
  // The layout tests' sample, but for the priority channel this image leaves to the last call.
  FunctionReportInput expected = test::SampleFunctions();
  expected.pairs[9].text = "最近接收呼叫信道";
  for (size_t i = 0; i < in.pairs.size(); ++i) {
    EXPECT_EQ(in.pairs[i].label, kFunctionReportLabels[i]) << i;  // the window's own captions
    EXPECT_EQ(in.pairs[i].text, expected.pairs[i].text) << kFunctionReportLabels[i];
  }
}

TEST(ReportInputs, TuneReportFromTheTuneTableBytesAndFromTheGrid) {
  AppState app = TestApp();
  Image image;
  // Tune channel 1: 146.0125 MHz at 6.25 kHz (count 23362), CTC 88.5; transmit 150 MHz at
  // 5 kHz (count 30000), allowed.
  ChannelRecord t = image.tuneChannel(0);
  const uint8_t bytes[8] = {0x42, 0x5B, 0x04 | 0x08, 0, 0, 0x30, 0x75, 0x08};
  for (size_t b = 0; b < 8; ++b) t[b] = bytes[b];
  SignalTextToBytes("CTC 88.5", t[2], t[3], t[4]);
  // Tune channel 2: on, transmit inhibited. The rest stay switched off.
  image.tuneChannel(1)[2] = 0x08;
  for (int k = 0; k < 7; ++k)
    image.tuneItems()[static_cast<size_t>(k)] = static_cast<uint8_t>(200 + k);

  const TuneReportInput in = TuneReportFromImage(image, 1, app);
  EXPECT_EQ(std::tuple(in.title, in.model.bandValue),
            std::tuple("Tune Settings", BuildRangeLabelText(app, 0)));
  EXPECT_EQ(in.rows[0].cells, (std::array<std::string, 6>{"146.01250", "6.25", "CTC 88.5",
                                                          "150.00000", "5.00", "OFF"}));
  EXPECT_EQ(std::tuple(in.rows[0].switchedOff, in.rows[0].txInhibited, in.rows[1].switchedOff,
                       in.rows[1].txInhibited),
            std::tuple(false, false, false, true));
  for (size_t r = 2; r < in.rows.size(); ++r) EXPECT_TRUE(in.rows[r].switchedOff) << r;
  EXPECT_EQ(in.currentChannel, 1);
  EXPECT_EQ(in.itemValues, (std::array<int, 7>{200, 201, 202, 203, 204, 205, 206}));

  // The grid showing the same bytes puts the same on paper, and a box ticked in it is there
  // before anything is packed into the image.
  EditFlags flags;
  test::FakePrompter prompter;
  const uint8_t modelByte = 0;
  int16_t curTuneChannel = 1;
  TuneTableModel table(app, flags, prompter, modelByte, curTuneChannel);
  table.DisplayTuneGrid(image);
  const TuneReportInput fromGrid = TuneReportFrom(table, image, curTuneChannel);
  EXPECT_EQ(std::tuple(fromGrid.model.modelValue, fromGrid.model.bandValue, fromGrid.itemValues,
                       fromGrid.currentChannel),
            std::tuple("QM830K-V", in.model.bandValue, in.itemValues, 1));
  for (size_t r = 0; r < fromGrid.rows.size(); ++r) {
    const TuneReportRow &g = fromGrid.rows[r], &b = in.rows[r];
    EXPECT_EQ(std::tuple(g.cells, g.switchedOff, g.txInhibited),
              std::tuple(b.cells, b.switchedOff, b.txInhibited))
        << r;
  }
  table.clickTxInhibit(1);
  EXPECT_FALSE(TuneReportFrom(table, image, curTuneChannel).rows[1].txInhibited);

  app.decimalSep = ',';
  const auto report = TuneReportFromImage(image, 1, app);
  const auto& cells = report.rows[0].cells;
  EXPECT_EQ(std::tuple(cells[1], cells[4]), std::tuple("6.25", "5,00"));
}

class DocumentReports : public ::testing::Test {
 protected:
  void SetUp() override {
    doc.Start();
    tune.SetDefaultTuneChannels(doc.image);
  }
  static bool Has(const ReportPage& page, const std::string& text) {
    for (const ReportElement& e : page.elements) {
      if (e.text == text) return true;
    }
    return false;
  }

  test::ScratchDir dir;
  test::GbkCodec codec;
  ProfileFile ini{dir.file("QM830K.ini"), codec};
  AppState app = TestApp();
  test::FakePrompter prompter;
  Document doc{app, prompter, ini};
  TuneTableModel tune{app, doc.flags, prompter, doc.modelByte, doc.curTuneChannel};
};

TEST_F(DocumentReports, TheViewDecidesTheReports) {
  struct Case {
    int16_t viewMode;
    std::vector<std::string> pageTitles;
  };
  for (const Case& c : {Case{1, {"信道设置", "整机功能"}}, Case{2, {"信道设置", "整机功能"}},
                        Case{3, {"Tune Settings"}}}) {
    doc.viewMode = static_cast<ViewMode>(c.viewMode);
    const auto pages = LayoutDocumentReports(doc, tune);
    ASSERT_EQ(pages.size(), c.pageTitles.size()) << c.viewMode;
    for (size_t p = 0; p < pages.size(); ++p) {
      EXPECT_TRUE(Has(pages[p], "NRV")) << c.viewMode;
      EXPECT_TRUE(Has(pages[p], c.pageTitles[p])) << c.viewMode << " page " << p;
    }
  }
}

// The open editor is committed and the edits are collected into the image for the print; but
// printing is not saving: they still count as unsaved.
TEST_F(DocumentReports, PrepareCommitsTheOpenEditorAndKeepsEditsUnsaved) {
  ChannelTableModel& ch = doc.editors().channels();
  const std::function<void()> edits[] = {[&] {
                                           ch.pressCell(
                                               1, col::kRxFreq);  // opens the frequency editor
                                           ch.editorTextChanged("150.5");
                                         },
                                         [&] { doc.editors().functions().choose(Fn::Squelch, 2); }};
  for (const auto& edit : edits) {
    doc.flags = EditFlags{};
    edit();
    const EditFlags before = doc.flags;
    ASSERT_TRUE(doc.HasUnsavedData());
    PrepareForPrint(doc);
    EXPECT_EQ(std::tuple(doc.flags.dataChanged, doc.flags.functionsChanged, doc.HasUnsavedData()),
              std::tuple(before.dataChanged, before.functionsChanged, true));
  }
  EXPECT_FALSE(ch.freqEditor().visible);
  const ChannelRecord r = doc.image.channel(0);
  EXPECT_EQ(FreqBytesToText(r[0], r[1], r[2]), "150.50000");
  EXPECT_EQ(doc.image.functions()[11], 2);
  doc.viewMode = ViewMode::Channels;
  EXPECT_TRUE(Has(LayoutDocumentReports(doc, tune)[0], "150.50000"));
}

}  // namespace
}  // namespace qm::print
