#include "ui/main_window.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDateTime>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QMimeData>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <cstdio>

#include "base/model_table.h"
#include "files/recent_files.h"
#include "platform/qt_serial_port.h"
#include "tune/tune_controller.h"
#include "ui/channel_grid.h"
#include "ui/edit_menu.h"
#include "ui/extras_menu.h"
#include "ui/function_panel.h"
#include "ui/help_window.h"
#include "ui/icons.h"
#include "ui/link_thread.h"
#include "ui/qt_text.h"
#include "ui/radio_dialogs.h"
#include "ui/small_dialogs.h"
#include "ui/tune_panel.h"

namespace qm::ui {

namespace {

constexpr int kStartupTimerMs = 1200;
constexpr int kDesignWidth = 800;
constexpr int kDesignHeight = 600;

// The caption in the interface language: the notice and the title before the path are the
// program's texts, the path is the user's.
QString DisplayCaption(std::string_view caption, const std::string& title) {
  if (ActiveLanguage() == Language::Chinese) return QString::fromUtf8(caption);
  QString out;
  for (const std::string_view notice : {kReadDoneNotice, kWriteDoneNotice, kTuningNotice}) {
    if (caption.starts_with(notice)) {
      out += TrCore(notice);
      caption.remove_prefix(notice.size());
      break;
    }
  }
  if (caption.starts_with(title)) {
    out += TrCore(title);
    caption.remove_prefix(title.size());
  }
  return out + QString::fromUtf8(caption);
}

// The data file a drop carries: the first local .q83, .z410 or .toml file, or an empty text.
QString DroppedDataFile(const QMimeData* mime) {
  if (!mime) return {};
  for (const QUrl& url : mime->urls()) {
    const QString path = url.toLocalFile();
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (!path.isEmpty() && (suffix == "q83" || suffix == "z410" || suffix == "toml")) return path;
  }
  return {};
}

// A menu caption shows "&" as a mnemonic marker; a path's own "&" must stay visible.
QString MenuText(const std::string& s) { return Q(s).replace('&', "&&"); }

struct ToolButtonInfo {
  const char* key;
  const char* tooltip;
};
constexpr std::array<ToolButtonInfo, 6> kToolButtons = {{
    {"Open", QT_TRANSLATE_NOOP("qm::ui::FrmMain", "打开")},
    {"Save", QT_TRANSLATE_NOOP("qm::ui::FrmMain", "保存")},
    {"Print", QT_TRANSLATE_NOOP("qm::ui::FrmMain", "打印")},
    {"Read", QT_TRANSLATE_NOOP("qm::ui::FrmMain", "读频")},
    {"COMport", QT_TRANSLATE_NOOP("qm::ui::FrmMain", "端口选择")},
    {"Write", QT_TRANSLATE_NOOP("qm::ui::FrmMain", "写频")},
}};

}  // namespace

FrmMain::FrmMain(AppState& app, Prompter& prompter, FileDialogs& dialogs,
                 const ProfileFile& iniFile, QWidget* parent)
    : QMainWindow(parent),
      app_(app),
      prompter_(prompter),
      dialogs_(dialogs),
      ini_(iniFile),
      doc_(app, prompter, iniFile) {
  setObjectName("frmMain");
  setAttribute(Qt::WA_DeleteOnClose, false);
  translationDir_ = QCoreApplication::applicationDirPath();
  doc_.hooks.recentFilesChanged = [this] { showRecentFiles(); };
  doc_.hooks.showModelInfo = [this] {
    showModelInfo();
    // The tune channel table view follows the image as well: a file opened or a radio read
    // brings its own table, which the tune report prints.
    tune_->table().DisplayTuneGrid(doc_.image);
  };

  buildRadio();
  buildMenus();
  buildToolBar();
  buildStatusBar();
  buildContent();
  installEventFilter(this);

  // "编辑(&E)" between "文件(&F)" and "机型(&M)".
  edit_ = new EditCommands(
      this, doc_, app_, prompter_, *grid_,
      {[this] { commitPendingEdit(); }, [this] { refreshAll(); }, [this] { return busy_; },
       [this] { return tune_->view().channelPanelsVisible; }});
  edit_->setObjectName("editCommands");
  QMenu* modelMenu = menuBar()->findChild<QMenu*>("mnuModel");
  // Undo and redo on a toolbar of their own beside the main one.
  QToolBar* editBar = addToolBar(QString());
  editBar->setObjectName("tbEditBar");
  texts_.add([editBar] {
    editBar->setWindowTitle(tr("编辑"));
    editBar->setAccessibleName(tr("编辑"));
  });
  editBar->setMovable(false);
  editBar->setFloatable(false);
  editBar->setIconSize(toolBar_->iconSize());
  editBar->toggleViewAction()->setEnabled(false);
  editBar->installEventFilter(this);
  edit_->install(menuBar(), modelMenu ? modelMenu->menuAction() : nullptr, editBar);
  setAcceptDrops(true);

  timer1_ = new QTimer(this);
  timer1_->setObjectName("Timer1");
  timer1_->setSingleShot(true);
  timer1_->setInterval(kStartupTimerMs);
  connect(timer1_, &QTimer::timeout, this, [this] {
    timer1_->stop();
    if (splash_) splash_->close();
    QApplication::restoreOverrideCursor();
  });
  shownLanguage_ = ActiveLanguage();
}

FrmMain::~FrmMain() = default;

QAction* FrmMain::addItem(QMenu* menu, const char* name, const char* caption,
                          const QKeySequence& shortcut) {
  auto* action = new QAction(this);
  action->setObjectName(name);
  texts_.add([action, caption] { action->setText(tr(caption)); });
  if (!shortcut.isEmpty()) action->setShortcut(shortcut);
  menu->addAction(action);
  actions_[name] = action;
  return action;
}

QMenu* FrmMain::addMenu(const char* name, const char* caption) {
  QMenu* menu = menuBar()->addMenu(QString());
  menu->setObjectName(name);
  texts_.add([menu, caption] {
    menu->setTitle(tr(caption));
    menu->setAccessibleName(QString(menu->title()).remove('&'));
  });
  return menu;
}

QAction* FrmMain::addItem(QMenu* menu, const char* name, const QString& caption) {
  auto* action = new QAction(caption, this);
  action->setObjectName(name);
  menu->addAction(action);
  actions_[name] = action;
  return action;
}

QAction* FrmMain::addSeparator(QMenu* menu, const char* name) {
  QAction* sep = menu->addSeparator();
  sep->setObjectName(name);
  actions_[name] = sep;
  return sep;
}

void FrmMain::buildMenus() {
  QMenuBar* bar = menuBar();
  bar->setObjectName("menuBar");
  bar->installEventFilter(this);

  QMenu* file = addMenu("mnuFile", QT_TR_NOOP("文件(&F)"));
  addItem(file, "mnuFileNew", QT_TR_NOOP("新建(&N)"), QKeySequence("Ctrl+N"))->setEnabled(false);
  addItem(file, "mnuFileOpen", QT_TR_NOOP("打开(&O)"), QKeySequence("Ctrl+O"));
  addSeparator(file, "mnuFileBar0");
  addItem(file, "mnuFileSave", QT_TR_NOOP("保存(&S)"), QKeySequence("Ctrl+S"));
  addItem(file, "mnuFileSaveAs", QT_TR_NOOP("另存为(&A)"));
  addSeparator(file, "mnuFileBar2");
  addItem(file, "mnuFilePrint", QT_TR_NOOP("打印(&P)"), QKeySequence("Ctrl+P"));
  addItem(file, "mnuFilePrintPreview", QT_TR_NOOP("打印预览(&V)..."));
  addItem(file, "mnuFileExportPdf", QT_TR_NOOP("导出PDF(&D)..."));
  addSeparator(file, "mnuFileBar3");
  for (int n = 1; n <= kRecentFileCount; ++n) {
    const QByteArray name = QString("mnuRecentFile_%1").arg(n).toUtf8();
    QAction* a = addItem(file, name.constData(), QString("&RecentFile"));
    a->setVisible(false);
    recent_[static_cast<size_t>(n - 1)] = a;
    connect(a, &QAction::triggered, this, [this, n] { openRecentFile(n); });
  }
  addSeparator(file, "seperator4");
  addItem(file, "mnuFileExit", QT_TR_NOOP("退出(&X)"));

  QMenu* model = addMenu("mnuModel", QT_TR_NOOP("机型(&M)"));
  addItem(model, "mnuRadioInfo", QT_TR_NOOP("机型信息(&M)"));

  QMenu* operate = addMenu("mnuOperate", QT_TR_NOOP("编程(&O)"));
  addItem(operate, "mnuRead", QT_TR_NOOP("读频(&R)"), QKeySequence("Ctrl+R"));
  addItem(operate, "mnuWrite", QT_TR_NOOP("写频(&W)"), QKeySequence("Ctrl+W"));
  addSeparator(operate, "sepp");
  addItem(operate, "mnuTune", QT_TR_NOOP("调测(&T)"))->setCheckable(true);

  QMenu* option = addMenu("mnuOption", QT_TR_NOOP("设置窗口(&P)"));
  QAction* channel = addItem(option, "mnuChannel", QT_TR_NOOP("信道窗口(&C)"));
  channel->setCheckable(true);
  channel->setChecked(true);
  addSeparator(option, "null");
  addItem(option, "mnuRadio", QT_TR_NOOP("嵌入信息(&R)"))->setCheckable(true);

  QMenu* port = addMenu("mnuComm_Port", QT_TR_NOOP("端口(&C)"));
  addItem(port, "mnuPort", QT_TR_NOOP("选择端口(&P)"));

  // The language menu names itself in both languages in either interface, so a reader who
  // lands in the other language finds the way back; only the accelerator follows the language.
  QMenu* language = bar->addMenu(QString());
  language->setObjectName("mnuLanguage");
  texts_.add([language] {
    language->setTitle(ActiveLanguage() == Language::English
                           ? QString(QM_NOTR("语言/&Language"))
                           : QString(QM_NOTR("语言/Language(&L)")));
    language->setAccessibleName(QString(language->title()).remove('&'));
  });
  auto* languages = new QActionGroup(this);
  const std::pair<const char*, Language> choices[] = {{"mnuLangZh", Language::Chinese},
                                                      {"mnuLangEn", Language::English}};
  for (const auto& [name, lang] : choices) {
    // Each language is named in its own words.
    QAction* a = addItem(language, name,
                         lang == Language::Chinese ? QString(QM_NOTR("中文")) : QString("English"));
    a->setCheckable(true);
    a->setChecked(ActiveLanguage() == lang);
    languages->addAction(a);
    connect(a, &QAction::triggered, this, [this, lang = lang] { switchLanguage(lang); });
  }

  QMenu* help = addMenu("mnuHelp", QT_TR_NOOP("帮助(&H)"));
  addItem(help, "mnuHelpContents", QT_TR_NOOP("帮助内容(&C)"));
  addItem(help, "mnuHelpSearchForHelpOn", QT_TR_NOOP("帮助索引(&I)"));
  addSeparator(help, "mnuHelpBar0");
  addItem(help, "mnuHelpAbout", QT_TR_NOOP("关于(&A)..."));

  connect(actions_["mnuFileNew"], &QAction::triggered, this, &FrmMain::fileNew);
  connect(actions_["mnuFileOpen"], &QAction::triggered, this, &FrmMain::fileOpen);
  connect(actions_["mnuFileSave"], &QAction::triggered, this, [this] { fileSave(); });
  connect(actions_["mnuFileSaveAs"], &QAction::triggered, this, [this] { fileSaveAs(); });
  connect(actions_["mnuFilePrint"], &QAction::triggered, this, &FrmMain::filePrint);
  connect(actions_["mnuFilePrintPreview"], &QAction::triggered, this, &FrmMain::filePrintPreview);
  connect(actions_["mnuFileExportPdf"], &QAction::triggered, this, &FrmMain::fileExportPdf);
  connect(actions_["mnuFileExit"], &QAction::triggered, this, &QWidget::close);
  connect(actions_["mnuRadioInfo"], &QAction::triggered, this, &FrmMain::radioInfo);
  connect(actions_["mnuRead"], &QAction::triggered, this, &FrmMain::radioRead);
  connect(actions_["mnuWrite"], &QAction::triggered, this, &FrmMain::radioWrite);
  connect(actions_["mnuTune"], &QAction::triggered, this, &FrmMain::enterTune);
  connect(channel, &QAction::triggered, this, &FrmMain::channelView);
  connect(actions_["mnuRadio"], &QAction::triggered, this, &FrmMain::embedInfo);
  connect(actions_["mnuPort"], &QAction::triggered, this, &FrmMain::selectPort);
  connect(actions_["mnuHelpContents"], &QAction::triggered, this, &FrmMain::helpContents);
  connect(actions_["mnuHelpSearchForHelpOn"], &QAction::triggered, this, &FrmMain::helpSearch);
  connect(actions_["mnuHelpAbout"], &QAction::triggered, this, &FrmMain::helpAbout);

  // The technician's extras (CSV after 另存为, write options under 编程), off by default.
  auto* extras = extras_ =
      new TechnicianExtras(this, doc_, app_, prompter_, dialogs_, ini_,
                           {[this] { commitPendingEdit(); }, [this] { refreshAll(); },
                            [this] { return busy_; }, [this] { fleetWrite(); }});
  extras->setObjectName("technicianExtras");
  extras->install(file, actions_["mnuFileSaveAs"], operate);
}

void FrmMain::buildToolBar() {
  toolBar_ = addToolBar(QString());
  texts_.add([this] {
    toolBar_->setWindowTitle(tr("工具栏"));
    toolBar_->setAccessibleName(tr("工具栏"));
  });
  toolBar_->setObjectName("tbToolBar");
  toolBar_->setMovable(false);
  toolBar_->setFloatable(false);
  toolBar_->setIconSize(QSize(24, 24));
  toolBar_->toggleViewAction()->setEnabled(false);
  setContextMenuPolicy(Qt::NoContextMenu);
  toolBar_->installEventFilter(this);
  for (const ToolButtonInfo& info : kToolButtons) {
    const QString key = QString::fromUtf8(info.key);
    QAction* a = toolBar_->addAction(ToolbarIcon(key), QString());
    a->setObjectName("tbToolBar_" + key);
    texts_.add([a, tip = info.tooltip] {
      a->setText(tr(tip));
      a->setToolTip(tr(tip));
    });
    if (QWidget* button = toolBar_->widgetForAction(a)) {
      button->setObjectName(key);
      button->installEventFilter(this);
    }
    connect(a, &QAction::triggered, this, [this, key] { toolbarClicked(key); });
    // The COM port button stands apart from the file buttons, as on the menu bar.
    if (key == "Print") toolBar_->addSeparator();
  }
}

void FrmMain::buildStatusBar() {
  QStatusBar* bar = statusBar();
  bar->setObjectName("sbStatusBar");
  bar->setSizeGripEnabled(true);
  bar->installEventFilter(this);
  for (size_t k = 0; k < panels_.size(); ++k) {
    auto* label = new QLabel(bar);
    label->setObjectName(QString("sbPanel_%1").arg(k + 1));
    label->setFrameShape(QFrame::StyledPanel);
    label->setFrameShadow(QFrame::Sunken);
    label->setMargin(1);
    label->installEventFilter(this);
    panels_[k] = label;
    if (k == 0) {
      bar->addWidget(label, 1);
    } else {
      label->setMinimumWidth(k == 1 ? 180 : 90);
      label->setAlignment(Qt::AlignCenter);
      bar->addPermanentWidget(label);
    }
  }
  clock_ = new QTimer(this);
  clock_->setObjectName("clockTimer");
  clock_->setInterval(1000);
  connect(clock_, &QTimer::timeout, this, &FrmMain::updateClock);
  clock_->start();
  updateClock();
}

void FrmMain::buildContent() {
  scroll_ = new QScrollArea(this);
  scroll_->setObjectName("scrPicture");
  scroll_->setFrameShape(QFrame::NoFrame);
  scroll_->setWidgetResizable(false);
  scroll_->horizontalScrollBar()->setObjectName("HScroll1");
  scroll_->verticalScrollBar()->setObjectName("VScroll1");
  auto* corner = new QPushButton(scroll_);
  corner->setObjectName("Command1");
  corner->setFocusPolicy(Qt::NoFocus);
  corner->setFlat(true);
  scroll_->setCornerWidget(corner);

  picture_ = new QWidget;
  picture_->setObjectName("Picture1");
  picture_->installEventFilter(this);
  auto* layout = new QVBoxLayout(picture_);
  layout->setContentsMargins(8, 6, 8, 8);
  layout->setSpacing(6);

  auto* modelRow = new QHBoxLayout;
  auto* lblRadioCaption = new QLabel(picture_);
  lblRadioCaption->setObjectName("lblRadioCaption");
  lblRadio_ = new QLabel(picture_);
  lblRadio_->setObjectName("lblRadio");
  auto* lblRangeCaption = new QLabel(picture_);
  lblRangeCaption->setObjectName("lblFreqRangeCaption");
  lblFreqRange_ = new QLabel(picture_);
  lblFreqRange_->setObjectName("lblFreqRange");
  QFont bold = lblRadio_->font();
  bold.setBold(true);
  lblRadio_->setFont(bold);
  lblFreqRange_->setFont(bold);
  // Command2 only receives the focus when an edit is committed; it stays out of the way.
  command2_ = new QPushButton(picture_);
  command2_->setObjectName("Command2");
  command2_->setFlat(true);
  command2_->setFixedSize(1, 1);
  command2_->setFocusPolicy(Qt::StrongFocus);
  modelRow->addWidget(lblRadioCaption);
  modelRow->addWidget(lblRadio_);
  modelRow->addSpacing(24);
  modelRow->addWidget(lblRangeCaption);
  modelRow->addWidget(lblFreqRange_);
  modelRow->addStretch();
  modelRow->addWidget(command2_);
  layout->addLayout(modelRow);

  auto* fraChannel = new QGroupBox(picture_);
  fraChannel->setObjectName("fraChannel");
  texts_.add([=, this] {
    lblRadioCaption->setText(tr("机型："));
    lblRangeCaption->setText(tr("频率范围："));
    fraChannel->setTitle(tr("信道设置"));
    // The model labels are read with their captions.
    lblRadio_->setAccessibleName(tr("机型"));
    lblFreqRange_->setAccessibleName(tr("频率范围"));
    // The two buttons no one clicks: the corner between the scroll bars and the place the
    // focus rests after an edit is applied.
    scroll_->cornerWidget()->setAccessibleName(tr("滚动条交角"));
    command2_->setAccessibleName(tr("编辑已应用"));
    command2_->setAccessibleDescription(tr("单元格的编辑应用后焦点停在这里"));
    scroll_->horizontalScrollBar()->setAccessibleName(tr("水平滚动"));
    scroll_->verticalScrollBar()->setAccessibleName(tr("垂直滚动"));
  });
  fraChannel->installEventFilter(this);
  fraChannel_ = fraChannel;
  auto* channelLayout = new QVBoxLayout(fraChannel);
  channelLayout->setContentsMargins(8, 4, 8, 8);
  grid_ = new ChannelGrid(doc_.editors().channels(), app_, prompter_, fraChannel);
  channelLayout->addWidget(grid_);
  layout->addWidget(fraChannel);

  panel_ = new FunctionPanel(doc_.editors().functions(), picture_);
  panel_->installEventFilter(this);
  panel_->onBandwidthApplied = [this] { grid_->refresh(); };
  layout->addWidget(panel_);

  tunePanel_ = new TunePanel(*tune_, app_, prompter_, picture_);
  tunePanel_->runCommand = [this](const std::function<void()>& c, bool quick) {
    // The hourglass while the radio is talked to, as every tune handler shows it.
    runRadioCommand(
        [this, &c] {
          HourGlass busy(this);
          onLink(c);
        },
        quick);
  };
  tunePanel_->commitPendingEdit = [this] { commitPendingEdit(); };
  layout->addWidget(tunePanel_);
  tunePanel_->hide();

  picture_->adjustSize();
  picture_->setFixedSize(picture_->sizeHint());
  scroll_->setWidget(picture_);
  setCentralWidget(scroll_);
}

QSize FrmMain::contentSize() const {
  const QSize content =
      picture_->size() + QSize(4, menuBar()->sizeHint().height() + toolBar_->sizeHint().height() +
                                      statusBar()->sizeHint().height() + 4);
  return QSize(kDesignWidth, kDesignHeight).expandedTo(content);
}

QSize FrmMain::fullSize() const { return openingSize_.expandedTo(contentSize()); }

void FrmMain::start(QWidget* splash) {
  splash_ = splash;
  // The window keeps its design size unless the content needs more and the screen has it.
  openingSize_ = contentSize();
  QSize size = openingSize_;
  if (QScreen* screen = QApplication::primaryScreen()) {
    const QSize avail = screen->availableSize();
    size = size.boundedTo(avail - QSize(40, 60)).expandedTo(QSize(400, 300));
  }
  resize(size);

  doc_.Start();
  refreshAll();
  actions_["mnuChannel"]->setChecked(true);
  timer1_->start();
}

void FrmMain::refreshAll() {
  grid_->refresh();
  panel_->refresh();
  renderTune();
  syncDocument();
}

void FrmMain::switchLanguage(Language language) {
  WriteLanguage(ini_, language);
  const LanguageSetup setup = InstallLanguage(language, translationDir_);
  // The translators post the change to every window; this one changes now, before the menu
  // closes, and the posted change then finds it done.
  retranslate();
  if (setup.active != language) {
    for (const QString& note : setup.notes) std::fprintf(stderr, "%s\n", qPrintable(note));
    Notify(prompter_, app_.softwareTitle, QM_TR("找不到英文界面的翻译文件，界面仍为中文。"),
           Icon::Exclamation);
  }
  if (QAction* chosen = actions_[setup.active == Language::English ? "mnuLangEn" : "mnuLangZh"])
    chosen->setChecked(true);
}

void FrmMain::changeEvent(QEvent* event) {
  if (event->type() == QEvent::LanguageChange) retranslate();
  QMainWindow::changeEvent(event);
}

void FrmMain::retranslate() {
  if (shownLanguage_ == ActiveLanguage()) return;
  shownLanguage_ = ActiveLanguage();
  texts_.apply();
  grid_->retranslate();
  panel_->retranslate();
  tunePanel_->retranslate();
  if (edit_) edit_->retranslate();
  if (extras_) extras_->retranslate();
  // The help window shows the guide of its language: an open one comes back in the new one.
  if (help_) {
    const bool shown = help_->isVisible();
    delete help_;
    if (shown) helpContents();
  }
  // The content takes the size the new language's texts need (renderTune fits it to the view);
  // the window grows with it where the screen has room.
  refreshAll();
  // The lists' and labels' new widths travel up the nested layouts one level per pass.
  for (int pass = 0; pass < 4; ++pass)
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
  renderTune();
  if (isVisible() && !isMaximized() && !isFullScreen()) {
    QSize size = this->size().expandedTo(contentSize());
    if (QScreen* screen = this->screen()) size = size.boundedTo(screen->availableSize());
    resize(size);
  }
}

void FrmMain::syncDocument() {
  setWindowTitle(DisplayCaption(doc_.caption, app_.softwareTitle));
  panels_[1]->setText(Q(doc_.statusBand));
  panels_[2]->setText(Q(doc_.statusPort));
  // Nothing replaces the data the tune view works on: New, Open, the recent files and drops
  // wait for the channel view.
  const bool replaceable = doc_.CanReplaceData();
  actions_["mnuFileNew"]->setEnabled(doc_.fileNewEnabled && replaceable);
  actions_["mnuFileOpen"]->setEnabled(replaceable);
  if (auto* open = toolBar_->findChild<QAction*>("tbToolBar_Open")) open->setEnabled(replaceable);
  for (QAction* recent : recent_) recent->setEnabled(replaceable);
  if (edit_) edit_->updateActions();
}

void FrmMain::updateClock() {
  const QDateTime now = QDateTime::currentDateTime();
  panels_[3]->setText(now.date().toString("yyyy-MM-dd"));
  panels_[4]->setText(now.time().toString("HH:mm:ss"));
}

void FrmMain::showRecentFiles() {
  const auto captions = RecentMenuCaptions(ini_);
  bool any = false;
  for (size_t k = 0; k < recent_.size(); ++k) {
    if (captions[k]) {
      recentPaths_[k] = PathFromRecentCaption(*captions[k]);
      recent_[k]->setText(MenuText(*captions[k]));
      recent_[k]->setVisible(true);
      any = true;
    } else {
      recentPaths_[k].clear();
      recent_[k]->setText(QString());
      recent_[k]->setVisible(false);
    }
  }
  if (any) actions_["seperator4"]->setVisible(true);
}

void FrmMain::showModelInfo() {
  const ModelEntry& m = app_.currentModel();
  lblRadio_->setText(Q(m.name));
  lblFreqRange_->setText(Q(BuildRangeLabelText(app_, app_.curModel)));
}

void FrmMain::commitPendingEdit() {
  grid_->commitPendingEdit();
  if (doc_.hooks.commitTuneEdit) doc_.hooks.commitTuneEdit();
  command2_->setFocus(Qt::OtherFocusReason);
}

void FrmMain::toolbarClicked(const QString& key) {
  if (key == "Open")
    fileOpen();
  else if (key == "Save")
    fileSave();
  else if (key == "Print")
    filePrint();
  else if (key == "Read")
    radioRead();
  else if (key == "COMport")
    selectPort();
  else if (key == "Write")
    radioWrite();
}

// ---- file commands ----

void FrmMain::fileNew() {
  if (!doc_.CanReplaceData()) return;
  commitPendingEdit();
  doc_.New([this] { return fileSave(); });
  refreshAll();
}

void FrmMain::fileOpen() {
  if (!doc_.CanReplaceData()) return;
  // The editor would otherwise float over the data of the file just opened.
  commitPendingEdit();
  {
    HourGlass busy(this);
    doc_.Open(dialogs_, [this] { return fileSave(); });
  }
  refreshAll();
}

void FrmMain::loadDataFile(const QString& path) {
  commitPendingEdit();
  {
    HourGlass busy(this);
    doc_.LoadDataFile(path.toStdString());
  }
  refreshAll();
}

void FrmMain::openDataFileFromPath(const QString& path) {
  if (path.isEmpty()) return;
  loadDataFile(QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath()));
}

void FrmMain::openFileAsking(const QString& path) {
  if (busy_ || path.isEmpty() || !doc_.CanReplaceData()) return;
  commitPendingEdit();
  {
    HourGlass busy(this);
    doc_.OpenFile(path.toStdString(), [this] { return fileSave(); });
  }
  refreshAll();
}

void FrmMain::openDroppedFile(const QString& path) {
  if (path.isEmpty()) return;
  openFileAsking(QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath()));
}

void FrmMain::dragEnterEvent(QDragEnterEvent* event) {
  if (!busy_ && doc_.CanReplaceData() && !DroppedDataFile(event->mimeData()).isEmpty())
    event->acceptProposedAction();
}

void FrmMain::dropEvent(QDropEvent* event) {
  const QString path = DroppedDataFile(event->mimeData());
  if (path.isEmpty()) return;
  event->acceptProposedAction();
  // The drag source waits for the drop to end; the file opens (and may ask) afterwards.
  QTimer::singleShot(0, this, [this, path] { openDroppedFile(path); });
}

void FrmMain::openRecentFile(int n) {
  if (n < 1 || n > kRecentFileCount || !doc_.CanReplaceData()) return;
  const std::string path = recentPaths_[static_cast<size_t>(n - 1)];
  if (path.empty()) return;
  openFileAsking(Q(path));
}

SaveResult FrmMain::fileSave() {
  commitPendingEdit();
  SaveResult r = doc_.Save(dialogs_);
  refreshAll();
  return r;
}

SaveResult FrmMain::fileSaveAs() {
  commitPendingEdit();
  SaveResult r = SaveResult::Cancelled;
  {
    HourGlass busy(this);
    r = doc_.SaveAs(dialogs_);
  }
  refreshAll();
  return r;
}

// ---- model ----

void FrmMain::radioInfo() {
  if (!doc_.CanReplaceData()) return;
  commitPendingEdit();
  FrmRadio dialog(app_, this);
  dialog.exec();
  doc_.ChangeModel(dialog.modelChanged(), dialog.newModel());
  refreshAll();
}

// ---- help ----

bool FrmMain::openHelp() {
  QString path = Q(app_.helpFile);
  // The English guide sits beside the Chinese one: USER-GUIDE.html, USER-GUIDE.en.html.
  if (ActiveLanguage() == Language::English && !path.isEmpty()) {
    const QFileInfo info(path);
    const QString english = info.dir().filePath(info.completeBaseName() + ".en." + info.suffix());
    if (QFileInfo(english).isFile()) path = english;
  }
  if (path.isEmpty() || !QFileInfo(path).isFile()) {
    Notify(prompter_, windowTitle().toStdString(),
           QM_TR("无法显示帮助文件，没有相应的帮助文件与该软件关联。"), Icon::Information);
    return false;
  }
  if (!help_) {
    help_ = new HelpWindow(this);
    help_->setAttribute(Qt::WA_DeleteOnClose);
  }
  if (!help_->load(path)) {
    help_->close();
    Notify(prompter_, windowTitle().toStdString(),
           QM_TR("无法显示帮助文件，没有相应的帮助文件与该软件关联。"), Icon::Information);
    return false;
  }
  help_->setWindowTitle(tr("帮助 - %1").arg(TrCore(app_.softwareTitle)));
  help_->show();
  help_->raise();
  help_->activateWindow();
  return true;
}

void FrmMain::helpContents() {
  if (openHelp()) help_->showContents();
}

void FrmMain::helpSearch() {
  if (openHelp()) help_->showSearch();
}

void FrmMain::helpAbout() {
  FrmAbout about(app_, this);
  about.exec();
}

// ---- close ----

void FrmMain::closeEvent(QCloseEvent* event) {
  // A read, a write or a tune exchange runs to its end; the radio and the port would
  // otherwise be left half way.
  // A close asked again while the close sequence itself waits (its question, its save, the
  // leave-tune exchange on the link thread) would run the sequence twice.
  if (busy_ || closing_) {
    event->ignore();
    return;
  }
  closing_ = true;
  const CloseDecision d = doc_.RequestClose([this] { return fileSave(); });
  closing_ = false;
  if (d == CloseDecision::KeepOpen) {
    event->ignore();
    return;
  }
  timer1_->stop();
  clock_->stop();
  // The other windows of the program, the most recently opened first.
  const QWidgetList tops = QApplication::topLevelWidgets();
  for (auto it = tops.rbegin(); it != tops.rend(); ++it) {
    QWidget* w = *it;
    if (w != this && w->isVisible()) w->close();
  }
  event->accept();
}

bool FrmMain::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonPress) {
    // A menu opened with an edit still open in a cell names the step of that edit.
    if (watched == menuBar() && edit_) edit_->commitOpenEdit();
    // A click on the window's background, the picture area, the frames, the toolbar or the
    // status bar applies a pending cell edit first.
    const bool background = watched == this || watched == picture_ || watched == panel_ ||
                            watched == fraChannel_ || watched == toolBar_ ||
                            watched == statusBar() || watched->objectName() == "tbEditBar";
    bool onPanel = false;
    for (QLabel* l : panels_) onPanel = onPanel || watched == l;
    bool onButton = false;
    if (auto* w = qobject_cast<QWidget*>(watched))
      onButton = w->parentWidget() == toolBar_ && qobject_cast<QToolButton*>(w) != nullptr;
    if (background || onPanel || onButton) commitPendingEdit();
  }
  return QMainWindow::eventFilter(watched, event);
}

}  // namespace qm::ui
