// The data file as text: a TOML file that holds everything a .q83 holds (the image, the
// spare block, the version) with the records written by meaning and every byte the program
// does not interpret as hex rows, so that it converts back to the same bytes. The TOML
// itself is read and written in text_form.cpp alone; `DescribeDataFile` gives the same
// keys and values to other writers (the command line's JSON).
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/app_state.h"
#include "base/prompter.h"
#include "files/data_file.h"
#include "model/image.h"

namespace qm {

// ".toml": editors colour it and every TOML tool reads it, and nothing else of this
// program ends so. Letter case does not matter.
inline constexpr std::string_view kTextFormExtension = ".toml";
bool IsTextFormName(const std::string& path);

// One value by meaning. A field whose bits no meaning reproduces (a tone the radio lacks, a
// BCD byte that is not decimal, a frequency off the raster) is Raw: the field's bits.
struct FormValue {
  enum class Kind : uint8_t { Bool, Int, Real, Text, Raw };
  Kind kind = Kind::Int;
  bool flag = false;
  int64_t number = 0;  // Int; the bits of a Raw field
  double real = 0.0;
  std::string text;
};
struct FormEntry {
  std::string key;
  FormValue value;
};
using FormTable = std::vector<FormEntry>;
struct FormRow {
  uint16_t address = 0;
  std::array<uint8_t, kRowSize> bytes{};
};

struct DataFileForm {
  FormTable file;  // version
  FormTable ident;
  FormTable functions;
  std::vector<FormTable> channels;      // each with its "channel" number first
  std::vector<FormTable> tuneChannels;  // likewise
  FormTable tuneItems;
  FormTable embedded;          // text, write_date, radio_id where text holds them
  std::vector<FormRow> rows;   // image rows: the uninterpreted areas, the bits records carry
  std::vector<FormRow> spare;  // the spare block, offsets 0x00-0x40
};

DataFileForm DescribeDataFile(const Image& image, const SpareBlock& spare, int16_t imageVerMajor,
                              const AppState& app);

// The text form of a data file, UTF-8 with LF line ends.
std::string WriteTextForm(const Image& image, const SpareBlock& spare, int16_t imageVerMajor,
                          const AppState& app);

struct TextFormError {
  int line = 0;     // 1 = first line
  std::string key;  // "channel[3].rx"; empty where no key is at fault
  std::string text;
};

struct TextFormLoad {
  LoadedFile file;  // status Ok: the whole image, spare block and version from the text
  TextFormError error;
};

// Reads a text form through the grid's checks (band of the model its identification names,
// the raster, the tones and codes the radio has). All or nothing: any refusal gives a status
// other than Ok and names its line and key.
TextFormLoad ParseTextForm(std::string_view text, const AppState& app);

// "第12行，channel[3].rx：..." as a message of the file error box.
Message TextFormMessage(const TextFormError& error);

// Any data file by its name: the text form, the legacy format or the current one. The message
// is what the window shows when status is not Ok.
struct AnyLoad {
  LoadedFile file;
  Message message;
};
AnyLoad LoadAnyDataFile(const std::string& path, const Image& current,
                        const SpareBlock& currentSpare, const AppState& app);
// The bytes a save to `path` writes: the text form, or the data file (legacy by name).
std::vector<uint8_t> SerializeAnyDataFile(const std::string& path, const Image& image,
                                          const SpareBlock& spare, int16_t imageVerMajor,
                                          const AppState& app);

}  // namespace qm
