// The core's seams in the browser. Each hands its work to the page (Module.qmHost, web/src/
// host.ts): the serial line to Web Serial, the waits to the browser's timers, the questions
// to the page's modal dialog, the progress window to its bar, the file dialogs to the
// browser's file pickers. A wait (a delay, an open, a question, a picker) suspends the
// running routine until the browser's promise settles (Asyncify), so the core's linear
// routines run unchanged.
#pragma once

#include <optional>
#include <string>

#include "base/file_dialogs.h"
#include "base/prompter.h"
#include "radio/clock.h"
#include "radio/progress.h"
#include "radio/serial_port.h"

namespace qm::web {

// The port the user granted the page (navigator.serial); the port number is not used.
class WebSerialPort : public SerialPort {
 public:
  bool open(int portNumber, const LineSettings& settings) override;
  void close() override;
  bool isOpen() const override { return open_; }
  bool write(std::span<const uint8_t> bytes) override;
  size_t outCount() override;
  void clearOutput() override;
  size_t inCount() override;
  void clearInput() override;
  std::vector<uint8_t> readAll() override;
  std::string lastError() const override { return lastError_; }
  OpenFailure lastFailure() const override { return lastFailure_; }
  std::string displayName() const override;

 private:
  bool open_ = false;
  std::string lastError_;
  OpenFailure lastFailure_ = OpenFailure::None;
};

// How the status bar names the granted port: its USB ids ("USB 1A86:7523"), "USB" for a port
// whose ids the browser keeps to itself, "未选择端口" before any was granted.
std::string PortPanelText();

// The browser's monotonic clock; a delay waits on its timers and lets the page paint.
class WebClock : public Clock {
 public:
  void delayMs(int ms) override;
  // To the deadline itself: rounding each of an exchange's waits up to a whole millisecond
  // would move every later poll of the exchange back by up to a millisecond.
  void delayUntil(Micros deadline) override;
  Micros now() const override;
};

// The page's modal dialog #dlgPrompt, the texts in the page's language.
class WebPrompter : public Prompter {
 public:
  Answer ask(const Message& message) override;
  WarningAnswer warn(int selIndex, const std::string& text) override;
};

// The page's progress window frmProgress.
class WebProgress : public Progress {
 protected:
  void onOpen() override;
  void onChange(int position) override;
  void onClose() override;
};

// The browser's file pickers. A picked file is copied into the page's memory file system
// and its path there given to the core; a save goes to such a path and the page hands the
// bytes to the file the user picked (SaveToBrowser).
class WebFileDialogs : public FileDialogs {
 public:
  std::optional<std::string> openFile(const FileDialogRequest& request) override;
  std::optional<std::string> saveFile(const FileDialogRequest& request) override;
};

// Hands the file at `path` of the memory file system to the browser: to the file picked for
// it, or as a download. False when the browser refused (no permission, no space).
bool SaveToBrowser(const std::string& path);
// A file of the memory file system offered as a download (a backup beside a write).
void OfferDownload(const std::string& path);

}  // namespace qm::web
