#include "ui/small_dialogs.h"

#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

#include "base/model_table.h"
#include "ui/icons.h"
#include "ui/qt_text.h"

namespace qm::ui {

namespace {}  // namespace

// ---- frmFlash ----

FrmFlash::FrmFlash(const AppState& app, QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
  setObjectName("frmFlash");
  setFixedSize(420, 220);
  setAutoFillBackground(true);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(24, 24, 24, 24);
  auto* icon = new QLabel(this);
  icon->setPixmap(RadioPixmap(48));
  icon->setAlignment(Qt::AlignCenter);
  auto* label1 = new QLabel(Q(app.radioSeries), this);
  label1->setObjectName("Label1");
  label1->setAlignment(Qt::AlignCenter);
  QFont big = label1->font();
  big.setPointSizeF(big.pointSizeF() * 1.6);
  big.setBold(true);
  label1->setFont(big);
  // A button in look only: it carries the title, as on the radio's box.
  auto* command1 = new QPushButton(TrCore(app.softwareTitle), this);
  command1->setObjectName("Command1");
  command1->setFocusPolicy(Qt::NoFocus);
  command1->setMinimumHeight(36);
  layout->addWidget(icon);
  layout->addWidget(label1);
  layout->addStretch();
  layout->addWidget(command1);
}

void FrmFlash::paintEvent(QPaintEvent* event) {
  QWidget::paintEvent(event);
  QPainter p(this);
  const int w = width();
  const int h = height();
  for (int i = 1; i <= 4; ++i) {
    // The raised edge: light along the top and left, dark along the right and bottom.
    p.setPen(QColor(255, 255, 255));
    p.drawLine(i - 1, i - 1, w - i, i - 1);
    p.drawLine(i - 1, i - 1, i - 1, h - i);
    p.setPen(QColor(64, 64, 64));
    p.drawLine(w - i, i - 1, w - i, h - i);
    p.drawLine(i - 1, h - i, w - i, h - i);
  }
}

// ---- frmAbout ----

FrmAbout::FrmAbout(const AppState& app, QWidget* parent) : QDialog(parent) {
  setObjectName("frmAbout");
  setWindowTitle(tr("关于%1").arg(TrCore(app.softwareTitle)));
  auto* layout = new QGridLayout(this);
  auto* picture = new QLabel(this);
  picture->setObjectName("picIcon");
  picture->setPixmap(RadioPixmap(64));
  auto* description = new QLabel(TrCore(app.softwareTitle), this);
  description->setObjectName("lblDescription");
  QFont f = description->font();
  f.setBold(true);
  f.setPointSizeF(f.pointSizeF() * 1.3);
  description->setFont(f);
  auto* version = new QLabel(tr("版本2.1"), this);
  version->setObjectName("lblVersion");
  auto* label2 = new QLabel(tr("适用于Windows9x/2000"), this);
  label2->setObjectName("Label2");
  auto* line = new QFrame(this);
  line->setFrameShape(QFrame::HLine);
  line->setFrameShadow(QFrame::Sunken);
  auto* ok = new QPushButton(tr("关闭(&C)"), this);
  ok->setObjectName("cmdOK");
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  layout->addWidget(picture, 0, 0, 3, 1, Qt::AlignTop);
  layout->addWidget(description, 0, 1);
  layout->addWidget(version, 1, 1);
  layout->addWidget(label2, 2, 1);
  layout->addWidget(line, 3, 0, 1, 2);
  layout->addWidget(ok, 4, 1, Qt::AlignRight);
  layout->setHorizontalSpacing(16);
  setMinimumWidth(360);
}

// ---- frmRadio ----

FrmRadio::FrmRadio(const AppState& app, QWidget* parent) : QDialog(parent), app_(app) {
  setObjectName("frmRadio");
  setWindowTitle(tr("机型信息"));
  auto* layout = new QGridLayout(this);
  auto* lblModel = new QLabel(tr("机型："), this);
  lblModel->setObjectName("lblModel");
  cboModel_ = new QComboBox(this);
  cboModel_->setObjectName("cboModel");
  for (int i = 0; i < app.modelCount && i < static_cast<int>(app.models.size()); ++i)
    cboModel_->addItem(Q(app.models[static_cast<size_t>(i)].name));
  cboModel_->setCurrentIndex(app.curModel < cboModel_->count() ? app.curModel : -1);
  newModel_ = app.curModel;
  auto* lblBand = new QLabel(tr("频率范围："), this);
  lblBand->setObjectName("lblBandCaption");
  lblFreqBand_ = new QLabel(this);
  lblFreqBand_->setObjectName("lblFreqBand");
  auto* lblCpuCaption = new QLabel(tr("CPU版本："), this);
  lblCpuCaption->setObjectName("lblCPUCaption");
  auto* lblCpu = new QLabel(QStringLiteral("V") + Q(app.radioVersion.text()), this);
  lblCpu->setObjectName("lblCPU");
  auto* ok = new QPushButton(tr("确定(&O)"), this);
  ok->setObjectName("CmdOK");
  ok->setDefault(true);
  auto* cancel = new QPushButton(tr("取消(&C)"), this);
  cancel->setObjectName("CmdCancel");

  layout->addWidget(lblModel, 0, 0);
  layout->addWidget(cboModel_, 0, 1);
  layout->addWidget(lblBand, 1, 0);
  layout->addWidget(lblFreqBand_, 1, 1);
  layout->addWidget(lblCpuCaption, 2, 0);
  layout->addWidget(lblCpu, 2, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  layout->addLayout(buttons, 3, 0, 1, 2);
  layout->setColumnMinimumWidth(1, 220);
  showBand(app.curModel);

  connect(cboModel_, &QComboBox::activated, this, &FrmRadio::showBand);
  connect(ok, &QPushButton::clicked, this, [this] {
    saveRadioInfo();
    accept();
  });
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void FrmRadio::showBand(int index) {
  if (index < 0 || index >= static_cast<int>(app_.models.size())) {
    lblFreqBand_->clear();
    return;
  }
  lblFreqBand_->setText(Q(BuildBandText(app_, index)));
}

void FrmRadio::saveRadioInfo() {
  const int chosen = cboModel_->currentIndex();
  modelChanged_ = chosen >= 0 && chosen != app_.curModel;
  newModel_ = modelChanged_ ? chosen : app_.curModel;
}

}  // namespace qm::ui
