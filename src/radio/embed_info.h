// The embedded information: the user text (0x300-0x3BF, UTF-16LE, up to 96 characters),
// the date of the last write (0x3C0-0x3CF) and the radio ID (0x3E0-0x3EF), read and the
// text written on their own, without a full read or write.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "base/tr.h"
#include "model/image.h"
#include "radio/link.h"

namespace qm {

inline constexpr size_t kEmbedTextChars = 96;

// Reads 0x300-0x3EF (30 blocks; 0x3D0-0x3DF are read but not kept). The three areas change
// only when all blocks arrived; a failed read leaves them as they were. The handshake's
// version bytes land in `imageVerMajor` and image 0x2D0 as for every exchange. Gives
// whether the read completed. The port is closed at the end.
bool ReadEmbedInfo(LinkContext& ctx, Image& image, int16_t& imageVerMajor);

// Writes the user text area (24 blocks, 0x300-0x3BF). The date row and the radio ID are
// never sent. Gives whether every block was acknowledged. The port is closed at the end.
bool WriteEmbedInfo(LinkContext& ctx, Image& image, int16_t& imageVerMajor);

// The dialog's labels: "2006-12-05, 14:30:00" from the date row, and the 16 ID bytes,
// each byte one character (bytes above 0x7F as the characters U+0080-U+00FF).
struct EmbedLabels {
  std::string lastTime;
  std::string radioId;
};
EmbedLabels DisplayEmbedInfo(const Image& image);

// The fixed texts of the embedded information dialog.
namespace embedtext {
inline constexpr const char* kCaption = QM_TR("嵌入信息");
inline constexpr const char* kTextBox = QM_TR("用户自定义信息");
inline constexpr const char* kRadioIdLabel = QM_TR("对讲机ID：");
inline constexpr const char* kRadioIdEmpty = "----------------";
inline constexpr const char* kDateLabel = QM_TR("最近写频日期：");
inline constexpr const char* kRead = QM_TR("读取(&R)");
inline constexpr const char* kWrite = QM_TR("写入(&W)");
inline constexpr const char* kFont = QM_TR("字体(&F)...");
inline constexpr const char* kClose = QM_TR("关闭(&C)");
inline constexpr const char* kCancel = QM_TR("取消");
inline constexpr const char* kTooLong =
    QM_TR("已经达到文本的最大长度。");  // title: the application's
}  // namespace embedtext

// The text box's rule: a text longer than 96 characters loses the character just before
// the caret (the one just typed), and the caret moves one place left, until it fits (a
// paste may have added several). Gives whether anything was removed; the caller then shows
// kTooLong once.
bool LimitEmbedText(std::u16string& text, size_t& caret);

// The user text area as 96 UTF-16 code units, zero code units included (m_EmbedData).
std::u16string EmbedTextFromArea(const Image& image);
// Stores at most the first 96 code units of `text` at the start of the area, little-endian,
// and zero in every later byte.
void CollectEmbedText(std::u16string_view text, Image& image);

// Conversions for the text at the edges of the program (terminal, files). Invalid input
// becomes U+FFFD. Utf16ToUtf8 stops at the first zero code unit when `stopAtZero`.
std::u16string Utf8ToUtf16(std::string_view utf8);
std::string Utf16ToUtf8(std::u16string_view utf16, bool stopAtZero = true);

}  // namespace qm
