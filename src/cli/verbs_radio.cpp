// Verbs that talk to the radio: read, write, embed-read and embed-write. Each runs
// the same link routine the window runs, with the console prompter (--yes answers the
// questions), a sleeping clock and the serial port the port number maps to (or --device).

#include <filesystem>
#include <iostream>
#include <optional>
#include <string>

#include "base/model_table.h"
#include "base/text_util.h"
#include "base/tr.h"
#include "cli/args.h"
#include "cli/console.h"
#include "cli/console_prompter.h"
#include "cli/context.h"
#include "cli/fleet.h"
#include "cli/link_session.h"
#include "cli/trace_option.h"
#include "cli/verbs.h"
#include "document/config.h"
#include "document/document.h"
#include "document/radio_commands.h"
#include "document/read_history.h"
#include "files/data_file.h"
#include "files/data_file_messages.h"
#include "model/defaults.h"
#include "model/embed_areas.h"
#include "platform/sleep_clock.h"
#include "platform/system_serial_port.h"
#include "platform/translation.h"
#include "radio/embed_info.h"
#include "radio/read_radio.h"
#include "radio/write_checks.h"
#include "radio/write_radio.h"

namespace qm::cli {

namespace {

// The progress window on a terminal: the caption when it opens, a percentage while it runs
// (only when stderr is a terminal, so logs stay clean).
class ConsoleProgress : public Progress {
 protected:
  void onOpen() override {
    tty_ = StderrIsTerminal();
    std::cerr << "[" << TrCoreUtf8(title()) << "] " << TrCoreUtf8(caption()) << "\n";
  }
  void onChange(int position) override {
    if (!tty_ || maximum() <= 0) return;
    std::cerr << "\r  " << (100 * position / maximum()) << "%" << std::flush;
  }
  void onClose() override {
    if (tty_) std::cerr << "\r      \r" << std::flush;
  }

 private:
  bool tty_ = false;
};

// The start of a fresh window shows nothing worth printing here.
class QuietPrompter : public Prompter {
 public:
  Answer ask(const Message& m) override {
    return m.buttons == Buttons::Ok ? Answer::Ok : Answer::No;
  }
  WarningAnswer warn(int, const std::string&) override { return {}; }
};

const std::set<std::string> kLinkOptions = {"--port", "--device", "--trace"};

std::set<std::string> With(std::set<std::string> s, std::initializer_list<std::string> more) {
  s.insert(more.begin(), more.end());
  return s;
}

// A radio verb's link with the progress on the terminal.
struct RadioSession : LinkSession {
  ConsoleProgress progress;

  LinkContext context() {
    return LinkContext{line(), clock, *prompter, progress, cli.app, portNumber};
  }
};

// The model the image's code names. When no model in the table has that code the selection
// stays as it was, and naming the selected model would pass it off as the radio's.
std::string ModelOfImage(const AppState& app, const Image& image) {
  const int m = FindModelByCode(app, image.modelCode());
  if (m < 0) return Fill(QM_TR("未知机型（代码 %1）"), {std::to_string(image.modelCode())});
  return app.models[static_cast<size_t>(m)].name;
}

constexpr const char* kReadUsage = "read -o FILE [--port N] [--device PATH] [--trace FILE] [--yes]";
constexpr const char* kWriteUsage =
    "write FILE [--verify] [--backup DIR] [--fleet [--auto] [--log CSV] [--count N] [--roster "
    "CSV]] [--port N] "
    "[--device PATH] [--trace FILE] [--yes]";
constexpr const char* kEmbedReadUsage =
    "embed-read [-o FILE] [--port N] [--device PATH] [--trace FILE]";
constexpr const char* kEmbedWriteUsage =
    "embed-write FILE [--text TEXT] [--port N] [--device PATH] [--trace FILE]";

int Read(const Invocation& inv) {
  Args a(inv.args, With(kLinkOptions, {"-o"}), {"--yes"});
  const auto out = a.value("-o");
  if (!a.ok() || !a.positional().empty() || !out) return Usage(kReadUsage);
  RadioSession s;
  if (!s.setUp(inv, a)) return 2;
  // The window's read over a fresh window's document; the file gets the image as it came.
  Document doc(s.cli.app, *s.prompter, *s.cli.programIni);
  doc.Start();
  ReadHistory history(*s.cli.programIni, *s.prompter);
  RadioCommandSeams seams;
  seams.keepRead = [&history](const Image& read) { history.Keep(read, LocalTimeNow()); };
  if (!ReadRadioIntoDocument(doc, s.context(), seams).accepted()) return 1;
  const Image& image = doc.image;
  std::cerr << "[" << kAppTitle << "] " << TrCoreUtf8(kReadDoneNotice)
            << TrCoreUtf8(s.cli.app.softwareTitle) << " ("
            << TrCoreUtf8(ModelOfImage(s.cli.app, image)) << ", V" << s.cli.app.radioVersion.text()
            << ")\n";
  return SaveOrReport(*out, image, SpareBlock{}) ? 0 : 1;
}

int Write(const Invocation& inv) {
  Args a(inv.args, With(kLinkOptions, {"--backup", "--log", "--count", "--roster"}),
         {"--yes", "--verify", "--fleet", "--auto"});
  if (!a.ok() || a.positional().size() != 1) return Usage(kWriteUsage);
  RadioSession s;
  if (!s.setUp(inv, a)) return 2;
  LoadedFile f;
  if (!LoadOrReport(a.positional()[0], f)) return 1;
  // Opening a file selects the model its image names, as the window's open does.
  ConvertModel(s.cli.app, f.image.modelCode());
  LinkContext ctx = s.context();
  // The technician's options (all off by default): read-back, backup, many radios.
  WriteChecks checks;
  checks.verify = a.flag("--verify");
  checks.backupDir = a.value("--backup").value_or("");
  if (a.flag("--fleet")) {
    const int count = a.intValue("--count", 1, 100000).value_or(0);
    if (!a.ok()) return Usage(kWriteUsage);
    FleetOptions fleet{checks, a.flag("--auto"), a.value("--log").value_or(""), count};
    // A roster that is not right in every row is refused before the first radio.
    std::optional<Roster> roster;
    if (const auto path = a.value("--roster")) {
      roster = LoadRoster(*path);
      if (!roster->ok()) {
        std::cerr << MessageLine(Message{kAppTitle, roster->error, Icon::Exclamation, Buttons::Ok})
                  << "\n";
        return 1;
      }
    }
    return RunFleet(ctx, f.image, f.imageVerMajor, fleet, roster ? &*roster : nullptr, std::cin,
                    std::cout);
  }
  if (a.flag("--auto") || a.value("--log") || a.value("--count") || a.value("--roster"))
    return Usage(kWriteUsage);
  // The window's write of the file it opened: the editors show it and are collected again.
  Document doc(s.cli.app, *s.prompter, *s.cli.programIni);
  doc.Start();
  doc.image = f.image;
  doc.spare = f.spare;
  doc.imageVerMajor = f.imageVerMajor;
  ConvertModel(s.cli.app, doc.image.modelCode());
  doc.modelByte = static_cast<uint8_t>(s.cli.app.curModel);
  doc.DisplayRadioData();
  const CheckedWrite r = WriteDocumentToRadio(doc, ctx, checks, {});
  if (r.backup && r.backup->ok) std::cerr << TrCoreUtf8(QM_TR("备份: ")) << r.backup->path << "\n";
  return r.ok() ? 0 : 1;
}

// Radio fields as terminal text: control characters (C0, DEL and C1, which a terminal may
// act on) become '?', so zero padding or stray bytes never reach the terminal raw.
std::string ForTerminal(std::string_view utf8) {
  std::string out;
  for (size_t i = 0; i < utf8.size(); ++i) {
    const auto c = static_cast<unsigned char>(utf8[i]);
    const auto next = i + 1 < utf8.size() ? static_cast<unsigned char>(utf8[i + 1]) : 0;
    if (c < 0x20 || c == 0x7F) {
      out += '?';
    } else if (c == 0xC2 && next >= 0x80 && next <= 0x9F) {
      out += '?';
      ++i;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

void PrintEmbedInfo(const Image& image) {
  const EmbedLabels l = DisplayEmbedInfo(image);
  // The ID as the fleet log shows it: its zero padding dropped.
  std::cout << TrCoreUtf8(QM_TR("对讲机ID：")) << PrintableRadioId(image.radioId()) << "\n"
            << TrCoreUtf8(QM_TR("最近写频日期：")) << ForTerminal(l.lastTime) << "\n"
            << TrCoreUtf8(QM_TR("用户自定义信息："))
            << ForTerminal(Utf16ToUtf8(EmbedTextFromArea(image))) << "\n";
}

int EmbedRead(const Invocation& inv) {
  Args a(inv.args, With(kLinkOptions, {"-o"}), {"--yes"});
  const auto out = a.value("-o");
  if (!a.ok() || !a.positional().empty()) return Usage(kEmbedReadUsage);
  RadioSession s;
  if (!s.setUp(inv, a)) return 2;

  // With -o an existing data file gets the three areas; a new one starts from the image a
  // fresh window holds.
  Image image;
  SpareBlock spare{};
  int16_t verMajor = 2;
  if (out && std::filesystem::exists(*out)) {
    LoadedFile f;
    if (!LoadOrReport(*out, f)) return 1;
    image = f.image;
    spare = f.spare;
    verMajor = f.imageVerMajor;
  } else if (out) {
    QuietPrompter quiet;
    Document doc(s.cli.app, quiet, *s.cli.programIni);
    doc.Start();
    image = doc.image;
  }
  LinkContext ctx = s.context();
  if (!ReadEmbedInfo(ctx, image, verMajor)) return 1;
  PrintEmbedInfo(image);
  if (out && !SaveOrReport(*out, image, spare)) return 1;
  return 0;
}

int EmbedWrite(const Invocation& inv) {
  Args a(inv.args, With(kLinkOptions, {"--text"}), {"--yes"});
  if (!a.ok() || a.positional().size() != 1) return Usage(kEmbedWriteUsage);
  RadioSession s;
  if (!s.setUp(inv, a)) return 2;
  LoadedFile f;
  if (!LoadOrReport(a.positional()[0], f)) return 1;
  if (const auto text = a.value("--text")) {
    const std::u16string t = Utf8ToUtf16(*text);
    if (t.size() > kEmbedTextChars) {
      std::cerr << "[" << kAppTitle << "] " << TrCoreUtf8(QM_TR("已经达到文本的最大长度。"))
                << "\n";
      return 1;
    }
    CollectEmbedText(t, f.image);
  }
  LinkContext ctx = s.context();
  int16_t verMajor = f.imageVerMajor;
  return WriteEmbedInfo(ctx, f.image, verMajor) ? 0 : 1;
}

const VerbRegistrar kRead{
    {"read", kReadUsage, "read the whole radio into a data file (.q83, or .z410)", Read}};
const VerbRegistrar kWrite{
    {"write", kWriteUsage,
     "write a data file's channels, functions, identification and write date to the radio", Write}};
const VerbRegistrar kEmbedRead{
    {"embed-read", kEmbedReadUsage, "read the radio ID, last write date and user text", EmbedRead}};
const VerbRegistrar kEmbedWrite{{"embed-write", kEmbedWriteUsage,
                                 "write the user text (or the one in FILE) to the radio",
                                 EmbedWrite}};

}  // namespace
}  // namespace qm::cli
