// Writes the starting corpus of a fuzz target.
//   make_fuzz_seeds TARGET DIR
//   data_file      a current and a legacy data file, truncations of them, and files with
//                  one block of another shape
//   profile        configuration files in UTF-8 and GBK
//   channel_text   the two CHIRP lists of tests/data, and the text a copy of the defaults
//                  puts on the clipboard (with its header, and as spreadsheet cells)
//   channel_clip   the private form a copy of the defaults puts on the clipboard
//   radio_replies  none: the replies are made up from scratch
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "channel_desk.h"
#include "document/channel_edits.h"
#include "files/data_file.h"

namespace {

bool Save(const std::string& dir, const std::string& name, const std::vector<uint8_t>& bytes) {
  std::string path = dir + "/" + name;
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  bool ok = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  return std::fclose(f) == 0 && ok;
}

std::vector<uint8_t> Bytes(const std::string& s) {
  return std::vector<uint8_t>(s.begin(), s.end());
}

bool ProfileSeeds(const std::string& dir) {
  bool ok = Save(dir, "ini-utf8", Bytes("; maker\n[S]\nA=1\nK = \"old\" \n\n[T]\nB=编程\n"));
  ok = Save(dir, "ini-crlf-bom", Bytes("\xEF\xBB\xBF[Recent Files]\r\nRecentFile1=/a.q83\r\n")) &&
       ok;
  // "[常量]" and a title in GBK.
  ok = Save(dir, "ini-gbk",
            Bytes("[\xb3\xa3\xc1\xbf]\r\nA=QM830K\xb1\xe0\xb3\xcc\r\n[S]\r\nK=\xc3\xa8\r\n")) &&
       ok;
  // A line that is UTF-8 but no GBK ("K=量0") before a GBK one.
  ok = Save(dir, "ini-mixed", Bytes("[S]\nK=\xe9\x87\x8f\x30\nK=\xb1\xe0\xb3\xcc\n")) && ok;
  ok = Save(dir, "ini-junk", Bytes(std::string("[S]\nA=\0\xff\xfe\n[S\nK\n=v\n", 20))) && ok;
  return ok;
}

bool DataFileSeeds(const std::string& dir) {
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
  return ok;
}

// What a copy of the default channels of model `code` puts on the clipboard.
qm::CopiedChannels CopiedDefaults(int code, const std::vector<int>& channels) {
  qm::fuzz::ChannelDesk desk(code, '.');
  return qm::CopyChannels(desk.grid(), desk.image, desk.app, channels);
}

const std::vector<int> kAllChannels = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15};

bool ChannelTextSeeds(const std::string& dir) {
  bool ok = true;
  for (const char* name : {"EU LPD and PMR Channels.csv", "US FRS and GMRS Channels.csv"}) {
    std::ifstream in(std::string(QM_TEST_DATA) + "/chirp/" + name, std::ios::binary);
    const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    ok = !text.empty() && Save(dir, name, Bytes(text)) && ok;
  }
  for (int code : {7, 32}) {
    const std::string csv = CopiedDefaults(code, kAllChannels).csv;
    ok = Save(dir, "copied-defaults-" + std::to_string(code), Bytes(csv)) && ok;
    // The rows as cells of a spreadsheet: tabs, no header.
    std::string cells = csv.substr(csv.find('\n') + 1);
    for (char& c : cells)
      if (c == ',') c = '\t';
    ok = Save(dir, "copied-cells-" + std::to_string(code), Bytes(cells)) && ok;
  }
  return ok;
}

bool ChannelClipSeeds(const std::string& dir) {
  bool ok = true;
  for (int code : {7, 10, 32}) {
    const qm::ChannelClip clip = CopiedDefaults(code, kAllChannels).clip;
    ok = Save(dir, "clip-defaults-" + std::to_string(code), qm::EncodeChannelClip(clip)) && ok;
  }
  qm::ChannelClip some = CopiedDefaults(7, {0, 5, 15}).clip;
  some.records[1][2] &= 0xF7;  // switched off
  return Save(dir, "clip-three", qm::EncodeChannelClip(some)) && ok;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: make_fuzz_seeds TARGET DIR\n");
    return 2;
  }
  const std::string target = argv[1];
  const std::string dir = argv[2];
  bool ok = true;
  if (target == "data_file")
    ok = DataFileSeeds(dir);
  else if (target == "profile")
    ok = ProfileSeeds(dir);
  else if (target == "channel_text")
    ok = ChannelTextSeeds(dir);
  else if (target == "channel_clip")
    ok = ChannelClipSeeds(dir);
  else if (target != "radio_replies") {
    std::fprintf(stderr, "make_fuzz_seeds: no seeds for %s\n", target.c_str());
    return 2;
  }
  if (!ok)
    std::fprintf(stderr, "make_fuzz_seeds: could not write the seeds into %s\n", dir.c_str());
  return ok ? 0 : 1;
}
