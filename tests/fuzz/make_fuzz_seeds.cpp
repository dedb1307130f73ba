// Writes the starting corpus of a fuzz target.
//   make_fuzz_seeds TARGET DIR
//   data_file      a current and a legacy data file, truncations of them, and files with
//                  one block of another shape
//   profile        configuration files in UTF-8 and GBK
//   channel_text   the two CHIRP lists of tests/data, and the text a copy of the defaults
//                  puts on the clipboard (with its header, and as spreadsheet cells)
//   channel_clip   the private form a copy of the defaults puts on the clipboard
//   text_form      the text form of the defaults of two models and of an image whose every
//                  byte is odd, and one of them with a line of each kind broken
//   radio_replies  none: the replies are made up from scratch
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "channel_desk.h"
#include "document/channel_edits.h"
#include "files/data_file.h"
#include "files/text_form.h"

namespace {

// The seeds of one target, written into its corpus folder; ok turns false on a failed write.
struct Seeds {
  std::string dir;
  bool ok = true;
  void put(const std::string& name, std::string_view bytes) {
    std::FILE* f = std::fopen((dir + "/" + name).c_str(), "wb");
    const bool written =
        f && (bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size());
    ok = f && std::fclose(f) == 0 && written && ok;
  }
  void put(const std::string& name, const std::vector<uint8_t>& bytes) {
    put(name, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
  }
};

void ProfileSeeds(Seeds& s) {
  s.put("ini-utf8", "; maker\n[S]\nA=1\nK = \"old\" \n\n[T]\nB=编程\n");
  s.put("ini-crlf-bom", "\xEF\xBB\xBF[Recent Files]\r\nRecentFile1=/a.q83\r\n");
  // "[常量]" and a title in GBK.
  s.put("ini-gbk", "[\xb3\xa3\xc1\xbf]\r\nA=QM830K\xb1\xe0\xb3\xcc\r\n[S]\r\nK=\xc3\xa8\r\n");
  // A line that is UTF-8 but no GBK ("K=量0") before a GBK one.
  s.put("ini-mixed", "[S]\nK=\xe9\x87\x8f\x30\nK=\xb1\xe0\xb3\xcc\n");
  // A NUL inside: the length is the array's, not the C string's.
  static constexpr char kJunk[] = "[S]\nA=\0\xff\xfe\n[S\nK\n=v\n";
  s.put("ini-junk", std::string_view(kJunk, sizeof kJunk - 1));
}

void DataFileSeeds(Seeds& s) {
  qm::Image image;
  for (size_t a = 0; a < qm::kImageSize; ++a) image[a] = static_cast<uint8_t>(a ^ (a >> 3));
  image.functions()[0] = 0x55;
  qm::SpareBlock spare{};
  spare[7] = 0x42;

  const std::vector<uint8_t> current = qm::SerializeDataFile(image, spare, false);
  s.put("seed-current", current);
  s.put("seed-legacy", qm::SerializeDataFile(image, spare, true));
  for (size_t cut : {0u, 10u, 22u, 30u, 36u, 50u, 312u, 700u, 1044u, 1359u})
    s.put("seed-cut-" + std::to_string(cut),
          {current.begin(), current.begin() + static_cast<long>(cut)});
  // Value 5 (offset 412) with its bound pairs swapped: 16 x 11 instead of 11 x 16.
  std::vector<uint8_t> swapped = current;
  swapped[416] = 16;
  swapped[424] = 11;
  s.put("seed-swapped-bounds", swapped);
  // Value 8 (offset 904) declared as 15 elements, the 16th byte then starts the next value.
  std::vector<uint8_t> shorter = current;
  shorter[908] = 15;
  s.put("seed-short-block", shorter);
  std::vector<uint8_t> longer = current;
  longer.insert(longer.end(), 200, 0xEE);
  s.put("seed-long-tail", longer);
}

// What a copy of the default channels of model `code` puts on the clipboard.
qm::CopiedChannels CopiedDefaults(int code, const std::vector<int>& channels) {
  qm::fuzz::ChannelDesk desk(code, '.');
  return qm::CopyChannels(desk.grid(), desk.image, desk.app, channels);
}

const std::vector<int> kAllChannels = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15};

void ChannelTextSeeds(Seeds& s) {
  for (const char* name : {"EU LPD and PMR Channels.csv", "US FRS and GMRS Channels.csv"}) {
    std::ifstream in(std::string(QM_TEST_DATA) + "/chirp/" + name, std::ios::binary);
    const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    s.ok = !text.empty() && s.ok;
    s.put(name, text);
  }
  for (int code : {7, 32}) {
    const std::string csv = CopiedDefaults(code, kAllChannels).csv;
    s.put("copied-defaults-" + std::to_string(code), csv);
    // The rows as cells of a spreadsheet: tabs, no header.
    std::string cells = csv.substr(csv.find('\n') + 1);
    std::replace(cells.begin(), cells.end(), ',', '\t');
    s.put("copied-cells-" + std::to_string(code), cells);
  }
}

void ChannelClipSeeds(Seeds& s) {
  for (int code : {7, 10, 32}) {
    const qm::ChannelClip clip = CopiedDefaults(code, kAllChannels).clip;
    s.put("clip-defaults-" + std::to_string(code), qm::EncodeChannelClip(clip));
  }
  qm::ChannelClip some = CopiedDefaults(7, {0, 5, 15}).clip;
  some.records[1][2] &= 0xF7;  // switched off
  s.put("clip-three", qm::EncodeChannelClip(some));
}

void TextFormSeeds(Seeds& s) {
  for (int code : {7, 32}) {
    qm::fuzz::ChannelDesk desk(code, '.');
    s.put("text-defaults-" + std::to_string(code),
          qm::WriteTextForm(desk.saved(), qm::SpareBlock{}, 2, desk.app));
  }
  const qm::AppState app = qm::fuzz::InstalledApp(7, '.');
  qm::Image odd;
  for (size_t a = 0; a < qm::kImageSize; ++a) odd[a] = static_cast<uint8_t>(a * 7 + 17 + a / 256);
  qm::SpareBlock spare{};
  spare[9] = 0x5A;
  std::string text = qm::WriteTextForm(odd, spare, 0, app);
  s.put("text-odd", text);
  text.replace(text.find("rx = "), 5, "rx = 1");
  s.put("text-broken", text);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: make_fuzz_seeds TARGET DIR\n");
    return 2;
  }
  const std::string target = argv[1];
  Seeds seeds{argv[2]};
  if (target == "data_file")
    DataFileSeeds(seeds);
  else if (target == "profile")
    ProfileSeeds(seeds);
  else if (target == "channel_text")
    ChannelTextSeeds(seeds);
  else if (target == "channel_clip")
    ChannelClipSeeds(seeds);
  else if (target == "text_form")
    TextFormSeeds(seeds);
  else if (target != "radio_replies") {
    std::fprintf(stderr, "make_fuzz_seeds: no seeds for %s\n", target.c_str());
    return 2;
  }
  if (!seeds.ok)
    std::fprintf(stderr, "make_fuzz_seeds: could not write the seeds into %s\n", argv[2]);
  return seeds.ok ? 0 : 1;
}
