// The logic of the signalling dialog frmSignal: off, a CTCSS tone or a DCS code (normal or
// inverted) for one receive or transmit cell. It works on the signalling text only.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "base/app_state.h"
#include "base/combo.h"
#include "base/prompter.h"

namespace qm {

// An editable list: the entries, the edit text and the last accepted text (the tag).
struct EditableList {
  ComboModel combo;
  std::string text;
  std::string tag;
};

class SignalEntry {
 public:
  // optChRxdec(0..2); None when no option button is selected.
  enum class Option { None = -1, Off = 0, Ctc = 1, Dcs = 2 };

  SignalEntry(const AppState& app, Prompter& prompter);

  // Builds the dialog for a cell's text (the dialog's loading).
  void load(std::string_view signalText);
  // SignalText: the text handed in, and the result after OK.
  const std::string& signalText() const { return signalText_; }

  Option option() const { return option_; }
  void selectOption(Option option);                      // runs the enabling rule
  bool toneEnabled() const { return toneEnabled_; }      // cboChRxQT
  bool codeEnabled() const { return codeEnabled_; }      // cboChRxDQT
  bool invertEnabled() const { return invertEnabled_; }  // chkChRxDQT
  bool inverted() const { return inverted_; }
  void setInverted(bool on) { inverted_ = on; }

  const EditableList& tone() const { return tone_; }  // cboChRxQT
  const EditableList& code() const { return code_; }  // cboChRxDQT
  void setToneText(std::string text) { tone_.text = std::move(text); }
  void setCodeText(std::string text) { code_.text = std::move(text); }
  void chooseTone(int position);  // picks a list entry into the edit text
  void chooseCode(int position);

  // The character the list inserts for a typed key, or nullopt to discard it.
  std::optional<char> filterToneKey(char32_t key) const;
  std::optional<char> filterCodeKey(char32_t key) const;

  // The checks that run when a list loses the focus and from OK. Each returns whether
  // the text was accepted (a rejected text goes back to the tag after the message).
  bool validateTone();
  bool validateCode();

  // cmdOK: composes the result, stores it as SignalText and returns it.
  std::string ok();
  // cmdCancel: SignalText stays as it was handed in.
  void cancel() {}

 private:
  // A text the check cannot read: the message, then the list's last accepted text again.
  bool refuse(EditableList& list, const char* title, const char* text);

  const AppState& app_;
  Prompter& prompter_;
  std::string signalText_;
  Option option_ = Option::None;
  bool toneEnabled_ = false;
  bool codeEnabled_ = false;
  bool invertEnabled_ = false;
  bool inverted_ = false;
  bool checking_ = false;  // a check's message box is up
  EditableList tone_;
  EditableList code_;
};

// The tone list texts ("#00.0") and the code list texts ("000") of the dialog.
std::string ToneListText(double tone, char sep = '.');
std::string CodeListText(int decimalDigits);

}  // namespace qm
