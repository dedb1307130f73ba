#include "cli/json.h"

#include <cstdio>
#include <nlohmann/json.hpp>

namespace qm::cli {

namespace {

using nlohmann::ordered_json;

ordered_json ValueOf(const FormValue& v) {
  switch (v.kind) {
    case FormValue::Kind::Bool:
      return v.flag;
    case FormValue::Kind::Int:
      return v.number;
    case FormValue::Kind::Real:
      return v.real;
    case FormValue::Kind::Text:
      return v.text;
    case FormValue::Kind::Raw:
      return ordered_json{{"raw", v.number}};
  }
  return nullptr;
}

ordered_json TableOf(const FormTable& t) {
  ordered_json out = ordered_json::object();
  for (const FormEntry& e : t) out[e.key] = ValueOf(e.value);
  return out;
}

ordered_json TablesOf(const std::vector<FormTable>& tables) {
  ordered_json out = ordered_json::array();
  for (const FormTable& t : tables) out.push_back(TableOf(t));
  return out;
}

ordered_json RowsOf(const std::vector<FormRow>& rows, int digits) {
  ordered_json out = ordered_json::object();
  for (const FormRow& r : rows) {
    char key[16];
    std::snprintf(key, sizeof key, "0x%0*X", digits, static_cast<unsigned>(r.address));
    std::string hex;
    for (size_t i = 0; i < r.bytes.size(); ++i) {
      char b[4];
      std::snprintf(b, sizeof b, i ? " %02X" : "%02X", r.bytes[i]);
      hex += b;
    }
    out[key] = hex;
  }
  return out;
}

}  // namespace

std::string ShowJson(const ShownModel& model, const std::vector<Message>& messages,
                     const DataFileForm& form) {
  ordered_json j;
  j["model"] = {{"index", model.index},
                {"name", model.name},
                {"code", model.code},
                {"band", model.band},
                {"rangeLabel", model.rangeLabel}};
  j["messages"] = ordered_json::array();
  for (const Message& m : messages) j["messages"].push_back({{"title", m.title}, {"text", m.text}});
  j["file"] = TableOf(form.file);
  j["ident"] = TableOf(form.ident);
  j["functions"] = TableOf(form.functions);
  j["channel"] = TablesOf(form.channels);
  j["tune_channel"] = TablesOf(form.tuneChannels);
  j["tune_items"] = TableOf(form.tuneItems);
  j["embedded"] = TableOf(form.embedded);
  j["bytes"] = RowsOf(form.rows, 3);
  j["spare"] = RowsOf(form.spare, 2);
  // A text the radio holds that is not UTF-8 is shown with U+FFFD rather than refused.
  return j.dump(2, ' ', false, ordered_json::error_handler_t::replace) + "\n";
}

}  // namespace qm::cli
