#include "model/image.h"

namespace qm {

void ConvertFromV1Layout(Image& image) {
  auto f = image.functions();
  f[0] = FuncByte0FromV1(f[0]);
  for (int n = 0; n < kChannelCount; ++n) image.channel(n)[10] &= 0xDE;  // wide, high power
  f[12] &= 0xFD;  // wide bandwidth
  f[4] = 0;       // no power selection key
}

}  // namespace qm
