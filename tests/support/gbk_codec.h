// The GBK codec of the tests: the program's own (code page 936 on Windows, Qt's elsewhere,
// the generated table in the browser's build).
#pragma once

#ifdef __EMSCRIPTEN__
#include "files/gbk_table_codec.h"

namespace qm::test {
using GbkCodec = GbkTableCodec;
}  // namespace qm::test
#else
#include "platform/system_text_codec.h"

namespace qm::test {
using GbkCodec = SystemTextCodec;
}  // namespace qm::test
#endif
