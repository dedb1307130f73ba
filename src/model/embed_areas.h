// The embedded information areas of the image as the dialog, the command line and the
// comparison of two images show them: the user text (0x300-0x3BF, UTF-16LE, up to 96
// characters), the date of the last write (0x3C0-0x3CF) and the radio ID (0x3E0-0x3EF).
// Reading and writing them on their own is the radio's (radio/embed_info.h).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "base/tr.h"
#include "model/image.h"

namespace qm {

inline constexpr size_t kEmbedTextChars = 96;

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

}  // namespace qm
