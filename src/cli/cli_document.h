// A data file opened as the window opens it, for the verbs that work on one: the
// configuration, the document started as the window starts it, and a prompter that keeps the
// messages of the open for the verb to print with its result.
#pragma once

#include <string>

#include "cli/collecting_prompter.h"
#include "cli/context.h"
#include "cli/verbs.h"
#include "document/document.h"

namespace qm::cli {

struct CliDocument {
  explicit CliDocument(const Invocation& inv) : cli(inv), doc(cli.app, prompter, *cli.programIni) {}

  // Starts the document (what the start says is not kept) and opens `path` into it; a file
  // that does not load prints its message to stderr and gives false. The messages of the
  // open stay in `prompter`.
  bool open(const std::string& path) {
    doc.Start();
    prompter.messages.clear();
    return OpenDocumentFile(doc, path);
  }

  CliApp cli;
  CollectingPrompter prompter;
  Document doc;
};

}  // namespace qm::cli
