// A minimal JSON writer for the verbs' --json output.
#pragma once

#include <string>
#include <string_view>

namespace qm::cli {

std::string JsonString(std::string_view s);  // quoted and escaped

}  // namespace qm::cli
