#include "platform/system_text_codec.h"

#include <gtest/gtest.h>

#include "base/text_util.h"
#include "files/gbk_table_codec.h"

namespace qm {
namespace {

// Bytes that are not GBK fail to decode: none is dropped on the way.
TEST(SystemTextCodec, DecodesGbkWholeOrNotAtAll) {
  struct Case {
    const char* gbk;
    const char* utf8;  // nullptr: not GBK
  };
  const Case cases[] = {
      {"QM830K\xb1\xe0\xb3\xcc", "QM830K编程"},
      {"x\xb1", nullptr},             // the last character cut off
      {"\xbc\xfd\xef", nullptr},      // the same after a whole one
      {"\xef\r", nullptr},            // a lead byte before a line end
      {"\xe9\x87\x8f\x30", nullptr},  // UTF-8, not GBK
  };
  const SystemTextCodec codec;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.gbk);
    const std::optional<std::string> text = codec.gbkToUtf8(c.gbk);
    EXPECT_EQ(text, c.utf8 ? std::optional<std::string>(c.utf8) : std::nullopt);
  }
}

// The browser's table gives the desktop's bytes: every code point written at the start of a
// text and inside one, every one- and two-byte sequence read (each with a character after it,
// which a cut-off decoder would eat).
TEST(GbkTableCodec, EqualsTheSystemCodecEverywhere) {
#ifdef _WIN32
  // The Windows program converts through code page 936, which differs from Qt's GBK on a few
  // edge bytes (0x80, 0xFF, a leading byte order mark); the table follows the Linux program's
  // converter, which this comparison checks in the Linux build.
  GTEST_SKIP() << "code page 936 is not the converter the table follows";
#endif
  const SystemTextCodec system;
  const GbkTableCodec table;
  int differ = 0;
  for (char32_t c = 1; c <= 0x10FFFF; c += c < 0x10000 ? 1 : 0x3FF) {
    if (c >= 0xD800 && c < 0xE000) continue;
    const std::string text =
        Utf16ToUtf8(c < 0x10000 ? std::u16string(1, char16_t(c))
                                : std::u16string{char16_t(0xD800 + ((c - 0x10000) >> 10)),
                                                 char16_t(0xDC00 + (c & 0x3FF))}) +
        "x";
    if (system.utf8ToGbk(text) != table.utf8ToGbk(text) && ++differ < 10)
      ADD_FAILURE() << "U+" << std::hex << uint32_t(c);
  }
  for (int lead = 0x80; lead <= 0xFF; ++lead) {
    for (int trail = -1; trail <= 0xFF; ++trail) {
      std::string bytes(1, char(lead));
      if (trail >= 0) bytes += char(trail);
      bytes += "x";
      if (system.gbkToUtf8(bytes) != table.gbkToUtf8(bytes) && ++differ < 10)
        ADD_FAILURE() << std::hex << lead << " " << trail;
    }
  }
  EXPECT_EQ(differ, 0);
  EXPECT_EQ(table.gbkToUtf8("QM830K\xb1\xe0\xb3\xcc"), "QM830K编程");
}

}  // namespace
}  // namespace qm
