// The GBK codec of the tests: the program's own (code page 936 on Windows, Qt's elsewhere).
#pragma once

#include "platform/system_text_codec.h"

namespace qm::test {
using GbkCodec = SystemTextCodec;
}  // namespace qm::test
