// Process-wide state that start-up owns and every part of the program reads.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "base/tr.h"

namespace qm {

// Title of message boxes that state no title of their own.
inline constexpr const char* kAppTitle = "QM830K";

struct ModelEntry {
  std::string name;
  int16_t code = 0;       // the number the radio reports in the handshake
  double rangeLow = 0.0;  // standard band, MHz
  double rangeHigh = 0.0;
  double extendLow = 0.0;  // extended band, MHz: the limits of every frequency entry
  double extendHigh = 0.0;
};

// The version a radio gives in its identity reply: the major number is the layout generation
// of its memory (2 current, below 2 version-1).
struct RadioVersion {
  uint8_t major = 2;
  uint8_t minor = 0;
  // As the program shows it: each number in uppercase hexadecimal, "2.0", "1.A".
  std::string text() const;
  bool operator==(const RadioVersion&) const = default;
};

struct FontChoice {
  std::string name = QM_NOTR("宋体");
  int size = 8;
  bool bold = false;
  bool italic = false;
};

struct AppState {
  std::string softwareTitle = QM_TR("QM830K编程软件");
  std::string radioSeries = "ZR410 Radio Series";
  std::string iniFile;   // the program's own configuration file
  std::string helpFile;  // the help file (may be empty)
  std::string programDir;

  int16_t modelCount = 2;
  std::vector<ModelEntry> models;  // modelCount entries
  int16_t curModel = 0;
  std::string bandText;

  std::array<bool, 2> showWarning = {true, true};
  RadioVersion radioVersion;  // of the radio last read or tuned

  char decimalSep = '.';
  FontChoice font;

  // The selected model, or an empty entry when the table is empty.
  const ModelEntry& currentModel() const;
  const ModelEntry& model(int index) const;
};

}  // namespace qm
