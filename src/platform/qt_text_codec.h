// GBK (code page 936) conversion through Qt's ICU-backed string converters.
#pragma once

#include "files/text_codec.h"

namespace qm {

class QtTextCodec : public TextCodec {
 public:
  std::optional<std::string> gbkToUtf8(std::string_view gbk) const override;
  std::optional<std::string> utf8ToGbk(std::string_view utf8) const override;
};

}  // namespace qm
