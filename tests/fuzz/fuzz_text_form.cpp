// Feeds arbitrary text to the text form's reader. Besides the sanitizers' checks, every text
// it accepts must come back as the same image, spare block and version when written out and
// read again, and a refused one must name a line.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "channel_desk.h"
#include "files/text_form.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const qm::AppState kApp = qm::fuzz::InstalledApp(7, '.');
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const qm::TextFormLoad first = qm::ParseTextForm(text, kApp);
  if (first.file.status != qm::LoadStatus::Ok) {
    qm::fuzz::Require(first.error.line >= 0 && !first.error.text.empty(),
                      "a refusal says where and why");
    return 0;
  }
  const qm::LoadedFile& f = first.file;
  const std::string written = qm::WriteTextForm(f.image, f.spare, f.imageVerMajor, kApp);
  const qm::TextFormLoad again = qm::ParseTextForm(written, kApp);
  qm::fuzz::Require(again.file.status == qm::LoadStatus::Ok, "the written text reads back");
  qm::fuzz::Require(again.file.image == f.image && again.file.spare == f.spare &&
                        again.file.imageVerMajor == f.imageVerMajor,
                    "the written text gives the same bytes");
  return 0;
}
