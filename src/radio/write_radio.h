// Writing the radio: the channel area, the function block, the identification row and the
// write-date row, 38 frames of 8 bytes. Nothing else in the radio changes.
#pragma once

#include <cstdint>
#include <ctime>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "model/image.h"
#include "radio/link.h"

namespace qm {

enum class WriteStatus {
  NotStarted,   // the handshake failed (its message has been shown)
  Declined,     // the model question or a version warning was answered No
  Interrupted,  // a frame was not acknowledged: "写频错误" / "写频中断，请重试！"
  Failed,       // the port refused a frame: "写频错误" / "写频错误，请重新写入！"
  Completed,
};

struct WriteResult {
  WriteStatus status = WriteStatus::NotStarted;
  HandshakeResult handshake;
  int framesAcknowledged = 0;
  bool completed() const { return status == WriteStatus::Completed; }
};

// The addresses written, in order: 0x000-0x0FF, 0x2B0-0x2BF, 0x2D0-0x2DF, 0x3C0-0x3CF.
std::vector<uint16_t> WritePlan();

// The 8 data bytes of the frame for `address`, as sent to a radio of major version
// `verMajor`: the function block's byte 0 in the version-1 layout for a version-1 radio,
// and the version byte in place of the second byte of each identification frame. The image
// itself is not changed.
std::array<uint8_t, 8> WriteFrameData(const Image& image, uint16_t address, int16_t verMajor);

// Writes the image (already collected from the editors) to the radio. The handshake sets
// `imageVerMajor` and image byte 0x2D0 from the radio's version; the write-date row is
// stamped with `localTime()` just before the frames go out. The port is closed at the end.
// On success the caller sets the caption (WriteDoneCaption), enables "new" and leaves the
// tune view.
WriteResult WriteRadio(LinkContext& ctx, Image& image, int16_t& imageVerMajor,
                       const std::function<std::tm()>& localTime);

std::string WriteDoneCaption(const AppState& app);

}  // namespace qm
