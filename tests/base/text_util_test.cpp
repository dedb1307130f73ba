#include "base/text_util.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace qm {
namespace {

TEST(TextUtil, EveryCasedScriptFoldsAndMalformedBytesBecomeReplacements) {
  const std::pair<std::string, std::string> cases[] = {
      {"C:/Data/RADIO.Q83", "c:/data/radio.q83"},
      {"ÀÉÎÕÜ ÇÑ Ø Þ", "àéîõü çñ ø þ"},            // Latin-1 letters
      {"ŁÓDŹ ŘEKA ĞÜL", "łódź řeka ğül"},          // Latin Extended-A
      {"ẞ", "ß"},                                  // one letter for one: no "ss"
      {"ΣΤΑΘΜΟΣ σταθμος ς", "σταθμοσ σταθμοσ σ"},  // final sigma folds with sigma
      {"РАЦИЯ Ёлка ЇЖАК", "рация ёлка їжак"},      // Cyrillic
      {"ＡＢＣ", "ａｂｃ"},                        // full-width Latin
      {"𐐀", "𐐨"},                                  // four-byte sequences fold too
      {"工作 数据.q83", "工作 数据.q83"},          // no case: unchanged
      {"µ", "μ"},                                  // the micro sign folds to Greek mu
      {std::string("A\xFF\xC3(B\xE2\x82", 7), std::string("a\xFF\xC3(b\xE2\x82", 7)},
      {"\xC0\xC1Z", "\xC0\xC1z"},          // overlong forms are not letters
      {"\xED\xA0\x80X", "\xED\xA0\x80x"},  // nor are encoded surrogates
  };
  for (const auto& [text, folded] : cases) EXPECT_EQ(FoldCase(text), folded) << text;

  // Malformed bytes become replacement characters on the way to UTF-16.
  EXPECT_EQ(Utf8ToUtf16("中文ab"), u"中文ab");
  EXPECT_EQ(Utf8ToUtf16("\xF0\x9F\x98\x80"), u"\U0001F600");
  EXPECT_EQ(Utf8ToUtf16("a\xFF"
                        "b"),
            u"a\uFFFDb");
  EXPECT_EQ(Utf8ToUtf16("\xE4\xB8"), u"\uFFFD\uFFFD");
}

}  // namespace
}  // namespace qm
