// The seam to the platform's GBK (code page 936) conversion. Configuration files written
// on a Chinese Windows system and the texts of data files use GBK; the core works in UTF-8.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace qm {

class TextCodec {
 public:
  virtual ~TextCodec() = default;
  // nullopt when the bytes are not valid GBK (or the text cannot be written in GBK).
  virtual std::optional<std::string> gbkToUtf8(std::string_view gbk) const = 0;
  virtual std::optional<std::string> utf8ToGbk(std::string_view utf8) const = 0;
};

}  // namespace qm
