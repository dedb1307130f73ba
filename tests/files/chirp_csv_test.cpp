// CSV channel lists: the two stock lists read into real models of the installation, the export's
// rows, round trips, the dialect's duplex and tone cases, and malformed files.
#include "files/chirp_csv.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>

#include "base/model_table.h"
#include "document/config.h"
#include "model/codecs.h"
#include "model/defaults.h"
#include "model/layout.h"
#include "model/radio_data.h"
#include "support/channel_bytes.h"
#include "support/fake_prompter.h"
#include "support/gbk_codec.h"
#include "support/scratch_dir.h"

namespace qm {
namespace {

using Cells = std::vector<std::string>;

std::string ReadList(const std::string& name) {
  return test::ReadBytes(std::string(QM_TEST_DATA) + "/chirp/" + name);
}
constexpr const char* kPmrFile = "EU LPD and PMR Channels.csv";
constexpr const char* kFrsFile = "US FRS and GMRS Channels.csv";

Cells Split(std::string_view s, char sep) {
  Cells out(1);
  for (char ch : s) {
    if (ch == sep)
      out.emplace_back();
    else
      out.back().push_back(ch);
  }
  return out;
}

// The row `base` of `header` with each "Column=value" of `set` (";" between) in its column.
std::string RowWith(std::string_view header, std::string_view base, std::string_view set) {
  const Cells names = Split(header, ',');
  Cells fields = Split(base, ',');
  for (const std::string& kv : Split(set, ';')) {
    if (kv.empty()) continue;
    const size_t eq = kv.find('=');
    fields[size_t(std::find(names.begin(), names.end(), kv.substr(0, eq)) - names.begin())] =
        kv.substr(eq + 1);
  }
  std::string row;
  for (const std::string& f : fields) row += (row.empty() ? "" : ",") + f;
  return row;
}

class ChirpTest : public ::testing::Test {
 protected:
  ChirpTest() {
    LoadStartupConfig(QM_BINARY_DIR, DefaultMakerIniPath(QM_BINARY_DIR), app, codec);
    UseModel(7);
  }
  // Selects the installation's model with this code and shows its default image.
  void UseModel(int code) {
    int m = FindModelByCode(app, code);
    ASSERT_GE(m, 0) << code;
    app.curModel = static_cast<int16_t>(m);
    image = Image{};
    SetDefaultFunctions(image);
    SetDefaultChannels(image, app.model(m), std::tm{});
    FillIdentBlock(image.ident(), static_cast<uint8_t>(code));
    editors.DisplayRadioData(image);
    flags = EditFlags{};
  }
  ChirpImportResult Import(const std::string& csv, ChirpImportOptions opt = {}) {
    return ImportChirpCsv(csv, grid(), app, image.modelCode(), opt);
  }
  Image Saved() {  // the image the grid now holds
    Image out = image;
    grid().SaveChannels(out);
    return out;
  }
  ChannelTableModel& grid() { return editors.channels(); }
  std::string Cell(int row, int col) { return grid().cell(row, col).text; }
  Cells Row(int row) {
    Cells out;
    for (int c = 1; c < kGridCols; ++c) out.push_back(Cell(row, c));
    return out;
  }
  static Cells Notes(const ChirpImportResult& r) {
    Cells out;
    for (const ChirpNote& n : r.notes) out.push_back(FormatChirpNote(n));
    return out;
  }

  test::GbkCodec codec;
  AppState app;
  EditFlags flags;
  test::FakePrompter prompter;
  Image image;
  RadioEditors editors{app, flags, prompter, [this] { return image.modelCode(); }};
};

// ---- the stock lists ----

TEST_F(ChirpTest, PmrRowsFillThe446ModelAndLpdRowsAreReportedByLine) {
  UseModel(32);
  ChirpImportResult r = Import(ReadList(kPmrFile), {71, false});
  ASSERT_TRUE(r.ok) << r.error;
  // Location 71 is on line 71 (after the header and LPD 01-69); 81 follows 78 directly.
  EXPECT_EQ(std::tuple(r.notes.size(), r.imported, r.sourceLines.front(), r.sourceLines[8]),
            std::tuple(0u, 16, 71, 79));
  EXPECT_EQ(Row(1), (Cells{"446.00625", "OFF", "446.00625", "OFF", "添加", "关闭", "低", "窄带"}));
  // No Power column: the channel keeps the power it had (the 446 defaults are low). Channel 16 was
  // off in the defaults.
  EXPECT_EQ(std::tuple(Cell(16, col::kRxFreq), Cell(16, col::kBandwidth), grid().channelOff(15),
                       flags.dataChanged),
            std::tuple("446.19375", "窄带", false, true));
  Image saved = Saved();  // in use, 6.25 kHz raster
  EXPECT_EQ(std::tuple(FreqBytesToHz(saved[0], saved[1], saved[2]), saved[2] & 0x0C),
            std::tuple(446006250, 0x0C));

  // From the top, the LPD rows are far outside the 446 band: each is reported by its line.
  UseModel(32);
  ChirpImportResult all = Import(ReadList(kPmrFile));
  ASSERT_TRUE(all.ok) << all.error;
  ASSERT_EQ(std::tuple(all.sourceLines, all.notes.size(), all.notes.back().line),
            std::tuple(r.sourceLines, 69u, 70));
  EXPECT_EQ(FormatChirpNote(all.notes.front()),
            "第2行：接收频率433.075000 MHz远在本机频率范围446-446.2 MHz之外，已跳过");
}

// The FRS and GMRS list: all of it into a UHF model (440-470 MHz), from the GMRS repeaters on with
// and without clearing the rest, and into a VHF model, where no row fits.
TEST_F(ChirpTest, FrsAndGmrsList) {
  ChirpImportResult r = Import(ReadList(kFrsFile));
  ASSERT_TRUE(r.ok) << r.error;
  // 52 rows on lines 2-53; the 17th is on line 18.
  EXPECT_EQ(std::tuple(r.imported, Notes(r)),
            std::tuple(16, Cells{"第18行起的36行未导入：本机只有16个信道"}));
  EXPECT_EQ(Row(1), (Cells{"462.56250", "OFF", "462.56250", "OFF", "添加", "关闭", "高", "窄带"}));
  EXPECT_EQ(Row(8), (Cells{"467.56250", "OFF", "467.56250", "OFF", "添加", "关闭", "低", "窄带"}));
  EXPECT_EQ(Cell(15, col::kRxFreq), "462.55000");

  UseModel(7);
  r = Import(ReadList(kFrsFile), {45, true});
  EXPECT_EQ(std::tuple(r.ok, r.imported, Cell(8, col::kTxFreq)), std::tuple(true, 8, "467.72500"));
  EXPECT_EQ(Row(1), (Cells{"462.55000", "OFF", "467.55000", "OFF", "添加", "关闭", "高", "宽带"}));
  for (int i = 8; i < 16; ++i) EXPECT_TRUE(grid().channelOff(i)) << i;
  // Without clearing the rest the channels after the imported rows keep what they had.
  UseModel(7);
  const auto before = std::tuple(Row(12), grid().channelOff(11));
  ASSERT_TRUE(Import(ReadList(kFrsFile), {45, false}).ok);
  EXPECT_EQ(std::tuple(Row(12), grid().channelOff(11)), before);

  UseModel(10);  // 136-154 MHz: every row tried, each reported; nothing changes
  const Image vhf = Saved();
  r = Import(ReadList(kFrsFile));
  EXPECT_EQ(std::tuple(r.ok, r.error, r.notes.size(), Saved() == vhf, flags.dataChanged),
            std::tuple(false, "没有可以导入的行", 52u, true, false));
}

// ---- export ----

TEST_F(ChirpTest, ExportWritesTheFullHeaderAndOneRowPerChannelInUse) {
  Image img = image;
  for (int i = 0; i < 16; ++i) img.channel(i)[2] &= 0xF7;  // all off
  test::SetChannel(img, 0, "446.00625", "OFF", "446.00625", "OFF", 0x01);
  test::SetChannel(img, 2, "450.00000", "CTC 88.5", "455.00000", "CTC 88.5", 0x34);
  test::SetChannel(img, 3, "451.00500", "DCS 023", "451.00500", "-DCS 023", 0x00, false);
  test::SetChannel(img, 4, "452.00000", "-DCS 754", "452.00000", "CTC 67.0", 0x00);
  test::SetChannel(img, 5, "453.00000", "TTS 5", "453.00000", "OFF", 0x00);
  ChirpExport e = ExportChirpCsv(img);
  EXPECT_EQ(e.rows, 5);
  EXPECT_EQ(e.csv,
            std::string(kChirpHeader) +
                "\r\n"
                "1,信道1,446.006250,,0.000000,,88.5,88.5,023,NN,023,Tone->Tone,NFM,6.25,,2.0W,,,,,,"
                "Off\r\n"
                "3,信道3,450.000000,split,455.000000,TSQL,88.5,88.5,023,NN,023,Tone->Tone,FM,6.25,"
                "S,0.5W,,,,,,On\r\n"
                "4,信道4,451.005000,off,0.000000,DTCS,88.5,88.5,023,RN,023,Tone->Tone,FM,5.00,,"
                "2.0W,,,,,,Off\r\n"
                "5,信道5,452.000000,,0.000000,Cross,67.0,88.5,023,NR,754,Tone->DTCS,FM,6.25,,2.0W,"
                ",,,,,Off\r\n"
                "6,信道6,453.000000,,0.000000,,88.5,88.5,023,NN,023,Tone->Tone,FM,6.25,,2.0W,,,,,,"
                "Off\r\n");
  EXPECT_EQ(e.notes, (Cells{"信道6：TTS 5在CSV中没有对应的信令，按无信令写出"}));
}

// Every combination of the two signalling sides goes out and comes back as it was, with every other
// field the dialect holds.
TEST_F(ChirpTest, ExportThenImportRoundTripsEveryField) {
  Image img = image;
  const char* sigs[] = {"OFF", "CTC 67.0", "CTC 254.1", "DCS 023", "-DCS 754"};
  for (int n = 0; n < 16; ++n) {
    const std::string f = n % 2 ? "441.00500" : "462.56250";
    // Same sides, then every pairing of different ones.
    test::SetChannel(
        img, n, f, sigs[n % 5], n % 3 == 1 ? "467.56250" : f, sigs[(n / 5 + n) % 5],
        static_cast<uint8_t>((n & 1) | ((n & 2) << 1) | ((n & 4) << 2) | ((n & 8) << 2)),
        n % 5 != 4);
  }
  ChirpExport e = ExportChirpCsv(img);
  ASSERT_EQ(std::tuple(e.rows, e.notes.size()), std::tuple(16, 0u));

  UseModel(7);  // the defaults: different channels
  ChirpImportResult r = Import(e.csv);
  ASSERT_EQ(std::tuple(r.ok, Notes(r)), std::tuple(true, Cells{})) << r.error;
  Image back = Saved();
  for (int i = 0; i < 16; ++i) {
    Channel a = DecodeChannel(img.row(16 * static_cast<size_t>(i)));
    Channel b = DecodeChannel(back.row(16 * static_cast<size_t>(i)));
    // The dialect holds no transmit frequency for an inhibited side, nor the preset numbers and the
    // bits no field names (a save keeps the image's).
    if (!a.txAllowed) a.tx = b.tx;
    a.presetChannel = b.presetChannel;
    a.presetSignal = b.presetSignal;
    a.carried = b.carried;
    EXPECT_EQ(a, b) << "channel " << i + 1;
  }
}

// ---- the dialect's cases ----

// Each row becomes the grid's texts: receive frequency|signalling|transmit frequency|signalling,
// and the transmit inhibit. The tones and codes of the base row all differ, so a side read from the
// wrong column shows.
TEST_F(ChirpTest, DialectRowsBecomeTheGridTexts) {
  const char* header =
      "Location,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,"
      "RxDtcsCode,CrossMode,Mode";
  const char* base = "1,450.0,,0,,100.0,123.0,051,NN,265,Tone->Tone,FM";
  const std::pair<const char*, const char*> cases[] = {
      {"", "450.00000|OFF|450.00000|OFF"},
      {"Duplex=+;Offset=5.0", "450.00000|OFF|455.00000|OFF"},
      {"Frequency=455.0;Duplex=-;Offset=5.0", "455.00000|OFF|450.00000|OFF"},
      {"Duplex=split;Offset=460.005", "450.00000|OFF|460.00500|OFF"},
      {"Duplex=off;Tone=Tone", "450.00000|OFF|450.00000|CTC 100.0|inhibited"},
      {"Tone=Tone;rToneFreq=131.8", "450.00000|OFF|450.00000|CTC 131.8"},
      {"Tone=TSQL", "450.00000|CTC 123.0|450.00000|CTC 123.0"},
      {"Tone=DTCS;DtcsCode=754", "450.00000|DCS 754|450.00000|DCS 754"},
      {"Tone=DTCS;DtcsPolarity=RN", "450.00000|DCS 051|450.00000|-DCS 051"},
      {"Tone=DTCS;DtcsPolarity=NR", "450.00000|-DCS 051|450.00000|DCS 051"},
      {"Tone=Cross", "450.00000|CTC 123.0|450.00000|CTC 100.0"},
      {"Tone=Cross;DtcsPolarity=NR;CrossMode=Tone->DTCS", "450.00000|-DCS 265|450.00000|CTC 100.0"},
      {"Tone=Cross;DtcsPolarity=RN;CrossMode=DTCS->Tone", "450.00000|CTC 123.0|450.00000|-DCS 051"},
      {"Tone=Cross;CrossMode=DTCS->DTCS", "450.00000|DCS 265|450.00000|DCS 051"},
      {"Tone=Cross;CrossMode=->DTCS", "450.00000|DCS 265|450.00000|OFF"},
      {"Tone=Cross;CrossMode=DTCS->", "450.00000|OFF|450.00000|DCS 051"},
      {"Frequency=450.005", "450.00500|OFF|450.00500|OFF"},
  };
  for (const auto& [set, cells] : cases) {
    SCOPED_TRACE(set);
    UseModel(7);
    ChirpImportResult r = Import(std::string(header) + "\n" + RowWith(header, base, set) + "\n");
    ASSERT_EQ(std::tuple(r.ok, Notes(r)), std::tuple(true, Cells{})) << r.error;
    EXPECT_EQ(Cell(1, 1) + "|" + Cell(1, 2) + "|" + Cell(1, 3) + "|" + Cell(1, 4) +
                  (grid().txInhibited(0) ? "|inhibited" : ""),
              cells);
  }
}

TEST_F(ChirpTest, NearBandValuesAreClampedWithTheGridsMessage) {
  ChirpImportResult r = Import(
      "Location,Frequency,Tone,rToneFreq,cToneFreq,DtcsCode\n"
      "1,470.5,Tone,300,88.5,023\n"
      "2,450.0,DTCS,88.5,88.5,010\n");
  ASSERT_EQ(std::tuple(r.ok, r.imported), std::tuple(true, 2));
  EXPECT_EQ(Notes(r), (Cells{"第2行：频率超过范围！接收频率470.500000 MHz改为470.00000 MHz",
                             "第2行：频率超过范围！发射频率470.500000 MHz改为470.00000 MHz",
                             "第2行：rToneFreq 300改为CTC 254.1", "第3行：DtcsCode 010改为DCS 023",
                             "第3行：DtcsCode 010改为DCS 023"}));
  // Reported, not one box per value.
  EXPECT_EQ(std::tuple(Row(1)[0], Row(1)[3], Row(2)[1], prompter.messages.size()),
            std::tuple("470.00000", "CTC 254.1", "DCS 023", 0u));
}

TEST_F(ChirpTest, ADecimalCommaSystemReadsAndWritesTheDialectsPoints) {
  app.decimalSep = ',';
  UseModel(7);
  ASSERT_TRUE(Import("Location,Frequency,Tone,rToneFreq\n1,450.125,Tone,88.5\n").ok);
  EXPECT_EQ(std::tuple(Cell(1, col::kRxFreq), Cell(1, col::kTxSignal)),
            std::tuple("450,12500", "CTC 88,5"));
  ChirpExport e = ExportChirpCsv(Saved());
  EXPECT_NE(e.csv.find("\r\n1,信道1,450.125000,,0.000000,Tone,88.5,"), std::string::npos) << e.csv;
}

// ---- the CSV layer ----

TEST_F(ChirpTest, BomCrlfCommentsQuotesAndAnyColumnOrder) {
  std::string csv =
      "\xEF\xBB\xBF# exported by hand\r\n"
      "Mode,\"Frequency\",Name,Location,Skip,Comment\r\n"
      "\r\n"
      "NFM,451.0,\"A, \"\"quoted\"\" name\",5,S,\"two\r\nlines\"\r\n"
      "# a comment between rows\r\n"
      "FM,452.0,B,6,,\r\n";
  ChirpImportResult r = Import(csv);
  ASSERT_TRUE(r.ok) << r.error;
  EXPECT_EQ(std::tuple(r.imported, r.sourceLines), std::tuple(2, std::vector<int>{4, 7}));
  EXPECT_EQ(std::tuple(Row(1)[0], Row(1)[4], Row(1)[7], Row(2)[0]),
            std::tuple("451.00000", "删除", "窄带", "452.00000"));
  std::vector<CsvRecord> recs = ParseCsv(csv);
  ASSERT_EQ(recs.size(), 3u);
  EXPECT_EQ(std::tuple(recs[1].fields[2], recs[1].fields[5], CsvField("A, \"q\""), CsvField("a")),
            std::tuple("A, \"quoted\" name", "two\r\nlines", "\"A, \"\"q\"\"\"", "a"));
}

// One bad row between two good ones: it is reported by its line and skipped, the good rows fill
// channels 1 and 2.
TEST_F(ChirpTest, MalformedRowsAreReportedByLineAndSkipped) {
  const char* header =
      "Location,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,"
      "CrossMode,Mode,Power,BusyLock";
  auto bad = [&](const char* set) {
    return RowWith(header, "2,450.0,,0,,88.5,88.5,023,NN,Tone->Tone,FM,2W,", set);
  };
  const std::pair<std::string, const char*> cases[] = {
      // the row, its note before "，已跳过"
      {"2,450.5,,0", "只有4列，表头有13列"},
      {bad("Frequency="), "没有频率"},
      {bad("Frequency=45O.0"), "Frequency列的数值无法识别（45O.0）"},
      {bad("Location=x"), "Location列的数值无法识别（x）"},
      {bad("Duplex=+;Offset=five"), "Offset列的数值无法识别（five）"},
      {bad("Duplex=split;Offset=480.0"), "发射频率480.000000 MHz远在本机频率范围440-470 MHz之外"},
      {bad("Tone=Tone;rToneFreq=8x.5"), "rToneFreqCTC数据无效！（8x.5）"},
      {bad("Tone=DTCS;DtcsCode=089"), "DtcsCodeDCS 数据无效！（089）"},
      {bad("Tone=DTCS;DtcsCode="), "DtcsCode列的数值无法识别（）"},
      {bad("Tone=TSQL-R"), "本机没有TSQL-R信令方式"},
      {bad("Tone=Cross;CrossMode=Tone=>DTCS"), "无法识别的CrossMode（Tone=>DTCS）"},
      {bad("Tone=DTCS;DtcsPolarity=NX"), "无法识别的DtcsPolarity（NX）"},
      {bad("Duplex=x"), "无法识别的Duplex（x）"},
      {bad("Mode=AM"), "本机没有AM调制方式"},
      {bad("Power=highW"), "Power列的数值无法识别（highW）"},
      {bad("BusyLock=maybe"), "无法识别的BusyLock（maybe）"}};
  for (const auto& [row, note] : cases) {
    SCOPED_TRACE(row);
    UseModel(7);
    ChirpImportResult r =
        Import(std::string(header) + "\n" + bad("Location=1;BusyLock=On") + "\n" + row + "\n" +
               bad("Location=3;Frequency=451.0;Power=5W;BusyLock=Off") + "\n");
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(
        std::tuple(r.imported, r.sourceLines, Notes(r)),
        std::tuple(2, std::vector<int>{2, 4}, Cells{std::string("第3行：") + note + "，已跳过"}));
    EXPECT_EQ(std::tuple(Row(1)[5], Row(2)[0], Row(2)[5]), std::tuple("打开", "451.00000", "关闭"));
  }
}

TEST_F(ChirpTest, FilesWithoutAHeaderOrRowsChangeNothing) {
  const Image before = Saved();
  const std::string noHeader = "文件中没有CSV表头（须有Location和Frequency列）";
  const std::tuple<std::string, ChirpImportOptions, std::string> cases[] = {
      {"", {}, noHeader},
      {"# only a comment\n\n", {}, noHeader},
      {"1,450.0,,0\n2,451.0,,0\n", {}, "第1行：不是CSV表头（须有Location和Frequency列）"},
      {"Location,Name\n1,A\n", {}, "第1行：不是CSV表头（须有Location和Frequency列）"},
      {"Location,Frequency\n", {}, "没有可以导入的行"},
      {"Location,Frequency\n1,450.0\n", {7, false}, "没有Location为7的行"},
  };
  for (const auto& [csv, opt, error] : cases) {
    ChirpImportResult r = Import(csv, opt);
    EXPECT_EQ(std::tuple(r.ok, r.error, Saved() == before), std::tuple(false, error, true)) << csv;
  }
  EXPECT_FALSE(flags.dataChanged);
}

}  // namespace
}  // namespace qm
