#include "files/gbk_table_codec.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

#include "base/text_util.h"

namespace qm {

namespace {

struct Pair {
  uint16_t gbk;
  uint16_t unicode;
};

// In GBK order.
constexpr Pair kGbk[] = {
#include "gbk_table.inc"
};

// The same pairs in code point order, for the way back.
const std::vector<Pair>& ByCodePoint() {
  static const std::vector<Pair> pairs = [] {
    std::vector<Pair> v(std::begin(kGbk), std::end(kGbk));
    std::sort(v.begin(), v.end(), [](Pair a, Pair b) { return a.unicode < b.unicode; });
    return v;
  }();
  return pairs;
}

std::optional<uint16_t> Decode(uint16_t code) {
  const auto* end = std::end(kGbk);
  const auto* it =
      std::lower_bound(std::begin(kGbk), end, code, [](Pair p, uint16_t c) { return p.gbk < c; });
  if (it == end || it->gbk != code) return std::nullopt;
  return it->unicode;
}

}  // namespace

std::optional<std::string> GbkTableCodec::gbkToUtf8(std::string_view gbk) const {
  std::u16string text;
  text.reserve(gbk.size());
  for (size_t i = 0; i < gbk.size(); ++i) {
    const auto b = static_cast<uint8_t>(gbk[i]);
    if (b < 0x80) {
      text += static_cast<char16_t>(b);
      continue;
    }
    // A lead byte needs a trail byte after it; 0x80 and 0xFF stand alone.
    const bool lead = b >= 0x81 && b <= 0xFE;
    const auto next = i + 1 < gbk.size() ? static_cast<uint8_t>(gbk[i + 1]) : 0;
    if (lead && (next < 0x40 || next == 0x7F || next == 0xFF)) return std::nullopt;
    const std::optional<uint16_t> c = Decode(lead ? static_cast<uint16_t>(b << 8 | next) : b);
    if (!c) return std::nullopt;
    if (lead) ++i;
    text += static_cast<char16_t>(*c);
  }
  return Utf16ToUtf8(text, false);
}

std::optional<std::string> GbkTableCodec::utf8ToGbk(std::string_view utf8) const {
  if (!IsValidUtf8(utf8)) return std::nullopt;
  const std::u16string whole = Utf8ToUtf16(utf8);
  // A byte order mark at the start is no character of the text (the desktop's converter
  // drops it too); GBK has none anywhere else.
  std::u16string_view text = whole;
  if (!text.empty() && text.front() == u'\uFEFF') text.remove_prefix(1);
  const std::vector<Pair>& table = ByCodePoint();
  std::string out;
  out.reserve(text.size() * 2);
  for (const char16_t c : text) {
    if (c < 0x80) {
      out += static_cast<char>(c);
      continue;
    }
    const auto it = std::lower_bound(table.begin(), table.end(), c,
                                     [](Pair p, char16_t u) { return p.unicode < u; });
    // A surrogate (a character beyond the basic plane) is never in the table.
    if (it == table.end() || it->unicode != c) return std::nullopt;
    if (it->gbk > 0xFF) out += static_cast<char>(it->gbk >> 8);
    out += static_cast<char>(it->gbk & 0xFF);
  }
  return out;
}

}  // namespace qm
