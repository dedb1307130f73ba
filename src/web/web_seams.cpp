#include "web/web_seams.h"

#include <emscripten.h>

#include <cstdlib>

#include "base/tr.h"
#include "web/web_translation.h"

namespace qm::web {

namespace {

// A text the page gave back (allocated there with the module's allocator).
std::optional<std::string> Taken(char* text) {
  if (!text) return std::nullopt;
  std::string out(text);
  std::free(text);
  return out;
}

}  // namespace

// ---- the page's side ----

// clang-format off
EM_ASYNC_JS(int, qm_serial_open, (int baud, int parity, int dataBits, int stopBits), {
  return await Module.qmHost.serialOpen(baud, String.fromCharCode(parity), dataBits, stopBits);
});
EM_ASYNC_JS(void, qm_serial_close, (), { await Module.qmHost.serialClose(); });
EM_JS(int, qm_serial_write, (const uint8_t* data, int size), {
  return Module.qmHost.serialWrite(HEAPU8.slice(data, data + size)) ? 1 : 0;
});
EM_JS(int, qm_serial_out_count, (), { return Module.qmHost.serialOutCount(); });
EM_JS(void, qm_serial_clear_output, (), { Module.qmHost.serialClearOutput(); });
EM_JS(int, qm_serial_in_count, (), { return Module.qmHost.serialInCount(); });
EM_JS(void, qm_serial_clear_input, (), { Module.qmHost.serialClearInput(); });
EM_JS(int, qm_serial_read, (uint8_t* data, int size), {
  const bytes = Module.qmHost.serialRead(size);
  HEAPU8.set(bytes, data);
  return bytes.length;
});
EM_JS(char*, qm_serial_error, (), { return allocateUTF8(Module.qmHost.serialError()); });
EM_JS(char*, qm_port_label, (), {
  const label = Module.qmHost.portLabel();
  return label === null ? 0 : allocateUTF8(label);
});
EM_ASYNC_JS(void, qm_delay_until, (double deadlineMs), {
  await Module.qmHost.delayUntil(deadlineMs);
});
EM_JS(double, qm_now_ms, (), { return performance.now(); });
EM_ASYNC_JS(int, qm_ask, (const char* title, const char* text, int icon, int buttons), {
  return await Module.qmHost.ask(UTF8ToString(title), UTF8ToString(text), icon, buttons);
});
// The warning dialog dlgWarn: 1 for OK, plus 2 when its box was ticked.
EM_ASYNC_JS(int, qm_warn, (const char* title, const char* text), {
  return await Module.qmHost.warn(UTF8ToString(title), UTF8ToString(text));
});
EM_JS(void, qm_progress, (int state, const char* caption, const char* title, int maximum,
                          int position, int cancellable), {
  Module.qmHost.progress(state, UTF8ToString(caption), UTF8ToString(title), maximum, position,
                         cancellable != 0);
});
EM_ASYNC_JS(char*, qm_pick_open, (const char* title, const char* ext), {
  const path = await Module.qmHost.pickOpen(UTF8ToString(title), UTF8ToString(ext));
  return path === null ? 0 : allocateUTF8(path);
});
EM_ASYNC_JS(char*, qm_pick_save, (const char* title, const char* name, const char* ext), {
  const path = await Module.qmHost.pickSave(UTF8ToString(title), UTF8ToString(name),
                                            UTF8ToString(ext));
  return path === null ? 0 : allocateUTF8(path);
});
EM_ASYNC_JS(int, qm_save_to_browser, (const char* path), {
  return await Module.qmHost.saveToBrowser(UTF8ToString(path)) ? 1 : 0;
});
EM_JS(void, qm_offer_download, (const char* path), {
  Module.qmHost.offerDownload(UTF8ToString(path));
});
// clang-format on

// ---- serial port ----

bool WebSerialPort::open(int, const LineSettings& s) {
  const int failure = qm_serial_open(s.baud, s.parity, s.dataBits, s.stopBits);
  open_ = failure == 0;
  lastFailure_ = open_ ? OpenFailure::None : static_cast<OpenFailure>(failure);
  lastError_ = open_ ? std::string() : Taken(qm_serial_error()).value_or("");
  return open_;
}

void WebSerialPort::close() {
  if (!open_) return;
  open_ = false;
  qm_serial_close();
}

bool WebSerialPort::write(std::span<const uint8_t> bytes) {
  return open_ && qm_serial_write(bytes.data(), static_cast<int>(bytes.size())) != 0;
}

size_t WebSerialPort::outCount() { return open_ ? static_cast<size_t>(qm_serial_out_count()) : 0; }
void WebSerialPort::clearOutput() { qm_serial_clear_output(); }
size_t WebSerialPort::inCount() { return open_ ? static_cast<size_t>(qm_serial_in_count()) : 0; }
void WebSerialPort::clearInput() { qm_serial_clear_input(); }

std::vector<uint8_t> WebSerialPort::readAll() {
  std::vector<uint8_t> out(inCount());
  if (out.empty()) return out;
  out.resize(static_cast<size_t>(qm_serial_read(out.data(), static_cast<int>(out.size()))));
  return out;
}

// The granted port in the program's messages: the browser shows no system name for it, only
// its USB ids, so a technician can tell it by the cable's chip.
std::string WebSerialPort::displayName() const {
  const std::optional<std::string> label = Taken(qm_port_label());
  if (!label || label->empty()) return QM_TR("所选端口");
  return Fill(QM_TR("所选端口（USB %1）"), {*label});
}

std::string PortPanelText() {
  const std::optional<std::string> label = Taken(qm_port_label());
  if (!label) return QM_TR("未选择端口");
  return label->empty() ? std::string("USB") : "USB " + *label;
}

// ---- clock ----

void WebClock::delayMs(int ms) {
  if (ms > 0) delayUntil(now() + std::chrono::milliseconds(ms));
}

void WebClock::delayUntil(Micros deadline) {
  const double ms = static_cast<double>(deadline.count()) / 1000.0;
  if (ms > qm_now_ms()) qm_delay_until(ms);
}

Micros WebClock::now() const { return Micros(static_cast<int64_t>(qm_now_ms() * 1000.0)); }

// ---- prompter ----

Answer WebPrompter::ask(const Message& m) {
  const std::string title = Tr(m.title), text = Tr(m.text);
  return static_cast<Answer>(
      qm_ask(title.c_str(), text.c_str(), static_cast<int>(m.icon), static_cast<int>(m.buttons)));
}

WarningAnswer WebPrompter::warn(int selIndex, const std::string& text) {
  const std::string title = Tr(kAppTitle), shown = Tr(text);
  const int answer = qm_warn(title.c_str(), shown.c_str());
  return WarningAnswer{(answer & 1) != 0, WarningCanBeSilenced(selIndex) && (answer & 2) != 0};
}

// ---- progress ----

void WebProgress::onOpen() {
  const std::string caption = Tr(this->caption()), title = Tr(this->title());
  qm_progress(0, caption.c_str(), title.c_str(), maximum(), 0, cancellable());
}

void WebProgress::onChange(int position) {
  qm_progress(1, "", "", maximum(), position, cancellable());
}

void WebProgress::onClose() { qm_progress(2, "", "", maximum(), position(), false); }

// ---- files ----

std::optional<std::string> WebFileDialogs::openFile(const FileDialogRequest& request) {
  const std::string title = Tr(request.title);
  return Taken(qm_pick_open(title.c_str(), request.defaultExt.c_str()));
}

std::optional<std::string> WebFileDialogs::saveFile(const FileDialogRequest& request) {
  const std::string title = Tr(request.title);
  std::string name = request.initialName;
  if (name.empty()) name = "QM830K." + request.defaultExt;
  return Taken(qm_pick_save(title.c_str(), name.c_str(), request.defaultExt.c_str()));
}

bool SaveToBrowser(const std::string& path) { return qm_save_to_browser(path.c_str()) != 0; }
void OfferDownload(const std::string& path) { qm_offer_download(path.c_str()); }

}  // namespace qm::web
