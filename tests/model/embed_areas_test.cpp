// The embedded information areas as the dialog shows and edits them.
#include "model/embed_areas.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>

#include "base/text_util.h"

namespace qm {
namespace {

TEST(EmbedText, CollectShowLimitAndLabels) {
  Image img;
  std::fill(img.bytes().begin(), img.bytes().end(), uint8_t{0x01});
  const Image filled = img;
  CollectEmbedText(u"abc", img);
  const auto area = img.embedText();
  EXPECT_EQ(std::tuple(area[0], area[1], area[4]), std::tuple(0x61, 0x00, 0x63));
  EXPECT_TRUE(std::all_of(area.begin() + 6, area.end(), [](uint8_t b) { return b == 0; }));
  for (size_t a = 0x2FF; a <= 0x3C0; a += 0xC1) EXPECT_EQ(img[a], filled[a]);  // neighbours kept

  const std::u16string text = EmbedTextFromArea(img);
  EXPECT_EQ(std::tuple(text.size(), text.substr(0, 3), text[3], Utf16ToUtf8(text)),
            std::tuple(96u, u"abc", u'\0', "abc"));

  // 100 characters: the first 96 are kept, the last code unit fills bytes 190-191.
  std::u16string longText(100, u'中');
  CollectEmbedText(longText, img);
  EXPECT_EQ(std::tuple(area[190], area[191], Utf16ToUtf8(EmbedTextFromArea(img)).size()),
            std::tuple(0x2D, 0x4E, 96u * 3u));

  // The text box keeps 96 characters.
  const std::u16string n96(96, u'a');
  // The text and caret typed, the text and caret kept, whether anything was removed.
  const std::tuple<std::u16string, size_t, std::u16string, size_t, bool> cases[] = {
      {n96, 96, n96, 96, false},
      {n96 + u"b", 97, n96, 96, true},  // the 97th typed at the end
      {u"x" + n96, 1, n96, 0, true},    // typed at the start
      {n96.substr(0, 50) + u"xyz" + n96.substr(50), 53, n96, 50, true},  // a paste of three
      {n96 + u"b", 0, n96, 0, true}};
  for (const auto& [typed, typedAt, kept, caretAfter, removed] : cases) {
    std::u16string t = typed;
    size_t caret = typedAt;
    const bool cut = LimitEmbedText(t, caret);
    EXPECT_EQ(std::tuple(cut, t, caret), std::tuple(removed, kept, caretAfter));
  }

  // The dialog's labels.
  const std::string stamp = "20061205143000";
  std::copy(stamp.begin(), stamp.end(), img.writeDate().begin());
  const std::string id = "ZR410-0000123456";
  std::copy(id.begin(), id.end(), img.radioId().begin());
  const EmbedLabels l = DisplayEmbedInfo(img);
  EXPECT_EQ(std::tuple(l.lastTime, l.radioId), std::tuple("2006-12-05, 14:30:00", id));
  img.radioId()[0] = 0xC9;  // one character per byte
  EXPECT_EQ(DisplayEmbedInfo(img).radioId.substr(0, 2), "\xC3\x89");
}

}  // namespace
}  // namespace qm
