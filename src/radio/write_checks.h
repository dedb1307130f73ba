// What a technician adds around a write, each off unless asked for: a backup of the whole
// radio before it is written, a read-back of the written blocks afterwards, and a short
// identification of the radio on the line (for writing one file into many radios).
// Everything runs over the same link primitives as the read and the write.
#pragma once

#include <array>
#include <cstdint>
#include <ctime>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "model/image.h"
#include "radio/link.h"
#include "radio/write_radio.h"

namespace qm {

// ---- verify after write ----

struct VerifyMismatch {
  uint16_t address = 0;
  std::array<uint8_t, 8> sent{};
  std::array<uint8_t, 8> readBack{};
};

enum class VerifyStatus {
  NotStarted,   // the handshake failed (its message has been shown)
  Interrupted,  // a read-back reply was short or missing
  DataError,    // a reply for another address or of another size
  Mismatch,     // the radio holds other bytes than were written
  Passed,
};

struct VerifyResult {
  VerifyStatus status = VerifyStatus::NotStarted;
  int blocksRead = 0;
  std::vector<VerifyMismatch> mismatches;
  bool passed() const { return status == VerifyStatus::Passed; }
};

// Reads back the 38 blocks of WritePlan() and compares each with the frame the write sent
// (WriteFrameData of `written` for a radio of major version `verMajor`). Every block is read,
// so that all differing addresses are reported. A failure is shown as "校验错误" with the
// addresses; a pass shows nothing. The port is closed at the end.
VerifyResult VerifyWrite(LinkContext& ctx, const Image& written, int16_t verMajor);

// "0x012: 写入 01 02 03 04 05 06 07 08，读回 01 02 03 FB 05 06 07 08"
std::string MismatchText(const VerifyMismatch& m);

// ---- backup before write ----

struct BackupResult {
  bool ok = false;
  std::string path;     // the file written
  std::string radioId;  // as read, printable
  std::string error;    // why there is no backup
};

// The name of a backup file: the radio ID (letters, digits, "-" and "_" kept, anything else
// "_", `noId` when empty), "_" and the date and time YYYYMMDD-HHMMSS, ".q83".
std::string BackupFileName(std::string_view radioId, const std::tm& now,
                           std::string_view noId = "noid");

// Reads the whole radio into a scratch image and saves it in `dir` (created when missing)
// as a data file. Neither the document nor the selected model changes. The read's own
// completion notice is not shown; its failures are. A name already taken gets "-2", "-3"...
BackupResult BackupRadio(LinkContext& ctx, const std::string& dir, const std::tm& now);

// ---- the radio on the line ----

struct RadioIdentity {
  HandshakeResult handshake;
  bool idRead = false;
  std::string radioId;  // printable: trailing zeros and spaces dropped, other bytes "?"
  bool answered() const { return handshake.accepted(); }
  std::string version() const;  // "2.0"
};

// The handshake, the radio ID (0x3E0-0x3EF) and "END"; shows nothing itself (the caller
// decides, e.g. with ReactToProgramMode). The port is closed at the end.
RadioIdentity ProbeRadio(LinkContext& ctx);

// The 16 ID bytes as text: printable ASCII kept, other bytes "?", trailing zeros and
// spaces dropped.
std::string PrintableRadioId(std::span<const uint8_t> id);

// ---- a write with its checks ----

struct WriteChecks {
  bool verify = false;
  std::string backupDir;  // empty: no backup
};

struct CheckedWrite {
  std::optional<BackupResult> backup;
  WriteResult write;
  std::optional<VerifyResult> verify;
  // The write completed and, when asked for, the backup was saved and the read-back agreed.
  bool ok() const;
  // "成功", "备份失败", "写频失败", "校验失败", "已取消"
  std::string resultText() const;
};

// Backup (when asked; a failed backup stops before anything is written), WriteRadio, then
// the read-back (when asked). With verification the write's completion notice is held back
// until the read-back agrees, so that a write the radio did not store is never announced as
// done; it is then shown as "写频完成" / "写频完成，回读校验无误，请按“确定”按钮继续.....".
CheckedWrite WriteRadioChecked(LinkContext& ctx, Image& image, int16_t& imageVerMajor,
                               const std::function<std::tm()>& localTime,
                               const WriteChecks& checks);

// ---- one line per radio of a fleet run ----

struct FleetRecord {
  int count = 0;
  std::string radioId;
  int modelCode = -1;  // -1: no answer
  std::string version;
  std::string result;
  std::string time;  // "2026-12-07 02:30:11"
  double seconds = 0.0;
};

std::string FleetLine(const FleetRecord& r);    // for the terminal
std::string FleetCsvHeader();                   // the log's first line
std::string FleetCsvRow(const FleetRecord& r);  // one log line
std::string FormatLocalTime(const std::tm& t);  // "2026-12-07 02:30:11"

}  // namespace qm
