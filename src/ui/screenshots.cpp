#include "ui/screenshots.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QPixmap>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>

#include "platform/translation.h"
#include "ui/channel_grid.h"
#include "ui/edit_menu.h"
#include "ui/help_window.h"
#include "ui/main_window.h"

namespace qm::ui {

namespace {

bool Save(QWidget* w, const QString& dir, const QString& name) {
  if (!w) return false;
  QApplication::processEvents();
  return w->grab().save(QDir(dir).filePath(name));
}

// Runs `open`, which shows a modal window, and saves that window before closing it. The window
// is waited for: on a slow machine (or one loading many fonts) it may take longer to come up
// than a fixed delay, and one left open would wait for a person forever.
bool SaveModal(const QString& dir, const QString& name, const std::function<void()>& open,
               const std::function<void(QWidget*)>& prepare = {}) {
  bool saved = false;
  QTimer poll;
  poll.setInterval(200);
  int waited = 0;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    ++waited;
    QWidget* modal = QApplication::activeModalWidget();
    // A settled window (up since the round before); given up on after 30 s.
    if ((!modal || waited < 2) && waited < 150) return;
    poll.stop();
    if (modal && prepare) prepare(modal);
    saved = Save(modal, dir, name);
    if (modal) modal->close();
  });
  poll.start();
  open();
  poll.stop();
  return saved;
}

// A frequency just above the lower edge of the selected model's band, so that the demo data
// is valid whatever band the maker file gives.
std::string DemoFrequency(const AppState& app) {
  const ModelEntry& m = app.currentModel();
  const double mhz = std::min(m.rangeLow + 1.025, std::max(m.rangeLow, m.rangeHigh));
  char text[32];
  std::snprintf(text, sizeof text, "%09.5f", mhz);
  return text;
}

}  // namespace

QPalette DarkPalette() {
  QPalette p;
  const QColor window(45, 45, 45), base(30, 30, 30), text(230, 230, 230);
  const QColor disabled(120, 120, 120);
  p.setColor(QPalette::Window, window);
  p.setColor(QPalette::WindowText, text);
  p.setColor(QPalette::Base, base);
  p.setColor(QPalette::AlternateBase, window);
  p.setColor(QPalette::ToolTipBase, base);
  p.setColor(QPalette::ToolTipText, text);
  p.setColor(QPalette::PlaceholderText, disabled);
  p.setColor(QPalette::Text, text);
  p.setColor(QPalette::Button, QColor(53, 53, 53));
  p.setColor(QPalette::ButtonText, text);
  p.setColor(QPalette::BrightText, QColor(255, 80, 80));
  p.setColor(QPalette::Light, QColor(80, 80, 80));
  p.setColor(QPalette::Midlight, QColor(65, 65, 65));
  p.setColor(QPalette::Mid, QColor(40, 40, 40));
  p.setColor(QPalette::Dark, QColor(25, 25, 25));
  p.setColor(QPalette::Shadow, QColor(0, 0, 0));
  p.setColor(QPalette::Highlight, QColor(42, 130, 218));
  p.setColor(QPalette::HighlightedText, QColor(255, 255, 255));
  p.setColor(QPalette::Link, QColor(90, 160, 240));
  for (const auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
    p.setColor(QPalette::Disabled, role, disabled);
  return p;
}

Answer UnattendedPrompter::ask(const Message& message) {
  std::fprintf(stderr, "[%s] %s\n", qPrintable(TrCore(message.title)),
               qPrintable(TrCore(message.text)));
  switch (message.buttons) {
    case Buttons::Ok:
      return Answer::Ok;
    case Buttons::YesNo:
      return Answer::No;
    case Buttons::YesNoCancel:
      return Answer::Cancel;
  }
  return Answer::Cancel;
}

WarningAnswer UnattendedPrompter::warn(int /*selIndex*/, const std::string& text) {
  std::fprintf(stderr, "%s\n", qPrintable(TrCore(text)));
  return WarningAnswer{false, false};
}

int SaveScreenshots(FrmMain& window, const QString& dir) {
  QDir().mkpath(dir);
  int failures = 0;
  // A job as a technician would have it half done, so the pictures show every colour.
  ChannelTableModel& channels = window.document().editors().channels();
  const std::string demo = DemoFrequency(window.document().app());
  channels.setCellText(1, 2, "CTC 88.5");
  channels.setCellText(1, 4, "CTC 88.5");
  channels.setCellText(2, 1, demo);
  channels.setCellText(2, 3, demo);
  channels.setCellText(2, 2, "DCS 023");
  channels.setCellText(2, 4, "-DCS 754");
  window.channelGrid()->pressCell(3, 5);
  window.channelGrid()->pressCell(3, 7);
  window.channelGrid()->pressCell(4, 8);
  window.channelGrid()->pressCell(5, 6);
  channels.clickTxInhibit(5);
  window.refreshAll();
  // The pictures show the whole window, whatever the screen of the run (the offscreen one is
  // 800 x 600 and would cut columns off).
  window.resize(window.fullSize());
  if (!Save(&window, dir, "main.png")) ++failures;
  // The frequency editor open over a cell, then closed again.
  window.channelGrid()->pressCell(7, 1);
  if (!Save(window.channelGrid(), dir, "editing.png")) ++failures;
  window.commitPendingEdit();
  // The signalling dialog over channel 1's receive cell, the model dialog, the about box.
  if (!SaveModal(dir, "signal.png", [&] { window.channelGrid()->pressCell(1, 4); })) ++failures;
  if (!SaveModal(dir, "model.png", [&] { window.radioInfo(); })) ++failures;
  if (!SaveModal(dir, "about.png", [&] { window.helpAbout(); })) ++failures;
  // The port dialog after its scan of COM1 to COM16, with the device each number opens.
  if (!SaveModal(dir, "port.png", [&] { window.selectPort(); })) ++failures;
  // The bulk edit of rows 2 to 5: power, receive signalling and a frequency fill ticked.
  window.channelGrid()->pressRowHeader(2, Qt::NoModifier);
  window.channelGrid()->pressRowHeader(5, Qt::ShiftModifier);
  const auto tick = [](QWidget* dialog) {
    for (const char* name : {"chkBulkPower", "chkBulkRxSignal", "chkBulkFill"})
      if (auto* box = dialog->findChild<QCheckBox*>(name)) box->setChecked(true);
    if (auto* from = dialog->findChild<QLineEdit*>("txtBulkFillFrom")) from->setText("446.00625");
    if (auto* sig = dialog->findChild<QLineEdit*>("txtBulkRxSignal")) sig->setText("CTC 88.5");
  };
  if (!SaveModal(
          dir, "bulk-edit.png", [&] { window.editCommands()->bulkEdit(); }, tick))
    ++failures;
  window.channelGrid()->clearSelection();
  window.helpContents();
  if (window.helpWindow()) {
    if (!Save(window.helpWindow(), dir, "help.png")) ++failures;
    window.helpWindow()->close();
  }
  return failures;
}

}  // namespace qm::ui
