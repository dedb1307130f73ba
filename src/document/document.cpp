#include "document/document.h"

#include <algorithm>

#include "base/model_table.h"
#include "base/text_util.h"
#include "base/tr.h"
#include "document/config.h"
#include "files/data_file.h"
#include "files/data_file_messages.h"
#include "files/recent_files.h"
#include "files/text_form.h"
#include "model/defaults.h"
#include "radio/serial_port.h"
#include "tune/tune_controller.h"

namespace qm {

namespace {

constexpr const char* kFileErrorTitle = QM_TR("文件错误");
constexpr uint8_t kStartupModelCode = 7;

}  // namespace

std::string CaptionForFile(const std::string& title, const std::string& path) {
  return title + path;
}

namespace {

// A read or a write put data into the window that no file holds.
bool CaptionAfterRadioCommand(const std::string& caption) {
  const std::string head = Utf8Left(caption, 4);
  return head == QM_NOTR("读频完成") || head == QM_NOTR("写频完成");
}

}  // namespace

bool HasUnsavedData(const std::string& caption, const EditFlags& flags) {
  return CaptionAfterRadioCommand(caption) || flags.dataChanged || flags.functionsChanged;
}

bool CaptionNamesNoFile(const std::string& caption, const std::string& title) {
  return caption.size() >= title.size() &&
         caption.compare(caption.size() - title.size(), title.size(), title) == 0;
}

std::string PathFromCaption(const std::string& caption, const std::string& title) {
  const std::string head = Utf8Left(caption, Utf8Length(title));
  return caption.substr(head.size());
}

std::string StatusPortPanel(int portNumber) { return "COM " + std::to_string(portNumber); }

Document::Document(AppState& app, Prompter& prompter, const ProfileFile& iniFile,
                   std::function<std::tm()> localTime)
    : app_(app),
      prompter_(prompter),
      ini_(iniFile),
      localTime_(localTime ? std::move(localTime) : std::function<std::tm()>(LocalTimeNow)),
      editors_(app, flags, prompter, [this] { return image.modelCode(); }) {}

void Document::UpdateBandPanel() { statusBand = StatusBandPanel(app_.bandText); }

void Document::setPortNumber(int16_t port) {
  portNumber = static_cast<int16_t>(std::clamp<int>(port, kMinPortNumber, kMaxListedPort));
  statusPort = StatusPortPanel(portNumber);
}

bool Document::HasUnsavedData() const {
  if (!qm::HasUnsavedData(caption, flags)) return false;
  return CaptionAfterRadioCommand(caption) || !EqualsSaved();
}

void Document::CollectInto(Image& out) const {
  editors_.CollectInto(out);
  if (hooks.collectTune) hooks.collectTune(out);
}

void Document::CollectRadioData() {
  editors_.CollectRadioData(image);
  // The tune table the window shows goes with the rest: a save after an undo past a tune
  // table write must not write the table the radio was given while the grid shows another.
  if (hooks.collectTune) hooks.collectTune(image);
}

bool Document::EqualsSaved() const {
  if (!savedImage_) return false;
  Image now = image;
  CollectInto(now);
  return now == *savedImage_ && spare == savedSpare_;
}

void Document::RadioCommandFailed() {
  if (!CaptionAfterRadioCommand(caption)) return;
  caption = app_.softwareTitle;
  flags.dataChanged = true;
  savedImage_.reset();  // so that an undo back to a saved state still asks
}

void Document::RememberSaved() {
  savedImage_ = image;
  CollectInto(*savedImage_);
  savedSpare_ = spare;
}

void Document::DisplayRadioData() {
  // The editors get new data: steps recorded on the old data cannot be undone on it, and
  // it is no longer what was opened or saved (a load remembers it again afterwards).
  history_.clear();
  savedImage_.reset();
  editors_.DisplayRadioData(image);
  UpdateBandPanel();
}

void Document::CommitPendingEdit() {
  editors_.CommitPendingEdit();
  if (hooks.commitTuneEdit) hooks.commitTuneEdit();
}

void Document::ResetToDefaults() {
  SetDefaultFunctions(image);
  SetDefaultChannels(image, app_.currentModel(), localTime_());
  flags.dataChanged = false;
  DisplayRadioData();
  if (hooks.setDefaultTuneChannels) hooks.setDefaultTuneChannels(image);
  if (hooks.showModelInfo) hooks.showModelInfo();
}

void Document::Start() {
  editors_.functions().BuildComboLists();  // the decimal separator is known by now
  viewMode = ViewMode::Channels;
  caption = app_.softwareTitle;
  portNumber = 1;
  fileDialogDir = app_.programDir;

  image.setModelCode(kStartupModelCode);
  ConvertModel(app_, image.modelCode());
  modelByte = static_cast<uint8_t>(app_.curModel);
  app_.bandText = BuildBandText(app_, app_.curModel);
  UpdateBandPanel();

  setPortNumber(static_cast<int16_t>(ReadPortNumber(ini_)));

  ResetToDefaults();
  if (hooks.recentFilesChanged) hooks.recentFilesChanged();

  viewMode = ViewMode::Channels;
  flags = EditFlags{};
}

bool Document::ConfirmReplace(const SaveFn& save) {
  if (!HasUnsavedData()) return true;
  Answer a = prompter_.ask(Message{kAppTitle, QM_TR("数据没有保存，是否要保存数据？"),
                                   Icon::Question, Buttons::YesNoCancel});
  if (a == Answer::Cancel) return false;
  if (a == Answer::Yes) {
    // Replacing the data after the user asked to keep it, when the save did not happen,
    // would lose it: stop instead.
    SaveResult r = save ? save() : SaveResult::Failed;
    if (r != SaveResult::Saved) return false;
  }
  return true;
}

bool Document::New(const SaveFn& save) {
  // The title alone: nothing to start afresh from (start-up, just after New, after tune
  // mode was left).
  if (Utf8Length(caption) == Utf8Length(app_.softwareTitle)) return false;
  if (!CanReplaceData() || !ConfirmReplace(save)) return false;

  caption = app_.softwareTitle;
  app_.bandText = BuildBandText(app_, app_.curModel);
  UpdateBandPanel();
  ResetToDefaults();
  fileNewEnabled = false;
  flags.dataChanged = false;
  flags.functionsChanged = false;
  return true;
}

bool Document::ChangeModel(bool modelChanged, int newModel) {
  bool changed = false;
  if (CanReplaceData() && modelChanged && newModel != app_.curModel && newModel >= 0 &&
      newModel < static_cast<int>(app_.models.size())) {
    Answer a = prompter_.ask(Message{QM_TR("提示"),
                                     QM_TR("选择不同的机型将初始化所有的数据，真的要继续吗？"),
                                     Icon::Exclamation, Buttons::YesNo});
    if (a == Answer::Yes) {
      app_.curModel = static_cast<int16_t>(newModel);
      modelByte = static_cast<uint8_t>(newModel);
      image.setModelCode(ConvRdInnValue(app_));
      SetDefaultChannels(image, app_.currentModel(), localTime_());
      flags.dataChanged = false;
      DisplayRadioData();
      if (hooks.setDefaultTuneChannels) hooks.setDefaultTuneChannels(image);
      if (hooks.showModelInfo) hooks.showModelInfo();
      caption = app_.softwareTitle;
      fileNewEnabled = false;
      changed = true;
    }
  }
  app_.bandText = BuildBandText(app_, app_.curModel);
  UpdateBandPanel();
  return changed;
}

bool Document::LoadDataFile(const std::string& path) {
  if (path.empty() || !CanReplaceData()) return false;
  AnyLoad any = LoadAnyDataFile(path, image, spare, app_);
  const LoadedFile& loaded = any.file;
  switch (loaded.status) {
    case LoadStatus::Ok:
      break;
    case LoadStatus::NotFound:
      prompter_.ask(any.message);
      RemoveRecentFile(ini_, path);
      if (hooks.recentFilesChanged) hooks.recentFilesChanged();
      return false;
    case LoadStatus::NotDataFile:
    case LoadStatus::NewerVersion:
    case LoadStatus::Damaged:
      // Nothing of a rejected or damaged file is taken: the document stays as it was.
      prompter_.ask(any.message);
      return false;
  }

  image = loaded.image;
  spare = loaded.spare;
  imageVerMajor = loaded.imageVerMajor;
  ConvertModel(app_, image.modelCode());
  modelByte = static_cast<uint8_t>(app_.curModel);
  DisplayRadioData();
  if (hooks.showModelInfo) hooks.showModelInfo();
  flags.dataChanged = false;
  flags.functionsChanged = false;
  RememberSaved();
  fileNewEnabled = true;
  AddRecentFile(ini_, path);
  if (hooks.recentFilesChanged) hooks.recentFilesChanged();
  curFileName = path;
  caption = CaptionForFile(app_.softwareTitle, path);
  return true;
}

bool Document::Open(FileDialogs& dialogs, const SaveFn& save) {
  // A file opened over edits not yet saved would replace them without a word, as New would.
  if (!CanReplaceData() || !ConfirmReplace(save)) return false;
  std::optional<std::string> path = dialogs.openFile(OpenDialogRequest(fileDialogDir));
  if (!path) return false;
  return LoadDataFile(*path);
}

bool Document::OpenFile(const std::string& path, const SaveFn& save) {
  if (path.empty() || !CanReplaceData() || !ConfirmReplace(save)) return false;
  return LoadDataFile(path);
}

SaveResult Document::WriteTo(const std::string& path, const char* failureText) {
  const bool legacy = IsLegacyName(path);
  std::vector<uint8_t> bytes = SerializeAnyDataFile(path, image, spare, imageVerMajor, app_);
  if (!WriteFileAtomically(path, bytes)) {
    Notify(prompter_, kFileErrorTitle, failureText, Icon::Exclamation);
    return SaveResult::Failed;
  }
  // The text form keeps the version the image has; the data files name theirs.
  if (!IsTextFormName(path)) imageVerMajor = legacy ? 0 : 2;
  return SaveResult::Saved;
}

SaveResult Document::Save(FileDialogs& dialogs) {
  CommitPendingEdit();
  const std::string& named =
      viewMode == ViewMode::Tune && !captionAfterTune.empty() ? captionAfterTune : caption;
  if (CaptionNamesNoFile(named, app_.softwareTitle)) return SaveAs(dialogs);
  const EditFlags before = flags;
  CollectRadioData();
  const std::string path = PathFromCaption(named, app_.softwareTitle);
  if (WriteTo(path, QM_TR("保存文件错误！")) != SaveResult::Saved) {
    // The edits are still not on disk: keep them marked as unsaved.
    flags = before;
    return SaveResult::Failed;
  }
  flags.dataChanged = false;
  flags.functionsChanged = false;
  history_.markSaved();
  RememberSaved();
  return SaveResult::Saved;
}

SaveResult Document::SaveAs(FileDialogs& dialogs) {
  CommitPendingEdit();
  const EditFlags before = flags;
  CollectRadioData();
  std::optional<std::string> path =
      dialogs.saveFile(SaveAsDialogRequest(fileDialogDir, curFileName));
  if (!path) {
    // Collected but not saved: the edits must still count as unsaved.
    flags = before;
    return SaveResult::Cancelled;
  }
  if (WriteTo(*path, QM_TR("保存文件错误")) != SaveResult::Saved) {
    flags = before;
    return SaveResult::Failed;
  }
  // The tune view keeps its notice for as long as it is shown.
  (viewMode == ViewMode::Tune ? captionAfterTune : caption) =
      CaptionForFile(app_.softwareTitle, *path);
  AddRecentFile(ini_, *path);
  if (hooks.recentFilesChanged) hooks.recentFilesChanged();
  curFileName = *path;
  fileNewEnabled = true;
  flags.dataChanged = false;
  flags.functionsChanged = false;
  history_.markSaved();
  RememberSaved();
  return SaveResult::Saved;
}

CloseDecision Document::RequestClose(const SaveFn& save) {
  if (HasUnsavedData()) {
    Answer a = prompter_.ask(Message{kAppTitle, QM_TR("数据没有保存，是否要保存？"), Icon::Question,
                                     Buttons::YesNoCancel});
    if (a == Answer::Cancel) return CloseDecision::KeepOpen;
    if (a == Answer::Yes) {
      if (viewMode != ViewMode::Tune && tuneState == TuneState::ItemOpen && hooks.leaveTuneMode)
        hooks.leaveTuneMode();
      SaveResult r = save ? save() : SaveResult::Failed;
      // The user asked to save: a save that failed (it has said so) or a file dialog
      // closed without a name leaves the data unsaved, so the window stays open on it; "No"
      // is the answer that closes without saving.
      if (r != SaveResult::Saved) return CloseDecision::KeepOpen;
    }
  }
  if (viewMode == ViewMode::Tune && hooks.leaveTuneView) {
    // The radio is taken out of its tune state with the leave frames, as the channel view
    // does, not left in alignment mode; a table the user kept for writing that could not be
    // written keeps the window open on it.
    if (!hooks.leaveTuneView()) return CloseDecision::KeepOpen;
  } else if (tuneState == TuneState::ItemOpen && hooks.leaveTuneMode) {
    hooks.leaveTuneMode();
  }
  WritePortNumber(ini_, portNumber);
  return CloseDecision::Close;
}

TuneDocumentRefs TuneRefsOf(Document& doc) {
  return TuneDocumentRefs{doc.image,         doc.flags,          doc.viewMode,
                          doc.tuneState,     doc.curTuneChannel, doc.curTuneItem,
                          doc.tuneGridShown, doc.modelByte,      doc.imageVerMajor,
                          doc.portNumber,    doc.caption,        doc.captionAfterTune,
                          doc.statusBand};
}

void AttachTune(Document& doc, TuneController& tune) {
  TuneTableModel& table = tune.table();
  doc.hooks.leaveTuneMode = [&tune] { tune.LeaveTuneMode(); };
  doc.hooks.leaveTuneView = [&tune] { return tune.ChannelMenu(); };
  doc.hooks.collectTune = [&table](Image& image) { table.PackChanges(image); };
  doc.hooks.commitTuneEdit = [&table] { table.CommitPendingEdit(); };
  doc.hooks.setDefaultTuneChannels = [&table](Image& image) {
    table.SetDefaultTuneChannels(image);
  };
  EditHistory& history = doc.history();
  tune.hooks.forgetEdits = [&history] { history.clear(); };
  tune.hooks.tuneTableWritten = [&history] { history.markTuneWritten(); };
  history.attachTune(table);
}

}  // namespace qm
