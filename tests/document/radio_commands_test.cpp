#include "document/radio_commands.h"

#include <gtest/gtest.h>

#include <tuple>

#include "model/editor_fixture.h"
#include "platform/system_text_codec.h"
#include "radio/radio_fixture.h"
#include "support/fake_prompter.h"
#include "support/scratch_dir.h"

namespace qm {
namespace {

// The document's read and write over the simulated radio, as both front ends run them.
class RadioCommandsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    doc.Start();
    radio().modelCode = 10;
    line.radio.memory()[addr::kIdent + 2] = 10;  // the image names model QM830K-V
    seams.keepRead = [this](const Image& read) { kept.push_back(read); };
  }
  sim::RadioConfig& radio() { return line.radio.config(); }
  LinkContext ctx() { return LinkContext{line.port, line.clock, prompter, progress, app, 1}; }

  test::ScratchDir dir;
  SystemTextCodec codec;
  ProfileFile ini{dir.file("QM830K.ini"), codec};
  AppState app = test::TestApp();
  test::FakePrompter prompter;
  Document doc{app, prompter, ini, test::TestTime};
  sim::SimLine line{sim::RadioConfig{}, false};
  test::RecordingProgress progress;
  RadioCommandSeams seams;
  std::vector<Image> kept;
};

// A read that did not complete keeps the image, and keeps nothing in the history.
TEST_F(RadioCommandsTest, AcceptedReadReplacesKeepsAndSelectsOthersChangeNothing) {
  for (const bool silent : {false, true}) {
    SCOPED_TRACE(silent);
    radio().silent = silent;
    const Image before = doc.image;
    const bool accepted = ReadRadioIntoDocument(doc, ctx(), seams).accepted();
    const Image want = silent || kept.empty() ? before : kept.back();
    EXPECT_EQ(std::tuple(accepted, kept.size(), doc.image == want, doc.fileNewEnabled),
              std::tuple(!silent, 1u, true, true))
        << ::testing::PrintToString(prompter.lines());
    if (!silent) {
      EXPECT_EQ(std::tuple(doc.image.modelCode(), app.curModel, doc.modelByte),
                std::tuple(10, 1, 1));
    }
  }
}

// The collect clears the flags; a write that did not happen gives them back.
TEST_F(RadioCommandsTest, WriteThatFailsKeepsTheFlagsOfBeforeTheCollect) {
  for (const bool fails : {true, false}) {
    SCOPED_TRACE(fails);
    radio().nakAt = fails ? std::set<uint16_t>{0x0010} : std::set<uint16_t>{};
    radio().modelCode = static_cast<uint8_t>(app.currentModel().code);
    doc.flags.dataChanged = true;
    doc.flags.functionsChanged = false;
    const bool ok = WriteDocumentToRadio(doc, ctx(), WriteChecks{}, seams).ok();
    EXPECT_EQ(std::tuple(ok, doc.flags.dataChanged, doc.caption == WriteDoneCaption(app)),
              std::tuple(!fails, fails, !fails));
  }
}

}  // namespace
}  // namespace qm
