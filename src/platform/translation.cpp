#include "platform/translation.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QLibraryInfo>
#include <QTranslator>
#include <algorithm>
#include <memory>
#include <vector>

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

constexpr int kMaxDepth = 4;

// The place of a counting text's count ("%n").
constexpr int kCountPlace = -1;

// A marked text with numbered places, cut into its literal parts around the places.
struct Template {
  const char* context;
  const char* source;
  QStringList literals;     // one more than places
  std::vector<int> places;  // 0 for %1 ... 8 for %9, kCountPlace for %n
  qsizetype literalLength = 0;
};

class State {
 public:
  State() {
    for (const CatalogEntry* e = kCatalog; e->source; ++e) {
      // The shared wording wins; a widget's or the report's own is the fallback.
      const QByteArray key(e->source);
      if (!contextOf_.contains(key) || IsSharedContext(e->context)) {
        if (!contextOf_.contains(key) || !IsSharedContext(contextOf_.value(key)))
          contextOf_.insert(key, e->context);
      }
      const QString s = QString::fromUtf8(e->source);
      Template t{e->context, e->source, {}, {}, 0};
      QString literal;
      for (qsizetype i = 0; i < s.size(); ++i) {
        const bool numbered = i + 1 < s.size() && s[i + 1] >= '1' && s[i + 1] <= '9';
        const bool count = i + 1 < s.size() && s[i + 1] == 'n';
        if (s[i] == '%' && (numbered || count)) {
          t.literals << literal;
          literal.clear();
          t.places.push_back(count ? kCountPlace : s[i + 1].unicode() - '1');
          ++i;
        } else {
          literal += s[i];
        }
      }
      t.literals << literal;
      if (t.places.empty()) continue;
      for (const QString& l : t.literals) t.literalLength += l.size();
      // A template of places only would split every text; it is no use for matching.
      if (t.literalLength > 0) templates_.push_back(std::move(t));
    }
    // The most specific templates first.
    std::stable_sort(
        templates_.begin(), templates_.end(),
        [](const Template& a, const Template& b) { return a.literalLength > b.literalLength; });
  }

  Language active = Language::Chinese;
  std::vector<std::unique_ptr<QTranslator>> installed;
  QHash<QString, QString> cache;

  QString translate(const QString& text, int depth) {
    if (!HasChinese(text)) return text;
    if (auto hit = cache.constFind(text); hit != cache.cend()) return *hit;
    QString out = translateUncached(text, depth);
    cache.insert(text, out);
    return out;
  }

  // The text in `context`'s own wording when that context has it.
  std::optional<QString> inContext(const QString& text, const char* context) const {
    const QByteArray utf8 = text.toUtf8();
    const QString t = QCoreApplication::translate(context, utf8.constData());
    if (t == text) return std::nullopt;
    return t;
  }

 private:
  std::optional<QString> exact(const QString& text) const {
    const QByteArray utf8 = text.toUtf8();
    auto it = contextOf_.constFind(utf8);
    if (it == contextOf_.cend()) return std::nullopt;
    return QCoreApplication::translate(*it, utf8.constData());
  }

  QString translateUncached(const QString& text, int depth) {
    if (auto t = exact(text)) return *t;
    if (text.contains('\n')) {
      QStringList lines = text.split('\n');
      for (QString& l : lines) l = translate(l, depth);
      return lines.join('\n');
    }
    const QString trimmed = text.trimmed();
    if (!trimmed.isEmpty() && trimmed.size() != text.size()) {
      const qsizetype lead = text.indexOf(trimmed);
      return text.left(lead) + translate(trimmed, depth) + text.mid(lead + trimmed.size());
    }
    if (depth < kMaxDepth) {
      for (const Template& t : templates_) {
        if (auto filled = match(t, text, depth)) return *filled;
      }
    }
    return text;
  }

  // The text as an instance of template t, with its places translated: the first split
  // whose places all translate clear of Chinese, else the first split at all.
  std::optional<QString> match(const Template& t, const QString& text, int depth) {
    if (!text.startsWith(t.literals.front()) || !text.endsWith(t.literals.back())) return {};
    qsizetype from = 0;
    for (const QString& l : t.literals) {
      const qsizetype at = text.indexOf(l, from);
      if (at < 0) return {};
      from = at + l.size();
    }
    std::optional<QStringList> fallback;
    QStringList args;
    std::optional<QStringList> clean;
    split(t, text, 1, t.literals.front().size(), args, depth, clean, fallback);
    const std::optional<QStringList>& chosen = clean ? clean : fallback;
    if (!chosen) return {};
    // A counting text picks its form by the count (the translation puts the count in).
    int count = -1;
    if (const auto c = std::find(t.places.begin(), t.places.end(), kCountPlace);
        c != t.places.end()) {
      bool number = false;
      count = (*chosen)[c - t.places.begin()].toInt(&number);
      if (!number || count < 0) return {};
    }
    QString out = QCoreApplication::translate(t.context, t.source, nullptr, count);
    QString filled;
    for (qsizetype i = 0; i < out.size(); ++i) {
      if (out[i] == '%' && i + 1 < out.size() && out[i + 1] >= '1' && out[i + 1] <= '9') {
        const int k = out[i + 1].unicode() - '1';
        const auto slot = std::find(t.places.begin(), t.places.end(), k);
        if (slot != t.places.end()) {
          filled += (*chosen)[slot - t.places.begin()];
          ++i;
          continue;
        }
      }
      filled += out[i];
    }
    return filled;
  }

  // Tries every way of cutting text[pos..] into the places from `literal` on.
  void split(const Template& t, const QString& text, qsizetype literal, qsizetype pos,
             QStringList& args, int depth, std::optional<QStringList>& clean,
             std::optional<QStringList>& fallback) {
    if (clean) return;
    if (literal == t.literals.size()) {
      if (pos != text.size()) return;
      QStringList translated;
      bool allClean = true;
      for (const QString& a : args) {
        translated << translate(a, depth + 1);
        allClean = allClean && !HasChinese(translated.back());
      }
      if (allClean)
        clean = translated;
      else if (!fallback)
        fallback = translated;
      return;
    }
    const QString& next = t.literals[literal];
    const bool last = literal + 1 == t.literals.size();
    for (qsizetype end = pos + 1; end <= text.size(); ++end) {
      if (last && end != text.size() - next.size()) continue;
      if (!last && text.mid(end, next.size()) != next) continue;
      args << text.mid(pos, end - pos);
      split(t, text, literal + 1, end + next.size(), args, depth, clean, fallback);
      args.removeLast();
      if (clean) return;
    }
  }

  QHash<QByteArray, const char*> contextOf_;
  std::vector<Template> templates_;
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
  s.cache.clear();
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
  const QString q = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
  State& s = S();
  if (s.active == Language::Chinese) return q;
  // A context may word a text that is not Chinese as well (a report heading).
  if (context) {
    if (auto t = s.inContext(q, context)) return *t;
  }
  return s.translate(q, 0);
}

bool IsSharedContext(std::string_view context) {
  return !context.starts_with("qm::ui::") && !context.starts_with("Qt") &&
         !context.starts_with("qm::print");
}

std::string TrCoreUtf8(std::string_view text) { return TrCore(text).toStdString(); }

bool HasChinese(const QString& text) {
  return std::any_of(text.begin(), text.end(), [](QChar c) {
    const char16_t u = c.unicode();
    return (u >= 0x4E00 && u <= 0x9FFF) || (u >= 0x3000 && u <= 0x303F) ||
           (u >= 0xFF00 && u <= 0xFFEF);
  });
}

}  // namespace qm
