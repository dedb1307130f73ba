// The main window's radio commands: read, write, port selection, embedded information and
// tune mode. Each is one busy stretch of the window; the link routine of the core runs on the
// link thread (link_thread.h) with the window's prompter and progress window crossing to it.
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>

#include "base/model_table.h"
#include "document/radio_commands.h"
#include "files/utf8_path.h"
#include "model/embed_areas.h"
#include "platform/port_list.h"
#include "platform/system_serial_port.h"
#include "radio/embed_info.h"
#include "radio/port_check.h"
#include "radio/read_radio.h"
#include "radio/write_radio.h"
#include "tune/tune_controller.h"
#include "ui/channel_grid.h"
#include "ui/extras_menu.h"
#include "ui/fleet_dialog.h"
#include "ui/function_panel.h"
#include "ui/link_thread.h"
#include "ui/main_window.h"
#include "ui/qt_text.h"
#include "ui/radio_dialogs.h"
#include "ui/tune_panel.h"

namespace qm::ui {

void FrmMain::buildRadio() {
  port_ = std::make_unique<SystemSerialPort>(&ini_);
  progress_ = std::make_unique<GuiProgress>(this);
  link_ = std::make_unique<LinkThread>(prompter_, *progress_);
  tune_ =
      std::make_unique<TuneController>(app_, link_->prompter(), TuneRefsOf(doc_),
                                       TuneLinkParts{*port_, link_->clock(), link_->progress()});
  AttachTune(doc_, *tune_);
  // Tune mode's handlers run on the link thread; what they do to the widgets and the undo
  // history is done on the window thread.
  const auto onWindow = [this](std::function<void()> fn) {
    return [this, fn = std::move(fn)] { link_->onWindow(fn); };
  };
  tune_->hooks.commitPendingEdit = onWindow([this] { grid_->commitPendingEdit(); });
  tune_->hooks.showModelInfo = onWindow([this] { showTuneModelInfo(); });
  tune_->hooks.forgetEdits = onWindow(tune_->hooks.forgetEdits);
  tune_->hooks.tuneTableWritten = onWindow(tune_->hooks.tuneTableWritten);
  // The document leaves tune mode on New and on closing: that talks to the radio as well.
  doc_.hooks.leaveTuneMode = [this] { onLink([this] { tune_->LeaveTuneMode(); }); };
  doc_.hooks.leaveTuneView = [this] {
    bool left = false;
    onLink([&] { left = tune_->ChannelMenu(); });
    return left;
  };
}

bool FrmMain::confirmLeaveTune() {
  // The question may write the tune table: that is an exchange.
  bool leave = false;
  onLink([&] { leave = tune_->ConfirmLeave(); });
  return leave;
}

void FrmMain::onLink(const std::function<void()>& exchange) {
  // A trial value of the tune scroll bar holds the input back rather than dropping it: the
  // drag goes on, and the button's release must arrive.
  link_->run(exchange, quick_ ? LinkThread::Input::Held : LinkThread::Input::Dropped);
}

void FrmMain::setDevicePath(const QString& path) {
  devicePath_ = path;
  // The device of the command line (or the demo's simulator) stands for every port.
  port_->setDeviceOverride(devicePath_.toStdString());
}

LinkContext FrmMain::linkContext() {
  // With "串口记录" ticked the port comes wrapped in the trace.
  auto* extras = findChild<TechnicianExtras*>("technicianExtras", Qt::FindDirectChildrenOnly);
  SerialPort& port = extras ? extras->linkPort(*port_, link_->clock()) : *port_;
  return LinkContext{port, link_->clock(), link_->prompter(), link_->progress(),
                     app_, doc_.portNumber};
}

void FrmMain::runRadioCommand(const std::function<void()>& command, bool quick) {
  // The clock holds user input back while the radio is talked to, so nothing reaches here
  // twice; a timer or a window-system close could, and is refused.
  if (busy_) return;
  busy_ = true;
  quick_ = quick;
  if (!quick) {
    menuBar()->setEnabled(false);
    toolBar_->setEnabled(false);
  }
  command();
  if (!quick) {
    DiscardHeldInput();
    menuBar()->setEnabled(true);
    toolBar_->setEnabled(true);
  }
  busy_ = false;
  if (quick) {
    renderTune();
  } else {
    refreshAll();
  }
}

void FrmMain::showTuneModelInfo() {
  // Tune mode shows the model the radio reported (the window's model byte), not the one
  // selected for the channel data.
  if (app_.models.empty()) return;
  const int m = tune_->RadioModel();
  lblRadio_->setText(Q(app_.models[static_cast<size_t>(m)].name));
  lblFreqRange_->setText(Q(BuildRangeLabelText(app_, m)));
}

void FrmMain::renderTune() {
  const TuneView& v = tune_->view();
  tunePanel_->render();
  const bool tuneShown = v.treeVisible || v.tableVisible || v.itemVisible;
  fraChannel_->setVisible(v.channelPanelsVisible);
  panel_->setVisible(v.channelPanelsVisible);
  tunePanel_->setVisible(tuneShown);
  actions_["mnuTune"]->setChecked(v.tuneChecked);
  actions_["mnuChannel"]->setChecked(v.channelChecked);
  actions_["mnuRadio"]->setChecked(v.radioChecked);
  for (const char* name : {"mnuWrite", "mnuRadio"}) {
    actions_[name]->setVisible(v.editMenusShown);
    actions_[name]->setEnabled(v.editMenusShown);
  }
  if (auto* model = menuBar()->findChild<QMenu*>("mnuModel")) {
    model->menuAction()->setVisible(v.editMenusShown);
    model->menuAction()->setEnabled(v.editMenusShown);
  }
  // The toolbar's Write stays: a write from the tune view discards the open item, writes and
  // comes back to the channel view.
  // The content area takes the size of the view that is shown.
  picture_->setFixedSize(picture_->layout()->sizeHint());
  // Tune mode names the radio's model; the channel view the selected one.
  if (v.channelPanelsVisible && !tuneShown) showModelInfo();
  syncDocument();
}

void FrmMain::runReadOrWrite(
    const std::function<void(LinkContext, const RadioCommandSeams&)>& command) {
  runRadioCommand([&] {
    commitPendingEdit();
    if (!confirmLeaveTune()) return;
    HourGlass hourglass(this);
    repaint();
    RadioCommandSeams seams;
    seams.onLink = [this](const std::function<void()>& exchange) { onLink(exchange); };
    seams.onWindow = [this](const std::function<void()>& step) { link_->onWindow(step); };
    seams.leaveTuneView = [this] { leaveTuneView(); };
    seams.viewChanged = [this] { renderTune(); };
    if (auto* extras = findChild<TechnicianExtras*>("technicianExtras", Qt::FindDirectChildrenOnly))
      seams.keepRead = [extras](const Image& image) { extras->keepRead(image); };
    command(linkContext(), seams);
  });
}

void FrmMain::radioRead() {
  runReadOrWrite([this](LinkContext ctx, const RadioCommandSeams& seams) {
    ReadRadioIntoDocument(doc_, ctx, seams);
  });
}

void FrmMain::radioWrite() {
  // "写频后校验" and "写频前备份" (off by default) run around the write; a read-back that
  // disagrees makes the write a failure.
  runReadOrWrite([this](LinkContext ctx, const RadioCommandSeams& seams) {
    auto* extras = findChild<TechnicianExtras*>("technicianExtras", Qt::FindDirectChildrenOnly);
    WriteDocumentToRadio(doc_, ctx, extras ? extras->writeChecks() : WriteChecks{}, seams);
  });
}

void FrmMain::fleetWrite() {
  if (busy_) return;
  commitPendingEdit();
  // The tune view works on the radio's own data; a fleet is written from the channel view.
  if (doc_.viewMode == ViewMode::Tune) {
    Notify(prompter_, kAppTitle, QM_TR("请先回到信道界面再批量写频。"), Icon::Information);
    return;
  }
  doc_.CollectRadioData();
  auto* extras = findChild<TechnicianExtras*>("technicianExtras", Qt::FindDirectChildrenOnly);
  FleetDialogEnv env{app_,
                     prompter_,
                     dialogs_,
                     *link_,
                     extras ? extras->writeChecks() : WriteChecks{},
                     extras ? extras->backupDir() : std::string(),
                     PathToUtf8(PathFromUtf8(ini_.path()).parent_path() / "fleet.csv"),
                     [this](const std::function<void(LinkContext&)>& job) {
                       runRadioCommand([&] {
                         LinkContext ctx = linkContext();
                         onLink([&] { job(ctx); });
                       });
                     }};
  FleetDialog dialog(this, doc_.image, doc_.imageVerMajor, std::move(env));
  dialog.exec();
}

void FrmMain::leaveTuneView() {
  // "END" has taken the radio out of its tune state: the channel view comes back without
  // another exchange with the radio.
  doc_.viewMode = ViewMode::Channels;
  doc_.tuneState = TuneState::Off;
  tune_->ChannelMenu();
  renderTune();
}

namespace {
// A port hanging in its open holds the port dialog back this long at most.
constexpr std::chrono::milliseconds kProbeBound{400};
}  // namespace

void FrmMain::selectPort() {
  runRadioCommand([this] {
    commitPendingEdit();
    PortScan scan;
    std::array<std::string, kMaxPortNumber + 1> devices;
    std::vector<SystemPort> listed;
    {
      HourGlass hourglass(this);
      // Each port is opened on a thread of its own and waited for a bounded time, so a port
      // that hangs in its open keeps the dialog back a moment, not for good.
      const std::string device = devicePath_.toStdString();
      const ProfileFile* ini = &ini_;
      if (device.empty()) listed = ListSystemPorts(ini);
      ProbePort probe(
          [ini, device, listed](int n) -> std::unique_ptr<SerialPort> {
            auto port = std::make_unique<SystemSerialPort>(ini);
            port->setDeviceOverride(device.empty() ? UnmappedDevice(listed, n) : device);
            return port;
          },
          kProbeBound);
      std::vector<int> extra;
      for (const SystemPort& p : listed)
        if (p.number > kMaxPortNumber) extra.push_back(p.number);
      onLink([&] { scan = ScanPorts(probe, doc_.portNumber, extra); });
      for (int n = kMinPortNumber; n <= kMaxPortNumber; ++n)
        devices[static_cast<size_t>(n)] = port_->deviceFor(n);
    }
    // A configured port that is gone gives way to the lowest one that opens.
    doc_.setPortNumber(scan.portNumber);
    FrmPort dialog(scan, devices, listed, this);
    dialog.checkPort = [this, &dialog](int n) {
      HourGlass hourglass(&dialog);
      // An unmapped device is checked by its path.
      if (devicePath_.isEmpty()) port_->setDeviceOverride(UnmappedDevice(dialog.listed(), n));
      LinkContext ctx = linkContext();
      ctx.portNumber = static_cast<int16_t>(n);
      CheckResult result;
      onLink([&] { result = CheckConnection(ctx); });
      port_->setDeviceOverride(devicePath_.toStdString());
      DiscardHeldInput();
      return CheckLine(app_, result);
    };
    if (dialog.exec() != QDialog::Accepted) return;
    // A device no COMn mapped to keeps the number it was offered under.
    if (const SystemPort* chosen = dialog.chosenListed(); chosen != nullptr && !chosen->mapped)
      ini_.write("Comm Port", "COM" + std::to_string(chosen->number), chosen->device);
    doc_.setPortNumber(static_cast<int16_t>(dialog.comi()));
  });
}

void FrmMain::embedInfo() {
  runRadioCommand([this] {
    commitPendingEdit();
    if (doc_.viewMode == ViewMode::Tune) {
      bool left = false;
      onLink([&] { left = tune_->ChannelMenu(); });
      renderTune();
      if (!left) return;
    }
    doc_.viewMode = ViewMode::EmbedInfo;
    FrmEmbed dialog(app_, prompter_, doc_.image, this);
    dialog.readInfo = [this] {
      LinkContext ctx = linkContext();
      onLink([&] { ReadEmbedInfo(ctx, doc_.image, doc_.imageVerMajor); });
      DiscardHeldInput();
    };
    dialog.writeInfo = [this] {
      LinkContext ctx = linkContext();
      onLink([&] { WriteEmbedInfo(ctx, doc_.image, doc_.imageVerMajor); });
      DiscardHeldInput();
    };
    dialog.setEmbedData(EmbedTextFromArea(doc_.image));
    dialog.exec();
    if (dialog.cancelPressed()) return;
    CollectEmbedText(dialog.embedData(), doc_.image);
  });
}

void FrmMain::enterTune() {
  runRadioCommand([this] {
    // Entering again while tuning would greet a radio that is in its tune state.
    if (doc_.viewMode == ViewMode::Tune) return;
    HourGlass hourglass(this);
    onLink([this] { tune_->EnterTuneMode(); });
  });
}

void FrmMain::channelView() {
  runRadioCommand([this] {
    commitPendingEdit();
    HourGlass hourglass(this);
    onLink([this] { tune_->ChannelMenu(); });
  });
}

}  // namespace qm::ui
