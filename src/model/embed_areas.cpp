#include "model/embed_areas.h"

#include <algorithm>
#include <span>

#include "base/text_util.h"

namespace qm {

namespace {

// Each byte one character: bytes above 0x7F as the characters U+0080-U+00FF.
std::string BytesAsChars(std::span<const uint8_t> bytes) {
  return Utf16ToUtf8(std::u16string(bytes.begin(), bytes.end()), false);
}

}  // namespace

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

}  // namespace qm
