// The verbs' --json output, written by a JSON library with the text form's keys.
#pragma once

#include <string>
#include <vector>

#include "base/prompter.h"
#include "files/text_form.h"

namespace qm::cli {

struct ShownModel {
  int index = 0;
  std::string name;
  int code = 0;
  std::string band;
  std::string rangeLabel;
};

// The model, the load messages and the data file by meaning, keyed as in the text form.
std::string ShowJson(const ShownModel& model, const std::vector<Message>& messages,
                     const DataFileForm& form);

}  // namespace qm::cli
