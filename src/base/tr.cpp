#include "base/tr.h"

#include <vector>

namespace qm {

namespace {

std::string FillPlaces(std::string_view tmpl, const std::string* count,
                       std::initializer_list<std::string_view> args) {
  const std::vector<std::string_view> a(args);
  std::string out;
  out.reserve(tmpl.size() + 16);
  for (size_t i = 0; i < tmpl.size(); ++i) {
    if (count && tmpl[i] == '%' && i + 1 < tmpl.size() && tmpl[i + 1] == 'n') {
      out += *count;
      ++i;
      continue;
    }
    if (tmpl[i] == '%' && i + 1 < tmpl.size() && tmpl[i + 1] >= '1' && tmpl[i + 1] <= '9') {
      const size_t k = static_cast<size_t>(tmpl[i + 1] - '1');
      if (k < a.size()) {
        out += a[k];
        ++i;
        continue;
      }
    }
    out += tmpl[i];
  }
  return out;
}

}  // namespace

std::string Fill(std::string_view tmpl, std::initializer_list<std::string_view> args) {
  return FillPlaces(tmpl, nullptr, args);
}

std::string FillCount(std::string_view tmpl, long long count,
                      std::initializer_list<std::string_view> args) {
  const std::string n = std::to_string(count);
  return FillPlaces(tmpl, &n, args);
}

std::string JoinNotes(const std::vector<std::string>& notes) {
  constexpr size_t kNotesShown = 20;
  std::string out;
  for (size_t k = 0; k < notes.size() && k < kNotesShown; ++k) out.append("\n").append(notes[k]);
  if (notes.size() > kNotesShown)
    out.append("\n").append(Fill(QM_TR("……共%1条"), {std::to_string(notes.size())}));
  return out;
}

}  // namespace qm
