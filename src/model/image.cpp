#include "model/image.h"

#include "model/layout.h"

namespace qm {

void ConvertFromV1Layout(Image& image) {
  image.functions()[0] = FuncByte0FromV1(image.functions()[0]);
  for (int n = 0; n < kChannelCount; ++n) {
    Channel ch = DecodeChannel(image.channel(n).bytes());
    ch.bandwidth = Bandwidth::Wide;
    ch.power = Power::High;
    EncodeChannel(ch, image.channel(n).bytes());
  }
  Functions f = DecodeFunctions(image.functions());
  f.bandwidth = Bandwidth::Wide;
  f.powerKey = 0;  // no power selection key
  f.powerKeySpare = 0;
  EncodeFunctions(f, image.functions());
}

}  // namespace qm
