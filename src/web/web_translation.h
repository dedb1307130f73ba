// The page's language: the core's Chinese texts shown in English through the same
// translation file the desktop uses (turned into JSON by the build), found in what is shown
// as the desktop finds them (base/text_translator.h).
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
