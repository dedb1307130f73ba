#include "ui/edit_menu.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QTableWidget>
#include <QToolBar>

#include "base/tr.h"
#include "document/channel_edits.h"
#include "files/chirp_csv.h"
#include "platform/translation.h"
#include "ui/bulk_edit_dialog.h"
#include "ui/channel_grid.h"
#include "ui/icons.h"
#include "ui/qt_text.h"

namespace qm::ui {

EditCommands::EditCommands(QWidget* window, Document& doc, AppState& app, Prompter& prompter,
                           ChannelGrid& grid, EditHooks hooks)
    : QObject(window),
      window_(window),
      doc_(doc),
      app_(app),
      prompter_(prompter),
      grid_(grid),
      hooks_(std::move(hooks)) {}

QAction* EditCommands::add(QMenu* menu, const char* name, const char* text,
                           const QList<QKeySequence>& keys) {
  auto* a = new QAction(this);
  texts_.add([a, text] { a->setText(tr(text)); });
  a->setObjectName(name);
  a->setShortcuts(keys);
  menu->addAction(a);
  return a;
}

void EditCommands::install(QMenuBar* bar, QAction* before, QToolBar* toolBar) {
  menu_ = new QMenu(bar);
  texts_.add([this] {
    menu_->setTitle(tr("编辑(&E)"));
    menu_->setAccessibleName(QString(menu_->title()).remove('&'));
  });
  menu_->setObjectName("mnuEdit");
  bar->insertMenu(before, menu_);
  undo_ = add(menu_, "mnuEditUndo", QT_TR_NOOP("撤销(&U)"), {QKeySequence("Ctrl+Z")});
  redo_ = add(menu_, "mnuEditRedo", QT_TR_NOOP("重做(&R)"),
              {QKeySequence("Ctrl+Y"), QKeySequence("Ctrl+Shift+Z")});
  menu_->addSeparator()->setObjectName("mnuEditBar0");
  QAction* cut = add(menu_, "mnuEditCut", QT_TR_NOOP("剪切(&T)"), {QKeySequence("Ctrl+X")});
  QAction* copy = add(menu_, "mnuEditCopy", QT_TR_NOOP("复制(&C)"), {QKeySequence("Ctrl+C")});
  QAction* paste = add(menu_, "mnuEditPaste", QT_TR_NOOP("粘贴(&P)"), {QKeySequence("Ctrl+V")});
  QAction* clear =
      add(menu_, "mnuEditClear", QT_TR_NOOP("清除(&D)"), {QKeySequence(Qt::Key_Delete)});
  menu_->addSeparator()->setObjectName("mnuEditBar1");
  QAction* all = add(menu_, "mnuEditSelectAll", QT_TR_NOOP("全选(&A)"), {QKeySequence("Ctrl+A")});
  QAction* bulk = add(menu_, "mnuEditBulk", QT_TR_NOOP("批量修改..."));
  rowActions_ = {cut, copy, paste, clear, all, bulk};
  cut_ = cut;
  clear_ = clear;
  // The row keys belong to the grid: elsewhere (a function list, a text field) Delete and
  // the clipboard keys are the focused control's own.
  for (QAction* a : {cut, copy, paste, clear, all}) {
    a->setShortcutContext(Qt::WidgetShortcut);
    grid_.table()->addAction(a);
  }

  connect(undo_, &QAction::triggered, this, &EditCommands::undo);
  connect(redo_, &QAction::triggered, this, &EditCommands::redo);
  connect(cut, &QAction::triggered, this, &EditCommands::cut);
  connect(copy, &QAction::triggered, this, &EditCommands::copy);
  connect(paste, &QAction::triggered, this, &EditCommands::paste);
  connect(clear, &QAction::triggered, this, &EditCommands::clear);
  connect(all, &QAction::triggered, this, &EditCommands::selectAll);
  connect(bulk, &QAction::triggered, this, &EditCommands::bulkEdit);
  connect(menu_, &QMenu::aboutToShow, this, [this] {
    commitOpenEdit();
    updateActions();
  });

  // The grid's context menu: the same actions.
  popup_ = new QMenu(window_);
  popup_->setObjectName("mnuEditPopup");
  texts_.add([this] { popup_->setAccessibleName(tr("信道行")); });
  popup_->addActions({undo_, redo_});
  popup_->addSeparator();
  popup_->addActions({cut, copy, paste, clear});
  popup_->addSeparator();
  popup_->addActions({all, bulk});
  grid_.onContextMenu = [this](const QPoint& at) {
    commitOpenEdit();
    updateActions();
    popup_->popup(at);
  };
  grid_.onSelectionChanged = [this] { updateActions(); };

  for (auto [key, tip, action] : {std::tuple{"Undo", QT_TR_NOOP("撤销"), undo_},
                                  std::tuple{"Redo", QT_TR_NOOP("重做"), redo_}}) {
    action->setIcon(ToolbarIcon(key));
    texts_.add([a = action, t = tip] { a->setToolTip(tr(t)); });
    toolBar->addAction(action);
    if (QWidget* button = toolBar->widgetForAction(action)) button->setObjectName(key);
  }
  doc_.history().changed = [this] { updateActions(); };
  updateActions();
}

void EditCommands::retranslate() {
  texts_.apply();
  updateActions();
}

void EditCommands::updateActions() {
  const bool idle = !(hooks_.busy && hooks_.busy());
  const EditHistory& h = doc_.history();
  undo_->setEnabled(idle && h.canUndo());
  redo_->setEnabled(idle && h.canRedo());
  // The step's name is the program's text; a "&" in it is shown, not taken as a mnemonic.
  auto name = [](const std::string& label) { return TrCore(label).replace('&', "&&"); };
  undo_->setText(h.canUndo() ? tr("撤销 %1(&U)").arg(name(h.undoLabel())) : tr("撤销(&U)"));
  redo_->setText(h.canRedo() ? tr("重做 %1(&R)").arg(name(h.redoLabel())) : tr("重做(&R)"));
  for (QAction* a : rowActions_) a->setEnabled(rowsAllowed());
  // Switching channels off takes selected rows, never just the row of the current cell.
  const bool rows = !grid_.selectedChannels().empty();
  cut_->setEnabled(cut_->isEnabled() && rows);
  clear_->setEnabled(clear_->isEnabled() && rows);
}

bool EditCommands::commitOpenEdit() {
  // A typed value still open in its cell is a step not yet named: it is applied first, so the
  // menu names the step a click on it takes back.
  if ((hooks_.busy && hooks_.busy()) || !doc_.history().inPlaceEditOpen()) return false;
  const bool inGrid = doc_.editors().channels().editing();
  if (hooks_.commitPendingEdit) hooks_.commitPendingEdit();
  // The keys go on where the edit was.
  if (inGrid) grid_.table()->setFocus(Qt::OtherFocusReason);
  return true;
}

bool EditCommands::rowsAllowed() const {
  return !(hooks_.busy && hooks_.busy()) && (!hooks_.channelView || hooks_.channelView());
}

bool EditCommands::ready() {
  if (hooks_.busy && hooks_.busy()) return false;
  // Only an open editor is closed: the focus stays where it was otherwise, so the grid keeps
  // taking the row keys after a command.
  commitOpenEdit();
  return true;
}

std::vector<int> EditCommands::chosenChannels() const {
  return ChosenChannels(doc_.editors().channels(), grid_.selectedChannels());
}

void EditCommands::report(const char* title, const std::string& head,
                          const std::vector<std::string>& notes, bool problem) {
  Notify(prompter_, title, head + JoinNotes(notes), problem ? Icon::Exclamation : Icon::None);
}

void EditCommands::undo() {
  if (!ready()) return;
  doc_.history().undo();
  if (hooks_.refresh) hooks_.refresh();
}

void EditCommands::redo() {
  if (!ready()) return;
  doc_.history().redo();
  if (hooks_.refresh) hooks_.refresh();
}

void EditCommands::copy() {
  if (!ready() || !rowsAllowed()) return;
  const CopiedChannels c = CopyChannels(doc_.editors().channels(), doc_.image, app_,
                                        chosenChannels(), TrCoreUtf8(kChirpChannelName));
  auto* mime = new QMimeData;
  const std::vector<uint8_t> bytes = EncodeChannelClip(c.clip);
  mime->setData(kChannelClipMime, QByteArray(reinterpret_cast<const char*>(bytes.data()),
                                             static_cast<qsizetype>(bytes.size())));
  mime->setText(Q(c.csv));
  QApplication::clipboard()->setMimeData(mime);
}

void EditCommands::cut() {
  if (!rowsAllowed() || grid_.selectedChannels().empty()) return;
  copy();
  SwitchOffChannels(doc_.editors().channels(), grid_.selectedChannels(), QM_TR("剪切"));
  if (hooks_.refresh) hooks_.refresh();
}

void EditCommands::clear() {
  if (!ready() || !rowsAllowed() || grid_.selectedChannels().empty()) return;
  SwitchOffChannels(doc_.editors().channels(), grid_.selectedChannels(), QM_TR("清除"));
  if (hooks_.refresh) hooks_.refresh();
}

void EditCommands::paste() {
  if (!ready() || !rowsAllowed()) return;
  const QMimeData* mime = QApplication::clipboard()->mimeData();
  std::optional<ChannelClip> clip;
  std::string text;
  if (mime) {
    const QByteArray data = mime->data(kChannelClipMime);
    clip = DecodeChannelClip(std::span(reinterpret_cast<const uint8_t*>(data.constData()),
                                       static_cast<size_t>(data.size())));
    text = mime->text().toStdString();
  }
  // Onto the selected rows, else from the current row down.
  const PasteResult r =
      PasteChannelsOnto(doc_.editors().channels(), doc_.image, app_, chosenChannels(), clip, text);
  if (hooks_.refresh) hooks_.refresh();
  if (!r.ok)
    report(QM_TR("粘贴"), r.error, r.notes, true);
  else if (!r.notes.empty())
    report(QM_TR("粘贴"), FillCount(QM_TR_N("粘贴%n个信道。"), r.pasted), r.notes, true);
}

void EditCommands::selectAll() {
  if (!rowsAllowed()) return;
  grid_.selectAllRows();
}

void EditCommands::bulkEdit() {
  if (!ready() || !rowsAllowed()) return;
  const std::vector<int> channels = chosenChannels();
  DlgBulkEdit dialog(app_, prompter_, channels, window_);
  // The dialog applies the edit itself, so a value it cannot take keeps it open.
  const std::optional<BulkResult> r = dialog.run([&](const BulkEdit& edit) {
    return ApplyBulkEdit(doc_.editors().channels(), app_, doc_.image.modelCode(), channels, edit);
  });
  if (!r) return;
  if (hooks_.refresh) hooks_.refresh();
  if (!r->notes.empty())
    report(QM_TR("批量修改"), FillCount(QM_TR_N("修改了%n个信道。"), r->changedRows), r->notes,
           true);
}

}  // namespace qm::ui
