// Build step: turns the Markdown user guide into the HTML page the help window shows.
//   qm830k-make-help IN.md OUT.html
#include <QFile>
#include <QGuiApplication>
#include <QRegularExpression>
#include <QTextDocument>
#include <cstdio>

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s IN.md OUT.html\n", argv[0]);
    return 2;
  }
  // Text layout needs a GUI application; nothing is shown.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  QFile in(QString::fromLocal8Bit(argv[1]));
  if (!in.open(QIODevice::ReadOnly)) {
    std::fprintf(stderr, "cannot read %s\n", argv[1]);
    return 1;
  }
  QString markdown = QString::fromUtf8(in.readAll());
  // A line break inside a Chinese sentence is not a word gap: join such lines before the
  // Markdown reader turns the break into a space.
  static const QRegularExpression kCjkBreak(
      QStringLiteral("(?<=[\\x{3000}-\\x{9fff}\\x{ff00}-\\x{ffef}])\\n[ \\t]*"
                     "(?=[\\x{3000}-\\x{9fff}\\x{ff00}-\\x{ffef}])"));
  markdown.replace(kCjkBreak, QString());
  QTextDocument doc;
  doc.setMarkdown(markdown);
  QString html = doc.toHtml();
  // The page states its encoding so that a browser outside the program reads it right too.
  if (!html.contains("charset")) html.replace("<head>", "<head><meta charset=\"utf-8\">");
  QFile out(QString::fromLocal8Bit(argv[2]));
  if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
    std::fprintf(stderr, "cannot write %s\n", argv[2]);
    return 1;
  }
  out.write(html.toUtf8());
  return out.flush() ? 0 : 1;
}
