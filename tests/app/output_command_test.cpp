#include "app/output_command.h"

#include <gtest/gtest.h>

#include "app/control_ids.h"
#include "app/dialog_fields.h"
#include "encoding/default_telegram.h"
#include "platform/paths.h"
#include "support/fake_dialog.h"
#include "support/recording_canvas.h"
#include "support/temp_dir.h"
#include "support/test_system.h"

namespace hoshizora {
namespace {

namespace fs = std::filesystem;
using testing::FakeDialog;

// The window's front of an output run: what it reads from the dialog and what
// it shows there.
class OutputCommandTest : public ::testing::Test {
 protected:
  OutputCommandTest() {
    testing::PlaceFormTemplate(program);
    WriteTelegramFields(dialog, MakeDefaultTelegram(LocalTime{2024, 1, 6, 8, 19, 0}));
    dialog.texts[ids::kFrequency] = u"800";
    dialog.texts[ids::kSpeed] = u"200";
    dialog.checked[ids::kOpenFolder] = true;
  }
  OutputReport Run() {
    return RunOutputCommand(dialog, system, canvas, keying, PortableFolders(program));
  }
  fs::path Folder() const { return program / u"和文電報_20240131_090507"; }
  const FakeDialog::Message& Closing() const { return dialog.messages.back(); }

  testing::TempDir dir;
  fs::path program = dir.path() / u"プログラム";
  testing::TestSystem system{program / "hoshizora"};
  testing::RecordingCanvas canvas;
  FakeDialog dialog;
  KeyingOptions keying;
};

TEST_F(OutputCommandTest, NonsenseToneSettingsWriteNothing) {
  const std::pair<std::u16string, std::u16string> cases[] = {
      {u"abc", u"200"}, {u"1,500", u"200"}, {u"2500", u"200"}, {u"99", u"200"},
      {u"800", u"0"},   {u"800", u"201"},   {u"800", u""},     {u"800", u"19"}};
  for (const auto& [freq, cpm] : cases) {
    dialog.messages.clear();
    dialog.texts[ids::kFrequency] = freq;
    dialog.texts[ids::kSpeed] = cpm;
    EXPECT_EQ(Run().result, OutputReport::Result::kRefused);
    ASSERT_EQ(dialog.messages.size(), 1u);
    EXPECT_EQ(Closing().caption, u"エラー");
    EXPECT_EQ(Closing().icon, MessageIcon::kError);
    const bool freq_bad = !ParseToneSetting(freq, 100, 2000);
    EXPECT_EQ(Closing().text, freq_bad ? FrequencyRefused() : SpeedRefused());
  }
  EXPECT_EQ(std::distance(fs::directory_iterator(program), {}), 1) << "the form template alone";
  EXPECT_TRUE(dialog.progress_caption.empty()) << "no progress window for a refused run";
  dialog.texts[ids::kFrequency] = u"８００";
  dialog.texts[ids::kSpeed] = u"２００";
  EXPECT_EQ(Run().result, OutputReport::Result::kComplete) << "fullwidth digits count";
}

TEST_F(OutputCommandTest, RunsInTheProgressWindowAndClosesWithTheReport) {
  const OutputReport report = Run();
  EXPECT_EQ(report.result, OutputReport::Result::kComplete);
  EXPECT_EQ(dialog.progress_caption, u"電報出力");
  EXPECT_EQ(dialog.progress_steps.front(), u"テキスト画像を作成中");
  ASSERT_EQ(dialog.messages.size(), 1u);
  EXPECT_EQ(Closing().text, u"出力が完了しました。");
  EXPECT_EQ(Closing().caption, u"完了");
  EXPECT_EQ(Closing().icon, MessageIcon::kNone);
  EXPECT_EQ(system.opened, std::vector<fs::path>{Folder()}) << "the folder option is checked";
}

TEST_F(OutputCommandTest, WriterMessagesComeFirstThenTheClosingOne) {
  system.replace_fails_for = [](const fs::path& path) {
    return path.u8string().ends_with(u8"_2.jpg");
  };
  Run();
  ASSERT_EQ(dialog.messages.size(), 2u);
  EXPECT_EQ(dialog.messages[0].text, u"和文電報JPEGの保存に失敗しました。");
  EXPECT_NE(Closing().text.find(u"受信用紙: 3枚中1枚を保存できませんでした。"),
            std::u16string::npos);
  EXPECT_EQ(Closing().caption, u"エラー");
}

TEST_F(OutputCommandTest, OptionsAndWholeFieldsComeFromTheDialog) {
  dialog.controls.insert(ids::kOpenListing);
  dialog.checked[ids::kOpenListing] = true;
  dialog.checked[ids::kOpenFolder] = false;
  dialog.texts[ids::kStation] = std::u16string(150, u'局');
  Run();
  EXPECT_EQ(system.opened, std::vector<fs::path>{Folder() / u"和文電報_20240131_090507.jpg"});
  EXPECT_NE(Closing().text.find(
                u"発信局が長すぎるため、先頭の99文字だけを使い、残りの51文字は使いませんでした。"),
            std::u16string::npos);
  EXPECT_EQ(Closing().caption, u"エラー") << "a cut telegram is not complete";
}

// Installed: the output goes under the documents folder, whose Hoshizora
// folder the first run makes, and the closing message says where.
TEST_F(OutputCommandTest, InstalledProgramWritesUnderDocumentsAndSaysWhere) {
  ProgramFolders folders;
  folders.mode = ProgramMode::kInstalled;
  folders.output_root_window = dir.path() / "home" / u"書類" / "Hoshizora";
  folders.data_folder = dir.path() / "share";
  testing::PlaceFormTemplate(folders.data_folder);
  folders.encoder_folder = program;
  const OutputReport report = RunOutputCommand(dialog, system, canvas, keying, folders);
  const fs::path folder = folders.output_root_window / u"和文電報_20240131_090507";
  EXPECT_EQ(report.result, OutputReport::Result::kComplete);
  EXPECT_EQ(report.folder, folder);
  EXPECT_TRUE(fs::is_directory(folder));
  EXPECT_EQ(std::distance(fs::directory_iterator(program), {}), 1)
      << "nothing beside the executable but the form template";
  EXPECT_EQ(system.reads.front(), dir.path() / "share" / u"和文電報受信用紙.jpg");
  EXPECT_EQ(Closing().text, u"出力が完了しました。\n\n出力先: " + PathText(folder));
  EXPECT_EQ(system.opened, std::vector<fs::path>{folder});
}

// Installed without a home folder: refused before anything is written, and
// never into the program folder instead.
TEST_F(OutputCommandTest, InstalledProgramWithoutAWindowRootRefuses) {
  ProgramFolders folders;
  folders.mode = ProgramMode::kInstalled;
  folders.data_folder = program;
  folders.encoder_folder = program;
  EXPECT_EQ(RunOutputCommand(dialog, system, canvas, keying, folders).result,
            OutputReport::Result::kRefused);
  ASSERT_EQ(dialog.messages.size(), 1u);
  EXPECT_EQ(Closing().text, kNoOutputFolder);
  EXPECT_EQ(Closing().caption, u"エラー");
  EXPECT_TRUE(dialog.progress_caption.empty());
  EXPECT_EQ(std::distance(fs::directory_iterator(program), {}), 1) << "the form template alone";
}

TEST_F(OutputCommandTest, CancelInTheProgressWindowReachesTheRun) {
  dialog.cancel_at_step = u"受信用紙 2/";
  EXPECT_EQ(Run().result, OutputReport::Result::kIncomplete);
  EXPECT_NE(Closing().text.find(u"中止したため"), std::u16string::npos);
}

// The window's keying options reach the run, bounded for the speed typed for
// this run: the listing header names what the audio was keyed with.
TEST_F(OutputCommandTest, KeyingOptionsAreBoundedForTheTypedSpeed) {
  keying = {.rise_ms = 5, .effective_cpm = 150};
  Run();
  dialog.texts[ids::kSpeed] = u"120";
  Run();
  std::vector<std::u16string> headers;
  for (const auto& s : canvas.strings) {
    if (s.text.starts_with(u"電報出力 ")) {
      headers.push_back(s.text);
    }
  }
  ASSERT_EQ(headers.size(), 2u);
  EXPECT_TRUE(headers[0].ends_with(u"  CPM: 200  Freq: 800  Rise: 5 ms  Eff: 150"))
      << headers[0].size();
  EXPECT_TRUE(headers[1].ends_with(u"  CPM: 120  Freq: 800  Rise: 5 ms"))
      << "150 is not below 120: plain spacing";
}

}  // namespace
}  // namespace hoshizora
