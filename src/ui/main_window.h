// frmMain: the program's one main window. It owns the Document (image, flags, caption) and
// renders it: menus, toolbar, status bar, the scrolling content panel Picture1 with the
// channel grid and the function frame. Message boxes and file dialogs go through the seams
// it is given, so tests script them.
#pragma once

#include <QMainWindow>
#include <QPointer>
#include <QString>
#include <array>
#include <functional>
#include <map>
#include <memory>
#include <optional>

#include "document/document.h"
#include "platform/system_serial_port.h"
#include "radio/link.h"
#include "ui/help_window.h"
#include "ui/qt_text.h"

class QAction;
class QLabel;
class QMenu;
class QPrinter;
class QPushButton;
class QScrollArea;
class QTimer;
class QToolBar;

namespace qm {
class TuneController;
struct RadioCommandSeams;
}  // namespace qm

namespace qm::ui {

class ChannelGrid;
class EditCommands;
class FunctionPanel;
class GuiProgress;
class LinkThread;
class TunePanel;

class FrmMain : public QMainWindow {
  Q_OBJECT
 public:
  // app, prompter, dialogs and iniFile must outlive the window.
  FrmMain(AppState& app, Prompter& prompter, FileDialogs& dialogs, const ProfileFile& iniFile,
          QWidget* parent = nullptr);
  ~FrmMain() override;

  // The load handler: lists, grid, defaults for the start-up model, port and recent files.
  // The splash, when given, is closed by Timer1 if it is still up 1200 ms later.
  void start(QWidget* splash = nullptr);
  // The size the window opens with on a screen that has room for it (the design size, or
  // more when the content needs it: English texts are longer), or more when the view shown
  // now needs more. A smaller screen bounds the window, not this.
  QSize fullSize() const;

  Document& document() { return doc_; }
  ChannelGrid* channelGrid() const { return grid_; }
  FunctionPanel* functionPanel() const { return panel_; }
  HelpWindow* helpWindow() const { return help_; }

  // The serial device given on the command line: it stands for every port number.
  void setDevicePath(const QString& path);
  const QString& devicePath() const { return devicePath_; }

  // Applies and closes whichever in-place editor is open; the focus goes to Command2.
  void commitPendingEdit();

  // ---- commands ----
  void fileNew();
  void fileOpen();
  SaveResult fileSave();
  SaveResult fileSaveAs();
  void openRecentFile(int n);  // 1..4
  void loadDataFile(const QString& path);
  // A data file named on the command line when the window starts:
  // opened exactly as an entry of the recent list opens one, under its absolute path.
  void openDataFileFromPath(const QString& path);
  // A data file dropped on the window: opened as a recent file is, after the unsaved-data
  // question.
  void openDroppedFile(const QString& path);
  // A recent or dropped file: the unsaved-data question, then the file.
  void openFileAsking(const QString& path);
  EditCommands* editCommands() const { return edit_; }
  void radioInfo();  // the model dialog and the model change
  void helpContents();
  void helpSearch();
  void helpAbout();

  // ---- printing (main_window_print.cpp) ----
  void filePrint();         // mnuFilePrint, Ctrl+P, the toolbar's "Print"
  void filePrintPreview();  // mnuFilePrintPreview
  void fileExportPdf();     // mnuFileExportPdf
  // The printer dialog ("Printer"): true when the user chose to print. Tests replace it.
  std::function<bool(QPrinter&)> choosePrinter;

  // ---- radio commands (main_window_radio.cpp) ----
  void radioRead();    // mnuRead
  void radioWrite();   // mnuWrite
  void fleetWrite();   // mnuFleetWrite: the open document into radio after radio
  void selectPort();   // mnuPort
  void embedInfo();    // mnuRadio
  void enterTune();    // mnuTune
  void channelView();  // mnuChannel, and the tree's "exit" node
  // A radio command is running: no other command starts and the window does not close.
  bool busy() const { return busy_; }
  TuneController& tune() { return *tune_; }
  TunePanel* tunePanel() const { return tunePanel_; }
  GuiProgress& progress() { return *progress_; }
  LinkThread& link() { return *link_; }

  // Renders the document again: editors, caption, status bar, menu states.
  void refreshAll();

  // The language menu's choice: kept in the configuration file and shown at once, the
  // open window and everything opened afterwards in the new language; the document stays.
  void switchLanguage(Language language);
  // Where the program's translation files are looked for (beside the program by default).
  void setTranslationDir(const QString& dir) { translationDir_ = dir; }

 protected:
  void changeEvent(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // The design size expanded to what the current view needs.
  QSize contentSize() const;
  void buildMenus();
  void buildToolBar();
  void buildStatusBar();
  void buildContent();
  void syncDocument();
  void showRecentFiles();
  void showModelInfo();
  void updateClock();
  void toolbarClicked(const QString& key);
  bool openHelp();
  // A menu entry whose caption (marked with QT_TR_NOOP) follows the interface language.
  QAction* addItem(QMenu* menu, const char* name, const char* caption,
                   const QKeySequence& shortcut = {});
  // An entry whose caption is not the program's text (a path, a language's own name).
  QAction* addItem(QMenu* menu, const char* name, const QString& caption);
  QMenu* addMenu(const char* name, const char* caption);
  // Every text in the language now installed, and the content laid out for its lengths.
  void retranslate();
  QAction* addSeparator(QMenu* menu, const char* name);
  void buildRadio();
  LinkContext linkContext();
  // A read or write over the document (mnuRead, mnuWrite): the open editor committed, the
  // unwritten tune table offered, then `command` with the window's part of it (the link
  // thread, the tune view, the read history).
  void runReadOrWrite(const std::function<void(LinkContext, const RadioCommandSeams&)>& command);
  // Runs a radio command as one busy stretch and renders the document afterwards.
  void runRadioCommand(const std::function<void()>& command, bool quick = false);
  // Runs `exchange` on the link thread (see link_thread.h) and waits for it.
  void onLink(const std::function<void()>& exchange);
  // The tune table question before tune mode is left (it may write the table).
  bool confirmLeaveTune();
  // The tune view and the menu states that follow the view mode.
  void renderTune();
  // A read or write begun in the tune view ended the radio's programming session with "END".
  void leaveTuneView();
  void showTuneModelInfo();

  AppState& app_;
  Prompter& prompter_;
  FileDialogs& dialogs_;
  const ProfileFile& ini_;
  Document doc_;
  QString devicePath_;

  std::map<QString, QAction*> actions_;
  std::array<QAction*, 4> recent_{};
  std::array<std::string, 4> recentPaths_{};
  QToolBar* toolBar_ = nullptr;
  std::array<QLabel*, 5> panels_{};
  QScrollArea* scroll_ = nullptr;
  QWidget* picture_ = nullptr;
  QWidget* fraChannel_ = nullptr;
  ChannelGrid* grid_ = nullptr;
  FunctionPanel* panel_ = nullptr;
  QLabel* lblRadio_ = nullptr;
  QLabel* lblFreqRange_ = nullptr;
  QPushButton* command2_ = nullptr;
  QTimer* timer1_ = nullptr;
  QTimer* clock_ = nullptr;
  QPointer<QWidget> splash_;
  QSize openingSize_;  // the content size at start, in the channel view
  QPointer<HelpWindow> help_;

  std::unique_ptr<SystemSerialPort> port_;
  std::unique_ptr<GuiProgress> progress_;
  std::unique_ptr<LinkThread> link_;
  std::unique_ptr<TuneController> tune_;
  TunePanel* tunePanel_ = nullptr;
  EditCommands* edit_ = nullptr;
  class TechnicianExtras* extras_ = nullptr;
  LanguageTexts texts_;
  std::optional<Language> shownLanguage_;  // the language the window's texts are in
  QString translationDir_;
  bool busy_ = false;
  bool quick_ = false;    // the command running is a quick stretch
  bool closing_ = false;  // the close sequence is running
};

}  // namespace qm::ui
