#include "model/signal_entry.h"

#include <gtest/gtest.h>

#include <tuple>

#include "model/editor_fixture.h"

namespace qm {
namespace {

using Option = SignalEntry::Option;

TEST(SignalEntry, LoadsEnablesComposesAndSendsInvalidEntriesBack) {
  AppState app = test::TestApp();
  test::FakePrompter prompter;
  SignalEntry dlg{app, prompter};
  // The cell text, the option, the code shown and inverted; the tone shows 67.0 throughout.
  const std::tuple<const char*, Option, const char*, bool> cases[] = {
      {"OFF", Option::Off, "023", false},     {"CTC 67.0", Option::Ctc, "023", false},
      {"DCS 023", Option::Dcs, "023", false}, {"-DCS 754", Option::Dcs, "754", true},
      {"TTS 5", Option::None, "023", false},  {"", Option::None, "023", false}};
  for (const auto& [text, option, code, inverted] : cases) {
    dlg.load(text);
    EXPECT_EQ(
        std::tuple(dlg.option(), dlg.tone().text, dlg.tone().tag, dlg.code().text, dlg.inverted()),
        std::tuple(option, "67.0", "67.0", code, inverted))
        << text;
  }
  const ComboModel &tones = dlg.tone().combo, &codes = dlg.code().combo;
  EXPECT_EQ(
      std::tuple(tones.count(), tones.item(37), codes.count(), codes.item(82), tones.selected()),
      std::tuple(38, "250.3", 83, "754", 0));

  // The option buttons enable their controls.
  dlg.load("TTS 5");
  EXPECT_FALSE(dlg.toneEnabled() || dlg.codeEnabled() || dlg.invertEnabled());
  const std::tuple<Option, bool, bool, bool> options[] = {{Option::Off, false, false, false},
                                                          {Option::Ctc, true, false, false},
                                                          {Option::Dcs, false, true, true}};
  for (const auto& [option, tone, code, invert] : options) {
    dlg.selectOption(option);
    EXPECT_EQ(std::tuple(dlg.toneEnabled(), dlg.codeEnabled(), dlg.invertEnabled()),
              std::tuple(tone, code, invert));
  }

  // OK composes the result; invalid entries go back.
  const std::tuple<const char*, std::function<void(SignalEntry&)>, const char*> edits[] = {
      {"CTC 67.0", [](SignalEntry&) {}, "CTC 67.0"},
      {"-DCS 754", [](SignalEntry& d) { d.setInverted(false); }, "DCS 754"},
      {"CTC 67.0", [](SignalEntry& d) { d.setToneText("300"); }, "CTC 254.1"},
      {"CTC 67.0", [](SignalEntry& d) { d.setToneText("50"); }, "CTC 67.0"},
      {"DCS 023", [](SignalEntry& d) { d.setCodeText("010"); }, "DCS 023"},
      {"DCS 023", [](SignalEntry& d) { d.setCodeText("777"); }, "DCS 754"},
      {"DCS 023", [](SignalEntry& d) { d.setCodeText("123"); }, "DCS 123"},  // need not be listed
      {"DCS 023", [](SignalEntry& d) { d.setCodeText(""); }, "DCS "},
      {"OFF", [](SignalEntry& d) { d.selectOption(Option::Dcs), d.setInverted(true); }, "-DCS 023"},
      {"OFF", [](SignalEntry& d) { d.selectOption(Option::Ctc), d.chooseTone(2); }, "CTC 74.4"},
      {"CTC 88.5", [](SignalEntry& d) { d.selectOption(Option::Off); }, "OFF"},
      {"TTS 5", [](SignalEntry&) {}, ""}};
  for (const auto& [in, edit, out] : edits) {
    dlg.load(in);
    edit(dlg);
    EXPECT_EQ(dlg.ok(), out) << in;
    EXPECT_EQ(dlg.signalText(), out) << in;
  }
  EXPECT_TRUE(prompter.messages.empty());
  // Cancel keeps the text handed in.
  dlg.load("-DCS 754");
  dlg.setInverted(false);
  dlg.cancel();
  EXPECT_EQ(dlg.signalText(), "-DCS 754");

  // Invalid entries go back to the last accepted text.
  dlg.load("DCS 065");
  dlg.setCodeText("018");
  EXPECT_FALSE(dlg.validateCode());
  EXPECT_EQ(test::Boxes(prompter),
            test::BoxList{test::Box({"DCS错误", "DCS 数据无效！", Icon::Exclamation})});
  EXPECT_EQ(dlg.code().text, "065");

  // Accepted texts move the tag, so a later rejection restores them.
  dlg.setCodeText("7");
  EXPECT_TRUE(dlg.validateCode());
  EXPECT_EQ(dlg.code().text, "023");
  dlg.setCodeText("9");
  EXPECT_EQ(dlg.ok(), "DCS 023");  // OK closes with the restored text

  prompter.clear();
  dlg.load("CTC 88.5");
  for (const char* bad : {"", "8x", "."}) {
    dlg.setToneText(bad);
    EXPECT_FALSE(dlg.validateTone()) << bad;
    EXPECT_EQ(dlg.tone().text, "88.5");
  }
  EXPECT_EQ(test::Boxes(prompter),
            test::BoxList(3, test::Box({"错误", "CTC数据无效！", Icon::Exclamation})));

  // The key filters, with a comma separator.
  app.decimalSep = ',';
  using Key = std::optional<char>;
  const std::tuple<char32_t, Key, Key> keys[] = {
      {U'5', '5', '5'}, {U'9', '9', '9'}, {8, char(8), char(8)}, {13, char(13), char(13)},
      {U'.', ',', {}},  {U',', ',', {}},  {U'a', {}, {}},        {U'-', {}, {}},
      {U'０', {}, {}},  {27, {}, {}}};
  for (const auto& [key, tone, code] : keys) {
    EXPECT_EQ(dlg.filterToneKey(key), tone) << int(key);
    EXPECT_EQ(dlg.filterCodeKey(key), code) << int(key);
  }
  // With a comma separator the tone list and the result use it.
  dlg.load("CTC 67,0");
  EXPECT_EQ(dlg.tone().combo.item(0), "67,0");
  dlg.setToneText("300,0");
  EXPECT_EQ(dlg.ok(), "CTC 254,1");
}

}  // namespace
}  // namespace qm
