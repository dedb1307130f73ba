// Reading the radio: the whole memory, 0x000 to 0x3FF, in 128 requests of 8 bytes.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "model/image.h"
#include "radio/link.h"

namespace qm {

enum class ReadStatus {
  NotStarted,   // the handshake failed (its message has been shown)
  Interrupted,  // a block reply was short: "读频错误" / "读频中断，请重试！"
  DataError,    // a reply that does not fit: "数据错误" / "读取数据错误，请重试！"
  Cancelled,    // the user pressed Cancel in the progress window; nothing was shown
  Declined,     // a newer radio and the warning was not confirmed
  Completed,    // the image now holds what the radio holds
};

struct ReadResult {
  ReadStatus status = ReadStatus::NotStarted;
  HandshakeResult handshake;
  bool accepted() const { return status == ReadStatus::Completed; }
};

// What the window does at fixed points of the read.
struct ReadHooks {
  // When the read is accepted, before the model is selected from the new image: the window
  // leaves the tune view and sets its caption (ReadDoneCaption) here.
  std::function<void()> accepted;
};

// Reads the radio into a scratch copy of `image`; only a completed and accepted read
// replaces `image` and `imageVerMajor`, so a read that stops part-way leaves the document
// as it was. An accepted read also selects the model from the new image (app.curModel,
// app.bandText), updates the version state and converts a version-1 layout. The caller then
// shows the image (DisplayRadioData) and the model. The port is closed at the end.
ReadResult ReadRadio(LinkContext& ctx, Image& image, int16_t& imageVerMajor,
                     const ReadHooks& hooks = {});

// The caption of the window after an accepted read.
std::string ReadDoneCaption(const AppState& app);

// Where the data of a read reply go. False when the reply cannot be stored: it announces
// more bytes than it carries, or its data would run past its 16-byte row (and so past the
// end of the image). `ignored` is set for replies that are skipped without a fault (another
// first byte, or a page above 3).
bool StoreReadReply(std::span<const uint8_t> reply, Image& image, bool& ignored);

}  // namespace qm
