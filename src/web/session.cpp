// The page's binding: one Session over the core's Document and its editor models. The page
// renders what the queries give (cell texts and colours, check states, list positions, red
// marks, captions, what the menus may do) and sends the user's clicks and keys as actions.
// An action may wait for the user or the radio (a question, a file picker, a read), so the
// page queues it here and runs it through qm_run, the module's one export that may suspend;
// the queries never wait and can be called while an action waits (the page paints then).
#include <emscripten.h>
#include <emscripten/bind.h>

#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <nlohmann/json.hpp>
#include <optional>
#include <utility>

#include "base/model_table.h"
#include "base/text_util.h"
#include "document/channel_edits.h"
#include "document/config.h"
#include "document/csv_lists.h"
#include "document/document.h"
#include "document/radio_commands.h"
#include "files/gbk_table_codec.h"
#include "files/profile.h"
#include "files/recent_files.h"
#include "model/cell_colors.h"
#include "model/channel_table.h"
#include "model/embed_areas.h"
#include "model/function_settings.h"
#include "model/signal_entry.h"
#include "print/report_inputs.h"
#include "print/report_layout.h"
#include "radio/embed_info.h"
#include "radio/link.h"
#include "radio/port_check.h"
#include "radio/write_checks.h"
#include "tune/tune_controller.h"
#include "tune/tune_table.h"
#include "web/web_seams.h"
#include "web/web_translation.h"

namespace qm::web {

namespace {

// Where the page keeps its files in the module's memory file system: the installation's
// maker file (packed into the module), the program's own configuration file (kept in the
// browser's storage by the page) and the files the user opens, saves and backs up.
constexpr const char* kProgramDir = "/app";
constexpr const char* kMakerFile = "/app/nrvPC.ini";
constexpr const char* kProgramIni = "/app/QM830K.ini";
constexpr const char* kBackupDir = "/backup";

// A light theme, as the desktop's default palette gives it.
constexpr ThemeColors kTheme{{255, 255, 255}, {0, 0, 0}, {239, 239, 239}, {190, 190, 190}};

std::string Css(Rgb c) {
  char text[8];
  std::snprintf(text, sizeof text, "#%02x%02x%02x", c.r, c.g, c.b);
  return text;
}

std::tm LocalNow() {
  const std::time_t t = std::time(nullptr);
  std::tm out{};
  localtime_r(&t, &out);
  return out;
}

class Session {
 public:
  Session() {
    std::filesystem::create_directories(kProgramDir);
    std::filesystem::create_directories(kBackupDir);
    LoadStartupConfig(kProgramDir, kMakerFile, app_, codec_, kProgramIni);
    ini_ = std::make_unique<ProfileFile>(app_.iniFile, codec_);
    doc_ = std::make_unique<Document>(app_, prompter_, *ini_, LocalNow);
    // Tune mode plugs into the document as on the desktop: New and a read give the tune
    // channels their defaults, a save packs the table, the history keeps its edits.
    tune_ = std::make_unique<TuneController>(app_, prompter_, TuneRefsOf(*doc_),
                                             TuneLinkParts{port_, clock_, progress_});
    AttachTune(*doc_, *tune_);
    tune_->hooks.commitPendingEdit = [this] { doc_->editors().CommitPendingEdit(); };
    doc_->Start();
  }

  // ---- actions: queued by the page, run by qm_run ----
  void queue(std::function<void()> action) { queued_ = std::move(action); }
  void run() {
    auto action = std::move(queued_);
    queued_ = nullptr;
    if (!action) return;
    action();
  }

  void pressCell(int row, int col) {
    queue([=, this] {
      const GridPress p = grid().pressCell(row, col);
      noteSignal(p);
    });
  }
  void keyPress(int key) {
    queue([=, this] { noteSignal(grid().keyPress(key)); });
  }
  void editorText(std::string text) {
    queue([=, this] { grid().editorTextChanged(text); });
  }
  void editorEnter() {
    queue([this] { grid().editorEnter(); });
  }
  void editorEscape() {
    queue([this] { grid().editorEscape(); });
  }
  void editorLostFocus() {
    queue([this] { grid().editorLostFocus(); });
  }
  void clickCheck(int column, int i) {
    queue([=, this] {
      if (column == 0) grid().clickChannelOff(i);
      if (column == 1) grid().clickTxInhibit(i);
      if (column == 2) grid().clickTxEqRx(i);
    });
  }
  void chooseFunction(int fn, int position) {
    queue([=, this] {
      doc_->CommitPendingEdit();
      fns().choose(static_cast<Fn>(fn), position);
    });
  }
  void newFile() {
    queue([this] {
      if (!doc_->CanReplaceData()) return;
      doc_->CommitPendingEdit();
      doc_->New([this] { return save(false); });
    });
  }
  void open() {
    queue([this] {
      if (!doc_->CanReplaceData()) return;
      doc_->CommitPendingEdit();
      doc_->Open(dialogs_, [this] { return save(false); });
    });
  }
  void saveFile(bool as) {
    queue([=, this] { save(as); });
  }
  void changeModel(int model) {
    queue([=, this] {
      if (!doc_->CanReplaceData()) return;
      doc_->CommitPendingEdit();
      doc_->ChangeModel(model != app_.curModel, model);
    });
  }
  void read() {
    queue([this] {
      doc_->CommitPendingEdit();
      if (!tune_->ConfirmLeave()) return;
      LinkContext ctx = link();
      ReadRadioIntoDocument(*doc_, ctx, radioSeams());
    });
  }
  void write(bool verify, bool backup) {
    queue([=, this] {
      doc_->CommitPendingEdit();
      if (!tune_->ConfirmLeave()) return;
      LinkContext ctx = link();
      WriteChecks checks{verify, backup ? kBackupDir : ""};
      const CheckedWrite r = WriteDocumentToRadio(*doc_, ctx, checks, radioSeams());
      if (r.backup && r.backup->ok) OfferDownload(r.backup->path);
    });
  }
  void cancelProgress() { progress_.requestCancel(); }

  // ---- the embedded information frmEmbed ----
  void embedOpen() {
    queue([this] {
      doc_->CommitPendingEdit();
      // The tune view is left first, its changed table offered for writing.
      if (doc_->viewMode == ViewMode::Tune && !tune_->ChannelMenu()) return;
      doc_->viewMode = ViewMode::EmbedInfo;
      embed_ = EmbedTextFromArea(doc_->image);
    });
  }
  // The box shows the text before the area's zero padding.
  std::string embedText() const {
    return Utf16ToUtf8(std::u16string_view(embed_).substr(0, embed_.find(u'\0')));
  }
  // The ID as text: the zeros that pad it end it, as in the command line's line, rather than
  // showing as blanks in the page.
  std::string embedRadioId() const { return PrintableRadioId(doc_->image.radioId()); }
  std::string embedLastTime() const { return DisplayEmbedInfo(doc_->image).lastTime; }
  // The box's text and caret (UTF-16 units) after an edit; a text too long for the area
  // loses what was just typed, with the program's note.
  void embedEdit(std::string text, int caret) {
    queue([=, this] {
      std::u16string t = Utf8ToUtf16(text);
      size_t at = static_cast<size_t>(std::max(caret, 0));
      if (LimitEmbedText(t, at)) Notify(prompter_, kAppTitle, embedtext::kTooLong, Icon::None);
      embed_ = std::move(t);
      embedCaret_ = static_cast<int>(at);
    });
  }
  int embedCaret() const { return embedCaret_; }
  void embedRead() {
    queue([this] {
      LinkContext ctx = link();
      ReadEmbedInfo(ctx, doc_->image, doc_->imageVerMajor);
      // The box shows the areas whether or not the read got through.
      embed_ = EmbedTextFromArea(doc_->image);
    });
  }
  void embedWrite() {
    queue([this] {
      CollectEmbedText(embed_, doc_->image);
      LinkContext ctx = link();
      WriteEmbedInfo(ctx, doc_->image, doc_->imageVerMajor);
    });
  }
  // 关闭 keeps the text in the image; 取消 leaves the image as it is.
  void embedClose(bool keep) {
    if (keep) CollectEmbedText(embed_, doc_->image);
  }

  // The cable check on the port the user just granted: what answers there, in one line.
  void checkCable() {
    queue([this] {
      LinkContext ctx = link();
      const CheckResult result = CheckConnection(ctx);
      Notify(prompter_, QM_TR("检测连接"), CheckLine(app_, result, port_.displayName()),
             result.outcome == CheckOutcome::RadioAnswers ? Icon::Information : Icon::Exclamation);
    });
  }

  // ---- print: the core's report layout, which the page lays out for the browser's print ----
  void print() {
    queue([this] {
      print::PrepareForPrint(*doc_);
      pages_ = print::LayoutDocumentReports(*doc_, tune_->table(), {});
    });
  }
  // The pages last laid out: [{w, h, e: [[kind, x, y, text, right, x2], ...]}, ...] in twips,
  // the texts in the page's language (a heading in the report's own wording).
  std::string reportPages() const {
    nlohmann::json out = nlohmann::json::array();
    const print::PageGeometry g;
    for (const print::ReportPage& page : pages_) {
      nlohmann::json elements = nlohmann::json::array();
      for (const print::ReportElement& e : page.elements) {
        const bool heading = e.kind == print::ElementKind::Heading;
        elements.push_back({static_cast<int>(e.kind), e.x, e.y,
                            Tr(e.text, heading ? print::kHeadingContext : "qm::print"),
                            e.align == print::Align::Right, e.x2});
      }
      out.push_back({{"w", g.width}, {"h", g.height}, {"e", elements}});
    }
    return out.dump();
  }

  // ---- tune mode: the tune view (TreeView2, fraTuneSet with gridTune, fraTune with hsbTune)
  // over the same TuneController the window drives; every step talks to the radio through it.
  void tuneEnter() {
    queue([this] {
      // Entering again while tuning would greet a radio that is in its tune state.
      if (doc_->viewMode == ViewMode::Tune) return;
      tune_->EnterTuneMode();
    });
  }
  // mnuChannel: the channel view back (a changed tune table offered for writing first).
  void channelView() {
    queue([this] {
      doc_->CommitPendingEdit();
      tune_->ChannelMenu();
    });
  }
  void tuneNode(std::string key) {
    queue([=, this] {
      doc_->CommitPendingEdit();
      tune_->NodeClick(key);
    });
  }
  // hsbTune released at `value`, or stepped by a key or an arrow (TuneStep).
  void tuneScroll(int value) {
    queue([=, this] { tune_->ScrollChanged(value); });
  }
  void tuneStep(int step) {
    queue([=, this] { tune_->ScrollStep(static_cast<TuneStep>(step)); });
  }
  void tuneOk(bool ok) {
    queue([=, this] {
      if (ok)
        tune_->Ok();
      else
        tune_->Cancel();
    });
  }
  void tuneSave() {
    queue([this] { tune_->SaveTuneTable(); });
  }
  void tunePress(int row, int col) {
    queue([=, this] { noteTuneSignal(tune_->table().pressCell(row, col)); });
  }
  void tuneKey(int key) {
    queue([=, this] { noteTuneSignal(tune_->table().keyPress(key)); });
  }
  // optTestCh (0), chkTuneCH (1) or chkTuneTx (2) of tune channel i clicked.
  void tuneBox(int kind, int i) {
    queue([=, this] {
      TuneTableModel& t = tune_->table();
      if (kind == 0) t.clickTestChannel(i);
      if (kind == 1) t.clickChannelOff(i);
      if (kind == 2) t.clickTxInhibit(i);
    });
  }
  void tuneEditorText(std::string text) {
    queue([=, this] { tune_->table().editorTextChanged(text); });
  }
  void tuneEditorEnter() {
    queue([this] { tune_->table().editorEnter(); });
  }
  void tuneEditorStep(bool up) {
    queue([=, this] {
      if (up)
        tune_->table().editorUp();
      else
        tune_->table().editorDown();
    });
  }
  // Leaving the cell validates it, then the editor goes.
  void tuneEditorLostFocus() {
    queue([this] {
      tune_->table().validateEditor();
      tune_->table().editorLostFocus();
    });
  }
  // A click on the panel fraTuneSet closes the open editors.
  void tunePanelClick() {
    queue([this] { doc_->CommitPendingEdit(); });
  }
  int tuneEditorKey(int key) const {
    return Filtered(tune_->table().filterEditorKey(static_cast<char32_t>(key)));
  }
  // The tune view as one object: what is shown, the tree's nodes, the item panel and the
  // tune channel table's cells with their colours, boxes and editor.
  std::string tuneView() const {
    const TuneView& v = tune_->view();
    const TuneTableModel& t = tune_->table();
    nlohmann::json nodes = nlohmann::json::array();
    for (const TuneTreeNode& n : kTuneTree) {
      const int code = TuneItemCodeOfKey(n.key);
      const bool grey =
          v.narrowNodesGrey && code > 0 && kTuneItemSpecs[static_cast<size_t>(code - 1)].narrow;
      nodes.push_back({{"key", n.key},
                       {"text", Tr(n.text)},
                       {"parent", n.parent ? n.parent : ""},
                       {"grey", grey}});
    }
    nlohmann::json headers = nlohmann::json::array();
    for (const char* h : kTuneGridHeaders) headers.push_back(Tr(h));
    nlohmann::json rows = nlohmann::json::array();
    for (int r = 1; r <= kTuneChannelCount; ++r) {
      nlohmann::json cells = nlohmann::json::array();
      for (int c = 1; c < kTuneGridCols; ++c) {
        const CellLook look = TuneLookOf(t.color(r, c), kTheme);
        cells.push_back(
            {Tr(t.text(r, c)), Css(look.text), Css(look.background), Tr(t.cellNote(r, c))});
      }
      const int i = r - 1;
      rows.push_back({{"cells", cells},
                      {"test", t.selectedChannel() == i},
                      {"testEnabled", t.optionEnabled(i)},
                      {"off", t.channelOff(i)},
                      {"offEnabled", t.channelOffEnabled(i)},
                      {"txOff", t.txInhibited(i)},
                      {"txOffEnabled", t.txInhibitEnabled(i)}});
    }
    const TuneFreqEditor& ed = t.freqEditor();
    return nlohmann::json{
        {"tree", v.treeVisible},
        {"table", v.tableVisible},
        {"item", v.itemVisible},
        {"channels", v.channelPanelsVisible},
        {"tuneChecked", v.tuneChecked},
        {"channelChecked", v.channelChecked},
        {"nodes", nodes},
        {"itemCaption", Tr(v.itemCaption)},
        {"channelCaption", Tr(v.channelCaption)},
        {"rxFreq", v.rxFreq},
        {"rxSignal", Tr(v.rxSignal)},
        {"txFreq", v.txFreq},
        {"txSignal", Tr(v.txSignal)},
        {"value", v.scrollValue},
        {"valueLabel", v.valueLabel},
        {"valueMax", kTuneValueMax},
        {"headers", headers},
        {"rows", rows},
        {"row", t.currentRow()},
        {"col", t.currentCol()},
        {"editor", {{"visible", ed.visible}, {"row", ed.row}, {"col", ed.col}, {"text", ed.text}}}}
        .dump();
  }
  // ---- end of tune mode ----

  // ---- recent files (mnuRecentFile_1..4); the page keeps their bytes in its storage ----
  int recentCount() const { return kRecentFileCount; }
  // The menu caption of entry n (1..4), empty when there is none.
  std::string recentCaption(int n) const {
    return RecentMenuCaptions(*ini_)[static_cast<size_t>(n - 1)].value_or("");
  }
  std::string recentPath(int n) const {
    const auto caption = RecentMenuCaptions(*ini_)[static_cast<size_t>(n - 1)];
    return caption ? PathFromRecentCaption(*caption) : std::string();
  }
  void openRecent(int n) {
    queue([=, this] {
      const std::string path = recentPath(n);
      if (path.empty() || !doc_->CanReplaceData()) return;
      doc_->CommitPendingEdit();
      doc_->OpenFile(path, [this] { return save(false); });
    });
  }

  // ---- channel lists and row commands: CSV import and export, copy, paste, bulk edit ----
  // The import: the file first (csvPick), then the page's dialog dlgImportCsv, whose start
  // field csvChoiceOk checks as the window's does, then csvImport with its two choices.
  void csvPick() {
    queue([this] {
      doc_->CommitPendingEdit();
      csvPath_ = dialogs_.openFile(CsvImportRequest(*doc_)).value_or("");
    });
  }
  bool csvPicked() const { return !csvPath_.empty(); }
  bool csvChoiceOk(std::string from) const { return ReadCsvImportChoice(from, false).has_value(); }
  void csvImport(std::string from, bool clearRest) {
    queue([=, this] {
      const std::string path = std::exchange(csvPath_, std::string());
      const std::optional<CsvImportChoice> choice = ReadCsvImportChoice(from, clearRest);
      if (path.empty() || !choice) return;
      ImportCsvFile(*doc_, app_, path, *choice, prompter_);
    });
  }
  // The export: the browser's save picker (the document's name with ".csv"), then the file.
  void csvExport() {
    queue([this] {
      doc_->CommitPendingEdit();
      const std::optional<std::string> path = dialogs_.saveFile(CsvExportRequest(*doc_));
      if (!path) return;
      ExportCsvFile(*doc_, *path, Tr(kChirpChannelName), prompter_, SaveToBrowser);
    });
  }

  // The rows a command works on come from the page's row selection as "0,1,5" (channels
  // 0..15; empty: the current cell's row).
  void copyRows(std::string rows) {
    queue([=, this] {
      doc_->CommitPendingEdit();
      copied_ = CopyChannels(grid(), doc_->image, app_, chosen(rows), Tr(kChirpChannelName));
    });
  }
  // 剪切 (after its copy) and 清除: the chosen rows switched off, as one step; nothing when
  // no row is chosen, as in the window, where the current cell alone is no choice of rows.
  void switchOffRows(std::string rows, bool cut) {
    queue([=, this] {
      if (rows.empty()) return;
      const std::vector<int> channels = chosen(rows);
      doc_->CommitPendingEdit();
      if (cut) copied_ = CopyChannels(grid(), doc_->image, app_, channels, Tr(kChirpChannelName));
      SwitchOffChannels(grid(), channels, cut ? QM_TR("剪切") : QM_TR("清除"));
    });
  }
  // The text form of the last copy, which the page puts on the browser's clipboard.
  std::string copiedText() const { return copied_ ? copied_->csv : std::string(); }
  // A paste of the browser's clipboard text (fromBrowser), or of the page's own last copy.
  // The exact records of that copy go with a text that is still the one it gave.
  void pasteRows(std::string rows, std::string text, bool fromBrowser) {
    queue([=, this] {
      doc_->CommitPendingEdit();
      std::optional<ChannelClip> clip;
      std::string shown = fromBrowser ? text : copiedText();
      if (copied_ && shown == copied_->csv) clip = copied_->clip;
      const PasteResult r = PasteChannelsOnto(grid(), doc_->image, app_, chosen(rows), clip, shown);
      if (!r.ok)
        Notify(prompter_, QM_TR("粘贴"), r.error + JoinNotes(r.notes), Icon::Exclamation);
      else if (!r.notes.empty())
        Notify(prompter_, QM_TR("粘贴"),
               FillCount(QM_TR_N("粘贴%n个信道。"), r.pasted) + JoinNotes(r.notes),
               Icon::Exclamation);
    });
  }
  // The bulk edit dialog dlgBulkEdit: the channels it names, its lists and the start's hint.
  std::string bulkChannels(std::string rows) const { return ChannelRangeText(chosen(rows)); }
  std::string bulkEntry(int list, int k) const {
    static constexpr std::array<std::array<const char*, 2>, 4> kLists{{
        {cell_text::kWide, cell_text::kNarrow},
        {cell_text::kPowerHigh, cell_text::kPowerLow},
        {cell_text::kScanAdd, cell_text::kScanDelete},
        {cell_text::kLockOff, cell_text::kLockOn},
    }};
    if (list < 0 || list >= 4 || k < 0 || k >= 2) return "";
    return Tr(kLists[static_cast<size_t>(list)][static_cast<size_t>(k)]);
  }
  std::string bulkFillHint() const {
    char text[32];
    std::snprintf(text, sizeof text, "%.5f", app_.currentModel().rangeLow);
    return text;
  }
  std::string bulkFillStep() const { return BulkEdit{}.fillStepKhz; }
  // OK with the dialog's controls as JSON: {"choices": [bandwidth, power, scan, busyLock,
  // txInhibit] (each a list position, or null when not ticked), "rx", "tx" (text or null),
  // "txEqRx", "fill": null or {"from", "step", "tx"}}. A value the core refuses keeps the
  // dialog open with the field bulkField names.
  void bulkApply(std::string rows, std::string controls) {
    queue([=, this] {
      bulkOpen_ = true;
      bulkField_ = static_cast<int>(BulkField::None);
      // Not const: a key the page left out reads as null.
      nlohmann::json c = nlohmann::json::parse(controls, nullptr, false);
      if (c.is_discarded() || !c.is_object()) return;
      if (!c["choices"].is_array()) c["choices"] = nlohmann::json::array();
      if (!c["fill"].is_object()) c["fill"] = nullptr;
      BulkEdit e;
      std::array<std::optional<bool>*, 5> choices{&e.narrow, &e.lowPower, &e.scanDelete,
                                                  &e.busyLock, &e.txInhibit};
      for (size_t k = 0; k < choices.size(); ++k)
        if (c["choices"][k].is_number()) *choices[k] = c["choices"][k].get<int>() == 1;
      if (c["rx"].is_string()) e.rxSignal = c["rx"].get<std::string>();
      if (c["tx"].is_string()) e.txSignal = c["tx"].get<std::string>();
      e.txEqualsRx = c.value("txEqRx", false);
      if (!c["fill"].is_null()) {
        e.fillFrom = c["fill"].value("from", std::string());
        e.fillStepKhz = c["fill"].value("step", std::string());
        e.fillTx = c["fill"].value("tx", false);
      }
      bulkOpen_ = false;
      if (!e.any()) return;
      doc_->CommitPendingEdit();
      const BulkResult r = ApplyBulkEdit(grid(), app_, doc_->image.modelCode(), chosen(rows), e);
      if (!r.ok) {
        bulkOpen_ = true;
        bulkField_ = static_cast<int>(r.field);
        Notify(prompter_, QM_TR("批量修改"), r.error, Icon::Exclamation);
      } else if (!r.notes.empty()) {
        Notify(prompter_, QM_TR("批量修改"),
               FillCount(QM_TR_N("修改了%n个信道。"), r.changedRows) + JoinNotes(r.notes),
               Icon::Exclamation);
      }
    });
  }
  bool bulkOpen() const { return bulkOpen_; }
  // The "..." beside a signalling field: the signalling dialog with the field's text; its OK
  // gives bulkSignalResult, its Cancel an empty one.
  void bulkPickSignal(std::string text) {
    signal_.emplace(app_, prompter_);
    signal_->load(text);
    signalForBulk_ = true;
    bulkSignal_.clear();
  }
  std::string bulkSignalResult() const { return bulkSignal_; }
  // The colour a refused field's text takes, as the window marks a value it cannot take.
  std::string bulkMarkColor() const { return Css(ReadableOn(kMarkRed, kTheme.base)); }
  // A press on a row heading moves the current cell to that row, as in the window.
  void selectRow(int row) {
    queue([=, this] {
      doc_->CommitPendingEdit();
      grid().setCurrentCell(row, std::max(1, grid().currentCol()));
    });
  }
  // BulkField: 0 none, 1 rx, 2 tx, 3 the start, 4 the step.
  int bulkField() const { return bulkField_; }
  // ---- end of the channel lists and row commands ----

  // ---- queries ----
  // The window's caption: the title (a notice such as "读频完成－" before it) and the file, which
  // the page names without its folder in the memory file system.
  std::string caption() const {
    const std::string& title = app_.softwareTitle;
    if (CaptionNamesNoFile(doc_->caption, title)) return Tr(doc_->caption);
    const std::string path = PathFromCaption(doc_->caption, title);
    const std::string head = doc_->caption.substr(0, doc_->caption.size() - path.size());
    return Tr(head) + " - " + std::filesystem::path(path).filename().string();
  }
  int gridRows() const { return kGridRows; }
  int gridCols() const { return kGridCols; }
  // The one line a browser without Web Serial shows instead of the radio commands.
  std::string noSerialText() const {
    return Tr(
        QM_TR("此浏览器没有Web "
              "Serial，不能连接电台（读频、写频、端口）：请在电脑上用Chrome或Edge打开本页。文件照常"
              "可以打开、编辑、保存和打印。"));
  }
  // What a radio command says when the user chose no port in the browser's list.
  std::string noPortText() const {
    return Tr(QM_TR("没有选择端口，命令没有执行。请在浏览器列出的端口中选择写频线所在的端口。"));
  }
  std::string header(int col) const {
    return col >= 0 && col < kGridCols ? Tr(kChannelGridColumns[static_cast<size_t>(col)].header)
                                       : std::string();
  }
  std::string checkLabel(int k) const {
    return k >= 0 && k < 3 ? Tr(kChannelCheckLabels[static_cast<size_t>(k)]) : std::string();
  }
  int columnWidth(int col) const {
    return col >= 0 && col < kGridCols ? kChannelGridColumns[static_cast<size_t>(col)].widthTwips
                                       : 0;
  }
  std::string rowHeader(int row) const { return Tr(ChannelRowHeader(row)); }
  std::string cellText(int row, int col) const { return Tr(grid().cell(row, col).text); }
  std::string cellTextColor(int row, int col) const { return Css(look(row, col).text); }
  std::string cellBackground(int row, int col) const { return Css(look(row, col).background); }
  std::string cellNote(int row, int col) const { return Tr(grid().cellNote(row, col)); }
  bool check(int column, int i) const {
    if (column == 0) return grid().channelOff(i);
    if (column == 1) return grid().txInhibited(i);
    return grid().txEqRx(i);
  }
  bool checkEnabled(int column, int i) const { return column != 1 || grid().txCheckEnabled(i); }
  int currentRow() const { return grid().currentRow(); }
  int currentCol() const { return grid().currentCol(); }
  bool editorVisible() const { return grid().freqEditor().visible; }
  int editorRow() const { return grid().freqEditor().row; }
  int editorCol() const { return grid().freqEditor().col; }
  std::string editorValue() const { return grid().freqEditor().text; }
  int editorSelStart() const { return grid().freqEditor().selStart; }
  int editorSelLength() const { return grid().freqEditor().selLength; }
  // The character the editor takes for a typed one (the code), or -1 to drop it.
  int editorKey(int key) const {
    return Filtered(grid().filterEditorKey(static_cast<char32_t>(key)));
  }
  // ---- the signalling dialog frmSignal, open while signalOpen() ----
  bool signalOpen() const { return signal_.has_value(); }
  int signalOption() const { return signal_ ? static_cast<int>(signal_->option()) : -1; }
  bool signalToneEnabled() const { return signal_ && signal_->toneEnabled(); }
  bool signalCodeEnabled() const { return signal_ && signal_->codeEnabled(); }
  bool signalInvertEnabled() const { return signal_ && signal_->invertEnabled(); }
  bool signalInverted() const { return signal_ && signal_->inverted(); }
  std::string signalToneText() const { return signal_ ? signal_->tone().text : std::string(); }
  std::string signalCodeText() const { return signal_ ? signal_->code().text : std::string(); }
  int signalToneCount() const { return signal_ ? signal_->tone().combo.count() : 0; }
  std::string signalTone(int k) const { return signal_ ? signal_->tone().combo.item(k) : ""; }
  int signalCodeCount() const { return signal_ ? signal_->code().combo.count() : 0; }
  std::string signalCode(int k) const { return signal_ ? signal_->code().combo.item(k) : ""; }
  int signalToneKey(int key) const {
    return Filtered(signal_ ? signal_->filterToneKey(key) : std::nullopt);
  }
  int signalCodeKey(int key) const {
    return Filtered(signal_ ? signal_->filterCodeKey(key) : std::nullopt);
  }
  // The dialog's controls; the checks and OK may show a message, so they are actions.
  void signalSelect(int option) {
    if (signal_) signal_->selectOption(static_cast<SignalEntry::Option>(option));
  }
  void signalSetInverted(bool on) {
    if (signal_) signal_->setInverted(on);
  }
  void signalSetTone(std::string text) {
    if (signal_) signal_->setToneText(std::move(text));
  }
  void signalSetCode(std::string text) {
    if (signal_) signal_->setCodeText(std::move(text));
  }
  void signalCheckTone() {
    queue([this] {
      if (signal_) signal_->validateTone();
    });
  }
  void signalCheckCode() {
    queue([this] {
      if (signal_) signal_->validateCode();
    });
  }
  void signalFinish(bool ok) {
    queue([=, this] {
      if (!signal_) return;
      const std::optional<std::string> result = ok ? std::optional(signal_->ok()) : std::nullopt;
      signal_.reset();
      if (tuneSignalCell_) {
        const auto [row, col] = *std::exchange(tuneSignalCell_, std::nullopt);
        tune_->table().finishSignalDialog(row, col, result);
        return;
      }
      if (std::exchange(signalForBulk_, false))
        bulkSignal_ = result.value_or("");
      else
        grid().finishSignalDialog(result);
    });
  }

  // ---- undo and redo ----
  bool canUndo() const { return doc_->history().canUndo(); }
  bool canRedo() const { return doc_->history().canRedo(); }
  std::string undoLabel() const { return Tr(doc_->history().undoLabel()); }
  std::string redoLabel() const { return Tr(doc_->history().redoLabel()); }
  void undo(bool back) {
    queue([=, this] {
      doc_->CommitPendingEdit();
      if (back)
        doc_->history().undo();
      else
        doc_->history().redo();
    });
  }

  int functionCount() const { return kFunctionListCount; }
  // The lists in the frame's order (four columns, top to bottom), as Fn numbers.
  int functionAt(int k) const { return static_cast<int>(kFunctionLayout[static_cast<size_t>(k)]); }
  std::string functionControl(int fn) const { return FunctionInfo(static_cast<Fn>(fn)).control; }
  std::string functionLabelControl(int fn) const {
    return FunctionInfo(static_cast<Fn>(fn)).labelControl;
  }
  std::string functionLabel(int fn) const { return Tr(FunctionInfo(static_cast<Fn>(fn)).label); }
  int functionItemCount(int fn) const { return fns().list(static_cast<Fn>(fn)).count(); }
  std::string functionItem(int fn, int k) const {
    return Tr(fns().list(static_cast<Fn>(fn)).item(k));
  }
  int functionPosition(int fn) const { return fns().position(static_cast<Fn>(fn)); }
  bool functionRejected(int fn) const { return fns().rejected(static_cast<Fn>(fn)); }

  int modelCount() const { return static_cast<int>(app_.models.size()); }
  std::string modelName(int m) const { return Tr(app_.model(m).name); }
  int currentModel() const { return app_.curModel; }
  std::string modelBand(int m) const { return Tr(BuildRangeLabelText(app_, m)); }
  // The model lblRadio and lblFreqRange name: the radio's in the tune view.
  int labelModel() const { return tune_->LabelModel(); }
  std::string radioVersion() const { return app_.radioVersion.text(); }
  std::string statusBand() const { return Tr(doc_->statusBand); }
  std::string statusPort() const { return Tr(PortPanelText()); }
  bool canNew() const { return doc_->fileNewEnabled && doc_->CanReplaceData(); }
  // mnuModel, mnuWrite and mnuRadio: hidden in the tune view.
  bool editMenusShown() const { return tune_->view().editMenusShown; }
  bool canReplace() const { return doc_->CanReplaceData(); }

  // The page's own texts through the same translations.
  std::string tr(std::string text, std::string context) const { return Tr(text, context); }
  bool loadTranslations(std::string json) { return LoadTranslations(json); }
  void setEnglish(bool english) { SetEnglish(english); }
  bool english() const { return English(); }

 private:
  ChannelTableModel& grid() { return doc_->editors().channels(); }
  const ChannelTableModel& grid() const { return doc_->editors().channels(); }
  FunctionSettingsModel& fns() { return doc_->editors().functions(); }
  const FunctionSettingsModel& fns() const { return doc_->editors().functions(); }

  CellLook look(int row, int col) const {
    const ChannelCell& c = grid().cell(row, col);
    return LookOf(c.color, c.highlighted, kTheme);
  }

  // A press or key on a signalling cell opens the dialog with the cell's text.
  void noteSignal(const GridPress& p) {
    if (p.action != GridAction::OpenSignalDialog) return;
    signal_.emplace(app_, prompter_);
    signal_->load(p.signalText);
  }

  LinkContext link() {
    return LinkContext{port_, clock_, prompter_, progress_, app_, doc_->portNumber, nullptr};
  }
  // The tune view given up once "END" took the radio out of its tune state, as the window
  // does after a read or write begun there.
  RadioCommandSeams radioSeams() {
    RadioCommandSeams seams;
    seams.leaveTuneView = [this] {
      doc_->viewMode = ViewMode::Channels;
      doc_->tuneState = TuneState::Off;
      tune_->ChannelMenu();
    };
    return seams;
  }

  // A press or key on a tune signalling cell opens the same dialog; its OK goes to that cell.
  void noteTuneSignal(const CellPress& p) {
    if (p.action != GridAction::OpenSignalDialog) return;
    signal_.emplace(app_, prompter_);
    signal_->load(p.signalText);
    tuneSignalCell_ = std::pair(p.row, p.col);
  }

  // A key filter's answer for the page: the character's code, or -1 to drop it.
  static int Filtered(std::optional<char> c) { return c ? static_cast<unsigned char>(*c) : -1; }

  // Save or Save As, then the bytes to the browser's file. A save the browser refuses keeps
  // the edits marked as unsaved, as a failed save on the desktop does.
  SaveResult save(bool as) {
    doc_->CommitPendingEdit();
    const EditFlags before = doc_->flags;
    const std::string caption = doc_->caption;
    const SaveResult r = as ? doc_->SaveAs(dialogs_) : doc_->Save(dialogs_);
    if (r != SaveResult::Saved) return r;
    const std::string path = PathFromCaption(doc_->caption, app_.softwareTitle);
    if (SaveToBrowser(path)) return r;
    doc_->flags = before;
    doc_->flags.dataChanged = true;
    doc_->caption = caption;
    Notify(prompter_, QM_TR("文件错误"), QM_TR("保存文件错误"), Icon::Exclamation);
    return SaveResult::Failed;
  }

  // The channel lists' and row commands' state.
  std::vector<int> chosen(const std::string& rows) const {
    std::vector<int> selected;
    int n = -1;
    for (const char c : rows + ",") {
      if (c >= '0' && c <= '9') {
        n = std::max(n, 0) * 10 + (c - '0');
      } else {
        if (n >= 0 && n < kChannelCount) selected.push_back(n);
        n = -1;
      }
    }
    return ChosenChannels(grid(), selected);
  }
  std::string csvPath_;
  std::optional<CopiedChannels> copied_;
  bool bulkOpen_ = false;
  int bulkField_ = 0;
  bool signalForBulk_ = false;
  std::string bulkSignal_;

  AppState app_;
  GbkTableCodec codec_;
  WebPrompter prompter_;
  WebProgress progress_;
  WebClock clock_;
  WebFileDialogs dialogs_;
  std::unique_ptr<ProfileFile> ini_;
  std::unique_ptr<Document> doc_;
  std::function<void()> queued_;
  std::optional<SignalEntry> signal_;
  // The one line every command talks over: an item being adjusted keeps it open from one
  // action to the next, as the desktop's port stays open.
  WebSerialPort port_;
  std::unique_ptr<TuneController> tune_;
  // The tune cell whose signalling the dialog edits, while it is open for one.
  std::optional<std::pair<int, int>> tuneSignalCell_;
  std::u16string embed_;
  int embedCaret_ = 0;
  std::vector<print::ReportPage> pages_;
};

std::unique_ptr<Session> gSession;

Session& TheSession() {
  if (!gSession) gSession = std::make_unique<Session>();
  return *gSession;
}

// The page's handle on the one session.
Session* SessionForPage() { return &TheSession(); }

}  // namespace

}  // namespace qm::web

// Runs the action the page queued; the one export that may suspend (the page calls it with
// ccall's async option and awaits it).
extern "C" EMSCRIPTEN_KEEPALIVE void qm_run() { qm::web::TheSession().run(); }

// The progress window's Cancel, pressed while a read waits: a plain export, since every call
// of the bound session made while an action waits only answers once the action is over.
extern "C" EMSCRIPTEN_KEEPALIVE void qm_cancel_progress() {
  qm::web::TheSession().cancelProgress();
}

EMSCRIPTEN_BINDINGS(qm830k) {
  using qm::web::Session;
  using namespace emscripten;
  function("session", &qm::web::SessionForPage, allow_raw_pointers());
  class_<Session>("Session")
      .function("pressCell", &Session::pressCell)
      .function("keyPress", &Session::keyPress)
      .function("editorText", &Session::editorText)
      .function("editorEnter", &Session::editorEnter)
      .function("editorEscape", &Session::editorEscape)
      .function("editorLostFocus", &Session::editorLostFocus)
      .function("clickCheck", &Session::clickCheck)
      .function("chooseFunction", &Session::chooseFunction)
      .function("newFile", &Session::newFile)
      .function("open", &Session::open)
      .function("saveFile", &Session::saveFile)
      .function("changeModel", &Session::changeModel)
      .function("read", &Session::read)
      .function("write", &Session::write)
      // tune mode
      .function("tuneEnter", &Session::tuneEnter)
      .function("channelView", &Session::channelView)
      .function("tuneNode", &Session::tuneNode)
      .function("tuneScroll", &Session::tuneScroll)
      .function("tuneStep", &Session::tuneStep)
      .function("tuneOk", &Session::tuneOk)
      .function("tuneSave", &Session::tuneSave)
      .function("tunePress", &Session::tunePress)
      .function("tuneKey", &Session::tuneKey)
      .function("tuneBox", &Session::tuneBox)
      .function("tuneEditorText", &Session::tuneEditorText)
      .function("tuneEditorEnter", &Session::tuneEditorEnter)
      .function("tuneEditorStep", &Session::tuneEditorStep)
      .function("tuneEditorLostFocus", &Session::tuneEditorLostFocus)
      .function("tunePanelClick", &Session::tunePanelClick)
      .function("tuneEditorKey", &Session::tuneEditorKey)
      .function("tuneView", &Session::tuneView)
      .function("labelModel", &Session::labelModel)
      .function("editMenusShown", &Session::editMenusShown)
      // end of tune mode
      .function("recentCount", &Session::recentCount)
      .function("recentCaption", &Session::recentCaption)
      .function("recentPath", &Session::recentPath)
      .function("openRecent", &Session::openRecent)
      // channel lists and row commands
      .function("csvPick", &Session::csvPick)
      .function("csvPicked", &Session::csvPicked)
      .function("csvChoiceOk", &Session::csvChoiceOk)
      .function("csvImport", &Session::csvImport)
      .function("csvExport", &Session::csvExport)
      .function("copyRows", &Session::copyRows)
      .function("copiedText", &Session::copiedText)
      .function("switchOffRows", &Session::switchOffRows)
      .function("pasteRows", &Session::pasteRows)
      .function("bulkChannels", &Session::bulkChannels)
      .function("bulkEntry", &Session::bulkEntry)
      .function("bulkFillHint", &Session::bulkFillHint)
      .function("bulkFillStep", &Session::bulkFillStep)
      .function("bulkApply", &Session::bulkApply)
      .function("bulkOpen", &Session::bulkOpen)
      .function("bulkField", &Session::bulkField)
      .function("selectRow", &Session::selectRow)
      .function("bulkMarkColor", &Session::bulkMarkColor)
      .function("bulkPickSignal", &Session::bulkPickSignal)
      .function("bulkSignalResult", &Session::bulkSignalResult)
      .function("embedOpen", &Session::embedOpen)
      .function("embedText", &Session::embedText)
      .function("embedRadioId", &Session::embedRadioId)
      .function("embedLastTime", &Session::embedLastTime)
      .function("embedEdit", &Session::embedEdit)
      .function("embedCaret", &Session::embedCaret)
      .function("embedRead", &Session::embedRead)
      .function("embedWrite", &Session::embedWrite)
      .function("embedClose", &Session::embedClose)
      .function("checkCable", &Session::checkCable)
      .function("print", &Session::print)
      .function("reportPages", &Session::reportPages)
      .function("caption", &Session::caption)
      .function("gridRows", &Session::gridRows)
      .function("gridCols", &Session::gridCols)
      .function("noSerialText", &Session::noSerialText)
      .function("header", &Session::header)
      .function("checkLabel", &Session::checkLabel)
      .function("columnWidth", &Session::columnWidth)
      .function("rowHeader", &Session::rowHeader)
      .function("cellText", &Session::cellText)
      .function("cellTextColor", &Session::cellTextColor)
      .function("cellBackground", &Session::cellBackground)
      .function("cellNote", &Session::cellNote)
      .function("check", &Session::check)
      .function("checkEnabled", &Session::checkEnabled)
      .function("currentRow", &Session::currentRow)
      .function("currentCol", &Session::currentCol)
      .function("editorVisible", &Session::editorVisible)
      .function("editorRow", &Session::editorRow)
      .function("editorCol", &Session::editorCol)
      .function("editorValue", &Session::editorValue)
      .function("editorSelStart", &Session::editorSelStart)
      .function("editorSelLength", &Session::editorSelLength)
      .function("editorKey", &Session::editorKey)
      .function("signalOpen", &Session::signalOpen)
      .function("signalOption", &Session::signalOption)
      .function("signalToneEnabled", &Session::signalToneEnabled)
      .function("signalCodeEnabled", &Session::signalCodeEnabled)
      .function("signalInvertEnabled", &Session::signalInvertEnabled)
      .function("signalInverted", &Session::signalInverted)
      .function("signalToneText", &Session::signalToneText)
      .function("signalCodeText", &Session::signalCodeText)
      .function("signalToneCount", &Session::signalToneCount)
      .function("signalTone", &Session::signalTone)
      .function("signalCodeCount", &Session::signalCodeCount)
      .function("signalCode", &Session::signalCode)
      .function("signalToneKey", &Session::signalToneKey)
      .function("signalCodeKey", &Session::signalCodeKey)
      .function("signalSelect", &Session::signalSelect)
      .function("signalSetInverted", &Session::signalSetInverted)
      .function("signalSetTone", &Session::signalSetTone)
      .function("signalSetCode", &Session::signalSetCode)
      .function("signalCheckTone", &Session::signalCheckTone)
      .function("signalCheckCode", &Session::signalCheckCode)
      .function("signalFinish", &Session::signalFinish)
      .function("canUndo", &Session::canUndo)
      .function("canRedo", &Session::canRedo)
      .function("undoLabel", &Session::undoLabel)
      .function("redoLabel", &Session::redoLabel)
      .function("undo", &Session::undo)
      .function("functionCount", &Session::functionCount)
      .function("functionAt", &Session::functionAt)
      .function("functionControl", &Session::functionControl)
      .function("functionLabelControl", &Session::functionLabelControl)
      .function("functionLabel", &Session::functionLabel)
      .function("functionItemCount", &Session::functionItemCount)
      .function("functionItem", &Session::functionItem)
      .function("functionPosition", &Session::functionPosition)
      .function("functionRejected", &Session::functionRejected)
      .function("modelCount", &Session::modelCount)
      .function("modelName", &Session::modelName)
      .function("currentModel", &Session::currentModel)
      .function("modelBand", &Session::modelBand)
      .function("radioVersion", &Session::radioVersion)
      .function("statusBand", &Session::statusBand)
      .function("statusPort", &Session::statusPort)
      .function("canNew", &Session::canNew)
      .function("canReplace", &Session::canReplace)
      .function("noPortText", &Session::noPortText)
      .function("tr", &Session::tr)
      .function("loadTranslations", &Session::loadTranslations)
      .function("setEnglish", &Session::setEnglish)
      .function("english", &Session::english);
}
