// A channel of an image set from the texts the grid shows, for tests that need a known image.
#pragma once

#include <cstdint>
#include <string_view>

#include "model/codecs.h"
#include "model/image.h"

namespace qm::test {

// Channel n (0..15): in use and allowed to transmit unless told otherwise, byte 10 (bandwidth,
// power, scan, busy lock) as given.
inline void SetChannel(Image& image, int n, std::string_view rx, std::string_view rxSig,
                       std::string_view tx, std::string_view txSig, uint8_t flags = 0,
                       bool txAllowed = true, bool inUse = true) {
  ChannelRecord r = image.channel(n);
  r[2] = inUse ? 0x08 : 0x00;
  r[7] = txAllowed ? 0x08 : 0x00;
  FreqTextToBytes(rx, r[0], r[1], r[2]);
  SignalTextToBytes(rxSig, r[2], r[3], r[4]);
  FreqTextToBytes(tx, r[5], r[6], r[7]);
  SignalTextToBytes(txSig, r[7], r[8], r[9]);
  r[10] = flags;
}

}  // namespace qm::test
