#include "base/model_table.h"

#include <gtest/gtest.h>

#include <tuple>

#include "document/config.h"
#include "support/gbk_codec.h"
#include "support/scratch_dir.h"

namespace qm {
namespace {

using test::ScratchDir;
using test::WriteBytes;

class ModelTableTest : public ::testing::Test {
 protected:
  AppState Load(const std::string& content, int16_t count) {
    WriteBytes(dir_.file("nrvPC.ini"), content);
    AppState app;
    app.modelCount = count;
    LoadModelTable(app, ProfileFile(dir_.file("nrvPC.ini"), codec_).snapshot());
    return app;
  }
  ScratchDir dir_;
  test::GbkCodec codec_;
};

TEST(InstallationMakerFile, SixModelsWithTheirCodes) {
  test::GbkCodec codec;
  AppState app;
  LoadStartupConfig(QM_BINARY_DIR, DefaultMakerIniPath(QM_BINARY_DIR), app, codec);
  EXPECT_EQ(std::tuple(app.softwareTitle, app.radioSeries, app.helpFile),
            std::tuple("QM830K编程软件", "ZR410 Radio Series",
                       std::string(QM_BINARY_DIR) + "/USER-GUIDE.html"));
  ASSERT_EQ(std::tuple(app.modelCount, app.models.size()), std::tuple(6, 6u));
  EXPECT_EQ(std::tuple(FindModelByCode(app, 7) >= 0, FindModelByCode(app, 32), app.models[0].name,
                       app.models[0].rangeLow, app.models[0].rangeHigh, app.models[5].extendHigh),
            std::tuple(true, 5, "QM830K-V1", 136.0, 154.0, 446.2));
  for (const ModelEntry& m : app.models) {
    EXPECT_TRUE(m.extendLow <= m.rangeLow && m.rangeLow < m.rangeHigh &&
                m.rangeHigh <= m.extendHigh)
        << m.name;
  }
}

TEST_F(ModelTableTest, EveryEntryGetsItsOwnKeysBandTextsAndCode) {
  AppState app = Load(
      "[Radio List]\n"
      "RadioName1= First \nRadioValue1=10\nStdFreqRange0=13600000\nEndFreqRange0=15400000\n"
      "StdFreqExtend0=13000000\nEndFreqExtend0=16000000\n"
      "RadioName2=Second\nRadioValue2=32\nStdFreqRange1=44600000\nEndFreqRange1=44620000\n"
      "RadioName3=Third\nRadioValue3=7\nStdFreqRange2=13650000\n",
      3);
  ASSERT_EQ(app.models.size(), 3u);
  const ModelEntry& m = app.models[0];  // the values are exact in binary
  EXPECT_EQ(std::tuple(m.name, m.code, m.rangeLow, m.rangeHigh, m.extendLow, m.extendHigh),
            std::tuple("First", 10, 136.0, 154.0, 130.0, 160.0));
  EXPECT_EQ(app.models[1].code, 32);
  EXPECT_DOUBLE_EQ(app.models[1].rangeHigh, 446.2);
  EXPECT_DOUBLE_EQ(app.models[1].extendLow, 1e-5);  // missing: the index as the value
  EXPECT_EQ(app.models[2].name, "Third");
  EXPECT_DOUBLE_EQ(app.models[2].rangeLow, 136.5);
  EXPECT_DOUBLE_EQ(app.models[2].rangeHigh, 2e-5);

  // The band texts of the entries.
  AppState bands = Load(
      "[Radio List]\nStdFreqRange0=13600000\nEndFreqRange0=15400000\n"
      "StdFreqRange1=14600000\nEndFreqRange1=17400000\nStdFreqRange2=40000000\n"
      "EndFreqRange2=43050000\nStdFreqRange4=42000000\nEndFreqRange4=45000000\n",
      6);
  EXPECT_EQ(
      std::tuple(BuildBandText(bands, 1), BuildRangeLabelText(bands, 1), BuildBandText(bands, 2),
                 BuildRangeLabelText(bands, 2), BuildBandText(bands, 4),
                 StatusBandPanel(BuildBandText(bands, 0))),
      std::tuple("146-174/146-174MHz", "146-174/146-174MHz", "400-430.5 MHz", "400 - 430.5 MHz",
                 "420-450/420-440/420-450MHz", "ZR410[136-154/136-154MHz]"));

  // The code texts.
  const std::pair<const char*, int16_t> cases[] = {{"7", 7},         {" 12 ", 12}, {"abc", 0},
                                                   {"9x", 9},        {"7.5", 8},   {"6.5", 6},
                                                   {"99999", 32767}, {"-5", -5}};
  for (const auto& [value, code] : cases) {
    const AppState one = Load(std::string("[Radio List]\nRadioValue1=") + value + "\n", 1);
    ASSERT_EQ(one.models.size(), 1u);
    EXPECT_EQ(one.models[0].code, code) << value;
  }

  // Of duplicate codes the first is selected.
  app = Load("[Radio List]\nRadioValue1=5\nRadioValue2=9\nRadioValue3=9\n", 3);
  app.curModel = 0;
  EXPECT_TRUE(ConvertModel(app, 9));
  EXPECT_EQ(app.curModel, 1);
  EXPECT_FALSE(ConvertModel(app, 77));  // unknown: the selection stays
  EXPECT_EQ(app.curModel, 1);
}

}  // namespace
}  // namespace qm
