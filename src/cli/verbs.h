// The command-line tool's verbs. Each verb file registers its verbs with a static
// VerbRegistrar, so verbs of different areas live in their own files.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace qm::cli {

struct Options;

// Everything a verb needs: its arguments (after the verb), and the common options.
struct Invocation {
  std::vector<std::string> args;
  std::string makerIni;    // --maker-ini PATH (empty: the installation's file)
  std::string programIni;  // --ini PATH (empty: the program's own file)
};

struct Verb {
  std::string name;
  std::string usage;                          // one line: "show FILE [--json]"
  std::string summary;                        // one line of help
  std::function<int(const Invocation&)> run;  // exit code
};

std::vector<Verb>& VerbTable();

struct VerbRegistrar {
  explicit VerbRegistrar(Verb v) { VerbTable().push_back(std::move(v)); }
};

}  // namespace qm::cli
