// The embedded information read and its text written on their own, without a full read or
// write: the user text (0x300-0x3BF), the date of the last write (0x3C0-0x3CF) and the radio
// ID (0x3E0-0x3EF). How the areas are shown and edited is in model/embed_areas.h.
#pragma once

#include <cstdint>

#include "model/image.h"
#include "radio/link.h"

namespace qm {

// Reads 0x300-0x3EF (30 blocks; 0x3D0-0x3DF are read but not kept). The three areas change
// only when all blocks arrived; a failed read leaves them as they were. The handshake's
// version bytes land in `imageVerMajor` and image 0x2D0 as for every exchange. Gives
// whether the read completed. The port is closed at the end.
bool ReadEmbedInfo(LinkContext& ctx, Image& image, int16_t& imageVerMajor);

// Writes the user text area (24 blocks, 0x300-0x3BF). The date row and the radio ID are
// never sent. Gives whether every block was acknowledged. The port is closed at the end.
bool WriteEmbedInfo(LinkContext& ctx, Image& image, int16_t& imageVerMajor);

}  // namespace qm
