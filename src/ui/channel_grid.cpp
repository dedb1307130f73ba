#include "ui/channel_grid.h"

#include <QApplication>
#include <QCheckBox>
#include <QContextMenuEvent>
#include <QEvent>
#include <QFocusEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <algorithm>

#include "ui/cell_editor.h"
#include "ui/qt_text.h"

namespace qm::ui {

namespace {

constexpr int kRowHeight = 22;
constexpr int kHeaderHeight = 40;  // two lines: the narrow columns' headers wrap
constexpr int kCheckColumnWidth = 46;
constexpr int kCheckGap = 6;
constexpr int kSignalDialogShiftTwips = 600;

}  // namespace

QString HeaderDisplayText(const char* header) {
  // The headers of the narrow columns are two words: they break at the last space, so that
  // "扫描 删除 /添加" reads "扫描 删除" over "/添加" and "   繁忙     锁定" reads "繁忙" over
  // "锁定". The exact text stays in the tooltip.
  return TwoLineHeader(TrCore(header));
}

namespace {  // Marks the current cell with a frame even while the grid has no focus, so Enter, the
             // space
// key and typed digits always show where they will act.
class CurrentCellDelegate : public QStyledItemDelegate {
 public:
  explicit CurrentCellDelegate(QTableWidget* grid) : QStyledItemDelegate(grid), grid_(grid) {}

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override {
    QStyleOptionViewItem opt(option);
    opt.state &= ~QStyle::State_HasFocus;  // the frame below replaces the dotted focus line
    QStyledItemDelegate::paint(painter, opt, index);
    if (index != grid_->currentIndex() || index.column() == 0) return;
    painter->save();
    painter->setPen(QPen(grid_->palette().color(QPalette::Highlight), 2));
    painter->drawRect(option.rect.adjusted(1, 1, -1, -1));
    painter->restore();
  }

 private:
  QTableWidget* grid_;
};

}  // namespace

ChannelGrid::ChannelGrid(ChannelTableModel& model, const AppState& app, Prompter& prompter,
                         QWidget* parent)
    : QWidget(parent), model_(model), app_(app), prompter_(prompter) {
  setObjectName("channelPanel");
  grid_ = new QTableWidget(kGridRows - 1, kGridCols, this);
  grid_->setObjectName("gridChan");
  grid_->verticalHeader()->hide();
  grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grid_->setSelectionMode(QAbstractItemView::NoSelection);
  grid_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  grid_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  grid_->setWordWrap(false);
  grid_->setTabKeyNavigation(false);
  grid_->setItemDelegate(new CurrentCellDelegate(grid_));
  // The narrow columns' headers wrap onto two lines: "   繁忙     锁定" shows the two words
  // above each other.
  grid_->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter |
                                                 static_cast<Qt::Alignment>(Qt::TextWordWrap));
  grid_->horizontalHeader()->setSectionsClickable(false);
  grid_->horizontalHeader()->setHighlightSections(false);
  grid_->horizontalHeader()->setFixedHeight(kHeaderHeight);
  grid_->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  grid_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  grid_->verticalHeader()->setDefaultSectionSize(kRowHeight);

  for (int c = 0; c < kGridCols; ++c) grid_->setHorizontalHeaderItem(c, new QTableWidgetItem);
  for (int r = 1; r < kGridRows; ++r) {
    grid_->setRowHeight(r - 1, kRowHeight);
    // Column 0 is the fixed row header column: "信道1" .. "信道16".
    auto* head = new QTableWidgetItem;
    head->setFlags(Qt::ItemIsEnabled);
    head->setTextAlignment(Qt::AlignCenter);
    grid_->setItem(r - 1, 0, head);
    for (int c = 1; c < kGridCols; ++c) {
      auto* item = new QTableWidgetItem;
      item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
      item->setTextAlignment(Qt::AlignCenter);
      grid_->setItem(r - 1, c, item);
    }
  }
  grid_->move(0, 0);
  grid_->viewport()->installEventFilter(this);
  grid_->installEventFilter(this);
  connect(grid_, &QTableWidget::currentCellChanged, this, [this](int row, int col, int, int) {
    if (!syncing_ && row >= 0 && col >= 1) model_.setCurrentCell(row + 1, col);
  });

  editor_ = NewCellEditor(grid_, "txtChFreq", this);
  connect(editor_, &QLineEdit::textChanged, this, [this](const QString& text) {
    if (syncing_) return;
    model_.editorTextChanged(text.toStdString());
    renderRow(model_.freqEditor().row);
  });

  for (size_t k = 0; k < checkLabels_.size(); ++k) {
    checkLabels_[k] = new QLabel(this);
    checkLabels_[k]->setObjectName(QString("lblCheck_%1").arg(k));
    checkLabels_[k]->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
  }
  // The boxes act on `toggled`, not `clicked`: a screen reader's toggle action changes the
  // box without a click, and the model must hear of it all the same.
  for (int i = 0; i < kChannelCount; ++i) {
    chkCh_[static_cast<size_t>(i)] = new QCheckBox(this);
    chkCh_[static_cast<size_t>(i)]->setObjectName(QString("chkCH_%1").arg(i));
    chkTx_[static_cast<size_t>(i)] = new QCheckBox(this);
    chkTx_[static_cast<size_t>(i)]->setObjectName(QString("chkTx_%1").arg(i));
    chkTxEqTx_[static_cast<size_t>(i)] = new QCheckBox(this);
    chkTxEqTx_[static_cast<size_t>(i)]->setObjectName(QString("chkTxEqTx_%1").arg(i));
    connect(chkCh_[static_cast<size_t>(i)], &QCheckBox::toggled, this, [this, i] {
      if (syncing_) return;
      grid_->setUpdatesEnabled(false);
      model_.clickChannelOff(i);
      grid_->setUpdatesEnabled(true);
      renderRow(i + 1);
    });
    connect(chkTx_[static_cast<size_t>(i)], &QCheckBox::toggled, this, [this, i] {
      if (syncing_) return;
      model_.clickTxInhibit(i);
      renderRow(i + 1);
    });
    connect(chkTxEqTx_[static_cast<size_t>(i)], &QCheckBox::toggled, this, [this, i] {
      if (syncing_) return;
      // Ticking may apply an open frequency edit of the row before copying it.
      if (model_.clickTxEqRx(i).editor) {
        refresh();
      } else {
        renderRow(i + 1);
      }
    });
  }
  retranslate();
}

void ChannelGrid::layoutColumns() {
  int width = 0;
  for (int c = 0; c < kGridCols; ++c) {
    const GridColumn& column = kChannelGridColumns[static_cast<size_t>(c)];
    int px = TwipsToPixels(column.widthTwips);
    // English words are longer: a column widens to its header and its texts, in English only.
    if (ActiveLanguage() == Language::English) {
      const QFontMetrics fm = grid_->horizontalHeader()->fontMetrics();
      px = std::max(px, LinesWidth(fm, HeaderDisplayText(column.header)) + 12);
      if (c == 0)
        px =
            std::max(px, grid_->fontMetrics().horizontalAdvance(TrCore(ChannelRowHeader(16))) + 12);
    }
    grid_->setColumnWidth(c, px);
    width += px;
  }
  const int frame = 2 * grid_->frameWidth();
  grid_->setFixedSize(width + frame, kHeaderHeight + (kGridRows - 1) * kRowHeight + frame);
  placeChecks();
}

void ChannelGrid::retranslate() {
  for (int c = 0; c < kGridCols; ++c) {
    const char* header = kChannelGridColumns[static_cast<size_t>(c)].header;
    grid_->horizontalHeaderItem(c)->setText(HeaderDisplayText(header));
    grid_->horizontalHeaderItem(c)->setToolTip(TrCore(header));
  }
  for (int r = 1; r < kGridRows; ++r) grid_->item(r - 1, 0)->setText(TrCore(ChannelRowHeader(r)));
  for (size_t k = 0; k < checkLabels_.size(); ++k) {
    checkLabels_[k]->setText(TrCore(kChannelCheckLabels[k]));
    checkLabels_[k]->setWordWrap(ActiveLanguage() == Language::English);
  }
  grid_->setAccessibleName(tr("信道表"));
  grid_->setAccessibleDescription(
      tr("每行一个信道：接收与发射的频率和信令、扫描、繁忙锁定、功率与带宽。回车或空格编辑当前单元"
         "格"));
  // A screen reader names each box by its row and its column, as the eye finds them.
  const std::array<QString, 3> what = {tr("勾选后此信道关闭"), tr("勾选后此信道禁止发射"),
                                       tr("勾选后发射频率与信令取接收的")};
  for (int i = 0; i < kChannelCount; ++i) {
    const QString row = TrCore(ChannelRowHeader(i + 1));
    const std::array<QCheckBox*, 3> boxes = {chkCh_[static_cast<size_t>(i)],
                                             chkTx_[static_cast<size_t>(i)],
                                             chkTxEqTx_[static_cast<size_t>(i)]};
    for (size_t k = 0; k < boxes.size(); ++k) {
      boxes[k]->setAccessibleName(row + ' ' + TrCore(kChannelCheckLabels[k]));
      boxes[k]->setAccessibleDescription(what[k]);
    }
  }
  layoutColumns();
  refresh();
  renderSelection();
}

void ChannelGrid::changeEvent(QEvent* event) {
  // A theme switched while the program runs: the cells take the new palette's colours.
  if (event->type() == QEvent::PaletteChange) {
    refresh();
    renderSelection();
  }
  QWidget::changeEvent(event);
}

void ChannelGrid::placeChecks() {
  const int x0 = grid_->width() + kCheckGap;
  const int top = grid_->frameWidth() + kHeaderHeight;
  for (size_t k = 0; k < checkLabels_.size(); ++k) {
    const int x = x0 + static_cast<int>(k) * kCheckColumnWidth;
    checkLabels_[k]->setGeometry(x, 0, kCheckColumnWidth, top - 2);
  }
  for (int i = 0; i < kChannelCount; ++i) {
    // Each check box sits on the middle of its grid row.
    const int y = top + i * kRowHeight;
    std::array<QCheckBox*, 3> boxes = {chkCh_[static_cast<size_t>(i)],
                                       chkTx_[static_cast<size_t>(i)],
                                       chkTxEqTx_[static_cast<size_t>(i)]};
    for (size_t k = 0; k < boxes.size(); ++k) {
      const QSize hint = boxes[k]->sizeHint();
      const int x =
          x0 + static_cast<int>(k) * kCheckColumnWidth + (kCheckColumnWidth - hint.width()) / 2;
      boxes[k]->setGeometry(x, y + (kRowHeight - hint.height()) / 2, hint.width(), hint.height());
    }
  }
  setFixedSize(x0 + 3 * kCheckColumnWidth, grid_->height());
}

void ChannelGrid::renderRow(int row) {
  if (row < 1 || row >= kGridRows) return;
  const bool was = syncing_;
  syncing_ = true;
  for (int c = 1; c < kGridCols; ++c) {
    const ChannelCell& cell = model_.cell(row, c);
    QTableWidgetItem* item = grid_->item(row - 1, c);
    const QString text = TrCore(cell.text);
    if (item->text() != text) item->setText(text);
    const CellLook look = LookOf(cell.color, cell.highlighted, ThemeOf(palette()));
    item->setForeground(ToQColor(look.text));
    item->setBackground(ToQColor(look.background));
    // What the colour says, told to a screen reader as well.
    const QString note = TrCore(model_.cellNote(row, c));
    if (item->data(Qt::AccessibleDescriptionRole).toString() != note)
      item->setData(Qt::AccessibleDescriptionRole, note);
  }
  const size_t i = static_cast<size_t>(row - 1);
  chkCh_[i]->setChecked(model_.channelOff(static_cast<int>(i)));
  chkTx_[i]->setChecked(model_.txInhibited(static_cast<int>(i)));
  chkTx_[i]->setEnabled(model_.txCheckEnabled(static_cast<int>(i)));
  chkTxEqTx_[i]->setChecked(model_.txEqRx(static_cast<int>(i)));
  syncing_ = was;
}

void ChannelGrid::renderEditor() {
  const FreqEditorState& ed = model_.freqEditor();
  const bool was = syncing_;
  syncing_ = true;
  if (ed.visible) {
    QTableWidgetItem* item = grid_->item(ed.row - 1, ed.col);
    editor_->setGeometry(grid_->visualItemRect(item));
    if (editor_->text() != Q(ed.text)) editor_->setText(Q(ed.text));
    if (!editor_->isVisible()) {
      editor_->show();
      editor_->setSelection(ed.selStart, ed.selLength);
      if (ed.selLength == 0) editor_->setCursorPosition(ed.selStart);
    }
  } else if (editor_->isVisible()) {
    editor_->hide();
  }
  syncing_ = was;
}

std::vector<int> ChannelGrid::selectedChannels() const {
  std::vector<int> out;
  for (int i = 0; i < kChannelCount; ++i)
    if (selected_ & (1u << i)) out.push_back(i);
  return out;
}

void ChannelGrid::selectAllRows() {
  selected_ = (1u << kChannelCount) - 1;
  renderSelection();
}

void ChannelGrid::clearSelection() {
  if (selected_ == 0) return;
  selected_ = 0;
  renderSelection();
}

void ChannelGrid::pressRowHeader(int row, Qt::KeyboardModifiers modifiers) {
  if (row < 1 || row >= kGridRows) return;
  const uint32_t bit = 1u << (row - 1);
  const bool ctrl = modifiers & Qt::ControlModifier;
  if (modifiers & Qt::ShiftModifier) {
    // From the anchor to here; with Ctrl added to the rows already selected.
    dragBase_ = ctrl ? selected_ : 0;
  } else {
    anchorRow_ = row;
    dragBase_ = ctrl ? (selected_ & ~bit) : 0;
    if (ctrl && (selected_ & bit)) {
      // Ctrl+click on a selected row takes it out.
      selected_ = dragBase_;
      activeRow_ = row;
      renderSelection();
      return;
    }
  }
  selectRange(row, dragBase_);
}

void ChannelGrid::selectRange(int row, uint32_t base) {
  activeRow_ = std::clamp(row, 1, kGridRows - 1);
  uint32_t range = 0;
  for (int r = std::min(anchorRow_, activeRow_); r <= std::max(anchorRow_, activeRow_); ++r)
    range |= 1u << (r - 1);
  selected_ = base | range;
  // The current cell follows the moving end, so the keys go on from there.
  const int col = std::max(1, model_.currentCol());
  if (model_.setCurrentCell(activeRow_, col).current) refresh();
  renderSelection();
}

int ChannelGrid::rowAt(int y) const {
  const int row = grid_->rowAt(y);
  if (row >= 0) return row + 1;
  return y < 0 ? 1 : kGridRows - 1;
}

void ChannelGrid::renderSelection() {
  // The row header shows the selection; the cells keep their colours.
  const QPalette pal = palette();
  for (int r = 1; r < kGridRows; ++r) {
    QTableWidgetItem* head = grid_->item(r - 1, 0);
    const bool on = selected_ & (1u << (r - 1));
    head->setBackground(pal.color(on ? QPalette::Highlight : QPalette::Button));
    head->setForeground(pal.color(on ? QPalette::HighlightedText : QPalette::ButtonText));
  }
  if (onSelectionChanged) onSelectionChanged();
}

void ChannelGrid::refresh() {
  grid_->setUpdatesEnabled(false);
  for (int r = 1; r < kGridRows; ++r) renderRow(r);
  const bool was = syncing_;
  syncing_ = true;
  const int row = model_.currentRow() - 1;
  const int col = model_.currentCol();
  if (grid_->currentRow() != row || grid_->currentColumn() != col) grid_->setCurrentCell(row, col);
  syncing_ = was;
  grid_->setUpdatesEnabled(true);
  renderEditor();
}

bool ChannelGrid::commitPendingEdit() {
  inHandler_ = true;
  const bool wasOpen = model_.CommitPendingEdit();
  inHandler_ = false;
  refresh();
  return wasOpen;
}

void ChannelGrid::handle(const GridPress& press) {
  refresh();
  FollowPress(press.action, editor_, [&] { openSignalDialog(press); });
}

void ChannelGrid::openSignalDialog(const GridPress& press) {
  // Over the cell, a little to its left, so the cell's neighbours stay visible.
  QRect cell = grid_->visualItemRect(grid_->item(press.row - 1, press.col));
  QPoint at = grid_->viewport()->mapToGlobal(cell.topLeft());
  at.rx() -= TwipsToPixels(kSignalDialogShiftTwips);
  model_.finishSignalDialog(RunSignalDialog(app_, prompter_, this, press.signalText, at));
  refresh();
  grid_->setFocus(Qt::OtherFocusReason);
}

void ChannelGrid::editorKey(QKeyEvent* key, bool& consumed) {
  consumed = false;
  const int k = key->key();
  // Enter validates the text, Escape puts the cell's text back; either closes the editor.
  if (k == Qt::Key_Return || k == Qt::Key_Enter || k == Qt::Key_Escape) {
    inHandler_ = true;
    if (k == Qt::Key_Escape)
      model_.editorEscape();
    else
      model_.editorEnter();
    inHandler_ = false;
    refresh();
    grid_->setFocus(Qt::OtherFocusReason);
    consumed = true;
    return;
  }
  consumed = FilterEditorKey(key, editor_, model_);
}

bool ChannelGrid::eventFilter(QObject* watched, QEvent* event) {
  if (watched == grid_->viewport() && event->type() == QEvent::ContextMenu) {
    auto* menu = static_cast<QContextMenuEvent*>(event);
    const QModelIndex index = grid_->indexAt(menu->pos());
    if (index.isValid() && !(selected_ & (1u << index.row()))) {
      selected_ = 1u << index.row();
      anchorRow_ = index.row() + 1;
      renderSelection();
    }
    if (onContextMenu) onContextMenu(menu->globalPos());
    return true;
  }
  if (watched == grid_->viewport() && event->type() == QEvent::MouseButtonPress) {
    auto* mouse = static_cast<QMouseEvent*>(event);
    if (mouse->button() != Qt::LeftButton) return true;
    const QModelIndex index = grid_->indexAt(mouse->position().toPoint());
    if (!index.isValid()) return true;
    if (index.column() == 0) {
      pressRowHeader(index.row() + 1, mouse->modifiers());
      dragging_ = true;
      return true;
    }
    clearSelection();
    grid_->setFocus(Qt::MouseFocusReason);  // an open editor validates as it loses the focus
    handle(model_.pressCell(index.row() + 1, index.column()));
    return true;
  }
  if (watched == grid_->viewport() && event->type() == QEvent::MouseMove && dragging_) {
    auto* mouse = static_cast<QMouseEvent*>(event);
    if (!(mouse->buttons() & Qt::LeftButton)) {
      dragging_ = false;
    } else {
      const int row = rowAt(mouse->position().toPoint().y());
      if (row != activeRow_) selectRange(row, dragBase_);
    }
    return true;
  }
  if (watched == grid_->viewport() && event->type() == QEvent::MouseButtonRelease)
    dragging_ = false;
  if (watched == grid_->viewport() && event->type() == QEvent::MouseButtonDblClick) return true;
  if (watched == grid_ && event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    const bool vertical = key->key() == Qt::Key_Up || key->key() == Qt::Key_Down;
    if (vertical && (key->modifiers() & Qt::ShiftModifier)) {
      // Shift+Up/Down extends the selection from the current row.
      if (selected_ == 0) anchorRow_ = activeRow_ = model_.currentRow();
      selectRange(activeRow_ + (key->key() == Qt::Key_Up ? -1 : 1), 0);
      return true;
    }
    switch (key->key()) {
      case Qt::Key_Up:
      case Qt::Key_Down:
      case Qt::Key_Left:
      case Qt::Key_Right:
      case Qt::Key_PageUp:
      case Qt::Key_PageDown:
      case Qt::Key_Home:
      case Qt::Key_End:
        clearSelection();  // moving the current cell leaves the rows, as a click on a cell does
        return false;
      default:
        break;
    }
    int code = 0;
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)
      code = 13;
    else if (key->key() == Qt::Key_Space)
      code = 32;
    else if (key->text().size() == 1 && key->text().at(0) >= '0' && key->text().at(0) <= '9')
      code = key->text().at(0).unicode();
    if (code == 0) {
      // Arrows and the like move the current cell; other characters do nothing here (the
      // view would otherwise jump to a cell whose text starts with the letter).
      const QString text = key->text();
      return !text.isEmpty() && text.at(0).isPrint();
    }
    GridPress press = model_.keyPress(code);
    handle(press);
    return true;
  }
  if (watched == editor_) {
    if (event->type() == QEvent::KeyPress) {
      bool consumed = false;
      editorKey(static_cast<QKeyEvent*>(event), consumed);
      return consumed;
    }
    if (event->type() == QEvent::FocusOut && !inHandler_ && model_.freqEditor().visible) {
      if (!LeavesCell(static_cast<QFocusEvent*>(event))) return false;
      inHandler_ = true;
      model_.editorLostFocus();
      inHandler_ = false;
      refresh();
    }
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace qm::ui
