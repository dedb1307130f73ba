// The interface language in the real windows: with English installed no Chinese character is
// left in the main window, its dialogs, the tune view or a message box; back in Chinese every
// text is exactly what it was before.
#include <functional>
#include <map>

#include "files/data_file_messages.h"
#include "platform/translation.h"
#include "ui/channel_grid.h"
#include "ui/main_window.h"
#include "ui/qt_seams.h"
#include "ui/radio_dialogs.h"
#include "ui/tune_panel.h"
#include "window_rig.h"

using qm::Language;

namespace {

// Every text a widget tree shows, each as "objectName: text" so that two runs compare
// place by place.
QStringList Texts(QWidget* root) {
  QStringList out;
  // The clocks tell the time, which moves on between two runs.
  static const QStringList kClocks = {"lblLastTime", "sbPanel_4", "sbPanel_5"};
  auto add = [&out](const QObject* o, const QString& text) {
    if (!text.isEmpty() && !kClocks.contains(o->objectName())) out << o->objectName() + ": " + text;
  };
  add(root, root->windowTitle());
  QList<QWidget*> widgets = root->findChildren<QWidget*>();
  widgets.prepend(root);
  for (QWidget* w : widgets) {
    add(w, w->toolTip());
    if (auto* l = qobject_cast<QLabel*>(w)) add(w, l->text());
    if (auto* b = qobject_cast<QAbstractButton*>(w)) add(w, b->text());
    if (auto* g = qobject_cast<QGroupBox*>(w)) add(w, g->title());
    if (auto* e = qobject_cast<QLineEdit*>(w)) add(w, e->placeholderText());
    if (auto* m = qobject_cast<QMenu*>(w)) add(w, m->title());
    if (auto* c = qobject_cast<QComboBox*>(w))
      for (int i = 0; i < c->count(); ++i) add(w, c->itemText(i));
    if (auto* t = qobject_cast<QTableWidget*>(w)) {
      for (int c = 0; c < t->columnCount(); ++c)
        if (auto* h = t->horizontalHeaderItem(c)) add(w, h->text() + " | " + h->toolTip());
      for (int r = 0; r < t->rowCount(); ++r)
        for (int c = 0; c < t->columnCount(); ++c)
          if (auto* item = t->item(r, c)) add(w, item->text());
    }
    if (auto* t = qobject_cast<QTreeWidget*>(w)) {
      for (QTreeWidgetItemIterator it(t); *it; ++it) add(w, (*it)->text(0));
    }
  }
  for (QAction* a : root->findChildren<QAction*>()) {
    // Each language names itself in its own words; that is the one Chinese word allowed.
    if (a->objectName() == "mnuLangZh") continue;
    add(a, a->text());
    if (a->toolTip() != QString(a->text()).remove('&')) add(a, a->toolTip());
    add(a, a->statusTip());
  }
  return out;
}

// The language menu names itself in both languages in either interface: the one Chinese
// title the English window keeps.
QStringList Chinese(const QStringList& texts) {
  QStringList out;
  for (const QString& t : texts)
    if (qm::HasChinese(t) && !t.endsWith(": 语言/&Language")) out << t;
  return out;
}

// The texts of the next modal window that `act` opens; the window is closed afterwards.
QStringList ModalTexts(const std::function<void()>& act) {
  QStringList texts;
  qm::uitest::WithModal(
      [&](QWidget* m) {
        texts = Texts(m);
        m->close();
      },
      act);
  return texts;
}

// Every surface the test looks at, by name: the texts it shows.
std::map<QString, QStringList> Surfaces() {
  qm::uitest::Env e;
  std::map<QString, QStringList> out;
  out["main window"] = Texts(e.w.get());
  e.w->tunePanel()->show();
  out["tune view"] = Texts(e.w->tunePanel());
  e.w->tunePanel()->hide();
  out["signal dialog"] = ModalTexts([&] { e.w->channelGrid()->pressCell(1, 4); });
  out["model dialog"] = ModalTexts([&] { e.w->radioInfo(); });
  out["about box"] = ModalTexts([&] { e.w->helpAbout(); });
  out["port dialog"] = ModalTexts([&] { e.w->selectPort(); });
  out["embedded information"] = ModalTexts([&] { e.w->embedInfo(); });
  out["bulk edit"] = ModalTexts([&] { e.w->findChild<QAction*>("mnuEditBulk")->trigger(); });
  out["version warning"] = ModalTexts([] {
    qm::ui::QtPrompter p;
    p.warn(0, "当前要写频的机器为V1.0版，某些功能无效，详情请查看帮助文件！是否继续？ ");
  });
  out["message box"] = ModalTexts([] {
    qm::ui::QtPrompter p;
    p.ask(qm::LoadStatusMessage(qm::LoadStatus::Damaged));
  });
  out["file dialog"] = ModalTexts([] {
    qm::ui::QtFileDialogs d;
    d.openFile(qm::OpenDialogRequest(QDir::tempPath().toStdString()));
  });
  // The scratch folder differs from run to run.
  for (auto& [name, texts] : out) texts.replaceInStrings(e.dir.path(), "DIR");
  return out;
}

}  // namespace

class LanguageWindowTest : public QObject {
  Q_OBJECT
 private slots:
  void initTestCase() { qputenv("XDG_RUNTIME_DIR", QTemporaryDir().path().toUtf8()); }
  void cleanupTestCase() { qm::InstallLanguage(Language::Chinese, QM_BINARY_DIR); }
  void englishHasNoChineseAndChineseComesBackExactly();
  void missingTranslationStaysChinese();
};

void LanguageWindowTest::englishHasNoChineseAndChineseComesBackExactly() {
  QCOMPARE(qm::InstallLanguage(Language::Chinese, QM_BINARY_DIR).active, Language::Chinese);
  const auto before = Surfaces();
  const qm::LanguageSetup en = qm::InstallLanguage(Language::English, QM_BINARY_DIR);
  QVERIFY2(en.notes.isEmpty(), qPrintable(en.notes.join('\n')));
  QCOMPARE(en.active, Language::English);
  const auto english = Surfaces();
  QCOMPARE(qm::InstallLanguage(Language::Chinese, QM_BINARY_DIR).active, Language::Chinese);
  const auto after = Surfaces();

  for (const auto& [name, texts] : english) {
    QVERIFY2(!texts.isEmpty(), qPrintable(name + ": nothing seen"));
    QVERIFY2(Chinese(texts).isEmpty(), qPrintable(name + ":\n" + Chinese(texts).join('\n')));
    QCOMPARE(after.at(name), before.at(name));
    QVERIFY2(!Chinese(before.at(name)).isEmpty(), qPrintable(name + ": no Chinese at all"));
  }
  // Spot checks of the wording, both ways.
  struct Spot {
    const char* surface;
    const char* zh;
    const char* en;
  };
  const Spot spots[] = {
      {"main window", "mnuFile: 文件(&F)", "mnuFile: &File"},
      {"main window", "fraChannel: 信道设置", "fraChannel: Channels"},
      {"main window", "Label1_2: 静噪等级", "Label1_2: Squelch level"},
      {"main window", "gridChan: 信道16", "gridChan: Channel 16"},
      {"main window", "cboRadio_4: 打开", "cboRadio_4: On"},
      {"main window", "mnuLanguage: 语言/Language(&L)", "mnuLanguage: 语言/&Language"},
      {"message box", "qt_msgbox_label: 文件已经毁坏，请确认。",
       "qt_msgbox_label: The file is damaged. Please check."},
      {"file dialog", "dlgCommonDialog: 打开", "dlgCommonDialog: Open"},
      // Qt's own dialogs follow the language too.
      {"file dialog", "fileNameLabel: 文件名称(&N)：", "fileNameLabel: File &name:"},
  };
  for (const Spot& s : spots) {
    QVERIFY2(before.at(s.surface).contains(s.zh), s.zh);
    QVERIFY2(english.at(s.surface).contains(s.en), s.en);
  }
}

void LanguageWindowTest::missingTranslationStaysChinese() {
  // A program folder without translations and one whose file is not a translation at all.
  QTemporaryDir empty;
  QTemporaryDir damaged;
  QDir(damaged.path()).mkpath("translations");
  QFile junk(damaged.path() + "/translations/qm830k_en.qm");
  QVERIFY(junk.open(QIODevice::WriteOnly));
  junk.write("not a translation");
  junk.close();
  for (const QString& dir : {empty.path(), damaged.path()}) {
    const qm::LanguageSetup s = qm::InstallLanguage(Language::English, dir);
    QCOMPARE(s.active, Language::Chinese);
    QCOMPARE(s.notes.size(), 1);
    QCOMPARE(qm::TrCore("文件错误"), QString("文件错误"));
  }
}

QTEST_MAIN(LanguageWindowTest)
#include "language_window_test.moc"
