#include "ui/function_panel.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>

#include "ui/qt_text.h"

namespace qm::ui {

namespace {

constexpr int kRowsPerColumn = 4;

}  // namespace

FunctionPanel::FunctionPanel(FunctionSettingsModel& model, QWidget* parent)
    : QGroupBox(tr("整机功能"), parent), model_(model) {
  setAccessibleName(tr("整机功能"));
  setObjectName("frmScan");
  auto* layout = new QGridLayout(this);
  layout->setHorizontalSpacing(8);
  layout->setVerticalSpacing(6);
  int label1Index = 0;
  for (size_t k = 0; k < kFunctionLayout.size(); ++k) {
    const Fn fn = kFunctionLayout[k];
    const FunctionListInfo& info = FunctionInfo(fn);
    const size_t n = static_cast<size_t>(fn);
    auto* label = new QLabel(TrCore(info.label), this);
    const QString labelName = QString::fromUtf8(info.labelControl);
    label->setObjectName(labelName == "Label1" ? QString("Label1_%1").arg(label1Index++)
                                               : labelName);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    auto* box = new QComboBox(this);
    box->setObjectName(QString::fromUtf8(info.control));
    box->setMaxVisibleItems(16);
    box->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    label->setBuddy(box);
    labels_[n] = label;
    lists_[n] = box;
    const int column = static_cast<int>(k) / kRowsPerColumn;
    const int row = static_cast<int>(k) % kRowsPerColumn;
    layout->addWidget(label, row, column * 2);
    layout->addWidget(box, row, column * 2 + 1);
    connect(box, &QComboBox::activated, this, [this, fn](int position) {
      if (syncing_) return;
      FunctionChange change = model_.choose(fn, position);
      refresh();
      if (change.bandwidthApplied && onBandwidthApplied) onBandwidthApplied();
      if (change.focusMonitor) {
        QComboBox* monitor = list(Fn::Monitor);
        if (monitor->isVisible()) monitor->setFocus(Qt::OtherFocusReason);
      }
    });
  }
  for (int c = 0; c < 4; ++c) layout->setColumnStretch(c * 2 + 1, 1);
  refresh();
}

void FunctionPanel::render(Fn fn) {
  QComboBox* box = list(fn);
  const ComboModel& combo = model_.list(fn);
  syncing_ = true;
  bool same = box->count() == combo.count();
  for (int i = 0; same && i < combo.count(); ++i) same = box->itemText(i) == TrCore(combo.item(i));
  if (!same) {
    box->clear();
    QStringList items;
    for (const std::string& s : combo.items()) items << TrCore(s);
    box->addItems(items);
    // A list keeps the smallest width it worked out for its first entries; after a language
    // switch its entries are other words, and it must not be squeezed below them.
    box->setMinimumWidth(box->sizeHint().width());
  }
  if (box->currentIndex() != combo.selected()) box->setCurrentIndex(combo.selected());
  // A value rejected on load shows in red until the user chooses again.
  QPalette pal = palette();
  if (model_.rejected(fn)) MarkRed(pal);
  box->setPalette(pal);
  // The red mark is told to a screen reader too.
  box->setAccessibleDescription(model_.rejected(fn) ? tr("读入的值无效，请重新选择") : QString());
  syncing_ = false;
}

void FunctionPanel::retranslate() {
  setTitle(tr("整机功能"));
  setAccessibleName(tr("整机功能"));
  for (int i = 0; i < kFunctionListCount; ++i)
    labels_[static_cast<size_t>(i)]->setText(TrCore(FunctionInfo(static_cast<Fn>(i)).label));
  // The lists keep the smallest width worked out for their first entries; setting the
  // contents length there and back makes them work it out again for the new ones.
  refresh();
}

void FunctionPanel::changeEvent(QEvent* event) {
  // A theme switched while the program runs: the red marks are worked out on the new palette.
  if (event->type() == QEvent::PaletteChange && !syncing_) refresh();
  QGroupBox::changeEvent(event);
}

void FunctionPanel::refresh() {
  for (int i = 0; i < kFunctionListCount; ++i) render(static_cast<Fn>(i));
}

}  // namespace qm::ui
