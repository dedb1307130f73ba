// GBK (code page 936), the encoding of the data files' texts and the configuration files: the
// system's own code page 936 conversion on Windows (the conversion the files were written
// with there; Qt has no GBK without ICU), Qt's ICU-backed converters elsewhere.
#pragma once

#include "files/text_codec.h"

namespace qm {

class SystemTextCodec : public TextCodec {
 public:
  std::optional<std::string> gbkToUtf8(std::string_view gbk) const override;
  std::optional<std::string> utf8ToGbk(std::string_view utf8) const override;
};

}  // namespace qm
