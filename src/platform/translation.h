// The interface language: which one, loading its translations, and showing the core's texts
// in it.
//
// Chinese is the language the program is written in; English comes from translations/
// qm830k_en.qm. The core keeps its Chinese texts (base/tr.h); the window and the command
// line pass every core text they show through TrCore.
#pragma once

#include <QString>
#include <QStringList>
#include <optional>
#include <string>
#include <string_view>

#include "base/text_translator.h"
#include "base/tr.h"

namespace qm {

enum class Language { Chinese, English };

// "zh" and "en", as --lang, QM830K_LANG and the configuration file spell them.
std::optional<Language> ParseLanguage(std::string_view code);
const char* LanguageCode(Language language);
// For the message that refuses an unknown code.
inline constexpr const char* kLanguageCodes = QM_NOTR("zh (中文), en (English)");

// Where the program keeps the choice: its own configuration file (the window's).
inline constexpr const char* kLanguageSection = "Language";
inline constexpr const char* kLanguageKey = "Language";

class ProfileFile;
// The language kept in the program's configuration file; Chinese when none is kept.
Language ReadLanguage(const ProfileFile& ini);
bool WriteLanguage(const ProfileFile& ini, Language language);

// The refusal of an unknown code, in both languages since neither is known yet.
std::string UnknownLanguageText(std::string_view code);

struct LanguageSetup {
  Language active = Language::Chinese;
  QStringList notes;  // for stderr: a translation file that is missing or damaged
};

// Installs the translators of `wanted` into the running application and makes TrCore
// follow it: the program's own texts (English) and Qt's own dialogs and buttons (Chinese
// from Qt's translations folder). When the program's English file is missing or damaged the
// interface stays Chinese and the notes say why. Translators installed by an earlier call
// are removed first.
LanguageSetup InstallLanguage(Language wanted, const QString& programDir);
Language ActiveLanguage();

// Where the program's own translation file for `language` is looked for: beside the
// program, then in the installed share folder.
QStringList TranslationSearchDirs(const QString& programDir);

// A core text in the active language, found as base/text_translator.h finds it; what has no
// translation is shown as it is. In Chinese mode this is the text itself.
// `context` names the translation context to prefer (a dialog's or the report's own wording
// of a text that reads differently elsewhere); a context may also word a text without Chinese.
QString TrCore(std::string_view text, const char* context = nullptr);
std::string TrCoreUtf8(std::string_view text);

// Whether a text holds Chinese characters (ideographs, CJK punctuation, full-width forms).
bool HasChinese(const QString& text);

}  // namespace qm
