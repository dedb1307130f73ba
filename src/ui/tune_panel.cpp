#include "ui/tune_panel.h"

#include <QCheckBox>
#include <QFocusEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "ui/cell_editor.h"
#include "ui/qt_text.h"

namespace qm::ui {

namespace {

constexpr int kRowHeight = 22;
constexpr int kBoxColumns = kTuneBoxColumns;
constexpr int kDataColumns = kTuneGridCols - 1;
const std::array<const char*, kDataColumns + kBoxColumns>& kHeaders = kTuneGridHeaders;
// Narrow enough that the table, its boxes and the tree fit the window's design width.
constexpr std::array<int, kDataColumns + kBoxColumns> kWidths = {84, 58, 84, 84, 58,
                                                                 84, 36, 36, 36};

// A box centred in its grid cell.
template <class Box>
Box* CellBox(QTableWidget* grid, int row, int col, const QString& name) {
  auto* holder = new QWidget(grid);
  auto* layout = new QHBoxLayout(holder);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setAlignment(Qt::AlignCenter);
  auto* box = new Box(holder);
  box->setObjectName(name);
  layout->addWidget(box);
  grid->setCellWidget(row, col, holder);
  return box;
}

}  // namespace

TunePanel::TunePanel(TuneController& tune, const AppState& app, Prompter& prompter, QWidget* parent)
    : QWidget(parent), tune_(tune), app_(app), prompter_(prompter) {
  setObjectName("tuneView");
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(8);
  buildTree();
  layout->addWidget(tree_);
  auto* right = new QVBoxLayout;
  right->addWidget(buildTablePanel());
  right->addWidget(buildItemPanel());
  right->addStretch();
  layout->addLayout(right, 1);
  render();
}

void TunePanel::buildTree() {
  tree_ = new QTreeWidget(this);
  tree_->setObjectName("TreeView2");
  tree_->setHeaderHidden(true);
  tree_->setColumnCount(1);
  tree_->setRootIsDecorated(true);
  std::map<std::string, QTreeWidgetItem*> byKey;
  for (const TuneTreeNode& n : kTuneTree) {
    QTreeWidgetItem* item =
        n.parent == nullptr ? new QTreeWidgetItem(tree_) : new QTreeWidgetItem(byKey.at(n.parent));
    item->setData(0, Qt::UserRole, QString::fromUtf8(n.key));
    texts_.add([item, text = n.text] { item->setText(0, TrCore(text)); });
    byKey[n.key] = item;
  }
  byKey.at("adjust")->setExpanded(true);
  texts_.add([this] {
    // English item names are longer; the tree widens in English only.
    tree_->setFixedWidth(ActiveLanguage() == Language::English ? 230 : 170);
    tree_->setAccessibleName(tr("调测项目"));
    tree_->setAccessibleDescription(tr("单击一个项目开始调整；“调测信道”编辑调测用的信道"));
  });
  connect(tree_, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item, int) {
    if (commitPendingEdit) commitPendingEdit();
    const std::string key = item->data(0, Qt::UserRole).toString().toStdString();
    run([this, key] { tune_.NodeClick(key); });
  });
}

QTreeWidgetItem* TunePanel::node(const char* key) const {
  const QString k = QString::fromUtf8(key);
  for (QTreeWidgetItemIterator it(tree_); *it; ++it) {
    if ((*it)->data(0, Qt::UserRole).toString() == k) return *it;
  }
  return nullptr;
}

QWidget* TunePanel::buildItemPanel() {
  fraTune_ = new QGroupBox(this);
  fraTune_->setObjectName("fraTune");
  auto* layout = new QVBoxLayout(fraTune_);
  fraTuneCH_ = new QGroupBox(fraTune_);
  fraTuneCH_->setObjectName("fraTuneCH");
  auto* data = new QGridLayout(fraTuneCH_);
  const auto pair = [&](int row, int col, const char* caption, const char* name) {
    auto* label = new QLabel(fraTuneCH_);
    texts_.add([label, caption] { label->setText(tr(caption)); });
    auto* value = new QLabel(fraTuneCH_);
    value->setObjectName(name);
    value->setMinimumWidth(90);
    data->addWidget(label, row, col);
    data->addWidget(value, row, col + 1);
    return value;
  };
  lblRxfreq_ = pair(0, 0, QT_TR_NOOP("接收频率(MHz): "), "lblRxfreq");
  lblRxCTC_ = pair(0, 2, QT_TR_NOOP("接收CTC/DCS: "), "lblRxCTC");
  lblTxFreq_ = pair(1, 0, QT_TR_NOOP("发射频率(MHz): "), "lblTxFreq");
  lblTxCTC_ = pair(1, 2, QT_TR_NOOP("发射CTC/DCS: "), "lblTxCTC");
  layout->addWidget(fraTuneCH_);

  auto* adjust = new QHBoxLayout;
  hsbTune_ = new QScrollBar(Qt::Horizontal, fraTune_);
  hsbTune_->setObjectName("hsbTune");
  hsbTune_->setRange(0, kTuneValueMax);
  hsbTune_->setSingleStep(1);
  hsbTune_->setPageStep(kTuneValuePageStep);
  hsbTune_->setMinimumWidth(360);
  // Every trial value holds the window while the radio answers: a drag of the thumb sends
  // the value where it is released, not every value on the way.
  hsbTune_->setTracking(false);
  // It takes the focus (Tab, a click) like any other control, so the arrows and Page Up/Down
  // step the value, one trial value each, instead of moving through the tree.
  hsbTune_->setFocusPolicy(Qt::StrongFocus);
  hsbTune_->installEventFilter(this);
  lblTuneVal_ = new QLabel("0", fraTune_);
  lblTuneVal_->setObjectName("lblTuneVal");
  lblTuneVal_->setMinimumWidth(40);
  lblTuneVal_->setAlignment(Qt::AlignCenter);
  lblTuneVal_->setFrameShape(QFrame::StyledPanel);
  adjust->addWidget(hsbTune_, 1);
  adjust->addWidget(lblTuneVal_);
  layout->addLayout(adjust);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  auto* ok = new QPushButton(fraTune_);
  ok->setObjectName("cmdOK");
  auto* cancel = new QPushButton(fraTune_);
  cancel->setObjectName("cmdCancel");
  texts_.add([ok, cancel] {
    ok->setText(tr("确定"));
    ok->setAccessibleDescription(tr("把调整的值写入对讲机"));
    cancel->setText(tr("取消"));
    cancel->setAccessibleDescription(tr("放弃调整的值"));
  });
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  layout->addLayout(buttons);

  connect(hsbTune_, &QScrollBar::sliderMoved, this,
          [this](int position) { lblTuneVal_->setText(QString::number(position)); });
  connect(hsbTune_, &QScrollBar::valueChanged, this, [this](int value) {
    if (syncing_) return;
    // Every change goes to the radio at once; the value label follows.
    lblTuneVal_->setText(QString::number(value));
    run([this, value] { tune_.ScrollChanged(value); }, true);
  });
  connect(ok, &QPushButton::clicked, this, [this] { run([this] { tune_.Ok(); }); });
  connect(cancel, &QPushButton::clicked, this, [this] { run([this] { tune_.Cancel(); }); });
  return fraTune_;
}

QWidget* TunePanel::buildTablePanel() {
  fraTuneSet_ = new QGroupBox(this);
  fraTuneSet_->setObjectName("fraTuneSet");
  fraTuneSet_->installEventFilter(this);
  auto* layout = new QVBoxLayout(fraTuneSet_);
  grid_ = new QTableWidget(kTuneChannelCount, kDataColumns + kBoxColumns, fraTuneSet_);
  grid_->setObjectName("gridTune");
  grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grid_->setSelectionMode(QAbstractItemView::NoSelection);
  grid_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  grid_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  grid_->setTabKeyNavigation(false);
  grid_->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  grid_->horizontalHeader()->setSectionsClickable(false);
  grid_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  grid_->verticalHeader()->setDefaultSectionSize(kRowHeight);
  grid_->verticalHeader()->setSectionsClickable(false);
  for (int c = 0; c < kDataColumns + kBoxColumns; ++c)
    grid_->setHorizontalHeaderItem(c, new QTableWidgetItem);
  for (int r = 0; r < kTuneChannelCount; ++r) {
    grid_->setVerticalHeaderItem(r, new QTableWidgetItem(QString::number(r + 1)));
    for (int c = 0; c < kDataColumns; ++c) {
      auto* item = new QTableWidgetItem;
      item->setFlags(Qt::ItemIsEnabled);
      item->setTextAlignment(Qt::AlignCenter);
      grid_->setItem(r, c, item);
    }
    const size_t i = static_cast<size_t>(r);
    optTestCh_[i] = CellBox<QRadioButton>(grid_, r, kDataColumns, QString("optTestCh_%1").arg(r));
    optTestCh_[i]->setAutoExclusive(false);
    chkTuneCH_[i] = CellBox<QCheckBox>(grid_, r, kDataColumns + 1, QString("chkTuneCH_%1").arg(r));
    chkTuneTx_[i] = CellBox<QCheckBox>(grid_, r, kDataColumns + 2, QString("chkTuneTx_%1").arg(r));
    // On `toggled`, so that a screen reader's toggle action, which clicks nothing, counts.
    connect(optTestCh_[i], &QRadioButton::toggled, this, [this, r] {
      if (syncing_) return;
      tune_.table().clickTestChannel(r);
      renderTable();
    });
    connect(chkTuneCH_[i], &QCheckBox::toggled, this, [this, r] {
      if (syncing_) return;
      tune_.table().clickChannelOff(r);
      renderTable();
    });
    connect(chkTuneTx_[i], &QCheckBox::toggled, this, [this, r] {
      if (syncing_) return;
      tune_.table().clickTxInhibit(r);
      renderTable();
    });
  }
  grid_->viewport()->installEventFilter(this);
  grid_->installEventFilter(this);
  layout->addWidget(grid_);

  editor_ = NewCellEditor(grid_, "txtTuneFreq", this);
  connect(editor_, &QLineEdit::textChanged, this, [this](const QString& text) {
    if (syncing_) return;
    tune_.table().editorTextChanged(text.toStdString());
    renderTable();
  });

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  auto* save = new QPushButton(fraTuneSet_);
  save->setObjectName("cmdSaveTnFq");
  texts_.add([this, save] {
    fraTuneSet_->setTitle(tr("调测信道"));
    save->setText(tr("写入调测信道"));
    grid_->setAccessibleName(tr("调测信道表"));
    grid_->setAccessibleDescription(
        tr("11个调测信道的收发频率、步进和信令；每行末尾选择调测用信道、关闭或禁止发射"));
    for (int r = 0; r < kTuneChannelCount; ++r) {
      const size_t i = static_cast<size_t>(r);
      // Each box by its row and its column, as the eye finds them.
      const QString row = tr("调测信道%1").arg(r + 1);
      optTestCh_[i]->setAccessibleName(row + ' ' + TrCore(kHeaders[kDataColumns]));
      optTestCh_[i]->setAccessibleDescription(tr("选中后各项目在此信道上调整"));
      chkTuneCH_[i]->setAccessibleName(row + ' ' + TrCore(kHeaders[kDataColumns + 1]));
      chkTuneTx_[i]->setAccessibleName(row + ' ' + TrCore(kHeaders[kDataColumns + 2]));
    }
    layoutColumns();
  });
  buttons->addWidget(save);
  layout->addLayout(buttons);
  connect(save, &QPushButton::clicked, this, [this] { run([this] { tune_.SaveTuneTable(); }); });
  return fraTuneSet_;
}

void TunePanel::run(const std::function<void()>& command, bool quick) {
  if (runCommand) {
    runCommand(command, quick);
  } else {
    command();
    render();
  }
}

void TunePanel::layoutColumns() {
  int width = grid_->verticalHeader()->sizeHint().width();
  for (int c = 0; c < kDataColumns + kBoxColumns; ++c) {
    const QString header = TwoLineHeader(TrCore(kHeaders[c]));
    grid_->horizontalHeaderItem(c)->setText(header);
    int px = kWidths[static_cast<size_t>(c)];
    // English words are longer: the columns widen to their headers, in English only.
    if (ActiveLanguage() == Language::English)
      px = std::max(px, LinesWidth(grid_->horizontalHeader()->fontMetrics(), header) + 10);
    grid_->setColumnWidth(c, px);
    width += px;
  }
  const int frame = 2 * grid_->frameWidth();
  grid_->setFixedSize(width + frame, grid_->horizontalHeader()->sizeHint().height() +
                                         kTuneChannelCount * kRowHeight + frame);
}

void TunePanel::retranslate() {
  texts_.apply();
  render();
}

void TunePanel::changeEvent(QEvent* event) {
  // A theme switched while the program runs: the cells take the new palette's colours.
  if (event->type() == QEvent::PaletteChange && grid_) render();
  QWidget::changeEvent(event);
}

void TunePanel::renderTable() {
  const TuneTableModel& t = tune_.table();
  const bool was = syncing_;
  syncing_ = true;
  for (int r = 0; r < kTuneChannelCount; ++r) {
    for (int c = 0; c < kDataColumns; ++c) {
      QTableWidgetItem* item = grid_->item(r, c);
      const QString text = TrCore(t.text(r + 1, c + 1));
      if (item->text() != text) item->setText(text);
      const CellLook look = TuneLookOf(t.color(r + 1, c + 1), ThemeOf(palette()));
      item->setForeground(ToQColor(look.text));
      item->setBackground(ToQColor(look.background));
      item->setData(Qt::AccessibleDescriptionRole, TrCore(t.cellNote(r + 1, c + 1)));
    }
    const size_t i = static_cast<size_t>(r);
    optTestCh_[i]->setChecked(t.selectedChannel() == r);
    optTestCh_[i]->setEnabled(t.optionEnabled(r));
    chkTuneCH_[i]->setChecked(t.channelOff(r));
    chkTuneCH_[i]->setEnabled(t.channelOffEnabled(r));
    chkTuneTx_[i]->setChecked(t.txInhibited(r));
    chkTuneTx_[i]->setEnabled(t.txInhibitEnabled(r));
  }
  syncing_ = was;
  renderEditor();
}

void TunePanel::renderEditor() {
  const TuneFreqEditor& ed = tune_.table().freqEditor();
  const bool was = syncing_;
  syncing_ = true;
  if (ed.visible && ed.row >= 1 && ed.row <= kTuneChannelCount && ed.col >= 1 &&
      ed.col <= kDataColumns) {
    editor_->setGeometry(grid_->visualItemRect(grid_->item(ed.row - 1, ed.col - 1)));
    if (editor_->text() != Q(ed.text)) editor_->setText(Q(ed.text));
    if (!editor_->isVisible()) {
      editor_->show();
      editor_->selectAll();
    }
  } else if (editor_->isVisible()) {
    editor_->hide();
  }
  syncing_ = was;
}

void TunePanel::render() {
  const TuneView& v = tune_.view();
  const bool was = syncing_;
  syncing_ = true;
  tree_->setVisible(v.treeVisible);
  fraTuneSet_->setVisible(v.tableVisible);
  fraTune_->setVisible(v.itemVisible);
  const Rgb base = ToRgb(tree_->palette().color(QPalette::Base));
  const QColor grey =
      ToQColor(ReadableOn(ToRgb(palette().color(QPalette::Disabled, QPalette::Text)), base));
  const QColor normal = palette().color(QPalette::Active, QPalette::Text);
  for (const char* key : {"CTCDevN", "DCSDevN"}) {
    if (QTreeWidgetItem* n = node(key)) n->setForeground(0, v.narrowNodesGrey ? grey : normal);
  }
  fraTune_->setTitle(TrCore(v.itemCaption));
  fraTuneCH_->setTitle(TrCore(v.channelCaption));
  lblRxfreq_->setText(Q(v.rxFreq));
  lblRxCTC_->setText(TrCore(v.rxSignal));
  lblTxFreq_->setText(Q(v.txFreq));
  lblTxCTC_->setText(TrCore(v.txSignal));
  if (hsbTune_->value() != v.scrollValue) hsbTune_->setValue(v.scrollValue);
  lblTuneVal_->setText(Q(v.valueLabel));
  // The bar is named by the item it adjusts; its value is read with it.
  hsbTune_->setAccessibleName(v.itemCaption.empty() ? tr("调测值") : TrCore(v.itemCaption));
  hsbTune_->setAccessibleDescription(tr("调测值%1，左右键逐一调整").arg(Q(v.valueLabel)));
  syncing_ = was;
  renderTable();
}

void TunePanel::handlePress(const CellPress& press) {
  renderTable();
  FollowPress(press.action, editor_, [&] { openSignalDialog(press); });
}

void TunePanel::openSignalDialog(const CellPress& press) {
  // Beside the grid, so that the row being edited stays in view.
  const QRect cell = grid_->visualItemRect(grid_->item(press.row - 1, press.col - 1));
  const QPoint at = grid_->viewport()->mapToGlobal(cell.bottomLeft()) + QPoint(0, 4);
  tune_.table().finishSignalDialog(press.row, press.col,
                                   RunSignalDialog(app_, prompter_, this, press.signalText, at));
  renderTable();
  grid_->setFocus(Qt::OtherFocusReason);
}

bool TunePanel::eventFilter(QObject* watched, QEvent* event) {
  if (watched == hsbTune_ && event->type() == QEvent::KeyPress) {
    // A scroll bar takes Left and Right as it takes Up and Down, the wrong way round for a
    // horizontal one: Left lowers the value and Right raises it, as on the scale.
    const int k = static_cast<QKeyEvent*>(event)->key();
    if (k == Qt::Key_Left || k == Qt::Key_Right) {
      hsbTune_->triggerAction(k == Qt::Key_Left ? QAbstractSlider::SliderSingleStepSub
                                                : QAbstractSlider::SliderSingleStepAdd);
      return true;
    }
    return false;
  }
  // The panel's frame reports its children as they are built.
  if (grid_ == nullptr || editor_ == nullptr) return QWidget::eventFilter(watched, event);
  TuneTableModel& t = tune_.table();
  if (watched == fraTuneSet_ && event->type() == QEvent::MouseButtonPress) {
    inHandler_ = true;
    t.CommitPendingEdit();
    inHandler_ = false;
    if (commitPendingEdit) commitPendingEdit();
    renderTable();
    return false;
  }
  if (watched == grid_->viewport() && event->type() == QEvent::MouseButtonPress) {
    auto* mouse = static_cast<QMouseEvent*>(event);
    if (mouse->button() != Qt::LeftButton) return true;
    const QModelIndex index = grid_->indexAt(mouse->position().toPoint());
    if (!index.isValid() || index.column() >= kDataColumns) return false;
    grid_->setFocus(Qt::MouseFocusReason);  // an open editor validates as it loses the focus
    handlePress(t.pressCell(index.row() + 1, index.column() + 1));
    return true;
  }
  if (watched == grid_->viewport() && event->type() == QEvent::MouseButtonDblClick) return true;
  if (watched == grid_ && event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    int code = 0;
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) code = 13;
    if (key->key() == Qt::Key_Space) code = 32;
    if (code == 0) return false;
    handlePress(t.keyPress(code));
    return true;
  }
  if (watched == editor_ && event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    const int k = key->key();
    if (k == Qt::Key_Return || k == Qt::Key_Enter) {
      inHandler_ = true;
      t.editorEnter();
      inHandler_ = false;
      renderTable();
      grid_->setFocus(Qt::OtherFocusReason);
      return true;
    }
    if (k == Qt::Key_Up || k == Qt::Key_Down) {
      if (k == Qt::Key_Up) t.editorUp();
      if (k == Qt::Key_Down) t.editorDown();
      renderTable();
      return true;
    }
    return FilterEditorKey(key, editor_, t);
  }
  if (watched == editor_ && event->type() == QEvent::FocusOut && !inHandler_ &&
      t.freqEditor().visible) {
    if (!LeavesCell(static_cast<QFocusEvent*>(event))) return false;
    // Leaving the cell validates it first, then the editor goes.
    inHandler_ = true;
    t.validateEditor();
    t.editorLostFocus();
    inHandler_ = false;
    renderTable();
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace qm::ui
