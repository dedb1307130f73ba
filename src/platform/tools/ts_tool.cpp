// qm830k-ts: two small jobs on the translation source (.ts) that the build and the tests need.
//
//   qm830k-ts catalog FILE.ts OUT.inc
//     Writes the marked texts as C++ initializers {"context", "source"}. The program looks a core
//     text up in this catalog to know its translation context, and fills the numbered places of the
//     templates back in when a composed text is shown.
//   qm830k-ts check FILE.ts [SOURCE_DIR]
//     Fails when a text lacks a finished translation, when a translation loses or adds a
//     numbered place or an accelerator, or when one core text has two different
//     translations. With SOURCE_DIR it also fails on a Chinese string literal in the sources
//     that is neither marked for translation nor marked as deliberately untranslated.
#include <QCoreApplication>
#include <QDirIterator>
#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <QXmlStreamReader>
#include <cstdio>

namespace {

struct Entry {
  QString context;
  QString source;
  QString translation;  // a counting text's forms joined by newlines
  QStringList forms;    // a counting text's forms ("1 channel", "%n channels")
  QString type;         // "", "unfinished", "obsolete", "vanished"
  QString location;     // the first location's file name
  int line = 0;
};

bool ReadTs(const QString& path, QList<Entry>& out) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) {
    std::fprintf(stderr, "qm830k-ts: cannot open %s\n", qPrintable(path));
    return false;
  }
  QXmlStreamReader xml(&f);
  QString context;
  Entry e;
  bool inMessage = false;
  while (!xml.atEnd()) {
    xml.readNext();
    if (xml.isStartElement()) {
      const auto name = xml.name();
      if (name == u"name" && !inMessage) {
        context = xml.readElementText();
      } else if (name == u"message") {
        inMessage = true;
        e = Entry{};
        e.context = context;
      } else if (name == u"location" && inMessage && e.location.isEmpty()) {
        e.location = xml.attributes().value("filename").toString();
        e.line = xml.attributes().value("line").toInt();
      } else if (name == u"source" && inMessage) {
        e.source = xml.readElementText();
      } else if (name == u"translation" && inMessage) {
        e.type = xml.attributes().value("type").toString();
        // Plain text, or one <numerusform> per plural form.
        while (!xml.atEnd() &&
               !(xml.readNext() == QXmlStreamReader::EndElement && xml.name() == u"translation")) {
          if (xml.isCharacters()) e.translation += xml.text();
          if (xml.isStartElement() && xml.name() == u"numerusform")
            e.forms << xml.readElementText();
        }
        if (!e.forms.isEmpty()) e.translation = e.forms.join('\n');
      }
    } else if (xml.isEndElement() && xml.name() == u"message") {
      inMessage = false;
      if (e.type != "obsolete" && e.type != "vanished") out << e;
    }
  }
  if (xml.hasError()) {
    std::fprintf(stderr, "qm830k-ts: %s: %s\n", qPrintable(path), qPrintable(xml.errorString()));
    return false;
  }
  return true;
}

// Every text may reach TrCore: the core's through the prompter and the widgets, and a
// widget's own when it passes through the prompter as well.
bool IsCoreText(const Entry&) { return true; }

// Mirrors IsSharedContext (platform/translation.h): one wording per text in these contexts.
bool IsSharedContext(const QString& c) {
  return !c.startsWith("qm::ui::") && !c.startsWith("Qt") && !c.startsWith("qm::print");
}

QByteArray CLiteral(const QString& s) {
  QByteArray out = "\"";
  for (const char c : s.toUtf8()) {
    const auto u = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (u < 0x20 || u >= 0x7F) {
      out += QByteArray("\\") + QByteArray::number(u, 8).rightJustified(3, '0');
    } else {
      out += c;
    }
  }
  return out + "\"";
}

int Catalog(const QString& ts, const QString& outPath) {
  QList<Entry> entries;
  if (!ReadTs(ts, entries)) return 1;
  QByteArray text = "// Generated from " + ts.section('/', -1).toUtf8() + " by qm830k-ts.\n";
  for (const Entry& e : entries)
    if (IsCoreText(e)) text += "{" + CLiteral(e.context) + ", " + CLiteral(e.source) + "},\n";
  QFile existing(outPath);
  if (existing.open(QIODevice::ReadOnly) && existing.readAll() == text) return 0;
  existing.close();
  QFile out(outPath);
  if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) || out.write(text) != text.size()) {
    std::fprintf(stderr, "qm830k-ts: cannot write %s\n", qPrintable(outPath));
    return 1;
  }
  return 0;
}

QStringList Places(const QString& s) {
  static const QRegularExpression re("%[1-9]");
  QStringList out;
  for (auto it = re.globalMatch(s); it.hasNext();) out << it.next().captured();
  out.sort();
  return out;
}

bool HasAccelerator(const QString& s) {
  static const QRegularExpression re("&[^& ]");
  return s.contains(re);
}

bool IsChinese(QChar c) {
  const char16_t u = c.unicode();
  return (u >= 0x4E00 && u <= 0x9FFF) || (u >= 0x3000 && u <= 0x303F) ||
         (u >= 0xFF00 && u <= 0xFFEF);
}
bool HasChinese(const QString& s) { return std::any_of(s.begin(), s.end(), IsChinese); }

// Chinese string literals of the sources that no marker holds. A literal counts as held when
// the innermost call around it is a translation marker or the marker of deliberately
// untranslated data.
QStringList UnmarkedLiterals(const QString& root) {
  static const QSet<QString> kMarkers = {"tr",         "QM_TR",     "QM_TR_N",          "QM_NOTR",
                                         "QT_TR_NOOP", "translate", "QT_TRANSLATE_NOOP"};
  QStringList problems;
  QDirIterator it(root, {"*.cpp", "*.h"}, QDir::Files, QDirIterator::Subdirectories);
  while (it.hasNext()) {
    const QString path = it.next();
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) continue;
    const QString s = QString::fromUtf8(f.readAll());
    QStringList calls;  // identifier before each open parenthesis
    QString lastIdent;
    int line = 1;
    for (qsizetype i = 0; i < s.size(); ++i) {
      const QChar c = s[i];
      if (c == '\n') {
        ++line;
      } else if (s.mid(i, 2) == "//") {
        while (i < s.size() && s[i] != '\n') ++i;
        --i;
      } else if (s.mid(i, 2) == "/*") {
        const qsizetype end = s.indexOf("*/", i + 2);
        line += s.mid(i, end - i).count('\n');
        i = end + 1;
      } else if (c == '\'' || c == '"') {
        qsizetype j = i + 1;
        while (j < s.size() && s[j] != c) j += s[j] == '\\' ? 2 : 1;
        const QString literal = s.mid(i, j - i + 1);
        if (c == '"' && HasChinese(literal) &&
            (calls.isEmpty() || !kMarkers.contains(calls.last())))
          problems << QString("%1:%2: %3").arg(path).arg(line).arg(literal);
        i = j;
        lastIdent.clear();
      } else if (c.isLetterOrNumber() || c == '_') {
        qsizetype j = i;
        while (j < s.size() && (s[j].isLetterOrNumber() || s[j] == '_')) ++j;
        lastIdent = s.mid(i, j - i);
        i = j - 1;
      } else if (c == '(') {
        calls << lastIdent;
        lastIdent.clear();
      } else if (c == ')') {
        if (!calls.isEmpty()) calls.removeLast();
      } else if (!c.isSpace()) {
        lastIdent.clear();
      }
    }
  }
  return problems;
}

int Check(const QString& ts, const QString& sourceDir) {
  QList<Entry> entries;
  if (!ReadTs(ts, entries)) return 1;
  QStringList problems;
  QHash<QString, QString> coreTranslation;
  for (const Entry& e : entries) {
    const QString where =
        QString("%1:%2 [%3] %4").arg(e.location).arg(e.line).arg(e.context, e.source);
    const QStringList forms = e.forms.isEmpty() ? QStringList{e.translation} : e.forms;
    if (e.type == "unfinished" || forms.contains(QString())) {
      problems << where + ": no finished translation";
      continue;
    }
    for (const QString& form : forms) {
      if (HasChinese(form)) problems << where + ": the translation is still Chinese";
      if (Places(e.source) != Places(form))
        problems << where + ": the numbered places differ (" + form + ")";
      if (HasAccelerator(e.source) != HasAccelerator(form))
        problems << where + ": the accelerator is lost or added (" + form + ")";
    }
    // A counting text needs its forms, and a form for many needs the count.
    if (e.source.contains("%n") && (forms.size() < 2 || !forms.last().contains("%n")))
      problems << where + ": a counting text needs a form for one and one for many with %n";
    if (IsSharedContext(e.context)) {
      auto seen = coreTranslation.constFind(e.source);
      if (seen != coreTranslation.cend() && *seen != e.translation)
        problems << where + ": translated differently elsewhere (" + *seen + ")";
      coreTranslation.insert(e.source, e.translation);
    }
  }
  if (!sourceDir.isEmpty()) {
    for (const QString& p : UnmarkedLiterals(sourceDir))
      problems
          << p + ": Chinese text neither marked for translation (QM_TR, tr) nor as data (QM_NOTR)";
  }
  for (const QString& p : problems) std::fprintf(stderr, "%s\n", qPrintable(p));
  std::printf("%lld texts, %lld problems\n", static_cast<long long>(entries.size()),
              static_cast<long long>(problems.size()));
  return problems.isEmpty() ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const QStringList args = app.arguments();
  if (args.size() == 4 && args[1] == "catalog") return Catalog(args[2], args[3]);
  if ((args.size() == 3 || args.size() == 4) && args[1] == "check")
    return Check(args[2], args.size() == 4 ? args[3] : QString());
  std::fprintf(stderr,
               "usage: qm830k-ts catalog FILE.ts OUT.inc\n"
               "       qm830k-ts check FILE.ts [SOURCE_DIR]\n");
  return 2;
}
