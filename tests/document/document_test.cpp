#include "document/document.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <tuple>
#include <vector>

#include "base/model_table.h"
#include "files/data_file.h"
#include "files/recent_files.h"
#include "model/codecs.h"
#include "model/editor_fixture.h"
#include "platform/system_text_codec.h"
#include "support/fake_file_dialogs.h"
#include "support/fake_prompter.h"
#include "support/scratch_dir.h"

namespace qm {
namespace {

using test::Box;
using test::BoxList;
using test::FakeFileDialogs;
using test::FakePrompter;
using test::ScratchDir;

const std::string kTitle = "QM830K编程软件";

class DocumentTest : public ::testing::Test {
 protected:
  void SetUp() override {
    app.programDir = "/opt/qm830k";  // the model tests' models, installed there
    doc.hooks.setDefaultTuneChannels = [this](Image& image) {
      ++tuneDefaults;
      image[0x100] = 0x5A;
    };
    doc.hooks.showModelInfo = [this] { ++modelInfo; };
    doc.hooks.recentFilesChanged = [this] { ++recentShown; };
    doc.Start();
  }

  // A data file of the current image with some marks, on disk.
  std::string WriteFile(const std::string& name, uint8_t modelCode, bool legacy = false) {
    Image image = doc.image;
    image.ident()[2] = modelCode;
    image[0x200] = 0x42;
    ChannelRecord ch1 = image.channel(0);
    FreqTextToBytes("145.0", ch1[0], ch1[1], ch1[2]);
    SpareBlock spare{};
    spare[3] = 0x33;
    std::string path = dir.file(name);
    test::WriteBytes(path, SerializeDataFile(image, spare, legacy));
    return path;
  }

  // Model table entry m, whose code is `code`, is selected and shown.
  void ExpectModel(int m, int code) {
    EXPECT_EQ(std::tuple(app.curModel, doc.modelByte, doc.image.modelCode(), doc.statusBand),
              std::tuple(m, m, code, "ZR410[" + BuildBandText(app, m) + "]"));
  }

  // Runs act with a save that gives `result`, the prompter answering `answer`; the question
  // is asked exactly when there is an answer. Gives the number of saves.
  int Asked(std::optional<Answer> answer, SaveResult result, const char* question,
            const std::function<void(const SaveFn&)>& act) {
    prompter.clear();
    if (answer) prompter.answer(*answer);
    int saves = 0;
    act([&] {
      ++saves;
      return result;
    });
    EXPECT_EQ(test::Boxes(prompter),
              answer ? BoxList{Box({"QM830K", question, Icon::Question, Buttons::YesNoCancel})}
                     : BoxList{});
    return saves;
  }

  ScratchDir dir;
  SystemTextCodec codec;
  ProfileFile ini{dir.file("QM830K.ini"), codec};
  AppState app = test::TestApp();
  FakePrompter prompter;
  FakeFileDialogs dialogs;
  Document doc{app, prompter, ini, test::TestTime};
  int tuneDefaults = 0, modelInfo = 0, recentShown = 0;
};

TEST_F(DocumentTest, StartSelectsModel7AndShowsTheDefaults) {
  ExpectModel(0, 7);
  EXPECT_EQ(std::tuple(doc.caption, doc.fileDialogDir, doc.viewMode, doc.fileNewEnabled,
                       doc.HasUnsavedData()),
            std::tuple(kTitle, "/opt/qm830k", ViewMode::Channels, false, false));
  EXPECT_EQ(std::tuple(doc.flags, doc.editors().channels().cell(1, 1).text,
                       doc.editors().functions().text(Fn::TxTimeout)),
            std::tuple(EditFlags{}, "400.00000", "60秒"));
  const std::string stamp(doc.image.writeDate().begin(), doc.image.writeDate().begin() + 14);
  EXPECT_EQ(std::tuple(stamp, tuneDefaults, modelInfo, recentShown, prompter.messages.size()),
            std::tuple("20061205143000", 1, 1, 1, 0u));
}

TEST(CaptionRules, UnsavedDataTestAndFileNames) {
  const std::string t = kTitle;
  // The caption and the flags; whether data is unsaved, whether the caption names no file.
  const std::tuple<std::string, EditFlags, bool, bool> cases[] = {
      {t, {}, false, true},
      {t + "/data/a.q83", {}, false, false},
      {"读频完成－ " + t, {}, true, true},
      {"写频完成－" + t, {}, true, true},
      {"正在调测－" + t, {}, false, true},
      {t, {true, false, false}, true, true},
      {t + "/data/a.q83", {false, true, false}, true, false},
      {t, {false, false, true}, false, true},  // tune edits are not the document's
  };
  for (const auto& [caption, flags, unsaved, namesNoFile] : cases) {
    EXPECT_EQ(std::tuple(HasUnsavedData(caption, flags), CaptionNamesNoFile(caption, t)),
              std::tuple(unsaved, namesNoFile))
        << caption;
  }
  EXPECT_EQ(PathFromCaption(t + "/数据/a.q83", t), "/数据/a.q83");
  EXPECT_EQ(CaptionForFile(t, "/x.q83"), t + "/x.q83");
}

// Tune mode is left before the save, and only while an item is adjusted; in the tune view the
// close leaves the view as the channel view does, after the save, and a tune table that the
// user chose to write and that could not be written keeps the window open.
TEST_F(DocumentTest, ClosePromptAnswers) {
  enum View { kChannels, kTuneLeft, kTuneKept };
  constexpr auto kSaved = SaveResult::Saved, kFailed = SaveResult::Failed;
  constexpr auto kOff = TuneState::Off, kItem = TuneState::ItemOpen;
  constexpr auto kClose = CloseDecision::Close, kKeep = CloseDecision::KeepOpen;
  struct Case {
    const char* name;
    std::optional<Answer> answer;  // none: nothing unsaved, nothing asked
    SaveResult saveResult;
    TuneState tuneState;
    View view;
    CloseDecision decision;
    std::string done;  // in order
  };
  const Case cases[] = {
      {"nothing unsaved", std::nullopt, kSaved, kOff, kChannels, kClose, ""},
      {"cancelled", Answer::Cancel, kSaved, kOff, kChannels, kKeep, ""},
      {"not saved", Answer::No, kSaved, kOff, kChannels, kClose, ""},
      {"saved", Answer::Yes, kSaved, kOff, kChannels, kClose, "saved "},
      {"save dialog cancelled: the data stays", Answer::Yes, SaveResult::Cancelled, kOff,
       kChannels, kKeep, "saved "},
      {"save failed: never lose the data", Answer::Yes, kFailed, kOff, kChannels, kKeep, "saved "},
      {"item open, nothing unsaved", std::nullopt, kSaved, kItem, kChannels, kClose, "left "},
      {"item open, saved", Answer::Yes, kSaved, kItem, kChannels, kClose, "left saved "},
      {"no item open", Answer::Yes, kSaved, TuneState::Entered, kChannels, kClose, "saved "},
      {"tune view left", Answer::Yes, kSaved, kItem, kTuneLeft, kClose, "saved view "},
      {"tune view kept", Answer::Yes, kSaved, kItem, kTuneKept, kKeep, "saved view "}};
  doc.setPortNumber(5);
  std::string order;
  doc.hooks.leaveTuneMode = [&] {
    order += "left ";
    doc.tuneState = TuneState::Off;
  };
  for (const auto& [name, answer, saveResult, tuneState, view, decision, done] : cases) {
    SCOPED_TRACE(name);
    // A read asks even without edits.
    doc.caption = answer ? "读频完成－ " + kTitle : kTitle;
    doc.tuneState = tuneState;
    doc.viewMode = view == kChannels ? ViewMode::Channels : ViewMode::Tune;
    doc.hooks.leaveTuneView = [&, left = view == kTuneLeft] {
      order += "view ";
      return left;
    };
    ini.write("Comm Port", "Common Port", "9");
    order.clear();
    CloseDecision d{};
    EXPECT_EQ(Asked(answer, saveResult, "数据没有保存，是否要保存？",
                    [&](const SaveFn& save) {
                      d = doc.RequestClose([&] {
                        order += "saved ";
                        return save();
                      });
                    }),
              done.find("saved") != std::string::npos);
    EXPECT_EQ(std::tuple(d, order, ini.read("Comm Port", "Common Port", "")),
              std::tuple(decision, done, decision == kClose ? "5" : "9"));
  }
}

// New, Open (before its dialog) and a recent or dropped file ask the same over unsaved data;
// a save that did not happen keeps the data.
TEST_F(DocumentTest, UnsavedDataIsOfferedBeforeItIsReplaced) {
  enum Cmd { kNew, kOpen, kRecent };
  struct Case {
    const char* name;
    Cmd cmd;
    bool edited;
    std::optional<Answer> answer;  // none: nothing unsaved, nothing asked
    SaveResult saveResult;
    bool replaced;
    int saves;
  };
  const Case cases[] = {
      {"new, nothing unsaved", kNew, false, std::nullopt, SaveResult::Saved, true, 0},
      {"new, cancelled", kNew, true, Answer::Cancel, SaveResult::Saved, false, 0},
      {"new, not saved", kNew, true, Answer::No, SaveResult::Saved, true, 0},
      {"new, saved", kNew, true, Answer::Yes, SaveResult::Saved, true, 1},
      {"new, save dialog cancelled", kNew, true, Answer::Yes, SaveResult::Cancelled, false, 1},
      {"new, save failed", kNew, true, Answer::Yes, SaveResult::Failed, false, 1},
      {"open, cancelled", kOpen, true, Answer::Cancel, SaveResult::Saved, false, 0},
      {"open, saved", kOpen, true, Answer::Yes, SaveResult::Saved, true, 1},
      {"open, save failed", kOpen, true, Answer::Yes, SaveResult::Failed, false, 1},
      {"recent, not saved", kRecent, true, Answer::No, SaveResult::Saved, true, 0},
      {"recent, save dialog cancelled", kRecent, true, Answer::Yes, SaveResult::Cancelled, false,
       1}};
  const std::string file = WriteFile("job.q83", 7);
  const std::string named = kTitle + "/data/job.q83";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    doc.Start();
    doc.caption = named;
    doc.curFileName = "/data/job.q83";
    doc.imageVerMajor = 2;
    doc.fileNewEnabled = true;
    doc.image[0x200] = 0x77;
    doc.image.functions()[7] = 0x12;
    if (c.edited) doc.editors().channels().pressCell(1, col::kScan);
    dialogs.opened.clear();
    if (c.cmd == kOpen) dialogs.choose(file);
    bool replaced = false;
    EXPECT_EQ(Asked(c.answer, c.saveResult, "数据没有保存，是否要保存数据？",
                    [&](const SaveFn& save) {
                      replaced = c.cmd == kNew    ? doc.New(save)
                                 : c.cmd == kOpen ? doc.Open(dialogs, save)
                                                  : doc.OpenFile(file, save);
                    }),
              c.saves);
    EXPECT_EQ(std::tuple(replaced, doc.editors().channels().cell(1, col::kScan).text,
                         dialogs.opened.size()),
              std::tuple(c.replaced, c.replaced || !c.edited ? "添加" : "删除",
                         c.cmd == kOpen && c.replaced ? 1u : 0u));
    if (!c.replaced) {
      EXPECT_EQ(std::tuple(doc.caption, doc.image.functions()[7], doc.image[0x200]),
                std::tuple(named, 0x12, 0x77));
    } else if (c.cmd == kNew) {
      // The function defaults again; the other areas, the file name and version stay.
      EXPECT_EQ(std::tuple(doc.caption, doc.fileNewEnabled, doc.image.functions()[7],
                           doc.image[0x200], doc.curFileName, doc.imageVerMajor, doc.flags),
                std::tuple(kTitle, false, 0x06, 0x77, "/data/job.q83", 2, EditFlags{}));
    } else {
      EXPECT_EQ(std::tuple(doc.caption, doc.image[0x200]), std::tuple(kTitle + file, 0x42));
    }
  }
  // The caption is the title: nothing to start afresh from, edits or not.
  doc.Start();
  doc.editors().channels().pressCell(1, col::kScan);
  EXPECT_EQ(Asked(std::nullopt, SaveResult::Saved, "",
                  [&](const SaveFn& save) { EXPECT_FALSE(doc.New(save)); }),
            0);
  EXPECT_EQ(doc.editors().channels().cell(1, col::kScan).text, "删除");
}

TEST_F(DocumentTest, ModelChange) {
  // Same model, or the dialog reported no change: nothing asked, nothing changed.
  Image before = doc.image;
  EXPECT_FALSE(doc.ChangeModel(true, app.curModel));
  EXPECT_FALSE(doc.ChangeModel(false, 2));
  EXPECT_EQ(std::tuple(prompter.messages.size(), doc.image == before), std::tuple(0u, true));

  // No: nothing changes.
  prompter.answer(Answer::No);
  EXPECT_FALSE(doc.ChangeModel(true, 2));
  EXPECT_EQ(std::tuple(doc.image == before, app.curModel), std::tuple(true, 0));
  EXPECT_EQ(test::Boxes(prompter),
            BoxList{Box({"提示", "选择不同的机型将初始化所有的数据，真的要继续吗？",
                         Icon::Exclamation, Buttons::YesNo})});

  // Yes to the fixed-channel model: its defaults over the image (which bytes they keep is the
  // defaults' rule), not a blank image.
  doc.image.functions()[7] = 0x12;
  doc.caption = kTitle + "/a.q83";
  doc.fileNewEnabled = true;
  prompter.answer(Answer::Yes);
  EXPECT_TRUE(doc.ChangeModel(true, 2));
  ExpectModel(2, 32);
  EXPECT_EQ(std::tuple(doc.image.channel(0)[0], doc.image.functions()[7], doc.image.functions()[0],
                       doc.editors().channels().cell(1, 2).text, doc.caption, doc.fileNewEnabled,
                       tuneDefaults),
            std::tuple(0xC1, 0x12, 0x78, "CTC 74.4", kTitle, false, 2));
}

TEST_F(DocumentTest, LoadDataFileReplacesTheDocumentAndSaveWritesItBack) {
  const std::string path = WriteFile("job.q83", 10);
  doc.flags.dataChanged = true;
  ASSERT_TRUE(doc.LoadDataFile(path));
  EXPECT_TRUE(prompter.messages.empty()) << prompter.texts()[0];
  ExpectModel(1, 10);
  EXPECT_EQ(std::tuple(doc.image[0x200], doc.spare[3], doc.imageVerMajor),
            std::tuple(0x42, 0x33, 2));
  EXPECT_EQ(std::tuple(doc.editors().channels().cell(1, 1).text, doc.caption, doc.curFileName,
                       doc.fileNewEnabled, doc.flags, ReadRecentEntry(ini, 1)),
            std::tuple("145.00000", kTitle + path, path, true, EditFlags{},
                       std::optional<std::string>(path)));
  EXPECT_GE(recentShown, 2);

  // Save writes the collected image to the caption's file.
  doc.editors().functions().choose(Fn::Squelch, 9);
  doc.editors().channels().pressCell(2, col::kPower);
  // Open editors, the grid's and the tune table's, are applied first.
  int tuneCommits = 0;
  doc.hooks.commitTuneEdit = [&] { ++tuneCommits; };
  doc.editors().channels().pressCell(3, col::kRxFreq);
  doc.editors().channels().editorTextChanged("145.0125");

  EXPECT_EQ(doc.Save(dialogs), SaveResult::Saved);
  EXPECT_EQ(std::tuple(dialogs.saved.size(), doc.HasUnsavedData(), doc.caption, tuneCommits,
                       doc.editors().channels().freqEditor().visible),
            std::tuple(0u, false, kTitle + path, 1, false));
  LoadedFile back = LoadDataFileFrom(path, Image{}, SpareBlock{});
  ASSERT_EQ(back.status, LoadStatus::Ok);
  EXPECT_EQ(back.image, doc.image);
  const ChannelRecord ch3 = back.image.channel(2);
  EXPECT_EQ(std::tuple(back.image.functions()[11], back.image.channel(1).lowPower(),
                       FreqBytesToHz(ch3[0], ch3[1], ch3[2]), back.spare[3]),
            std::tuple(9, true, 145012500, 0x33));
}

// Undo and redo back to the data last opened or saved leave nothing to save, while the change
// flags still tell the radio commands that the editors have not been collected.
TEST_F(DocumentTest, BackAtTheOpenedOrSavedDataNothingIsUnsaved) {
  ASSERT_TRUE(doc.LoadDataFile(WriteFile("job.q83", 7)));
  ChannelTableModel& grid = doc.editors().channels();
  EditHistory& h = doc.history();
  struct Step {
    const char* name;
    std::function<void()> act;
    bool unsaved;
    bool dataChanged;
  };
  const std::vector<Step> steps = {
      {"edit", [&] { grid.pressCell(2, col::kPower); }, true, true},
      {"undone to the opened data", [&] { h.undo(); }, false, false},
      {"redone", [&] { h.redo(); }, true, true},
      {"saved", [&] { EXPECT_EQ(doc.Save(dialogs), SaveResult::Saved); }, false, false},
      {"undone past the save", [&] { h.undo(); }, true, true},
      {"redone to the saved data", [&] { h.redo(); }, false, true},
      {"another edit", [&] { grid.pressCell(3, col::kScan); }, true, true},
      {"undone to the saved data", [&] { h.undo(); }, false, true}};
  for (const Step& s : steps) {
    SCOPED_TRACE(s.name);
    s.act();
    EXPECT_EQ(std::tuple(doc.HasUnsavedData(), doc.flags.dataChanged),
              std::tuple(s.unsaved, s.dataChanged));
  }
  doc.caption = "读频完成－ " + kTitle;  // a read asks whatever the data
  EXPECT_TRUE(doc.HasUnsavedData());
}

TEST_F(DocumentTest, LegacyFilesConvertFunctionByte0BothWays) {
  const auto stored = [](const std::string& path) {
    return uint8_t(test::ReadBytes(path)[904 + 12]);
  };
  doc.image.functions()[0] = 0x55;  // stored as 0xA5 in the legacy file
  const std::string path = WriteFile("old.z410", 7, true);
  doc.image.functions()[0] = 0;
  ASSERT_EQ(stored(path), 0xA5);
  ASSERT_TRUE(doc.LoadDataFile(path));
  EXPECT_EQ(std::tuple(doc.imageVerMajor, doc.image.functions()[0]), std::tuple(0, 0x55));
  // Save keeps the legacy format for the .z410 name, converting a copy; a capital Z is not the
  // legacy name: the current format.
  EXPECT_EQ(doc.Save(dialogs), SaveResult::Saved);
  EXPECT_EQ(std::tuple(stored(path), doc.imageVerMajor), std::tuple(0xA5, 0));
  const std::string upper = dir.file("new.Z410");
  dialogs.choose(upper);
  EXPECT_EQ(doc.SaveAs(dialogs), SaveResult::Saved);
  EXPECT_EQ(std::tuple(doc.imageVerMajor, stored(upper), doc.image.functions()[0]),
            std::tuple(2, 0x55, 0x55));
}

TEST_F(DocumentTest, OpenAndSaveAsUseTheDialogs) {
  EXPECT_FALSE(doc.Open(dialogs, {}));  // cancelled
  ASSERT_EQ(dialogs.opened.size(), 1u);
  const FileDialogRequest& o = dialogs.opened[0];  // its filters are the window's test
  EXPECT_EQ(std::tuple(o.title, o.initialDir, o.selectedFilter, o.defaultExt, o.fileMustExist,
                       doc.caption),
            std::tuple("打开", "/opt/qm830k", 0, "q83", true, kTitle));
  dialogs.choose(WriteFile("a.q83", 7));
  EXPECT_TRUE(doc.Open(dialogs, {}));
  EXPECT_EQ(doc.image[0x200], 0x42);

  // Save without a file in the caption is Save As.
  doc.caption = "读频完成－ " + kTitle;
  doc.curFileName = "/data/last.q83";
  const std::string path = dir.file("read.q83");
  dialogs.choose(path);
  EXPECT_EQ(doc.Save(dialogs), SaveResult::Saved);
  ASSERT_EQ(dialogs.saved.size(), 1u);
  const FileDialogRequest& r = dialogs.saved[0];
  EXPECT_EQ(std::tuple(r.title, r.initialName, FilterText(r), r.defaultExt, r.overwritePrompt),
            std::tuple("另存为", "/data/last.q83",
                       "Data Files (*.q83)|*.q83|文本形式的数据文件 (*.toml)|*.toml", "q83", true));
  EXPECT_EQ(std::tuple(doc.caption, doc.curFileName, doc.fileNewEnabled, doc.HasUnsavedData()),
            std::tuple(kTitle + path, path, true, false));
  EXPECT_EQ(std::tuple(ReadRecentEntry(ini, 1), test::ReadBytes(path).size()),
            std::tuple(std::optional<std::string>(path), kDataFileSize));
}

// The text form through the window's Save As and Open: the same image back, and a broken text
// refused by line and key with the document untouched.
TEST_F(DocumentTest, TextFormSavesAndOpensAsTheDataFile) {
  ASSERT_TRUE(doc.LoadDataFile(WriteFile("a.q83", 7)));
  const std::string text = dir.file("a.toml");
  dialogs.choose(text);
  ASSERT_EQ(doc.SaveAs(dialogs), SaveResult::Saved);
  const Image saved = doc.image;
  const SpareBlock spare = doc.spare;
  doc.image[0x200] = 0;
  ASSERT_TRUE(doc.LoadDataFile(text));
  EXPECT_EQ(std::tuple(doc.image == saved, doc.spare == spare, doc.caption),
            std::tuple(true, true, kTitle + text));

  std::string broken = test::ReadBytes(text);
  broken.replace(broken.find("squelch = "), 10, "squelch = \"5\" #");
  test::WriteBytes(text, broken);
  doc.image[0x200] = 0x77;
  prompter.clear();
  EXPECT_FALSE(doc.LoadDataFile(text));
  EXPECT_EQ(doc.image[0x200], 0x77);
  ASSERT_EQ(prompter.texts().size(), 1u);
  EXPECT_TRUE(prompter.texts()[0].starts_with("第")) << prompter.texts()[0];
  EXPECT_NE(prompter.texts()[0].find("functions.squelch：值的类型不对"), std::string::npos);
}

// A file that cannot be loaded, a Save As that did not store the edits (cancelled, or the file
// could not be written) and a Save to a file that cannot be written leave the document as it
// was, the edits unsaved (a save has collected them, no more).
TEST_F(DocumentTest, FailuresLeaveTheDocumentAsItWas) {
  const std::string truncated = dir.file("cut.q83"), foreign = dir.file("foreign.q83");
  test::WriteBytes(truncated, test::ReadBytes(WriteFile("good.q83", 10)).substr(0, 700));
  test::WriteBytes(foreign, std::string("not a data file at all, just text"));
  const std::string missing = dir.file("gone.q83"), nowhere = dir.file("no/such/folder/x.q83");
  enum Cmd { kLoad, kSave, kSaveAs };
  struct Case {
    const char* name;
    Cmd cmd;
    std::string path;  // loaded, saved to through the caption, or chosen in the Save As dialog
    SaveResult result;
    const char* message;
  };
  const Case cases[] = {
      {"truncated", kLoad, truncated, SaveResult::Failed, "文件已经毁坏，请确认。"},
      {"not a data file", kLoad, foreign, SaveResult::Failed, "该文件不是ZR410 的数据文件！"},
      {"missing", kLoad, missing, SaveResult::Failed, "文件不存在，请确认！"},
      {"no name", kLoad, "", SaveResult::Failed, nullptr},
      {"save as cancelled", kSaveAs, "", SaveResult::Cancelled, nullptr},
      {"save as, folder missing", kSaveAs, nowhere, SaveResult::Failed, "保存文件错误"},
      {"save, folder missing", kSave, nowhere, SaveResult::Failed, "保存文件错误！"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    doc.Start();
    AddRecentFile(ini, missing);
    doc.editors().channels().pressCell(1, col::kScan);
    if (c.cmd == kSave) doc.caption = kTitle + c.path;
    if (c.cmd == kSaveAs && !c.path.empty()) dialogs.choose(c.path);
    const Image image = doc.image;
    const std::string caption = doc.caption;
    prompter.clear();
    switch (c.cmd) {
      case kLoad:
        EXPECT_FALSE(doc.LoadDataFile(c.path));
        EXPECT_TRUE(doc.image == image);
        break;
      case kSave:
        EXPECT_EQ(doc.Save(dialogs), c.result);
        break;
      case kSaveAs:
        EXPECT_EQ(doc.SaveAs(dialogs), c.result);
        break;
    }
    const Icon icon = c.cmd == kLoad ? Icon::Information : Icon::Exclamation;
    EXPECT_EQ(test::Boxes(prompter),
              c.message ? BoxList{Box({"文件错误", c.message, icon})} : BoxList{});
    EXPECT_EQ(std::tuple(doc.image.channel(0).scanDeleted(), doc.flags.dataChanged, doc.caption,
                         doc.editors().channels().cell(1, col::kScan).text, doc.fileNewEnabled,
                         doc.imageVerMajor),
              std::tuple(c.cmd != kLoad, true, caption, "删除", false, 0));
    // Only the missing file leaves the list, and nothing joins it.
    EXPECT_EQ(ReadRecentEntry(ini, 1),
              c.path == missing ? std::nullopt : std::optional<std::string>(missing));
  }
  EXPECT_FALSE(std::filesystem::exists(nowhere));
}

TEST_F(DocumentTest, PortNumbersUpToCom256WithTheirPanel) {
  const std::pair<int, int16_t> cases[] = {{23, 23}, {256, 256}, {300, 256}, {0, 1}};
  for (const auto& [given, kept] : cases) {
    doc.setPortNumber(static_cast<int16_t>(given));
    EXPECT_EQ(doc.portNumber, kept) << given;
    EXPECT_EQ(doc.statusPort, "COM " + std::to_string(kept));
  }
}

}  // namespace
}  // namespace qm
