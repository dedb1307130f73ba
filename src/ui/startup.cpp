#include "ui/startup.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>
#include <QLocale>

#include "base/tr.h"
#include "document/config.h"
#include "platform/translation.h"

namespace qm::ui {

QStringList WithoutQtOptions(const QStringList& arguments) {
  // The options QApplication takes out of the command line itself (with one or two dashes,
  // the value after "=" or as the next argument).
  static const QStringList withValue = {
      "platform",    "platformpluginpath", "platformtheme", "plugin", "qwindowgeometry",
      "qwindowicon", "qwindowtitle",       "session",       "style",  "stylesheet",
      "display",     "geometry",           "name",          "title",  "qmljsdebugger"};
  static const QStringList flags = {"reverse", "widgetcount", "nograb", "dograb", "sync"};
  QStringList out;
  for (qsizetype k = 0; k < arguments.size(); ++k) {
    const QString& a = arguments[k];
    if (k == 0 || !a.startsWith('-') || a == "-" || a == "--") {
      out << a;
      continue;
    }
    QString name = a.mid(a.startsWith("--") ? 2 : 1);
    const qsizetype eq = name.indexOf('=');
    if (eq >= 0) name.truncate(eq);
    if (withValue.contains(name)) {
      if (eq < 0) ++k;  // its value
    } else if (!flags.contains(name) || eq >= 0) {
      out << a;
    }
  }
  return out;
}

CommandLine ParseCommandLine(const QStringList& arguments) {
  QCommandLineParser parser;
  parser.setApplicationDescription(
      TrCore(QM_TR("ZR410 系列对讲机编程软件")) + "\n" +
      TrCore(QM_TR("Qt 的标准选项（例如 -style、-platform、-reverse）也可以使用。")));
  // Only the help this program gives: Qt's own --help-all would start the window instead.
  const QCommandLineOption help(QStringList{"h", "help"}, TrCore(QM_TR("显示本帮助后退出。")));
  parser.addOption(help);
  QCommandLineOption device("device", TrCore(QM_TR("串口设备（读频、写频和调测使用）。")), "PATH");
  QCommandLineOption maker("maker-ini", TrCore(QM_TR("厂家配置文件，代替程序目录下的 nrvPC.ini。")),
                           "PATH");
  QCommandLineOption ini("ini", TrCore(QM_TR("程序自己的配置文件（端口和最近的文件）。")), "PATH");
  QCommandLineOption shot("screenshot", TrCore(QM_TR("保存各窗口的截图到目录后退出。")), "DIR");
  QCommandLineOption lang("lang", TrCore(QM_TR("界面语言 / interface language: zh, en")), "zh|en");
  parser.addOptions({device, maker, ini, shot, lang});
  parser.addPositionalArgument(
      "FILE", TrCore(QM_TR("启动后打开的数据文件（.q83、.z410 或文本形式 .toml）。")), "[FILE]");
  CommandLine out;
  // Qt's own options are QApplication's: the window program passes them on untouched.
  if (!parser.parse(WithoutQtOptions(arguments))) {
    out.ok = false;
    out.error = parser.errorText();
    return out;
  }
  out.lang = parser.value(lang);
  if (parser.positionalArguments().size() > 1) {
    out.ok = false;
    out.error = TrCore(QM_TR("只能打开一个数据文件。"));
    return out;
  }
  if (parser.isSet(help)) {
    out.ok = false;
    out.help = true;
    out.error = parser.helpText();
    // Without an application object the parser cannot name the program itself.
    if (!arguments.isEmpty())
      out.error.replace("<executable_name>", QFileInfo(arguments.front()).fileName());
    return out;
  }
  out.device = parser.value(device);
  out.makerIni = parser.value(maker);
  out.ini = parser.value(ini);
  out.screenshot = parser.value(shot);
  if (parser.isSet(lang) && !ParseLanguage(out.lang.toStdString())) {
    out.ok = false;
    out.error = QString::fromStdString(UnknownLanguageText(out.lang.toStdString()));
  }
  if (!parser.positionalArguments().isEmpty()) out.file = parser.positionalArguments().front();
  return out;
}

QString FindChineseFamily() {
  const QStringList preferred = {"WenQuanYi Micro Hei", "Noto Sans CJK SC", "Noto Sans SC",
                                 "Source Han Sans SC",  "SimSun",           QM_NOTR("宋体"),
                                 "Microsoft YaHei",     "AR PL UMing CN",   "Droid Sans Fallback"};
  const QStringList families = QFontDatabase::families(QFontDatabase::SimplifiedChinese);
  for (const QString& f : preferred)
    if (families.contains(f, Qt::CaseInsensitive)) return f;
  return families.isEmpty() ? QString() : families.front();
}

void UseChineseFont() {
  QFont font = QApplication::font();
  // The default face is kept when it already draws Chinese.
  if (QFontDatabase::families(QFontDatabase::SimplifiedChinese).contains(font.family())) return;
  const QString family = FindChineseFamily();
  if (family.isEmpty()) return;
  font.setFamilies({family});
  QApplication::setFont(font);
}

void UseSystemFontsOffscreen() {
#ifdef _WIN32
  if (!qEnvironmentVariable("QT_QPA_PLATFORM").startsWith("offscreen") ||
      qEnvironmentVariableIsSet("QT_QPA_FONTDIR"))
    return;
  const QString windows = qEnvironmentVariable("WINDIR", qEnvironmentVariable("SystemRoot"));
  if (!windows.isEmpty()) qputenv("QT_QPA_FONTDIR", QDir(windows).filePath("Fonts").toLocal8Bit());
#endif
}

char LocaleDecimalSeparator() {
  const QString five = QLocale::system().toString(5.5, 'f', 1);
  if (five.size() >= 2 && five.at(1).unicode() < 128)
    return static_cast<char>(five.at(1).unicode());
  return '.';
}

void LoadConfiguration(const QString& programDir, const CommandLine& cmd, AppState& app,
                       const TextCodec& codec) {
  const std::string dir = programDir.toStdString();
  const std::string maker =
      cmd.makerIni.isEmpty() ? DefaultMakerIniPath(dir) : cmd.makerIni.toStdString();
  LoadStartupConfig(dir, maker, app, codec, cmd.ini.toStdString());
}

}  // namespace qm::ui
