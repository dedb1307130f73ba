#include "cli/console_prompter.h"

#include <cstdio>
#include <iostream>
#include <string>

#include "cli/console.h"

namespace qm::cli {

namespace {

const char* IconWord(Icon icon) {
  switch (icon) {
    case Icon::Information:
      return "information";
    case Icon::Exclamation:
      return "warning";
    case Icon::Critical:
      return "error";
    case Icon::Question:
      return "question";
    case Icon::None:
      break;
  }
  return "";
}

}  // namespace

bool ConsolePrompter::askYesNo(bool withCancel, Answer& out) {
  if (assumeYes_) {
    std::cerr << "  -> yes (--yes)\n";
    out = Answer::Yes;
    return true;
  }
  if (!StdinIsTerminal()) {
    std::cerr << "  -> no (not a terminal; --yes answers yes)\n";
    out = Answer::No;
    return true;
  }
  for (;;) {
    std::cerr << (withCancel ? "  [y]es / [n]o / [c]ancel? " : "  [y]es / [n]o? ") << std::flush;
    std::string line;
    if (!std::getline(std::cin, line)) {
      out = withCancel ? Answer::Cancel : Answer::No;
      return true;
    }
    if (line == "y" || line == "Y" || line == "yes")
      out = Answer::Yes;
    else if (line == "n" || line == "N" || line == "no")
      out = Answer::No;
    else if (withCancel && (line == "c" || line == "C" || line == "cancel"))
      out = Answer::Cancel;
    else
      continue;
    return true;
  }
}

Answer ConsolePrompter::ask(const Message& m) {
  ++count_;
  std::cerr << "[" << m.title << "]";
  if (m.icon != Icon::None) std::cerr << " (" << IconWord(m.icon) << ")";
  std::cerr << " " << m.text << "\n";
  Answer a = Answer::Ok;
  switch (m.buttons) {
    case Buttons::Ok:
      return Answer::Ok;
    case Buttons::YesNo:
      askYesNo(false, a);
      return a;
    case Buttons::YesNoCancel:
      askYesNo(true, a);
      return a;
  }
  return a;
}

WarningAnswer ConsolePrompter::warn(int, const std::string& text) {
  ++count_;
  std::cerr << "[warning] " << text << "\n";
  Answer a = Answer::No;
  askYesNo(false, a);
  return WarningAnswer{a == Answer::Yes, false};
}

}  // namespace qm::cli
