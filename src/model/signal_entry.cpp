#include "model/signal_entry.h"

#include <algorithm>
#include <cstdio>

#include "base/tables.h"
#include "base/text_util.h"
#include "base/tr.h"

namespace qm {

namespace {

constexpr double kToneMin = 67.0;
constexpr double kToneMax = 254.1;
constexpr int kCodeMin = 19;   // octal 023
constexpr int kCodeMax = 492;  // octal 754

std::string From(std::string_view s, size_t pos) {
  return pos < s.size() ? std::string(s.substr(pos)) : std::string();
}

// The text read as an octal number; nullopt when it is not one.
std::optional<int> ParseOctal(std::string_view text) {
  std::string_view t = TrimSpaces(text);
  if (t.empty()) return std::nullopt;
  int value = 0;
  for (char c : t) {
    if (c < '0' || c > '7') return std::nullopt;
    value = std::min(value * 8 + (c - '0'), 0x10000);  // saturate; clamped by the caller
  }
  return value;
}

}  // namespace

std::string ToneListText(double tone, char sep) { return FormatFixed(tone, 2, 1, sep); }

std::string CodeListText(int decimalDigits) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%03d", decimalDigits);
  return buf;
}

SignalEntry::SignalEntry(const AppState& app, Prompter& prompter)
    : app_(app), prompter_(prompter) {}

void SignalEntry::load(std::string_view signalText) {
  signalText_ = std::string(signalText);

  tone_ = {};
  for (size_t i = 1; i < kCtcTones.size(); ++i)
    tone_.combo.add(ToneListText(kCtcTones[i], app_.decimalSep));
  tone_.combo.select(0);
  tone_.text = tone_.tag = tone_.combo.text();

  code_ = {};
  for (int16_t c : kDcsCodes) code_.combo.add(CodeListText(c));
  code_.combo.select(0);
  code_.text = code_.tag = code_.combo.text();

  inverted_ = false;
  option_ = Option::None;
  toneEnabled_ = codeEnabled_ = invertEnabled_ = false;

  std::string_view head = signalText.substr(0, 3);
  if (head == "OFF") {
    selectOption(Option::Off);
  } else if (head == "CTC") {
    selectOption(Option::Ctc);
    tone_.text = tone_.tag = From(signalText, 4);
  } else if (head == "DCS") {
    selectOption(Option::Dcs);
    code_.text = code_.tag = From(signalText, 4);
    inverted_ = false;
  } else if (head == "-DC") {
    selectOption(Option::Dcs);
    code_.text = code_.tag = From(signalText, 5);
    inverted_ = true;
  }
  // Anything else (a TTS text, an empty text): no option selected, everything disabled.
}

void SignalEntry::selectOption(Option option) {
  option_ = option;
  switch (option) {
    case Option::Off:
      toneEnabled_ = codeEnabled_ = invertEnabled_ = false;
      break;
    case Option::Ctc:
      toneEnabled_ = true;
      codeEnabled_ = invertEnabled_ = false;
      break;
    case Option::Dcs:
      toneEnabled_ = false;
      codeEnabled_ = invertEnabled_ = true;
      break;
    case Option::None:
      break;
  }
}

void SignalEntry::chooseTone(int position) {
  if (tone_.combo.select(position) && position >= 0) tone_.text = tone_.combo.text();
}

void SignalEntry::chooseCode(int position) {
  if (code_.combo.select(position) && position >= 0) code_.text = code_.combo.text();
}

std::optional<char> SignalEntry::filterToneKey(char32_t key) const {
  if (key == 13 || key == 8 || (key >= '0' && key <= '9')) return static_cast<char>(key);
  if (key == ',' || key == '.') return app_.decimalSep;
  return std::nullopt;
}

std::optional<char> SignalEntry::filterCodeKey(char32_t key) const {
  if (key == 13 || key == 8 || (key >= '0' && key <= '9')) return static_cast<char>(key);
  return std::nullopt;
}

bool SignalEntry::refuse(EditableList& list, const char* title, const char* text) {
  // The message box takes the focus; a focus change meanwhile must not check again.
  checking_ = true;
  Notify(prompter_, title, text, Icon::Exclamation);
  checking_ = false;
  list.text = list.tag;
  return false;
}

bool SignalEntry::validateTone() {
  if (checking_) return false;
  auto v = ParseNumber(tone_.text, app_.decimalSep);
  if (!v) return refuse(tone_, QM_TR("错误"), QM_TR("CTC数据无效！"));
  double tone = std::clamp(*v, kToneMin, kToneMax);
  tone_.text = tone_.tag = FormatFixed(tone, 2, 1, app_.decimalSep);
  return true;
}

bool SignalEntry::validateCode() {
  if (checking_) return false;
  if (code_.text.empty()) return true;
  auto v = ParseOctal(code_.text);
  if (!v) return refuse(code_, QM_TR("DCS错误"), QM_TR("DCS 数据无效！"));
  int c = std::clamp(*v, kCodeMin, kCodeMax);
  char buf[16];
  std::snprintf(buf, sizeof buf, "%03o", static_cast<unsigned>(c));
  code_.text = code_.tag = buf;
  return true;
}

std::string SignalEntry::ok() {
  std::string result;
  switch (option_) {
    case Option::Ctc:
      validateTone();
      result = "CTC " + tone_.text;
      break;
    case Option::Dcs:
      validateCode();
      result = (inverted_ ? "-DCS " : "DCS ") + code_.text;
      break;
    case Option::Off:
      result = "OFF";
      break;
    case Option::None:
      break;
  }
  signalText_ = result;
  return result;
}

}  // namespace qm
