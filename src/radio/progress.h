// The progress window of the long radio operations, as the link code drives it: open it with
// a caption, a window title and the bar's maximum, set values, close it. The bar never goes
// past its maximum, however large the value set (a write raises it beyond the maximum on
// purpose, so that it stays full for the last frames).
#pragma once

#include <algorithm>
#include <atomic>
#include <string>
#include <string_view>

#include "base/app_state.h"

namespace qm {

class Progress {
 public:
  virtual ~Progress() = default;

  // Shows the window without waiting for it. An empty caption shows the application title.
  // A read's window is `cancellable`: it offers Cancel, and the routine asks
  // cancelRequested() after each frame. A write's is not (a half-written radio is worse than
  // the wait).
  void open(std::string_view caption, std::string_view title, int maximum,
            bool cancellable = false) {
    caption_ = caption.empty() ? std::string(kAppTitle) : std::string(caption);
    title_ = std::string(title);
    maximum_ = std::max(maximum, 0);
    value_ = 0;
    position_ = 0;
    open_ = true;
    cancellable_ = cancellable;
    cancel_ = false;
    onOpen();
  }

  // The user pressed Cancel; may be called from another thread than the routine's.
  void requestCancel() { cancel_ = true; }
  virtual bool cancelRequested() const { return cancellable_ && cancel_; }
  bool cancellable() const { return cancellable_; }

  // The stored value; setting it does not move the bar.
  void setValue(int value) { value_ = value; }
  int value() const { return value_; }

  // Moves the bar to the stored value, or to the maximum when the value exceeds it.
  void change() {
    position_ = std::clamp(value_, 0, maximum_);
    onChange(position_);
  }

  // The usual pair: store the value and show it.
  void show(int value) {
    setValue(value);
    change();
  }

  void close() {
    if (!open_) return;
    open_ = false;
    cancel_ = false;
    onClose();
  }

  const std::string& caption() const { return caption_; }
  const std::string& title() const { return title_; }
  int maximum() const { return maximum_; }
  int position() const { return position_; }
  bool isOpen() const { return open_; }

 protected:
  // What a concrete window does when the state changes.
  virtual void onOpen() {}
  virtual void onChange(int /*position*/) {}
  virtual void onClose() {}

 private:
  std::string caption_;
  std::string title_;
  int maximum_ = 0;
  int value_ = 0;
  int position_ = 0;
  bool open_ = false;
  bool cancellable_ = false;
  std::atomic<bool> cancel_ = false;
};

}  // namespace qm
