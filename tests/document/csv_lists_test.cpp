#include "document/csv_lists.h"

#include <gtest/gtest.h>

#include "document/channel_edits.h"

namespace qm {
namespace {

// The import dialog's start field takes what a whole-number field takes, nothing more.
TEST(CsvListsTest, StartFieldOfTheImportDialog) {
  const struct {
    const char* text;
    bool taken;
    std::optional<int> from;
  } cases[] = {
      {"", true, std::nullopt}, {"  ", true, std::nullopt}, {"5", true, 5},     {" 12 ", true, 12},
      {"+3", true, 3},          {"-2", true, -2},           {"007", true, 7},   {"1.5", false, {}},
      {"5a", false, {}},        {"+-1", false, {}},         {"++1", false, {}}, {"+", false, {}},
      {"0x10", false, {}},      {"99999999999", false, {}},
  };
  for (const auto& c : cases) {
    const std::optional<CsvImportChoice> got = ReadCsvImportChoice(c.text, true);
    ASSERT_EQ(got.has_value(), c.taken) << c.text;
    if (!got) continue;
    EXPECT_EQ(got->fromLocation, c.from) << c.text;
    EXPECT_TRUE(got->clearRest);
  }
}

TEST(CsvListsTest, ChannelsNamedAsRanges) {
  EXPECT_EQ(ChannelRangeText({0, 1, 2, 3, 6}), "1-4, 7");
  EXPECT_EQ(ChannelRangeText({4}), "5");
  EXPECT_EQ(ChannelRangeText({0, 2, 3, 15}), "1, 3-4, 16");
  EXPECT_EQ(ChannelRangeText({}), "");
}

}  // namespace
}  // namespace qm
