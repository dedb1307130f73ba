#include "radio/embed_info.h"

#include <array>

#include "base/tr.h"

namespace qm {

namespace {

constexpr int kReadBlocks = 30;   // 0x300 .. 0x3E8
constexpr int kWriteBlocks = 24;  // 0x300 .. 0x3B8

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

std::string BytesAsChars(std::span<const uint8_t> bytes) {
  std::string out;
  for (uint8_t b : bytes) AppendUtf8(out, b);
  return out;
}

// Whether an embedded-information reply stays inside its 16-byte row and carries the bytes
// it announces.
bool FitsRow(std::span<const uint8_t> reply) {
  const size_t count = reply[3];
  return 4 + count <= reply.size() && (reply[2] & 0x0F) + count <= kRowSize;
}

}  // namespace

bool ReadEmbedInfo(LinkContext& ctx, Image& image, int16_t& imageVerMajor) {
  PortCloser closer(ctx);
  const int16_t mode = EnterProgramMode(ctx, imageVerMajor, image);
  if (!ReactToProgramMode(ctx, mode, QM_TR("%1 没有响应, 请检查你的连接或机型电源是否打开！"))) {
    return false;
  }
  ctx.port.clearOutput();
  ctx.clock.delayMs(50);

  Image scratch = image;
  for (int i = 0; i < kReadBlocks; ++i) {
    const std::array<uint8_t, 4> request{frame::kRead, 0x03, static_cast<uint8_t>(8 * i),
                                         frame::kBlockSize};
    bool sent = false;
    const std::vector<uint8_t> reply = Exchange(ctx, timing::kReadRequest, request, &sent);
    ctx.port.clearOutput();
    if (!sent || reply.size() < frame::kReadReplySize ||
        (reply[0] == frame::kWrite && reply[1] == 0x03 && !FitsRow(reply))) {
      Notify(ctx.prompter, QM_TR("错误"), QM_TR("读取数据错误，请重试！"), Icon::Exclamation);
      return false;
    }
    if (reply[0] != frame::kWrite || reply[1] != 0x03) continue;
    const uint8_t low = reply[2];
    const bool kept = low < 0xC0 || (low >= 0xC0 && low <= 0xCF) || (low >= 0xE0 && low <= 0xEF);
    if (!kept) continue;
    for (size_t k = 0; k < reply[3]; ++k) scratch[0x300u + low + k] = reply[4 + k];
  }

  ExitProgramMode(ctx);
  ctx.clock.delayMs(20);
  const auto copyArea = [&](size_t start, size_t size) {
    for (size_t a = start; a < start + size; ++a) image[a] = scratch[a];
  };
  copyArea(addr::kEmbedText, addr::kEmbedTextSize);
  copyArea(addr::kWriteDate, kRowSize);
  copyArea(addr::kRadioId, kRowSize);
  Notify(ctx.prompter, QM_TR("完成"), QM_TR("读取数据完成，请按“确定”按钮继续....."), Icon::None);
  return true;
}

bool WriteEmbedInfo(LinkContext& ctx, Image& image, int16_t& imageVerMajor) {
  PortCloser closer(ctx);
  const int16_t mode = EnterProgramMode(ctx, imageVerMajor, image);
  if (!ReactToProgramMode(ctx, mode, QM_TR("%1 没有响应，请检查你的连接！"))) return false;
  ctx.port.clearOutput();
  ctx.clock.delayMs(20);

  for (int i = 0; i < kWriteBlocks; ++i) {
    std::array<uint8_t, frame::kWriteFrameSize> bytes{
        frame::kWrite, 0x03, static_cast<uint8_t>(8 * i), frame::kBlockSize};
    for (size_t k = 0; k < frame::kBlockSize; ++k) {
      bytes[4 + k] = image[addr::kEmbedText + 8 * static_cast<size_t>(i) + k];
    }
    bool sent = false;
    const std::vector<uint8_t> reply = Exchange(ctx, timing::kWriteFrame, bytes, &sent);
    ctx.port.clearOutput();
    if (!sent || reply.empty() || reply[0] != frame::kAck) {
      Notify(ctx.prompter, QM_TR("错误"), QM_TR("写入数据中断，请重试！"), Icon::Exclamation);
      return false;
    }
  }

  ExitProgramMode(ctx);
  ctx.clock.delayMs(20);
  Notify(ctx.prompter, QM_TR("完成"), QM_TR("写入数据完成，请按“确定”按钮继续....."), Icon::None);
  return true;
}

EmbedLabels DisplayEmbedInfo(const Image& image) {
  const ConstRow d = image.writeDate();
  const auto part = [&](size_t from, size_t n) { return BytesAsChars(d.subspan(from, n)); };
  EmbedLabels labels;
  labels.lastTime = part(0, 4) + "-" + part(4, 2) + "-" + part(6, 2) + ", " + part(8, 2) + ":" +
                    part(10, 2) + ":" + part(12, 2);
  labels.radioId = BytesAsChars(image.radioId());
  return labels;
}

bool LimitEmbedText(std::u16string& text, size_t& caret) {
  bool removed = false;
  caret = std::min(caret, text.size());
  while (text.size() > kEmbedTextChars) {
    if (caret > 0) {
      text.erase(caret - 1, 1);
      --caret;
    } else {
      text.pop_back();
    }
    removed = true;
  }
  return removed;
}

std::u16string EmbedTextFromArea(const Image& image) {
  const std::span<const uint8_t> area = image.embedText();
  std::u16string text(kEmbedTextChars, u'\0');
  for (size_t i = 0; i < kEmbedTextChars; ++i) {
    text[i] = static_cast<char16_t>(area[2 * i] | (area[2 * i + 1] << 8));
  }
  return text;
}

void CollectEmbedText(std::u16string_view text, Image& image) {
  const std::span<uint8_t> area = image.embedText();
  std::fill(area.begin(), area.end(), uint8_t{0});
  const size_t n = std::min(text.size(), kEmbedTextChars);
  for (size_t i = 0; i < n; ++i) {
    area[2 * i] = static_cast<uint8_t>(text[i] & 0xFF);
    area[2 * i + 1] = static_cast<uint8_t>(text[i] >> 8);
  }
}

std::u16string Utf8ToUtf16(std::string_view s) {
  std::u16string out;
  size_t i = 0;
  while (i < s.size()) {
    const auto b = static_cast<uint8_t>(s[i]);
    char32_t c = 0xFFFD;
    size_t len = 1;
    if (b < 0x80) {
      c = b;
    } else if ((b & 0xE0) == 0xC0) {
      len = 2;
    } else if ((b & 0xF0) == 0xE0) {
      len = 3;
    } else if ((b & 0xF8) == 0xF0) {
      len = 4;
    }
    if (len > 1) {
      bool ok = i + len <= s.size();
      char32_t v = b & (0x7F >> len);
      for (size_t k = 1; ok && k < len; ++k) {
        const auto cb = static_cast<uint8_t>(s[i + k]);
        ok = (cb & 0xC0) == 0x80;
        v = (v << 6) | (cb & 0x3F);
      }
      static constexpr std::array<char32_t, 5> kMin = {0, 0, 0x80, 0x800, 0x10000};
      if (ok && v >= kMin[len] && v <= 0x10FFFF && !(v >= 0xD800 && v <= 0xDFFF)) {
        c = v;
      } else {
        len = 1;
      }
    }
    if (c >= 0x10000) {
      c -= 0x10000;
      out += static_cast<char16_t>(0xD800 + (c >> 10));
      out += static_cast<char16_t>(0xDC00 + (c & 0x3FF));
    } else {
      out += static_cast<char16_t>(c);
    }
    i += len;
  }
  return out;
}

std::string Utf16ToUtf8(std::u16string_view s, bool stopAtZero) {
  std::string out;
  for (size_t i = 0; i < s.size(); ++i) {
    char32_t c = s[i];
    if (c == 0 && stopAtZero) break;
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < s.size() && s[i + 1] >= 0xDC00 &&
        s[i + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (s[i + 1] - 0xDC00);
      ++i;
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      c = 0xFFFD;
    }
    AppendUtf8(out, c);
  }
  return out;
}

}  // namespace qm
