// The checks around a write (read-back, backup), the radio probe and the serial trace, on the
// simulated radio and the virtual clock.
#include "radio/write_checks.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "files/data_file.h"
#include "radio/serial_trace.h"
#include "radio_fixture.h"
#include "support/scratch_dir.h"

namespace qm::test {
namespace {

struct ChecksBench : RadioBench {
  ChecksBench() {
    std::fill(line.radio.memory().begin(), line.radio.memory().end(), uint8_t{0xEE});
    std::memcpy(line.radio.memory().data() + 0x3E0, "RADIO-7\0\0\0\0\0\0\0\0\0", 16);
    FillPattern(image.bytes(), 0x5A);
    image[0x2D2] = 1;
  }
  CheckedWrite Write(WriteChecks checks) {
    return WriteRadioChecked(
        ctx, image, verMajor, [] { return FixedTime(); }, checks);
  }
  // Read requests the PC sent after its last write frame.
  int ReadRequestsAfterWrite() const {
    int n = 0;
    for (const auto& w : line.port.writes()) {
      if (w.bytes.size() == 12 && w.bytes[0] == 0x57) n = 0;
      if (w.bytes.size() == 4 && w.bytes[0] == 0x52) ++n;
    }
    return n;
  }
};

class WriteChecksTest : public ::testing::Test, public ChecksBench {};

// The read-back: only when it agrees is the write announced; a version-1 radio is compared
// with the converted frames; a missing reply fails with its address. Without checks the
// write is the plain write.
TEST(WriteChecks, ReadBackOrNone) {
  struct Case {
    bool verify;
    void (*setup)(Cfg&);
    VerifyStatus status;  // Passed without a read-back
    std::string message;
    int requests;  // read requests after the last write frame
  };
  const std::string checked = "写频完成 / 写频完成，回读校验无误，请按“确定”按钮继续.....";
  const Case cases[] = {
      {true, [](Cfg&) {}, VerifyStatus::Passed, checked, 38},
      {true, [](Cfg& c) { c.verMajor = 1; }, VerifyStatus::Passed, checked, 38},
      {true, [](Cfg& c) { c.silentReadAt = {0x2D8}; }, VerifyStatus::Interrupted,
       "校验错误 / 校验中断（地址 0x2D8），请重试！", 36},
      {false, [](Cfg&) {}, VerifyStatus::Passed, "写频完成 / 写频完成，请按“确定”按钮继续.....", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(&c - cases);
    ChecksBench b;
    c.setup(b.radio());
    CheckedWrite r = b.Write({c.verify, ""});
    const bool passed = c.status == VerifyStatus::Passed;
    EXPECT_EQ(std::tuple(r.ok(), r.resultText(), r.verify.has_value(), r.backup.has_value(),
                         b.ReadRequestsAfterWrite()),
              std::tuple(passed, passed ? "成功" : "校验失败", c.verify, false, c.requests));
    EXPECT_EQ(r.verify ? r.verify->status : VerifyStatus::Passed, c.status);
    EXPECT_TRUE(!r.verify || !passed || r.verify->blocksRead == 38);
    EXPECT_EQ(b.prompter.lines(), std::vector<std::string>{c.message});
    EXPECT_FALSE(b.line.port.isOpen());
    const uint8_t f0 = b.image[0x2B0];
    EXPECT_EQ(b.line.radio.memory()[0x2B0], b.radio().verMajor == 1 ? FuncByte0ToV1(f0) : f0);
  }
}

TEST_F(WriteChecksTest, ARadioThatStoresAWrongByteFailsVerification) {
  radio().corruptAt = {0x2B3, 0x045};
  CheckedWrite r = Write({true, ""});
  // Every frame was acknowledged, but the radio does not hold them.
  EXPECT_EQ(std::tuple(r.write.completed(), r.ok(), r.resultText()),
            std::tuple(true, false, "校验失败"));
  ASSERT_TRUE(r.verify);
  ASSERT_EQ(std::tuple(r.verify->status, r.verify->mismatches.size()),
            std::tuple(VerifyStatus::Mismatch, 2u));
  EXPECT_EQ(std::tuple(r.verify->mismatches[0].address, r.verify->mismatches[1].address),
            std::tuple(0x040, 0x2B0));
  const VerifyMismatch& m = r.verify->mismatches[1];
  EXPECT_EQ(m.readBack[3], static_cast<uint8_t>(~m.sent[3]));
  const std::string expected = "校验错误 / 写频校验失败，对讲机中的数据与写入的不同：\n" +
                               MismatchText(r.verify->mismatches[0]) + "\n" + MismatchText(m);
  EXPECT_EQ(prompter.lines(), std::vector<std::string>{expected});  // no completion notice
  EXPECT_EQ(MismatchText(m).substr(0, 6), "0x2B0:");
}

TEST_F(WriteChecksTest, BackupSavesTheRadioBeforeItIsWrittenAndKeepsTheModel) {
  ScratchDir dir;
  const std::array<uint8_t, 1024> before = line.radio.memory();
  app.curModel = 1;  // the file is for model code 2; the radio answers code 1
  prompter.answers.push_back(Answer::Yes);  // "选择的机型与当前机型不同 是否要继续？"
  const std::string sub = dir.file("backups");
  CheckedWrite r = Write({false, sub});
  ASSERT_TRUE(r.backup);
  ASSERT_TRUE(r.backup->ok) << r.backup->error;
  EXPECT_TRUE(r.ok());
  EXPECT_EQ(r.backup->radioId, "RADIO-7");
  EXPECT_TRUE(test::SamePath(r.backup->path, sub + "/RADIO-7_20261207-013005.q83"))
      << r.backup->path;
  // The model question was still asked: the backup read did not select the radio's model.
  EXPECT_EQ(app.curModel, 1);
  EXPECT_EQ(prompter.lines(),
            (std::vector<std::string>{"QM830K / 选择的机型与当前机型不同 是否要继续？",
                                      "写频完成 / 写频完成，请按“确定”按钮继续....."}));
  LoadedFile f = LoadDataFileFrom(r.backup->path, Image{}, SpareBlock{});
  ASSERT_EQ(f.status, LoadStatus::Ok);
  EXPECT_TRUE(std::equal(before.begin(), before.end(), f.image.bytes().begin()));

  // A second backup in the same second does not replace the first.
  prompter.answers.push_back(Answer::Yes);
  CheckedWrite again = Write({false, sub});
  ASSERT_TRUE(again.backup && again.backup->ok);
  EXPECT_TRUE(test::SamePath(again.backup->path, sub + "/RADIO-7_20261207-013005-2.q83"))
      << again.backup->path;
}

TEST_F(WriteChecksTest, AFailedBackupStopsBeforeAnythingIsWritten) {
  ScratchDir dir;
  radio().shortAt = {0x100};
  CheckedWrite r = Write({true, dir.file("b")});
  EXPECT_EQ(
      std::tuple(r.ok(), r.resultText(), r.write.status, line.radio.writtenAddresses().size()),
      std::tuple(false, "备份失败", WriteStatus::NotStarted, 0u));
  EXPECT_EQ(prompter.lines(), (std::vector<std::string>{"读频错误 / 读频中断，请重试！",
                                                        "写频错误 / 备份没有完成，没有写频。"}));
}

// The probe, traced: model, version and ID, with nothing shown or written.
TEST_F(WriteChecksTest, ProbeAndTraceOfEveryFrameWithTimeAndDirection) {
  radio().modelCode = 12;
  radio().verMinor = 3;
  std::vector<std::string> sunk;
  SerialTrace trace(line.clock, [&](const std::string& l) { sunk.push_back(l); });
  TracingSerialPort tracing(line.port, trace);
  LinkContext traced{tracing, line.clock, prompter, progress, app, 3};
  RadioIdentity id = ProbeRadio(traced);
  EXPECT_EQ(std::tuple(id.answered(), id.handshake.modelCode, id.version(), id.idRead, id.radioId),
            std::tuple(true, 12, "2.3", true, "RADIO-7"));
  EXPECT_EQ(
      std::tuple(prompter.lines().size(), line.port.isOpen(), line.radio.writtenAddresses().size()),
      std::tuple(0u, false, 0u));
  const std::vector<std::string>& l = trace.lines();
  ASSERT_GE(l.size(), 8u);
  EXPECT_EQ(sunk, l);
  // The greeting, its acknowledge and the close: the trace run's (tests/e2e/extras_cli.sh).
  EXPECT_EQ(l[0], "         0.000 ms -- open COM3 9600,N,8,2");
  EXPECT_NE(trace.text().find("TX  52 03 E0 08\n"), std::string::npos);
  EXPECT_NE(trace.text().find("RX  57 03 E0 08 52 41 44 49 4F 2D 37 00\n"), std::string::npos);
  // Time stamps never go back.
  for (size_t k = 1; k < l.size(); ++k)
    EXPECT_LE(std::stod(l[k - 1].substr(0, 14)), std::stod(l[k].substr(0, 14)));
  trace.restart();
  EXPECT_TRUE(trace.lines().empty());

  // Bytes that were cleared unread are shown too.
  ASSERT_TRUE(tracing.open(1, kLinkSettings));
  tracing.write(kGreetingBytes);
  line.clock.delayMs(50);
  tracing.clearInput();
  EXPECT_NE(trace.text().find("RX(清除) 06"), std::string::npos) << trace.text();
  EXPECT_EQ(tracing.inCount(), 0u);
  tracing.close();
  radio().silent = true;
  EXPECT_EQ(std::tuple(ProbeRadio(ctx).handshake.outcome, ProbeRadio(ctx).answered()),
            std::tuple(Handshake::NoAnswer, false));
}

TEST(WriteCheckTexts, FleetLineLogRowAndBackupName) {
  FleetRecord r{3, "RADIO,7", 12, "2.0", "校验失败", "2026-12-07 01:30:05", 4.25};
  EXPECT_EQ(FleetLine(r),
            "#3  ID RADIO,7  机型代码 12  版本 2.0  校验失败  2026-12-07 01:30:05  4.2秒");
  EXPECT_EQ(FleetCsvRow(r), "3,\"RADIO,7\",12,2.0,校验失败,2026-12-07 01:30:05,4.2");
  FleetRecord none{4, "", -1, "", "无响应", "2026-12-07 01:31:00", 0.0};
  EXPECT_EQ(FleetCsvRow(none), "4,,,,无响应,2026-12-07 01:31:00,0.0");
  EXPECT_EQ(FormatLocalTime(FixedTime()), "2026-12-07 01:30:05");
  // A backup's file name.
  const std::tm t = FixedTime();
  EXPECT_EQ(std::tuple(BackupFileName("RADIO-7", t), BackupFileName("", t),
                       BackupFileName("../a b/c", t)),
            std::tuple("RADIO-7_20261207-013005.q83", "noid_20261207-013005.q83",
                       "___a_b_c_20261207-013005.q83"));
  const uint8_t raw[16] = {'A', 'B', 1, 'C', ' ', ' ', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  EXPECT_EQ(PrintableRadioId(raw), "AB?C");
}

}  // namespace
}  // namespace qm::test
