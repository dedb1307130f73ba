// Writes the starting corpus of a fuzz target.
//   make_fuzz_seeds DIR            data files: a current and a legacy file, truncations of
//                                  them, and files with one block of another shape
//   make_fuzz_seeds --profile DIR  configuration files in UTF-8 and GBK
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "files/data_file.h"

namespace {

bool Save(const std::string& dir, const std::string& name, const std::vector<uint8_t>& bytes) {
  std::string path = dir + "/" + name;
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  bool ok = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  return std::fclose(f) == 0 && ok;
}

}  // namespace

bool ProfileSeeds(const std::string& dir) {
  auto text = [](const std::string& s) { return std::vector<uint8_t>(s.begin(), s.end()); };
  bool ok = Save(dir, "ini-utf8", text("; maker\n[S]\nA=1\nK = \"old\" \n\n[T]\nB=编程\n"));
  ok =
      Save(dir, "ini-crlf-bom", text("\xEF\xBB\xBF[Recent Files]\r\nRecentFile1=/a.q83\r\n")) && ok;
  // "[常量]" and a title in GBK.
  ok = Save(dir, "ini-gbk",
            text("[\xb3\xa3\xc1\xbf]\r\nA=QM830K\xb1\xe0\xb3\xcc\r\n[S]\r\nK=\xc3\xa8\r\n")) &&
       ok;
  ok = Save(dir, "ini-junk", text(std::string("[S]\nA=\0\xff\xfe\n[S\nK\n=v\n", 20))) && ok;
  return ok;
}

int main(int argc, char** argv) {
  if (argc == 3 && std::string(argv[1]) == "--profile") return ProfileSeeds(argv[2]) ? 0 : 1;
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_fuzz_seeds [--profile] DIR\n");
    return 2;
  }
  const std::string dir = argv[1];
  qm::Image image;
  for (size_t a = 0; a < qm::kImageSize; ++a) image[a] = static_cast<uint8_t>(a ^ (a >> 3));
  image.functions()[0] = 0x55;
  qm::SpareBlock spare{};
  spare[7] = 0x42;

  const std::vector<uint8_t> current = qm::SerializeDataFile(image, spare, false);
  const std::vector<uint8_t> legacy = qm::SerializeDataFile(image, spare, true);
  bool ok = Save(dir, "seed-current", current) && Save(dir, "seed-legacy", legacy);
  for (size_t cut : {0u, 10u, 22u, 30u, 36u, 50u, 312u, 700u, 1044u, 1359u}) {
    std::vector<uint8_t> part(current.begin(), current.begin() + static_cast<long>(cut));
    ok = Save(dir, "seed-cut-" + std::to_string(cut), part) && ok;
  }
  // Value 5 (offset 412) with its bound pairs swapped: 16 x 11 instead of 11 x 16.
  std::vector<uint8_t> swapped = current;
  swapped[416] = 16;
  swapped[424] = 11;
  ok = Save(dir, "seed-swapped-bounds", swapped) && ok;
  // Value 8 (offset 904) declared as 15 elements, the 16th byte then starts the next value.
  std::vector<uint8_t> shorter = current;
  shorter[908] = 15;
  ok = Save(dir, "seed-short-block", shorter) && ok;
  std::vector<uint8_t> longer = current;
  longer.insert(longer.end(), 200, 0xEE);
  ok = Save(dir, "seed-long-tail", longer) && ok;
  return ok ? 0 : 1;
}
