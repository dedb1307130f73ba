// The edit commands in the real main window: undo and redo by shortcut and menu, row
// selection with copy, cut, paste and clear (keys and the grid's context menu), the bulk
// edit dialog, and a data file dropped on the window or named on the command line.

#include "document/channel_edits.h"
#include "files/chirp_csv.h"
#include "window_rig.h"

using qm::Answer;
using namespace qm::uitest;

class EditWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void undoAndRedoByShortcut();
  void rowsCopyPasteAndClear();
  void bulkEditDialog();
  void dropOpensADataFile();
  void fileNamedOnTheCommandLine();
};

void EditWindowTest::undoAndRedoByShortcut() {
  Env e;
  QCOMPARE(e.w->findChild<QMenu*>("mnuEdit")->title(), QString("编辑(&E)"));
  QVERIFY(!e.action("mnuEditUndo")->isEnabled());
  QCOMPARE(e.action("mnuEditRedo")->shortcuts(),
           (QList<QKeySequence>{QKeySequence("Ctrl+Y"), QKeySequence("Ctrl+Shift+Z")}));
  e.click(3, 7);  // power: 高 -> low
  QCOMPARE(e.action("mnuEditUndo")->text(), QString("撤销 修改信道3发射功率(&U)"));
  // A typed frequency still open in its cell is applied before a menu names the step, so the
  // label is the step a click takes back: the menu bar's menu (row 2), the context menu (row 4).
  auto* editMenu = e.find<QMenu>("mnuEdit");
  for (int row : {2, 4}) {
    e.click(row, 1);
    QTest::keyClicks(e.editor(), "441.5");
    QContextMenuEvent menuEvent(QContextMenuEvent::Mouse, e.at(9, 3),
                                e.grid()->viewport()->mapToGlobal(e.at(9, 3)));
    if (row == 2)
      QTest::mouseClick(e.w->menuBar(), Qt::LeftButton, {},
                        e.w->menuBar()->actionGeometry(editMenu->menuAction()).center());
    else
      QApplication::sendEvent(e.grid()->viewport(), &menuEvent);
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
  e.w->document().caption += "x";
  e.action("mnuFileNew")->trigger();
  QVERIFY(!e.action("mnuEditUndo")->isEnabled() && !e.action("mnuEditRedo")->isEnabled());
}

// The paste, fill and clear rules are the channel edits' tests; here the keys, the row
// headers and the context menu reach them.
void EditWindowTest::rowsCopyPasteAndClear() {
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
  QContextMenuEvent menuEvent(QContextMenuEvent::Mouse, e.at(5, 3),
                              e.grid()->viewport()->mapToGlobal(e.at(5, 3)));
  QApplication::sendEvent(e.grid()->viewport(), &menuEvent);
  auto* popup = e.w->findChild<QMenu*>("mnuEditPopup");
  QTRY_VERIFY(popup->isVisible());
  popup->close();
  e.action("mnuEditClear")->trigger();
  QVERIFY(e.off(4) && !e.off(3) && !e.off(5) && !e.off(11));
  // Text on the clipboard is read as rows; text that is not channel data is refused.
  QApplication::clipboard()->setText("Dear colleague,\nhere are the channels.");
  e.action("mnuEditPaste")->trigger();
  QCOMPARE(e.prompter.messages.size(), size_t(1));
  QVERIFY(QString::fromStdString(e.prompter.messages[0].text)
              .startsWith("剪贴板中的文字不是信道数据，没有粘贴。"));
}

void EditWindowTest::bulkEditDialog() {
  Env e;
  e.click(1, 0);
  e.click(4, 0, Qt::ShiftModifier);
  WithModal(
      [&](QWidget* dlg) {
        const auto closer = qScopeGuard([dlg] { dlg->close(); });  // also when a check fails
        QCOMPARE(dlg->objectName(), QString("dlgBulkEdit"));
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
        const std::vector<std::tuple<QString, QLineEdit*, const char*>> refused = {
            {"", rx, "接收CTC/DCS：无法识别的信令（88.5）"}, {"", from, "没有填写起始频率"}};
        for (const auto& [fromText, field, message] : refused) {
          from->setText(fromText);
          if (field == from) rx->setText("CTC 88.5");
          e.prompter.clear();
          dlg->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
          QVERIFY(dlg->isVisible());
          QCOMPARE(e.prompter.messages.size(), size_t(1));
          QCOMPARE(e.prompter.messages[0].text, std::string(message));
          QCOMPARE(dlg->focusWidget(), field);
          QCOMPARE(field->palette().color(QPalette::Text), QColor(255, 0, 0));
          QCOMPARE(e.cell(1, 7), QString("高"));
          QVERIFY(!e.action("mnuEditUndo")->isEnabled());
        }
        QTest::keyClicks(from, "446.00625");
        QCOMPARE(from->palette().color(QPalette::Text), rx->palette().color(QPalette::Text));
        e.prompter.clear();
        dlg->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
      },
      [&] { e.action("mnuEditBulk")->trigger(); });
  // The fill's steps are the channel edits' tests.
  QCOMPARE((QStringList{e.cell(1, 2), e.cell(1, 1), e.cell(4, 1), e.cell(1, 7), e.cell(4, 7),
                        e.cell(5, 7)}),
           (QStringList{"CTC 88.5", "446.00625", "446.04375", "低", "低", "高"}));
  QVERIFY(e.prompter.messages.empty());
  QCOMPARE(e.action("mnuEditUndo")->text(), QString("撤销 批量修改(&U)"));
  e.action("mnuEditUndo")->trigger();
  for (int r = 1; r <= 4; ++r) QCOMPARE(e.cell(r, 7), QString("高"));
}

void EditWindowTest::dropOpensADataFile() {
  Env e;
  qm::Image image = e.w->document().image;
  image.channel(0)[10] |= 0x20;  // channel 1 low power
  const QString path = e.saveDataFile("drop.q83", image);
  QVERIFY(!path.isEmpty());
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
  QVERIFY(!drop(e.dir.filePath("notes.txt"), Answer::No));
  QVERIFY(drop(path, Answer::Cancel));
  QCOMPARE(e.cell(1, 7), QString("高"));
  QVERIFY(drop(path, Answer::No));
  QCOMPARE(e.prompter.messages.size(), size_t(2));
  QCOMPARE(e.prompter.messages[1].text, std::string("数据没有保存，是否要保存数据？"));
  QCOMPARE(e.cell(1, 7), QString("低"));
  // The title shows the path as the system writes it (backslashes on Windows).
  QVERIFY(e.w->windowTitle().endsWith(QDir::toNativeSeparators(path)));
}

// A file named on the command line opens as from the recent list; a bad one gives the load's
// message and keeps the default document.
void EditWindowTest::fileNamedOnTheCommandLine() {
  Env e;
  qm::Image image = e.w->document().image;
  image[0x20] ^= 0x5A;  // a byte the default document does not have
  const QString name = "机队 一.q83";
  QVERIFY(!e.saveDataFile(name, image).isEmpty());
  QFile text(e.path("text.q83"));
  QVERIFY(text.open(QIODevice::WriteOnly));
  text.write("not a data file\n");
  text.close();
  const qm::Image defaults = e.w->document().image;
  e.w->openDataFileFromPath(e.path("text.q83"));
  QCOMPARE(e.texts(), std::vector<std::string>{"该文件不是ZR410 的数据文件！"});
  QVERIFY(e.w->document().image == defaults);
  QCOMPARE(e.w->windowTitle(), kTitle);
  // A relative name is taken from the current folder and kept as an absolute path.
  e.prompter.clear();
  const QString old = QDir::currentPath();
  QDir::setCurrent(e.dir.path());
  e.w->openDataFileFromPath(name);
  QDir::setCurrent(old);
  QVERIFY(e.prompter.messages.empty());
  QCOMPARE(e.w->document().image[0x20], image[0x20]);
  QCOMPARE(QString::fromStdString(e.w->document().curFileName),
           QDir::toNativeSeparators(e.path(name)));
  QVERIFY(e.w->windowTitle().endsWith(name));
  QVERIFY(e.action("mnuRecentFile_1")->text().contains(name));
  QVERIFY(!e.flags().dataChanged);
}

QTEST_MAIN(EditWindowTest)
#include "edit_window_test.moc"
