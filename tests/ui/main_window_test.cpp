// The main window driven as a user drives it: clicks and keys on the real widgets, found by
// their control names, with the message boxes and file dialogs scripted. Among them the edit
// commands: undo and redo by shortcut and menu, row selection with copy, cut, paste and clear
// (keys and the grid's context menu), the bulk edit dialog, and a data file dropped on the
// window or named on its command line; and the interface language: with English installed no
// Chinese character is left in the main window, its dialogs, the tune view or a message box,
// and back in Chinese every text is exactly what it was before.
#include "ui/main_window.h"

#include <QPrinter>
#include <functional>
#include <map>

#include "document/channel_edits.h"
#include "files/chirp_csv.h"
#include "files/data_file_messages.h"
#include "files/recent_files.h"
#include "platform/translation.h"
#include "ui/channel_grid.h"
#include "ui/help_window.h"
#include "ui/qt_seams.h"
#include "ui/radio_dialogs.h"
#include "ui/report_painter.h"
#include "ui/screenshots.h"
#include "ui/small_dialogs.h"
#include "ui/startup.h"
#include "ui/tune_panel.h"
#include "window_rig.h"

using namespace qm::uitest;
using qm::Answer;
using qm::Language;

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

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
    if (auto* t = qobject_cast<QTreeWidget*>(w))
      for (QTreeWidgetItemIterator it(t); *it; ++it) add(w, (*it)->text(0));
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
  WithModal(
      [&](QWidget* m) {
        texts = Texts(m);
        m->close();
      },
      act);
  return texts;
}

// Every surface the test looks at, by name: the texts it shows.
std::map<QString, QStringList> Surfaces(Env& e) {
  std::map<QString, QStringList> out;
  out["main window"] = Texts(e.w.get());
  out["tune view"] = Texts(e.w->tunePanel());
  out["signal dialog"] = ModalTexts([&] { e.w->channelGrid()->pressCell(1, 4); });
  out["model dialog"] = ModalTexts([&] { e.w->radioInfo(); });
  out["about box"] = ModalTexts([&] { e.w->helpAbout(); });
  out["port dialog"] = ModalTexts([&] { e.w->selectPort(); });
  out["embedded information"] = ModalTexts([&] { e.w->embedInfo(); });
  out["bulk edit"] = ModalTexts([&] { e.w->findChild<QAction*>("mnuEditBulk")->trigger(); });
  qm::ui::QtPrompter p;
  qm::ui::QtFileDialogs d;
  out["version warning"] = ModalTexts([&] {
    p.warn(0, "当前要写频的机器为V1.0版，某些功能无效，详情请查看帮助文件！是否继续？ ");
  });
  out["message box"] = ModalTexts([&] { p.ask(qm::LoadStatusMessage(qm::LoadStatus::Damaged)); });
  out["file dialog"] =
      ModalTexts([&] { d.openFile(qm::OpenDialogRequest(QDir::tempPath().toStdString())); });
  // The scratch folder differs from run to run.
  for (auto& [name, texts] : out) texts.replaceInStrings(e.dir.path(), "DIR");
  return out;
}

// The controls of an accessible tree a screen reader reaches (on the screen) that have no
// name, each as "role objectName"; the cells of a table are its own and are left to it.
QStringList Unnamed(QAccessibleInterface* node) {
  static const QSet<QAccessible::Role> kControls = {
      QAccessible::CheckBox,  QAccessible::PushButton, QAccessible::RadioButton,
      QAccessible::ComboBox,  QAccessible::Table,      QAccessible::Tree,
      QAccessible::ScrollBar, QAccessible::Slider,     QAccessible::MenuItem,
      QAccessible::PopupMenu, QAccessible::ToolBar,    QAccessible::EditableText,
      QAccessible::SpinBox,   QAccessible::PageTab,    QAccessible::ButtonMenu};
  QStringList out;
  if (!node || node->state().invisible) return out;
  if (kControls.contains(node->role()) && node->text(QAccessible::Name).trimmed().isEmpty())
    out << QString("%1 %2")
               .arg(node->role())
               .arg(node->object() ? node->object()->objectName() : QString());
  if (node->role() == QAccessible::Table) return out;
  for (int k = 0; k < node->childCount(); ++k) out << Unnamed(node->child(k));
  return out;
}

QAccessibleInterface* Accessible(QObject* o) { return QAccessible::queryAccessibleInterface(o); }

// The WCAG contrast of a cell's text on the background it is drawn on.
double CellContrast(const QTableWidget* grid, const QTableWidgetItem* item) {
  const QBrush back = item->background();
  const QColor under =
      back.style() == Qt::NoBrush ? grid->palette().color(QPalette::Base) : back.color();
  return qm::ContrastRatio(qm::ui::ToRgb(item->foreground().color()), qm::ui::ToRgb(under));
}

}  // namespace

class MainWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void startUpLayoutHelpAndSplash();
  void closePrompt();
  void frequencyEditor();
  void widgetsRenderTheModels();
  void signalDialog();
  void openSaveNewAndRecentFiles();
  void modelChangeAndRejectedValues();
  void commandLine();
  void qtSeams();
  void printing();
  void undoAndRedoByShortcut();
  void rowsCopyPasteAndClear();
  void bulkEditDialog();
  void fileNamedOnTheCommandLineOrDropped();
  void screenReaderNamesAndNotes();
  void gridsReadableInLightAndDarkThemes();
  // Last, as they install the interface languages.
  void englishAndBackByTheMenu();
  void missingTranslationStaysChinese();
  void cleanupTestCase() { qm::InstallLanguage(Language::Chinese, QM_BINARY_DIR); }
};

// The captions are data in the window's code; what is checked here is the state the window,
// its menus and its toolbar start in, its scroll bars, the help command and the splash.
void MainWindowTest::startUpLayoutHelpAndSplash() {
  Env e([](Env& env) { env.ini->write("Comm Port", "Common Port", "5"); });
  QCOMPARE((QStringList{e.w->windowTitle(), e.panel(1), e.panel(2), e.panel(3),
                        e.find<QLabel>("lblRadio")->text()}),
           (QStringList{kTitle, "", "ZR410[440-470/440-470MHz]", "COM 5", "QM830K-U1"}));
  QVERIFY(!e.panel(4).isEmpty() && !e.panel(5).isEmpty() && e.prompter.messages.empty());
  QCOMPARE(e.flags(), qm::EditFlags{});
  // The grid of the start-up model (code 7, 440-470 MHz); channel 16 starts switched off with
  // its transmit inhibited; the function lists show the default function block.
  QTableWidget* g = e.grid();
  QCOMPARE(g->rowCount() * 100 + g->columnCount(), 1609);
  QCOMPARE(
      (QStringList{e.cell(16, 0), e.cell(1, 1), e.find<QComboBox>("cboRadio_10")->currentText()}),
      (QStringList{"信道16", "440.00000", "短按[MONI]键"}));
  QVERIFY(e.off(15) && !e.find<QCheckBox>("chkTx_15")->isEnabled());
  // The check boxes sit on their rows.
  for (int i : {0, 7, 15}) {
    auto* box = e.find<QCheckBox>(QString("chkCH_%1").arg(i));
    const int cellMid = g->viewport()->mapTo(e.w.get(), e.at(i + 1, 1)).y();
    const int boxMid = box->mapTo(e.w.get(), box->rect().center()).y();
    QVERIFY2(std::abs(cellMid - boxMid) <= 2, qPrintable(QString("row %1").arg(i)));
  }
  QVERIFY(!e.action("mnuFileNew")->isEnabled() && e.action("mnuChannel")->isChecked());
  for (int n = 1; n <= 4; ++n) {  // an empty recent entry is hidden with its caption cleared
    QAction* r = e.action(QString("mnuRecentFile_%1").arg(n));
    QVERIFY(r && !r->isVisible() && r->text().isEmpty());
  }
  auto* bar = e.find<QToolBar>("tbToolBar");
  QStringList keys;
  for (QAction* a : bar->actions())
    if (!a->isSeparator()) keys << bar->widgetForAction(a)->objectName();
  QCOMPARE(keys, (QStringList{"Open", "Save", "Print", "Read", "COMport", "Write"}));

  // The scroll bars follow the window's size.
  auto* picture = e.find<QWidget>("Picture1");
  auto* h = e.find<QScrollBar>("HScroll1");
  auto* v = e.find<QScrollBar>("VScroll1");
  e.w->resize(picture->width() + 100, picture->height() + 200);
  QTest::qWait(20);
  QVERIFY(!h->isVisible() && !v->isVisible() && picture->pos().x() == 0);
  e.w->resize(picture->width() / 2, picture->height() / 2);
  QTest::qWait(20);
  QVERIFY(h->isVisible() && v->isVisible() && h->maximum() > 0 && v->maximum() > 0);
  h->setValue(h->maximum());
  QCOMPARE(picture->pos().x(), -h->maximum());

  // No guide beside the program: the message, titled with the caption.
  e.action("mnuHelpContents")->trigger();
  QCOMPARE(e.texts(), Said{"无法显示帮助文件，没有相应的帮助文件与该软件关联。"});
  QVERIFY(Q(e.prompter.messages[0].title) == kTitle &&
          e.prompter.messages[0].icon == qm::Icon::Information);
  e.prompter.clear();
  QVERIFY(
      WriteBytes(Q(e.app.helpFile),
                 "<html><body><h1>目录</h1><p>读频之前先选择端口。</p><p>写频</p></body></html>"));
  QVERIFY(e.asks(Answer::Ok, [&] { e.action("mnuHelpContents")->trigger(); }).empty());
  qm::ui::HelpWindow* help = e.w->helpWindow();
  QVERIFY(help && help->isVisible() &&
          help->findChild<QTextBrowser*>("txtHelp")->toPlainText().contains("选择端口"));
  e.action("mnuHelpSearchForHelpOn")->trigger();
  QVERIFY(help->find("写频") && !help->find("不存在的词"));

  // The splash names the series and the program; Timer1 closes it when it is still up 1200 ms
  // after the load.
  e.app.radioSeries = "ZR410 Radio Series";
  qm::ui::FrmFlash splash(e.app);
  splash.show();
  QVERIFY(QTest::qWaitForWindowExposed(&splash));
  QCOMPARE(splash.findChild<QLabel*>("Label1")->text() + " / " +
               splash.findChild<QPushButton*>("Command1")->text(),
           "ZR410 Radio Series / " + kTitle);
  e.w->start(&splash);
  QTest::qWait(600);
  QVERIFY(splash.isVisible());
  QTRY_VERIFY_WITH_TIMEOUT(!splash.isVisible(), 2000);

  // Closing the main window closes the help window too.
  QVERIFY(e.w->close() && !e.w->isVisible());
  QVERIFY(e.w->helpWindow() == nullptr || !e.w->helpWindow()->isVisible());
}

// The answers' rules are the document's; here the window follows a cancel (it stays, with the
// edit), a yes whose save dialog is cancelled (it stays too: the data is not lost) and a no.
void MainWindowTest::closePrompt() {
  for (const Answer answer : {Answer::Cancel, Answer::Yes, Answer::No}) {
    Env e;
    e.click(1, 5);
    e.prompter.answer(answer);
    e.doc().setPortNumber(9);
    e.w->close();
    const bool closed = answer == Answer::No;
    QCOMPARE(e.w->isVisible(), !closed);
    QCOMPARE(e.texts(), Said{"数据没有保存，是否要保存？"});
    QCOMPARE(e.dialogs.saved.size(), size_t(answer == Answer::Yes ? 1 : 0));
    if (!closed) QCOMPARE(e.cell(1, 5), QString("删除"));
    // Closing writes the port back; staying open writes nothing.
    QCOMPARE(Q(e.ini->read("Comm Port", "Common Port", "none")), QString(closed ? "9" : "none"));
  }
}

void MainWindowTest::frequencyEditor() {
  Env e;
  QTableWidget* g = e.grid();
  QLineEdit* ed = e.editor();
  // A press opens the editor over the cell with the cell's text selected.
  e.click(1, 1);
  QVERIFY(ed->isVisible() && ed->selectedText() == "440.00000");
  QCOMPARE(ed->geometry(), g->visualItemRect(g->item(0, 1)));
  // Letters are discarded, a comma becomes the decimal separator, the cell follows at once.
  ed->selectAll();
  QTest::keyClicks(ed, "4a50,12x5");
  QCOMPARE(ed->text() + " " + e.cell(1, 1), QString("450.125 450.125"));
  QVERIFY(e.flags().dataChanged);
  QTest::keyClick(ed, Qt::Key_Return);
  QVERIFY(!ed->isVisible() && e.prompter.messages.empty());
  QCOMPARE(e.cell(1, 1), QString("450.12500"));
  QCOMPARE(g->currentColumn(), 2);  // on to the signalling cell

  // A digit typed on the cell starts the editor with that digit; 5 MHz is out of band.
  g->setCurrentCell(1, 3);
  QTest::keyClick(g, '5');
  QVERIFY(ed->isVisible() && ed->text() == "5" && ed->cursorPosition() == 1);
  QTest::keyClick(ed, Qt::Key_Return);
  QCOMPARE(e.texts(), Said{"频率超过范围！"});
  QCOMPARE(e.cell(2, 3), QString("440.00000"));  // the band edge

  // Escape restores the text the cell had when the editor opened.
  g->setCurrentCell(2, 1);
  QTest::keyClick(g, '4');
  QTest::keyClicks(ed, "46");
  QCOMPARE(e.cell(3, 1), QString("446"));
  QTest::keyClick(ed, Qt::Key_Escape);
  QVERIFY(!ed->isVisible() && e.cell(3, 1) == "440.00000");

  // A click on the status bar, a panel, the form, the scan frame or the toolbar applies the
  // pending edit.
  int row = 4;
  for (const char* target : {"sbStatusBar", "sbPanel_1", "Picture1", "frmScan", "tbToolBar"}) {
    e.click(row, 3);
    QTest::keyClicks(ed, "445.5");
    QTest::mouseClick(e.find<QWidget>(target), Qt::LeftButton, {}, QPoint(2, 2));
    QVERIFY2(!ed->isVisible(), target);
    QCOMPARE(e.cell(row++, 3), QString("445.50000"));
  }
}

// The grid and the lists render the editor models and forward the user's presses, keys and
// clicks; the rules behind them (which cells a switched-off channel or an inhibited transmit
// locks, the colours' cycle) are the models' tests. Each step is a user action and what the
// window then shows in one cell.
void MainWindowTest::widgetsRenderTheModels() {
  Env e;
  using qm::CellColor;
  struct Step {
    const char* what;
    std::function<void()> act;
    int row, col;
    const char* text;
    CellColor color;
    const char* note;  // the cell's accessible description
  };
  const std::vector<Step> steps = {
      {"press toggles scan", [&] { e.click(2, 5); }, 2, 5, "删除", CellColor::Inactive, ""},
      {"space on the cell acts as a press", [&] { e.key(Qt::Key_Space); }, 2, 5, "添加",
       CellColor::Active, ""},
      {"radio-wide narrow greys the column", [&] { e.choose("cboRadio_9", 1); }, 1, 8, "宽带",
       CellColor::GreyText, "整机为窄带，此列不起作用"},
      {"switched off: button face", [&] { Click(e.find<QCheckBox>("chkCH_0")); }, 1, 1, "440.00000",
       CellColor::ButtonFace, "此信道已关闭"},
      {"transmit inhibited", [&] { Click(e.find<QCheckBox>("chkTx_2")); }, 3, 3, "440.00000",
       CellColor::ButtonFace, "此信道禁止发射"},
      {"the receive side of an inhibited row", [] {}, 3, 1, "440.00000", CellColor::Black, ""},
  };
  const qm::ThemeColors theme = qm::ui::ThemeOf(e.grid()->palette());
  for (const Step& s : steps) {
    s.act();
    const QTableWidgetItem* item = e.grid()->item(s.row - 1, s.col);
    QVERIFY2(e.cell(s.row, s.col) == QString::fromUtf8(s.text), s.what);
    QVERIFY2(qm::ui::ToRgb(e.color(s.row, s.col)) == qm::LookOf(s.color, false, theme).text,
             s.what);
    QVERIFY2(item->data(Qt::AccessibleDescriptionRole).toString() == QString::fromUtf8(s.note),
             s.what);
  }
  QVERIFY(e.flags().dataChanged && e.flags().functionsChanged);
  // No editor over a dead cell; Enter walks on to the next row.
  e.click(2, 1);
  e.click(3, 3);
  QVERIFY(!e.editor()->isVisible());
  e.grid()->setCurrentCell(3, 8);
  QTest::keyClick(e.grid(), Qt::Key_Return);
  QCOMPARE(e.grid()->currentRow() * 10 + e.grid()->currentColumn(), 41);

  // The monitor list is rebuilt when the power selection key changes.
  auto* monitor = e.find<QComboBox>("cboRadio_0");
  e.choose("cboRadio_10", 2);  // 长按[MONI]键
  QCOMPARE(monitor->count(), 2);
  QCOMPARE(monitor->currentText() + monitor->itemText(1), QString("关闭监听功能稳态无条件监听"));
}

// The signalling dialog opened from a cell: what it shows, its controls, OK, Cancel and Escape. The
// entry rules and their messages are the signal entry's tests; here the dialog checks a code
// when its list loses the focus, and an empty tone when OK runs.
void MainWindowTest::signalDialog() {
  Env e;
  // The cell's text after `act` ran in the dialog opened on it, with a note where the cell was
  // not marked while the dialog was up, or stayed marked after it.
  const auto run = [&](int row, int col, const char* start,
                       const std::function<void(QWidget*)>& act) {
    e.doc().editors().channels().setCellText(row, col, start);
    e.w->refreshAll();
    e.flags().dataChanged = false;
    e.prompter.clear();
    const auto back = [&] { return e.grid()->item(row - 1, col)->background().color(); };
    QColor during;
    WithModal(
        [&](QWidget* m) {
          during = back();
          act(m);
        },
        [&] { e.click(row, col); });
    return e.cell(row, col) + (during == QColor(255, 255, 0) ? "" : " (not marked)") +
           (back() == e.grid()->palette().color(QPalette::Base) ? "" : " (marked)");
  };
  const auto button = [](QWidget* m, const char* name) {
    QTest::mouseClick(m->findChild<QAbstractButton*>(name), Qt::LeftButton);
  };
  // An inverted code shown as such, and cleared.
  QCOMPARE(
      run(1, 4, "-DCS 754",
          [&](QWidget* m) {
            auto* invert = m->findChild<QCheckBox*>("chkChRxDQT");
            QVERIFY(m->findChild<QRadioButton*>("optChRxdec_2")->isChecked());
            QVERIFY(invert->isChecked() && !m->findChild<QComboBox*>("cboChRxQT")->isEnabled());
            QCOMPARE(m->findChild<QComboBox*>("cboChRxDQT")->currentText(), QString("754"));
            button(m, "chkChRxDQT");
            button(m, "cmdOK");
          }),
      QString("DCS 754"));
  QVERIFY(e.flags().dataChanged);
  // Off to a tone from the list.
  QCOMPARE(run(2, 4, "OFF",
               [&](QWidget* m) {
                 auto* tone = m->findChild<QComboBox*>("cboChRxQT");
                 button(m, "optChRxdec_1");
                 QVERIFY(tone->isEnabled() &&
                         !m->findChild<QComboBox*>("cboChRxDQT")->isEnabled() &&
                         !m->findChild<QCheckBox*>("chkChRxDQT")->isEnabled());
                 tone->setCurrentIndex(7);
                 emit tone->activated(7);
                 button(m, "cmdOK");
               }),
           QString("CTC 88.5"));
  // Escape in either list cancels the dialog, with no check of the half-typed entry.
  for (const auto& k : {std::pair{"CTC 88.5", "cboChRxQT"}, std::pair{"DCS 023", "cboChRxDQT"}}) {
    bool closed = false;
    QCOMPARE(run(4, 4, k.first,
                 [&](QWidget* m) {
                   auto* box = m->findChild<QComboBox*>(k.second);
                   QVERIFY(box && box->isEnabled());
                   box->lineEdit()->setFocus();
                   QTest::keyClicks(box->lineEdit(), "1");
                   QTest::keyClick(box->lineEdit(), Qt::Key_Escape);
                   closed = !m->isVisible();
                   if (!closed) m->close();
                 }),
             QString(k.first));
    QVERIFY2(closed && e.prompter.messages.empty() && !e.flags().dataChanged, k.second);
  }
  // Cancel leaves the cell.
  QCOMPARE(run(3, 4, "DCS 023", [&](QWidget* m) { button(m, "cmdCancel"); }), QString("DCS 023"));
  QVERIFY(!e.flags().dataChanged);

  // A code with an 8 in it is refused as the list loses the focus; an empty tone when OK runs,
  // and the dialog then closes with the last accepted tone.
  std::vector<std::string> onLeave;
  QString restored;
  bool hadFocus = false;
  const QString result = run(1, 2, "DCS 023", [&](QWidget* m) {
    auto* code = m->findChild<QComboBox*>("cboChRxDQT");
    // The offscreen platform activates windows late; the check runs on a real focus change, so
    // wait until the list really has the focus.
    for (int k = 0; k < 100 && !code->hasFocus(); ++k) {
      m->activateWindow();
      code->setFocus(Qt::TabFocusReason);
      QTest::qWait(10);
    }
    hadFocus = code->hasFocus();
    code->lineEdit()->selectAll();
    QTest::keyClicks(code, "0x18");  // letters never get in
    QCOMPARE(code->currentText(), QString("018"));
    m->findChild<QCheckBox*>("chkChRxDQT")->setFocus(Qt::TabFocusReason);
    onLeave = e.texts();
    restored = code->currentText();
    QVERIFY(m->isVisible());
    e.prompter.clear();
    button(m, "optChRxdec_1");
    m->findChild<QComboBox*>("cboChRxQT")->setEditText("");
    button(m, "cmdOK");
  });
  QVERIFY(hadFocus);
  QCOMPARE(onLeave, Said{"DCS 数据无效！"});
  QCOMPARE(restored, QString("023"));
  QCOMPARE(e.texts(), Said{"CTC数据无效！"});
  QCOMPARE(result, QString("CTC 67.0"));
}

void MainWindowTest::openSaveNewAndRecentFiles() {
  Env e;
  const QString file = e.path("job.q83");
  // Save As from the start-up state writes the file and names it in the caption.
  e.click(3, 5);
  e.dialogs.choose(file.toStdString());
  e.action("mnuFileSaveAs")->trigger();
  QVERIFY(QFile::exists(file));
  QCOMPARE(e.w->windowTitle(), kTitle + file);
  QVERIFY(e.action("mnuFileNew")->isEnabled());
  QVERIFY(e.action("mnuRecentFile_1")->isVisible());
  QCOMPARE(e.action("mnuRecentFile_1")->text(), " 1 " + file);
  // Save goes to the caption's file without a dialog.
  e.click(3, 7);
  QTest::keySequence(e.w.get(), QKeySequence("Ctrl+S"));
  QCOMPARE(e.dialogs.saved.size(), size_t{1});
  QVERIFY(!e.flags().dataChanged);
  // Ctrl+N reaches New (its rules are the document's) and the window shows the result.
  const Said unsaved{"数据没有保存，是否要保存数据？"};
  e.click(2, 5);
  QCOMPARE(e.asks(Answer::No, [&] { QTest::keySequence(e.w.get(), QKeySequence("Ctrl+N")); }),
           unsaved);
  QCOMPARE(e.w->windowTitle(), kTitle);
  QCOMPARE(e.cell(2, 5), QString("添加"));
  QVERIFY(!e.action("mnuFileNew")->isEnabled());

  // The toolbar's Open shows the file through the dialog; once the file has gone, its recent
  // entry gives the message and leaves the menu.
  const auto open = [&] {
    e.dialogs.choose(file.toStdString());
    QTest::mouseClick(e.find<QToolButton>("Open"), Qt::LeftButton);
  };
  QVERIFY(e.asks(Answer::No, open).empty());
  QCOMPARE(e.w->windowTitle(), kTitle + file);
  QCOMPARE(e.cell(3, 5) + e.cell(3, 7), QString("删除低"));
  // Over an edit not yet saved, a recent entry and Open (before its dialog) ask first as New
  // does: Cancel keeps the edit.
  e.click(4, 5);
  QCOMPARE(e.asks(Answer::Cancel, [&] { e.action("mnuRecentFile_1")->trigger(); }), unsaved);
  QCOMPARE(e.asks(Answer::Cancel, open), unsaved);
  QCOMPARE(e.cell(4, 5), QString("删除"));
  QVERIFY(QFile::remove(file));
  QCOMPARE(e.asks(Answer::No, [&] { e.action("mnuRecentFile_1")->trigger(); }),
           (Said{unsaved[0], "文件不存在，请确认！"}));
  QVERIFY(!e.action("mnuRecentFile_1")->isVisible());
}

// The dialog and what the window shows after Yes; the answers' rules are the document's.
void MainWindowTest::modelChangeAndRejectedValues() {
  Env e;
  e.click(1, 5);
  e.prompter.answer(Answer::Yes);
  QStringList seen;
  e.modal("mnuRadioInfo", [&](QWidget* m) {
    auto* box = m->findChild<QComboBox*>("cboModel");
    seen << QString::number(box->count()) << box->currentText()
         << m->findChild<QLabel*>("lblCPU")->text();
    box->setCurrentIndex(0);
    emit box->activated(0);
    seen << m->findChild<QLabel*>("lblFreqBand")->text();
    QTest::mouseClick(m->findChild<QPushButton*>("CmdOK"), Qt::LeftButton);
  });
  QCOMPARE(seen, (QStringList{"6", "QM830K-U1", "V2.0", "136-154/136-154MHz"}));
  QCOMPARE(e.prompter.messages.size(), size_t{1});
  QCOMPARE(
      (QStringList{e.cell(1, 1), e.cell(1, 5), e.panel(2), e.find<QLabel>("lblRadio")->text()}),
      (QStringList{"136.00000", "添加", "ZR410[136-154/136-154MHz]", "QM830K-V1"}));
  QVERIFY(!e.action("mnuFileNew")->isEnabled());

  // Choosing the model already selected asks nothing.
  e.prompter.clear();
  e.modal("mnuRadioInfo", [](QWidget* m) { Click(m->findChild<QPushButton*>("CmdOK")); });
  QVERIFY(e.prompter.messages.empty());

  // The checks' messages are the function block's tests; here a rejected value shows red.
  // A file whose squelch level (function byte 11) is 12 and transmit time-out (byte 7) 0x31.
  qm::Image image = e.doc().image;
  image.functions()[11] = 12;
  image.functions()[7] = 0x31;
  e.dialogs.choose(e.saveDataFile("bad-functions.q83", image).toStdString());
  e.action("mnuFileOpen")->trigger();
  QCOMPARE(e.texts(), (Said{"发射限时错误！", "静噪等级错误！"}));
  auto* squelch = e.find<QComboBox>("cboRadio_5");
  auto* timeout = e.find<QComboBox>("cboRadio_1");
  QVERIFY(MarkedRed(squelch->palette().color(QPalette::ButtonText)));
  QVERIFY(!squelch->accessibleDescription().isEmpty());                 // the mark is told as well
  QVERIFY(!MarkedRed(timeout->palette().color(QPalette::ButtonText)));  // that check only reports
  QCOMPARE(timeout->currentText(), QString("60秒"));  // the previous selection stays
  // A new choice takes the mark away.
  e.choose("cboRadio_5", 3);
  QVERIFY(!MarkedRed(squelch->palette().color(QPalette::ButtonText)));
  QVERIFY(squelch->accessibleDescription().isEmpty());
}

void MainWindowTest::commandLine() {
  const qm::ui::CommandLine c = qm::ui::ParseCommandLine(
      {"qm830k", "--device", "/dev/ttyUSB0", "--maker-ini", "/opt/m.ini", "--ini", "/tmp/q.ini"});
  QVERIFY(c.ok);
  QCOMPARE((QStringList{c.device, c.makerIni, c.ini}),
           (QStringList{"/dev/ttyUSB0", "/opt/m.ini", "/tmp/q.ini"}));
  // At most one data file, among the options or after them.
  struct Case {
    QStringList args;
    bool ok;
    QString file;
  };
  const Case cases[] = {
      {{"qm830k", "--bogus"}, false, ""},
      {{"qm830k", "--device"}, false, ""},
      {{"qm830k", "radio.q83"}, true, "radio.q83"},
      {{"qm830k", "--device", "/dev/ttyUSB0", "旧 数据.z410"}, true, "旧 数据.z410"},
      {{"qm830k", "a.q83", "b.q83"}, false, ""},
      // Qt's own options are QApplication's, with their values; its help-all is not offered.
      {{"qm830k", "-style", "Fusion", "-reverse", "--platform=offscreen", "a.q83"}, true, "a.q83"},
      {{"qm830k", "--help-all"}, false, ""},
  };
  for (const Case& k : cases) {
    const qm::ui::CommandLine cmd = qm::ui::ParseCommandLine(k.args);
    QCOMPARE(cmd.ok, k.ok);
    QCOMPARE(cmd.file, k.file);
  }
  const qm::ui::CommandLine help = qm::ui::ParseCommandLine({"qm830k", "--help"});
  QVERIFY(help.help && help.error.contains("--device") && !help.error.contains("help-all"));
}

void MainWindowTest::qtSeams() {
  // The real message box: title, text, icon and the three answers' buttons.
  qm::ui::QtPrompter prompter;
  QStringList box;
  Answer got = Answer::Ok;
  WithModal(
      [&](QWidget* m) {
        auto* b = qobject_cast<QMessageBox*>(m);
        box << b->windowTitle() << b->text() << QString::number(b->icon())
            << QString::number(b->buttons().size());
        for (QAbstractButton* button : b->buttons())
          if (button->text().startsWith("否")) button->click();
      },
      [&] {
        got = prompter.ask(
            {"QM830K", "数据没有保存，是否要保存？", qm::Icon::Question, qm::Buttons::YesNoCancel});
      });
  QCOMPARE(box, (QStringList{"QM830K", "数据没有保存，是否要保存？",
                             QString::number(QMessageBox::Question), "3"}));
  QVERIFY(got == Answer::No);
  // Closing the box without a button is the safe answer.
  WithModal([](QWidget* m) { m->close(); },
            [&] {
              got = prompter.ask({"提示", "?", qm::Icon::Exclamation, qm::Buttons::YesNo});
            });
  QVERIFY(got == Answer::No);

  // The file dialogs carry the titles and filters of the requests; cancelling gives nothing.
  QCOMPARE(
      qm::ui::NameFilters(qm::OpenDialogRequest("/tmp")),
      (QStringList{"Data Files (*.q83)", "Old Files (*.z410)", "文本形式的数据文件 (*.toml)"}));
  std::optional<std::string> chosen = std::string("x");
  const QStringList saveAs = ModalTexts(
      [&] { chosen = qm::ui::QtFileDialogs().saveFile(qm::SaveAsDialogRequest("/tmp", "")); });
  QVERIFY(saveAs.contains("dlgCommonDialog: 另存为") && !chosen.has_value());
}

// The text of a PDF as pdftotext reads it, runs of spaces squeezed.
QString PdfText(const QString& pdf) {
  QProcess p;
  p.start(QStandardPaths::findExecutable("pdftotext"), {"-layout", "-enc", "UTF-8", pdf, "-"});
  if (!p.waitForFinished(30000) || p.exitCode() != 0) return {};
  return QString::fromUtf8(p.readAllStandardOutput()).simplified();
}

// The reports' layout is the report tests'; here the commands reach them.
void MainWindowTest::printing() {
  if (QStandardPaths::findExecutable("pdftotext").isEmpty()) QSKIP("pdftotext is not installed");
  Env e;
  e.click(3, 5);  // channel 3: scan "添加" -> "删除", not yet in the image
  // Cancelling the printer dialog prints nothing and collects nothing; a printer chosen: the
  // edits are collected first, and the edit not yet in the image is on paper.
  const QString printed = e.path("printed.pdf");
  int asked = 0;
  e.w->choosePrinter = [&](QPrinter& printer) {
    if (++asked == 1) return false;
    qm::ui::ConfigurePdfPrinter(printer, printed);
    return true;
  };
  e.action("mnuFilePrint")->trigger();
  QVERIFY(asked == 1 && !e.doc().image.channel(2).scanDeleted());
  QTest::mouseClick(e.find<QToolButton>("Print"), Qt::LeftButton);
  QCOMPARE(asked, 2);
  QVERIFY(e.doc().image.channel(2).scanDeleted());
  const QString text = PdfText(printed);
  QVERIFY2(text.contains("信道3 440.00000 OFF 440.00000 OFF 删除"), qPrintable(text));

  // Export to PDF through the file dialog seam; a cancelled dialog writes nothing.
  const QString exported = e.path("report.pdf");
  e.dialogs.cancel().choose(exported.toStdString());
  e.action("mnuFileExportPdf")->trigger();
  QVERIFY(!QFile::exists(exported));
  e.action("mnuFileExportPdf")->trigger();
  QCOMPARE(e.dialogs.saved.back().title, std::string("导出PDF"));
  QVERIFY(PdfText(exported).contains("信道16为空。"));
  QVERIFY(e.prompter.messages.empty());
  // A PDF that cannot be written is reported, not passed over.
  e.dialogs.choose(e.path("no-such-folder/report.pdf").toStdString());
  e.action("mnuFileExportPdf")->trigger();
  QCOMPARE(e.prompter.messages.size(), size_t{1});
  // Printed is not saved: leaving still asks about the edit.
  QVERIFY(e.closeAsksToSave());
}

void MainWindowTest::undoAndRedoByShortcut() {
  Env e;
  QVERIFY(!e.action("mnuEditUndo")->isEnabled());
  e.click(3, 7);  // power: 高 -> low
  QCOMPARE(e.action("mnuEditUndo")->text(), QString("撤销 修改信道3发射功率(&U)"));
  // A typed frequency still open in its cell is applied before a menu names the step, so the
  // label is the step a click takes back: the menu bar's menu (row 2), the context menu (row 4).
  auto* editMenu = e.find<QMenu>("mnuEdit");
  for (int row : {2, 4}) {
    e.click(row, 1);
    QTest::keyClicks(e.editor(), "441.5");
    if (row == 2)
      QTest::mouseClick(e.w->menuBar(), Qt::LeftButton, {},
                        e.w->menuBar()->actionGeometry(editMenu->menuAction()).center());
    else
      e.contextMenu(9, 3);
    QTRY_VERIFY(!e.editor()->isVisible());
    QCOMPARE(e.cell(row, 1), QString("441.50000"));
    QCOMPARE(e.action("mnuEditUndo")->text(), QString("撤销 修改信道%1接收频率(&U)").arg(row));
    editMenu->close();
    e.find<QMenu>("mnuEditPopup")->close();
  }
  e.key(Qt::Key_Z, Qt::ControlModifier);
  QCOMPARE(e.cell(4, 1), QString("440.00000"));
  e.key(Qt::Key_Z, Qt::ControlModifier);
  e.key(Qt::Key_Z, Qt::ControlModifier);
  QCOMPARE(e.cell(2, 1) + e.cell(3, 7), QString("440.00000高"));
  QVERIFY(!e.flags().dataChanged);  // as before the first edit
  QCOMPARE(e.action("mnuEditRedo")->text(), QString("重做 修改信道3发射功率(&R)"));
  e.key(Qt::Key_Y, Qt::ControlModifier);
  e.key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
  QCOMPARE(e.cell(2, 1) + e.cell(3, 7), QString("441.50000低"));
  QVERIFY(e.flags().dataChanged);
  // The toolbar's undo button, then New replaces the document and forgets every step.
  e.w->findChild<QWidget*>("Undo")->setFocus();
  e.action("mnuEditUndo")->trigger();
  QCOMPARE(e.cell(2, 1), QString("440.00000"));
  e.prompter.answer(Answer::No);
  e.action("mnuFileNew")->setEnabled(true);
  e.doc().caption += "x";
  e.action("mnuFileNew")->trigger();
  QVERIFY(!e.action("mnuEditUndo")->isEnabled() && !e.action("mnuEditRedo")->isEnabled());
}

// The paste, fill and clear rules are the channel edits' tests; here the keys, the row
// headers and the context menu reach them.
void MainWindowTest::rowsCopyPasteAndClear() {
  Env e;
  e.click(2, 7);  // channel 2 low power
  // Dragging across the row headers selects the rows passed over.
  QWidget* port = e.grid()->viewport();
  QTest::mousePress(port, Qt::LeftButton, {}, e.at(2, 0));
  QMouseEvent drag(QEvent::MouseMove, e.at(3, 0), port->mapToGlobal(e.at(3, 0)), Qt::NoButton,
                   Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(port, &drag);
  QTest::mouseRelease(port, Qt::LeftButton, {}, e.at(3, 0));
  e.key(Qt::Key_C, Qt::ControlModifier);
  const QMimeData* mime = QApplication::clipboard()->mimeData();
  QVERIFY(mime->hasFormat(qm::kChannelClipMime));
  QVERIFY(mime->text().startsWith(qm::kChirpHeader));
  QCOMPARE(mime->text().count("\r\n"), 3);
  e.click(15, 0);
  e.key(Qt::Key_V, Qt::ControlModifier);
  QCOMPARE(e.cell(15, 7) + e.cell(16, 7), QString("低高"));
  QCOMPARE(e.action("mnuEditUndo")->text(), QString("撤销 粘贴(&U)"));
  // The row keys are the grid's only while it has the focus: in a function list Delete and
  // Ctrl+V are the list's, and in the grid Delete needs a selected row.
  e.click(10, 0);
  auto* squelch = e.find<QComboBox>("cboRadio_5");
  squelch->setFocus();
  QTest::keyClick(squelch, Qt::Key_Delete);
  QTest::keyClick(squelch, Qt::Key_V, Qt::ControlModifier);
  e.click(10, 1);
  QTest::keyClick(e.editor(), Qt::Key_Escape);
  e.key(Qt::Key_Delete);
  QVERIFY(!e.off(9));
  QCOMPARE(e.cell(10, 7), QString("高"));
  // Shift+Down extends the selection; Delete switches the selected rows off.
  e.click(15, 0);
  e.key(Qt::Key_Down, Qt::ShiftModifier);
  e.key(Qt::Key_Delete);
  QVERIFY(e.off(14) && e.off(15) && !e.off(13));
  e.key(Qt::Key_Z, Qt::ControlModifier);
  QVERIFY(!e.off(14) && !e.off(15));
  // One copied row pasted on several selected rows fills each of them.
  e.click(2, 0);
  e.key(Qt::Key_C, Qt::ControlModifier);
  e.click(6, 0);
  e.click(8, 0, Qt::ShiftModifier);
  e.key(Qt::Key_V, Qt::ControlModifier);
  for (int r = 5; r <= 9; ++r) QCOMPARE(e.cell(r, 7), QString(r == 5 || r == 9 ? "高" : "低"));
  // Ctrl+A and Ctrl+X take all of them.
  e.key(Qt::Key_A, Qt::ControlModifier);
  e.key(Qt::Key_X, Qt::ControlModifier);
  for (int i = 0; i < 16; ++i) QVERIFY(e.off(i));
  QCOMPARE(e.action("mnuEditUndo")->text(), QString("撤销 剪切(&U)"));
  e.key(Qt::Key_Z, Qt::ControlModifier);
  for (int i = 0; i < 16; ++i) QVERIFY(!e.off(i));
  QVERIFY(e.prompter.messages.empty());

  // Clear from the context menu takes the row the menu was opened on, not the selection.
  e.click(12, 0);
  e.contextMenu(5, 3);
  auto* popup = e.w->findChild<QMenu*>("mnuEditPopup");
  QTRY_VERIFY(popup->isVisible());
  popup->close();
  e.action("mnuEditClear")->trigger();
  QVERIFY(e.off(4) && !e.off(3) && !e.off(5) && !e.off(11));
  // Text on the clipboard is read as rows; text that is not channel data is refused.
  QApplication::clipboard()->setText("Dear colleague,\nhere are the channels.");
  e.action("mnuEditPaste")->trigger();
  QVERIFY(e.texts().size() == 1 && e.said("剪贴板中的文字不是信道数据，没有粘贴。", true));
}

void MainWindowTest::bulkEditDialog() {
  Env e;
  e.click(1, 0);
  e.click(4, 0, Qt::ShiftModifier);
  e.modal("mnuEditBulk", [&](QWidget* dlg) {
    const auto closer = qScopeGuard([dlg] { dlg->close(); });  // also when a check fails
    QVERIFY(!dlg->findChild<QComboBox*>("cboBulkPower")->isEnabled());
    dlg->findChild<QCheckBox*>("chkBulkPower")->setChecked(true);
    dlg->findChild<QComboBox*>("cboBulkPower")->setCurrentIndex(1);
    dlg->findChild<QCheckBox*>("chkBulkFill")->setChecked(true);
    // A value the edit cannot take keeps the dialog open with every choice, its field
    // marked, and changes nothing.
    auto* from = dlg->findChild<QLineEdit*>("txtBulkFillFrom");
    auto* rx = dlg->findChild<QLineEdit*>("txtBulkRxSignal");
    dlg->findChild<QCheckBox*>("chkBulkRxSignal")->setChecked(true);
    rx->setText("88.5");
    for (const auto& [field, message] : {std::pair{rx, "接收CTC/DCS：无法识别的信令（88.5）"},
                                         std::pair{from, "没有填写起始频率"}}) {
      from->clear();
      if (field == from) rx->setText("CTC 88.5");
      e.prompter.clear();
      dlg->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
      QVERIFY(dlg->isVisible());
      QCOMPARE(e.texts(), Said{message});
      QCOMPARE(dlg->focusWidget(), field);
      QVERIFY(MarkedRed(field->palette().color(QPalette::Text)));
      QCOMPARE(e.cell(1, 7), QString("高"));
      QVERIFY(!e.action("mnuEditUndo")->isEnabled());
    }
    QTest::keyClicks(from, "446.00625");
    QCOMPARE(from->palette().color(QPalette::Text), rx->palette().color(QPalette::Text));
    e.prompter.clear();
    dlg->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
  });
  // The fill's steps are the channel edits' tests.
  QCOMPARE((QStringList{e.cell(1, 2), e.cell(1, 1), e.cell(4, 1), e.cell(1, 7), e.cell(4, 7),
                        e.cell(5, 7)}),
           (QStringList{"CTC 88.5", "446.00625", "446.04375", "低", "低", "高"}));
  QVERIFY(e.prompter.messages.empty());
  QCOMPARE(e.action("mnuEditUndo")->text(), QString("撤销 批量修改(&U)"));
  e.action("mnuEditUndo")->trigger();
  for (int r = 1; r <= 4; ++r) QCOMPARE(e.cell(r, 7), QString("高"));
}

// A file named on the command line opens as from the recent list (the load's failures are the
// document's tests). A file dropped on the window opens after the question about unsaved data.
// The title shows the path as the system writes it (backslashes on Windows).
void MainWindowTest::fileNamedOnTheCommandLineOrDropped() {
  Env e;
  qm::Image image = e.doc().image;
  image[0x20] ^= 0x5A;  // a byte the default document does not have
  const QString name = "机队 一.q83";
  QVERIFY(!e.saveDataFile(name, image).isEmpty());
  // A relative name is taken from the current folder and kept as an absolute path.
  const QString old = QDir::currentPath();
  QDir::setCurrent(e.dir.path());
  e.w->openDataFileFromPath(name);
  QDir::setCurrent(old);
  QVERIFY(e.prompter.messages.empty());
  QCOMPARE(e.doc().image[0x20], image[0x20]);
  QCOMPARE(QString::fromStdString(e.doc().curFileName), QDir::toNativeSeparators(e.path(name)));
  QVERIFY(e.action("mnuRecentFile_1")->text().contains(name));
  QVERIFY(!e.flags().dataChanged);

  e.click(3, 5);  // unsaved data: the drop asks first
  auto drop = [&](const QString& file, Answer answer) {
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(file)});
    QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &mime, Qt::LeftButton, {});
    QApplication::sendEvent(e.w.get(), &enter);
    if (!enter.isAccepted()) return false;
    e.prompter.answer(answer);
    QDropEvent dropped(QPointF(50, 50), Qt::CopyAction, &mime, Qt::LeftButton, {});
    QApplication::sendEvent(e.w.get(), &dropped);
    QTest::qWait(50);
    return true;
  };
  QVERIFY(!drop(e.path("notes.txt"), Answer::No));
  QVERIFY(drop(e.path(name), Answer::Cancel));
  QCOMPARE(e.cell(3, 5), QString("删除"));
  QVERIFY(drop(e.path(name), Answer::No));
  QCOMPARE(e.texts(), Said(2, "数据没有保存，是否要保存数据？"));
  QCOMPARE(e.cell(3, 5), QString("添加"));
  QVERIFY(e.w->windowTitle().endsWith(QDir::toNativeSeparators(e.path(name))));
}

// What a screen reader finds, through Qt's accessibility interfaces, where the bus test
// (AccessibilityBus) does not look: the tune view with every control named, the boxes beside
// its rows and the last transmit box of the channel grid by their row and column.
void MainWindowTest::screenReaderNamesAndNotes() {
  Env e;
  e.w->tunePanel()->show();
  QVERIFY2(Unnamed(Accessible(e.w->tunePanel())).isEmpty(),
           qPrintable(Unnamed(Accessible(e.w->tunePanel())).join('\n')));
  e.w->tunePanel()->hide();
  const std::pair<const char*, const char*> names[] = {{"chkTxEqTx_15", "信道16 Tx<-Rx"},
                                                       {"chkTuneCH_0", "调测信道1 关闭"},
                                                       {"chkTuneTx_10", "调测信道11 禁发"},
                                                       {"optTestCh_4", "调测信道5 调测"},
                                                       {"gridTune", "调测信道表"}};
  for (const auto& [control, name] : names)
    QCOMPARE(Accessible(e.find<QWidget>(control))->text(QAccessible::Name), QString(name));
  QAccessibleTableInterface* table = Accessible(e.grid())->tableInterface();
  QCOMPARE(table->cellAt(4, 3)->text(QAccessible::Name), QString("440.00000"));
}

// The grids' texts read on what they are drawn on (4.5:1) in the light and a dark theme,
// with every colour role on the screen: toggles both ways, a switched-off row, an inhibited
// transmit side, the greyed bandwidth column, the tune table's boxes and its red channel.
void MainWindowTest::gridsReadableInLightAndDarkThemes() {
  const QPalette before = QApplication::palette();
  for (const bool dark : {false, true}) {
    QApplication::setPalette(dark ? qm::ui::DarkPalette()
                                  : QApplication::style()->standardPalette());
    Env e;
    e.click(2, 5);
    e.click(2, 7);
    Click(e.find<QCheckBox>("chkCH_0"));
    Click(e.find<QCheckBox>("chkTx_2"));
    e.choose("cboRadio_9", 1);
    qm::TuneTableModel& tune = e.w->tune().table();
    tune.clickChannelOff(1);
    tune.clickTestChannel(1);
    e.w->refreshAll();
    QVERIFY(tune.color(2, 1) == qm::TuneCellColor::Red);
    for (QTableWidget* grid : {e.grid(), e.find<QTableWidget>("gridTune")}) {
      for (int r = 0; r < grid->rowCount(); ++r)
        for (int c = 0; c < grid->columnCount(); ++c)
          if (QTableWidgetItem* item = grid->item(r, c); item && !item->text().isEmpty())
            QVERIFY2(CellContrast(grid, item) >= qm::kMinTextContrast,
                     qPrintable(grid->objectName() +
                                QString(" %1,%2 dark %3 ").arg(r).arg(c).arg(dark) + item->text()));
    }
    // A value rejected on load: red, readable on the list's face.
    qm::Image image = e.doc().image;
    image.functions()[11] = 12;
    e.doc().editors().functions().LoadFunctions(image.functions());
    e.w->refreshAll();
    const QPalette p = e.find<QComboBox>("cboRadio_5")->palette();
    QVERIFY(MarkedRed(p.color(QPalette::ButtonText)));
    QVERIFY(qm::ContrastRatio(qm::ui::ToRgb(p.color(QPalette::ButtonText)),
                              qm::ui::ToRgb(p.color(QPalette::Button))) >= qm::kMinTextContrast);
  }
  QApplication::setPalette(before);
}

// A window started in English shows no Chinese. The language menu changes the open window at
// once (menus, grid, panels, the tune view, an open help window) and the windows opened
// afterwards, and keeps the document as it was; back in Chinese every text is what it was.
void MainWindowTest::englishAndBackByTheMenu() {
  const qm::LanguageSetup en = qm::InstallLanguage(Language::English, QM_BINARY_DIR);
  QVERIFY2(en.notes.isEmpty(), qPrintable(en.notes.join('\n')));
  QCOMPARE(en.active, Language::English);
  {
    Env fresh;
    const QStringList texts = Texts(fresh.w.get());
    QVERIFY2(Chinese(texts).isEmpty(), qPrintable(Chinese(texts).join('\n')));
  }
  QCOMPARE(qm::InstallLanguage(Language::Chinese, QM_BINARY_DIR).active, Language::Chinese);
  Env e;
  e.w->setTranslationDir(QM_BINARY_DIR);
  e.click(3, 5);  // an edit of the user's, which the switch must keep
  e.w->tunePanel()->show();
  QVERIFY(WriteBytes(Q(e.app.helpFile), "<html><body><p>读频之前先选择端口。</p></body></html>"));
  e.w->helpContents();
  QVERIFY(e.w->helpWindow());
  const auto state = e.doc().editors().channels().state();
  const qm::Image image = e.doc().image;
  const auto before = Surfaces(e);
  e.action("mnuLangEn")->trigger();
  QCOMPARE(Q(e.ini->read("Language", "Language", "")), QString("en"));
  QVERIFY(e.action("mnuLangEn")->isChecked());
  const auto english = Surfaces(e);
  QCOMPARE(e.find<QCheckBox>("chkCH_2")->accessibleName(), QString("Channel 3 Off"));
  // The model keeps its texts, the image its bytes, the edit its flag.
  QVERIFY(e.doc().editors().channels().state() == state && e.doc().image == image);
  QVERIFY(e.flags().dataChanged);
  e.action("mnuLangZh")->trigger();
  QCOMPARE(Q(e.ini->read("Language", "Language", "")), QString("zh"));
  const auto after = Surfaces(e);
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
      {"main window", "gridChan: 删除", "gridChan: Delete"},
      {"main window", "cboRadio_4: 打开", "cboRadio_4: On"},
      {"main window", "mnuLanguage: 语言/Language(&L)", "mnuLanguage: 语言/&Language"},
      {"tune view", "fraTuneSet: 调测信道", "fraTuneSet: Tune channels"},
      {"about box", "frmAbout: 关于QM830K编程软件", "frmAbout: About QM830K Programming Software"},
      {"about box", "lblVersion: 版本2.1", "lblVersion: Version 2.1"},
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

  // Without the English file the window says so and stays Chinese, the menu marking Chinese.
  QTemporaryDir empty;
  e.w->setTranslationDir(empty.path());
  e.prompter.clear();
  e.action("mnuLangEn")->trigger();
  QCOMPARE(e.texts(), Said{"找不到英文界面的翻译文件，界面仍为中文。"});
  QVERIFY(e.action("mnuLangZh")->isChecked());
  QCOMPARE(Texts(e.w.get()).replaceInStrings(e.dir.path(), "DIR"), before.at("main window"));
}

void MainWindowTest::missingTranslationStaysChinese() {
  // A program folder without translations and one whose file is not a translation at all.
  QTemporaryDir empty;
  QTemporaryDir damaged;
  QDir(damaged.path()).mkpath("translations");
  QVERIFY(WriteBytes(damaged.path() + "/translations/qm830k_en.qm", "not a translation"));
  for (const QString& dir : {empty.path(), damaged.path()}) {
    const qm::LanguageSetup s = qm::InstallLanguage(Language::English, dir);
    QCOMPARE(s.active, Language::Chinese);
    QCOMPARE(s.notes.size(), 1);
    QCOMPARE(qm::TrCore("文件错误"), QString("文件错误"));
  }
}

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
