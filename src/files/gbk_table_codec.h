// GBK through a table of the program's own, for a build whose C library and toolkit have no
// GBK converter (the browser's). The table is written at build time (scripts/gen-gbk-table)
// and gives the same bytes as the desktop's converter, both ways, for every code point.
#pragma once

#include "files/text_codec.h"

namespace qm {

class GbkTableCodec : public TextCodec {
 public:
  std::optional<std::string> gbkToUtf8(std::string_view gbk) const override;
  std::optional<std::string> utf8ToGbk(std::string_view utf8) const override;
};

}  // namespace qm
