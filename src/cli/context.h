// What every verb starts from: the configuration loaded the way the window loads it.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "base/app_state.h"
#include "cli/verbs.h"
#include "document/document.h"
#include "files/data_file.h"
#include "files/profile.h"
#include "platform/system_text_codec.h"

namespace qm::cli {

struct CliApp {
  CliApp() = default;
  // Loaded as LoadCliApp loads it.
  explicit CliApp(const Invocation& inv);
  CliApp(const CliApp&) = delete;
  CliApp& operator=(const CliApp&) = delete;

  AppState app;
  SystemTextCodec codec;
  std::unique_ptr<ProfileFile> programIni;  // the program's own configuration file
};

// Loads the maker file (--maker-ini or nrvPC.ini beside the program) and names the
// program's configuration file (--ini or the one the maker file names).
void LoadCliApp(const Invocation& inv, CliApp& out);

// Loads a data file over `base` and `baseSpare` (what a legacy file lacks). A failure prints
// the window's message for it to stderr, in the interface language, with the path.
bool LoadOrReport(const std::string& path, LoadedFile& out, const Image& base = Image{},
                  const SpareBlock& baseSpare = SpareBlock{});

// The same for any data file by its name, the text form included, whose checks need the
// model table.
bool LoadOrReport(const AppState& app, const std::string& path, LoadedFile& out,
                  const Image& base = Image{}, const SpareBlock& baseSpare = SpareBlock{});

// The window's open of a data file without the recent-file list: all or nothing, then the
// image selects the model and fills the editors. A failure prints its message to stderr.
bool OpenDocumentFile(Document& doc, const std::string& path);

// Saves the image as Save As does (the legacy format when the name ends in ".z410"); a
// failure prints the window's save error to stderr with the path.
bool SaveOrReport(const std::string& path, const Image& image, const SpareBlock& spare);
// The same for any target by its name: a ".toml" name writes the text form, which keeps
// `imageVerMajor` as its version.
bool SaveOrReport(const AppState& app, const std::string& path, const Image& image,
                  const SpareBlock& spare, int16_t imageVerMajor = 2);
// Writes the bytes as every save does, replacing the file at once; a failure prints the
// window's save error to stderr with the path.
bool WriteOrReport(const std::string& path, std::span<const uint8_t> bytes);

// "usage: qm830k-cli USAGE" on stderr; gives the exit code of a wrong invocation (2).
int Usage(std::string_view usage);

// "[title] text" in the interface language, as the window's message box would show it.
std::string MessageLine(const Message& m);

// Index of a model given as --model INDEX or --model-code N, or -1 with a message.
int ResolveModelOption(const AppState& app, const std::string& option, int value);

}  // namespace qm::cli
