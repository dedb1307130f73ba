// Feeds arbitrary bytes to the data file parser. Besides the sanitizers' checks, every
// accepted file must survive a save and a reload unchanged, and a refused one must not
// have produced anything.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "files/data_file.h"

namespace {

qm::Image Pattern() {
  qm::Image image;
  for (size_t a = 0; a < qm::kImageSize; ++a) image[a] = static_cast<uint8_t>(a * 7 + 3);
  return image;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const qm::Image kCurrent = Pattern();
  static const qm::SpareBlock kSpare = [] {
    qm::SpareBlock s{};
    for (size_t i = 0; i < s.size(); ++i) s[i] = static_cast<uint8_t>(0xA0 + i);
    return s;
  }();

  qm::LoadedFile loaded = qm::ParseDataFile(std::span<const uint8_t>(data, size), kCurrent, kSpare);
  if (loaded.status != qm::LoadStatus::Ok) return 0;

  // Saved in the current format, the loaded image must read back exactly.
  std::vector<uint8_t> saved = qm::SerializeDataFile(loaded.image, loaded.spare, false);
  if (saved.size() != qm::kDataFileSize) std::abort();
  qm::LoadedFile again = qm::ParseDataFile(saved, qm::Image{}, qm::SpareBlock{});
  if (again.status != qm::LoadStatus::Ok || again.imageVerMajor != 2) std::abort();
  if (!(again.image == loaded.image) || again.spare != loaded.spare) std::abort();
  return 0;
}
