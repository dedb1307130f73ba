// qm830k-cli print: a data file in, the reports the window would print out as PDF.
#include <gtest/gtest.h>

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <string>

#include "files/data_file.h"
#include "model/codecs.h"
#include "model/image.h"
#include "support/channel_bytes.h"

namespace qm {
namespace {

// A QM830K-V2 image (model code 11, 146-174 MHz): channels 1-10 in use, 11-16 off, channel 2
// transmit-inhibited; tune channel 1 on with item values 1-7.
Image SampleImage() {
  Image image;
  for (int n = 0; n < kChannelCount; ++n) {
    test::SetChannel(image, n, "150.00000", "CTC 88.5", "151.00000", "DCS 023", 0, n != 1, n < 10);
  }
  const std::array<uint8_t, 16> fb = {0x48, 0x01, 0x03, 0x10, 0x02, 0x00, 0x25, 0x06,
                                      0x00, 0x00, 0x00, 0x05, 0x28, 0x05, 0x00, 0x00};
  std::copy(fb.begin(), fb.end(), image.functions().begin());
  image.ident()[2] = 11;
  ChannelRecord t = image.tuneChannel(0);
  t[0] = 0x42;  // 146.0125 MHz at 6.25 kHz
  t[1] = 0x5B;
  t[2] = 0x0C;
  for (int k = 0; k < 7; ++k)
    image.tuneItems()[static_cast<size_t>(k)] = static_cast<uint8_t>(k + 1);
  return image;
}

class CliPrint : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    ASSERT_TRUE(Save("sample.q83", SampleImage()));
  }
  QString file(const char* name) const { return dir_.filePath(name); }
  bool Save(const char* name, const Image& image) const {
    return WriteFileAtomically(file(name).toStdString(),
                               SerializeDataFile(image, SpareBlock{}, false));
  }

  // Runs the tool; returns its exit code (-1 when it did not finish).
  int Run(const QStringList& args) {
    QProcess p;
    QStringList all = {"--maker-ini", QStringLiteral(QM_MAKER_INI), "--ini",
                       dir_.filePath("QM830K.ini")};
    all << args;
    p.start(QStringLiteral(QM_CLI), all);
    if (!p.waitForFinished(60000)) return -1;
    err_ = QString::fromUtf8(p.readAllStandardError());
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
  }

  QString Text(const QString& pdf) {
    QProcess p;
    p.start(QStringLiteral(QM_PDFTOTEXT), {"-layout", "-enc", "UTF-8", pdf, "-"});
    if (!p.waitForFinished(30000)) return {};
    return QString::fromUtf8(p.readAllStandardOutput());
  }

  QTemporaryDir dir_;
  QString err_;
};

// The file reaches the channel and function reports, or with --tune the tune report; their
// layout is the layout tests'.
TEST_F(CliPrint, ChannelFunctionAndTuneReports) {
  ASSERT_EQ(Run({"print", file("sample.q83"), "--pdf", file("out.pdf")}), 0) << err_.toStdString();
  const QStringList pages = Text(file("out.pdf")).split(QChar('\f'), Qt::SkipEmptyParts);
  ASSERT_GE(pages.size(), 2);
  const QString ch = pages[0].simplified();
  EXPECT_TRUE(
      ch.startsWith("NRV QM830K编程软件 信道设置 机型: QM830K-V2 频率范围: 146-174/146-174MHz"))
      << ch.toStdString();
  EXPECT_TRUE(ch.contains("信道1 150.00000 CTC 88.5 151.00000 DCS 023 添加 关闭 高 宽带"));
  EXPECT_TRUE(ch.endsWith("信道11 ～ CH16 都为空。")) << ch.toStdString();
  EXPECT_TRUE(pages[1].simplified().contains("发射限时 60秒 提示音 打开"));

  ASSERT_EQ(Run({"print", file("sample.q83"), "--pdf", file("tune.pdf"), "--tune", "--tune-channel",
                 "1"}),
            0)
      << err_.toStdString();
  const QStringList tune = Text(file("tune.pdf")).split(QChar('\f'), Qt::SkipEmptyParts);
  ASSERT_EQ(tune.size(), 1);
  const QString t = tune[0].simplified();
  for (const char* line :
       {"Tune Settings 机型: QM830K-V2 频率范围:",
        "CH1 146.01250 6.25 OFF ---------- ------ ------", "CH2 ～ CH11 are empty.",
        "CH 1 is the current channel of tuning.", "CTC Deviation(Narrow): 6"})
    EXPECT_TRUE(t.contains(line)) << line << "\n" << t.toStdString();
}

// The language option stands before the verb, where it must not be taken for the verb itself.
// The headings have the report's own wording; the cells below them keep the grid's.
TEST_F(CliPrint, EnglishReportsThroughTheLanguageOption) {
  Image image = SampleImage();
  image.channel(2)[10] = 0x10;  // channel 3 deleted from the scan
  ASSERT_TRUE(Save("scan.q83", image));
  ASSERT_EQ(Run({"--lang", "en", "print", file("scan.q83"), "--pdf", file("en.pdf")}), 0)
      << err_.toStdString();
  const QString text = Text(file("en.pdf"));
  for (const QChar c : text) EXPECT_FALSE(c.unicode() >= 0x4E00 && c.unicode() <= 0x9FFF);
  const QString simple = text.simplified();
  EXPECT_TRUE(
      simple.contains("Channel 3 150.00000 CTC 88.5 151.00000 DCS 023 Delete Off High Wide"))
      << simple.toStdString();
  for (const char* heading : {"Scan", "add/", "del", "Busy", "lockout", "CTCSS/DCS"})
    EXPECT_TRUE(text.contains(heading)) << heading;
  EXPECT_TRUE(simple.contains("Tx power select (MONI key) Long press [MONI]"));
}

TEST_F(CliPrint, BadInputsFailWithoutOutput) {
  EXPECT_EQ(Run({"print", file("sample.q83")}), 2);  // no --pdf
  EXPECT_EQ(Run({"print", file("sample.q83"), "--pdf", file("no/dir/a.pdf")}), 1);
  EXPECT_TRUE(QDir(file(".")).entryList({"*.pdf"}, QDir::Files).isEmpty());  // nothing half-written
}

}  // namespace
}  // namespace qm
