#include "platform/system_text_codec.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace qm
