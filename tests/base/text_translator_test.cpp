#include "base/text_translator.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace qm {
namespace {

struct Entry {
  const char* context;
  const char* source;
  std::vector<std::string> forms;  // one, or a counting text's forms for one and for more
};

const Entry kFile[] = {
    {"qm::ui::MainWindow", "信道", {"Chan"}},  // a widget's own wording, listed first
    {"qm", "信道", {"Channel"}},
    {"qm::print::Report", "CH", {"Ch."}},
    {"qm", "空", {"empty"}},
    {"qm", "信道%1为空。", {"Channel %1 is empty."}},
    {"qm", "%1：%2", {"%1: %2"}},
    {"qm", "共%n个信道", {"%n channel", "%n channels"}},
    {"qm", "（%1）", {"(%1)"}},
    {"qm", "%1号%2", {"No. %1%2"}},  // one Chinese literal: 1 character, 3 bytes
    {"qm", "%1: %2", {"%1 -> %2"}},  // two ASCII literals: 2 characters, 2 bytes
};

class Fixture {
 public:
  Fixture() {
    std::vector<MarkedText> texts;
    for (const Entry& e : kFile) {
      texts.push_back({e.context, e.source});
      forms_[{e.context, e.source}] = e.forms;
    }
    tr.reset(texts,
             [this](std::string_view c, std::string_view s, int n) -> std::optional<std::string> {
               const auto it = forms_.find({std::string(c), std::string(s)});
               if (it == forms_.end()) return std::nullopt;
               std::string out = it->second[n == 1 || it->second.size() == 1 ? 0 : 1];
               if (const size_t at = out.find("%n"); at != std::string::npos)
                 out.replace(at, 2, std::to_string(n));
               return out;
             });
  }
  TextTranslator tr;

 private:
  std::map<std::pair<std::string, std::string>, std::vector<std::string>> forms_;
};

TEST(TextTranslator, FindsTheMarkedTextsInWhatIsShown) {
  const struct {
    const char* text;
    const char* context;
    const char* shown;
  } cases[] = {
      {"信道", "", "Channel"},  // the shared wording before a widget's
      {"信道", "qm::ui::MainWindow", "Chan"},
      {"CH", "qm::print::Report", "Ch."},  // a context words a text without Chinese
      {"CH", "", "CH"},
      {"未知", "", "未知"},
      {"信道\n空\n", "", "Channel\nempty\n"},
      {"  信道\t", "", "  Channel\t"},
      {"\u3000空\u3000", "", "\u3000empty\u3000"},  // the ideographic space is white space
      {"信道12为空。", "", "Channel 12 is empty."},
      {"空：信道5为空。", "", "empty: Channel 5 is empty."},  // places translated in turn
      {"信道：未知", "", "Channel: 未知"},                    // an untranslated place stays
      {"共1个信道", "", "1 channel"},
      {"共27个信道", "", "27 channels"},
      {"共+3个信道", "", "共+3个信道"},  // a count is digits only
      {"共99999999999个信道", "", "共99999999999个信道"},
      // The template with more literal characters (not bytes) is tried first.
      {"1号: 2", "", "1号 -> 2"},
      // Four levels of places are translated, no more.
      {"（（（（信道））））", "", "((((Channel))))"},
      {"（（（（（信道）））））", "", "((((（信道）))))"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(Fixture().tr.translate(c.text, c.context), c.shown) << c.text;
}

TEST(TextTranslator, AResultDoesNotDependOnWhatWasShownBefore) {
  Fixture f;
  EXPECT_EQ(f.tr.translate("（（（（（信道）））））"), "((((（信道）))))");
  EXPECT_EQ(f.tr.translate("（信道）"), "(Channel)");
  EXPECT_EQ(f.tr.translate("信道\n（信道）"), "Channel\n(Channel)");
}

TEST(TextTranslator, WithoutAFileTextsStayAsTheyAre) {
  TextTranslator tr;
  EXPECT_EQ(tr.translate("信道", "qm"), "信道");
  EXPECT_TRUE(HasChinese("a，b"));
  EXPECT_TRUE(HasChinese("ＡＢ"));
  EXPECT_FALSE(HasChinese("Channel é ü €"));
}

}  // namespace
}  // namespace qm
