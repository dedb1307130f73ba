// The page's language: the core's Chinese texts shown in English through the same
// translation file the desktop uses (turned into JSON by the build), looked up the way the
// desktop looks them up: the exact text in its context, a text of several lines line by line,
// and a text composed from a marked template with its places translated in turn.
#pragma once

#include <string>
#include <string_view>

namespace qm::web {

// Takes the translations (scripts/ts-to-json's form); false when the text is not that.
bool LoadTranslations(std::string_view json);
void SetEnglish(bool english);
bool English();
// A text in the active language; in Chinese the text itself. `context` prefers that context's
// own wording (a widget's, the report's headings).
std::string Tr(std::string_view text, std::string_view context = {});

}  // namespace qm::web
