// Every read kept: a read the user accepted is saved at once, untouched, as a data file in a
// history folder beside the program's own configuration file, so the radio's state before an
// edit is still there when a later write goes wrong or the user never saved the read. The
// oldest files go once the folder holds more than it may. Keeping a read never stops or
// fails the read itself: a folder that cannot take the file is reported once and left be.
#pragma once

#include <cstdint>
#include <ctime>
#include <string>

#include "base/prompter.h"
#include "files/profile.h"
#include "model/image.h"

namespace qm {

// Section and key of the program's configuration file: "1" (the default) keeps every read.
inline constexpr const char* kReadHistorySection = "Extras";
inline constexpr const char* kReadHistoryKey = "ReadHistory";
// The folder's limits; the oldest files are removed beyond either.
inline constexpr size_t kReadHistoryMaxFiles = 500;
inline constexpr uintmax_t kReadHistoryMaxBytes = 200u * 1024u * 1024u;

// "history" in the folder of the configuration file `iniPath`.
std::string ReadHistoryDir(const std::string& iniPath);
bool ReadHistoryEnabled(const ProfileFile& ini);
void SetReadHistoryEnabled(const ProfileFile& ini, bool on);

// "<radio ID>_<YYYYMMDD-HHMMSS>.q83": the ID's letters, digits, "-" and "_" (anything else
// "_"), "radio" when the radio has none.
std::string ReadHistoryFileName(const Image& image, const std::tm& now);

// Removes the oldest data files of `dir` (by modification time, then name) until at most
// maxFiles remain and they take at most maxBytes. Gives how many were removed.
size_t PruneReadHistory(const std::string& dir, size_t maxFiles = kReadHistoryMaxFiles,
                        uintmax_t maxBytes = kReadHistoryMaxBytes);

class ReadHistory {
 public:
  ReadHistory(const ProfileFile& ini, Prompter& prompter) : ini_(ini), prompter_(prompter) {}

  // After an accepted read: saves `image` as it was read (when ReadHistory is on) and prunes
  // the folder. Gives the file written, or an empty text; a failure is told the user the
  // first time only.
  std::string Keep(const Image& image, const std::tm& now);

 private:
  const ProfileFile& ini_;
  Prompter& prompter_;
  bool reported_ = false;
};

}  // namespace qm
