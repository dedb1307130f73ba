#include "platform/translation.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QTranslator>
#include <algorithm>
#include <memory>
#include <vector>

#include "base/text_translator.h"
#include "base/tr.h"
#include "files/profile.h"

namespace qm {

namespace {

struct CatalogEntry {
  const char* context;
  const char* source;
};

// The core's marked texts with their translation contexts, generated from the .ts.
constexpr CatalogEntry kCatalog[] = {
#include "core_texts.inc"
    {nullptr, nullptr}};

// The core's texts looked up in the program's translator. Its presence is asked of the
// translator itself (a null string when it lacks the text); the text then comes from the
// application, which also puts a count in place of "%n".
class State {
 public:
  Language active = Language::Chinese;
  std::vector<std::unique_ptr<QTranslator>> installed;
  TextTranslator texts;

  void follow(const QTranslator* program) {
    std::vector<MarkedText> catalog;
    for (const CatalogEntry* e = kCatalog; e->source; ++e)
      catalog.push_back({e->context, e->source});
    texts.reset(
        catalog,
        [program](std::string_view context, std::string_view source,
                  int count) -> std::optional<std::string> {
          const std::string c(context), s(source);
          if (program->translate(c.c_str(), s.c_str(), nullptr, count).isNull())
            return std::nullopt;
          return QCoreApplication::translate(c.c_str(), s.c_str(), nullptr, count).toStdString();
        });
  }
};

State& S() {
  static State state;
  return state;
}

}  // namespace

std::optional<Language> ParseLanguage(std::string_view code) {
  if (code == "zh" || code == "zh_CN" || code == "zh-CN") return Language::Chinese;
  if (code == "en" || code == "en_US" || code == "en-US" || code == "en_GB")
    return Language::English;
  return std::nullopt;
}

const char* LanguageCode(Language language) { return language == Language::English ? "en" : "zh"; }

Language ReadLanguage(const ProfileFile& ini) {
  return ParseLanguage(ini.read(kLanguageSection, kLanguageKey, "zh")).value_or(Language::Chinese);
}

bool WriteLanguage(const ProfileFile& ini, Language language) {
  return ini.write(kLanguageSection, kLanguageKey, LanguageCode(language));
}

std::string UnknownLanguageText(std::string_view code) {
  return Fill(QM_NOTR("未知的语言 / unknown language: %1 (%2)"), {code, kLanguageCodes});
}

QStringList TranslationSearchDirs(const QString& programDir) {
  return {programDir + "/translations", programDir + "/../share/qm830k/translations"};
}

LanguageSetup InstallLanguage(Language wanted, const QString& programDir) {
  State& s = S();
  for (auto& t : s.installed) QCoreApplication::removeTranslator(t.get());
  s.installed.clear();
  s.texts.reset({}, {});
  s.active = Language::Chinese;

  LanguageSetup out;
  auto install = [&s](std::unique_ptr<QTranslator> t) {
    QCoreApplication::installTranslator(t.get());
    s.installed.push_back(std::move(t));
  };

  if (wanted == Language::English) {
    QString found;
    for (const QString& dir : TranslationSearchDirs(programDir)) {
      if (QFileInfo::exists(dir + "/qm830k_en.qm")) {
        found = QDir::cleanPath(dir + "/qm830k_en.qm");
        break;
      }
    }
    auto t = std::make_unique<QTranslator>();
    if (found.isEmpty()) {
      out.notes << QString("qm830k: qm830k_en.qm not found in %1; the interface stays Chinese.")
                       .arg(TranslationSearchDirs(programDir).join(", "));
    } else if (!t->load(found) || t->isEmpty()) {
      out.notes << QString("qm830k: %1 is damaged; the interface stays Chinese.").arg(found);
    } else {
      s.follow(t.get());
      install(std::move(t));
      s.active = Language::English;
    }
  }
  if (s.active == Language::Chinese) {
    // Qt's own file, print, font and colour dialogs and standard buttons in Chinese.
    auto t = std::make_unique<QTranslator>();
    QStringList dirs = TranslationSearchDirs(programDir);
    dirs << QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    for (const QString& dir : dirs) {
      if (t->load("qtbase_zh_CN", dir) && !t->isEmpty()) {
        install(std::move(t));
        break;
      }
    }
  }
  out.active = s.active;
  return out;
}

Language ActiveLanguage() { return S().active; }

QString TrCore(std::string_view text, const char* context) {
  State& s = S();
  if (s.active == Language::Chinese)
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
  return QString::fromStdString(s.texts.translate(text, context ? context : ""));
}

std::string TrCoreUtf8(std::string_view text) { return TrCore(text).toStdString(); }

bool HasChinese(const QString& text) {
  const std::string utf8 = text.toStdString();
  return HasChinese(std::string_view(utf8));
}

}  // namespace qm
