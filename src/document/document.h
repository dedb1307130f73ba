// The main window's document: the memory image, the spare block, the change flags, the
// caption and the other per-document state, with the data steps of the commands that
// replace, save or discard it (start, New, model change, open, save, save as, close).
// Everything visible goes through the Prompter and FileDialogs seams; nothing here knows
// about windows.
#pragma once

#include <cstdint>
#include <ctime>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "base/app_state.h"
#include "base/file_dialogs.h"
#include "base/prompter.h"
#include "base/tr.h"
#include "document/edit_history.h"
#include "files/profile.h"
#include "model/edit_flags.h"
#include "model/image.h"
#include "model/radio_data.h"
#include "tune/tune_state.h"

namespace qm {

// ---- caption rules ----
inline constexpr const char* kReadDoneNotice = QM_TR("读频完成－ ");
inline constexpr const char* kWriteDoneNotice = QM_TR("写频完成－");

// Title followed by the data file's path, without a separator.
std::string CaptionForFile(const std::string& title, const std::string& path);
// The unsaved-data test: the caption begins with "读频完成" or "写频完成", or a flag is set.
bool HasUnsavedData(const std::string& caption, const EditFlags& flags);
// Whether the caption names no file: its last Len(title) characters are the title.
bool CaptionNamesNoFile(const std::string& caption, const std::string& title);
// The file named in the caption: the caption without its first Len(title) characters.
std::string PathFromCaption(const std::string& caption, const std::string& title);

// Status bar panels 2 and 3.
std::string StatusPortPanel(int portNumber);  // "COM " + number

enum class SaveResult { Saved, Cancelled, Failed };
enum class CloseDecision { Close, KeepOpen };
using SaveFn = std::function<SaveResult()>;

// Where other parts of the program plug into the document's commands. Every hook is
// optional; an unset hook does nothing.
struct DocumentHooks {
  // Tune mode: LeaveTuneMode, run by the close sequence when an item is being adjusted.
  std::function<void()> leaveTuneMode;
  // The close sequence in the tune view: leaves it as the channel view does (the tune table
  // question first). False when the tune view stays (a failed write of the table).
  std::function<bool()> leaveTuneView;
  // The tune table as the tune view shows it into the image, when it differs from what the
  // image holds (an edit not yet written, an undo past a write): what a save writes.
  std::function<void(Image&)> collectTune;
  // The tune channel editor txtTuneFreq: validate and hide it (CommitPendingEdit).
  std::function<void()> commitTuneEdit;
  // SetDefaultTuneChannels: the new model's tune channel defaults into the image.
  std::function<void(Image&)> setDefaultTuneChannels;
  // ShowModelInfo: the model labels and the tune frequency table view.
  std::function<void()> showModelInfo;
  // ShowRecentFiles: the recent-file menu entries changed.
  std::function<void()> recentFilesChanged;
};

class TuneController;
struct TuneDocumentRefs;

class Document {
 public:
  // iniFile: the program's own configuration file (port, recent files). localTime: the
  // clock of the write-date stamp.
  Document(AppState& app, Prompter& prompter, const ProfileFile& iniFile,
           std::function<std::tm()> localTime = {});
  Document(const Document&) = delete;
  Document& operator=(const Document&) = delete;

  DocumentHooks hooks;

  // ---- state ----
  Image image;
  SpareBlock spare{};
  EditFlags flags;
  int16_t portNumber = 1;
  uint8_t modelByte = 0;  // copy of app.curModel
  int16_t imageVerMajor = 0;
  std::string curFileName;
  std::string fileDialogDir;
  std::string caption;
  // The caption the channel view gets back when tune mode is left: the file saved in the
  // tune view, whose caption keeps its tune notice meanwhile; empty for the title alone.
  std::string captionAfterTune;
  ViewMode viewMode = ViewMode::Channels;
  // Tune mode state, kept here for the tune controller.
  TuneState tuneState = TuneState::Off;
  int16_t curTuneChannel = 0;
  int16_t curTuneItem = 0;
  bool tuneGridShown = false;
  bool fileNewEnabled = false;  // mnuFileNew
  std::string statusBand;       // status bar panel 2
  std::string statusPort;       // status bar panel 3

  RadioEditors& editors() { return editors_; }
  const RadioEditors& editors() const { return editors_; }
  AppState& app() { return app_; }
  const AppState& app() const { return app_; }
  // Undo and redo of the user's edits; a replaced document starts without history.
  EditHistory& history() { return history_; }
  const EditHistory& history() const { return history_; }

  // ---- commands ----
  // The data steps of the main window's load: model 7, port from the configuration file,
  // defaults, display; flags clear.
  void Start();
  // The unsaved-data test, except that data equal to what was last opened or saved (an
  // undo back to it) has nothing to save although its flags are set. The flags themselves
  // stay as they are: the radio commands and the print use them to collect the editors.
  bool HasUnsavedData() const;
  // The tune view works on what the radio holds: while it is shown nothing replaces the
  // data (New, Open, a recent or dropped file, a model change refuse).
  bool CanReplaceData() const { return viewMode != ViewMode::Tune; }
  // The channel grid's and the tune table's open editors are applied and closed.
  void CommitPendingEdit();
  // Image to editors; also refreshes the band panel.
  void DisplayRadioData();
  void CollectRadioData();
  // A read or write that failed or was declined: a caption that still names the success of
  // an earlier one would claim this one succeeded. It goes back to the title (the notice had
  // taken the file's place), and the data still counts as unsaved, as the notice said.
  void RadioCommandFailed();

  // Before the data is replaced from elsewhere: with unsaved data, asks whether to save it
  // (save runs on Yes). False when the user cancelled or the save did not happen.
  bool ConfirmReplace(const SaveFn& save);
  // mnuFileNew. save runs on Yes. Returns whether the defaults were loaded.
  bool New(const SaveFn& save);
  // The model change after the model dialog closed (modelChanged, newModel are its
  // results): asks, then reloads the channel defaults. Returns whether the model changed.
  bool ChangeModel(bool modelChanged, int newModel);
  // Reads a data file into the document (all or nothing) and shows it.
  bool LoadDataFile(const std::string& path);
  // mnuFileOpen: the unsaved-data question (save runs on Yes) before the file is chosen.
  bool Open(FileDialogs& dialogs, const SaveFn& save);
  // A recent file or a dropped one: the unsaved-data question, then LoadDataFile.
  bool OpenFile(const std::string& path, const SaveFn& save);
  SaveResult Save(FileDialogs& dialogs);
  SaveResult SaveAs(FileDialogs& dialogs);
  // The close sequence's data steps: the unsaved-data prompt (save runs on Yes), leaving
  // tune mode, writing the port number back. KeepOpen on Cancel or when the save failed.
  CloseDecision RequestClose(const SaveFn& save);

  void setPortNumber(int16_t port);
  std::tm now() const { return localTime_(); }

 private:
  void ResetToDefaults();
  void UpdateBandPanel();
  SaveResult WriteTo(const std::string& path, const char* failureText);
  // The data as a save would write it now equals what was last opened or saved.
  bool EqualsSaved() const;
  void RememberSaved();
  // The editors (and the tune table) into `out` as a save would write them, flags untouched.
  void CollectInto(Image& out) const;

  AppState& app_;
  Prompter& prompter_;
  const ProfileFile& ini_;
  std::function<std::tm()> localTime_;
  RadioEditors editors_;
  EditHistory history_{image, flags, editors_};
  // The collected image and the spare block as last opened or saved; none after New, a
  // read or a model change.
  std::optional<Image> savedImage_;
  SpareBlock savedSpare_{};
};

// The document fields tune mode reads and changes, for a TuneController working on them.
TuneDocumentRefs TuneRefsOf(Document& doc);

// Plugs tune mode into the document's commands and its undo history: leaving tune mode when
// the window closes or the data is replaced while an item is adjusted, the tune editor in
// CommitPendingEdit, the tune channel defaults of New and of a model change, and the tune
// table's edits as steps of the history (forgotten on entering, leaving and reloading; a
// written table makes every kept state changed).
void AttachTune(Document& doc, TuneController& tune);

}  // namespace qm
