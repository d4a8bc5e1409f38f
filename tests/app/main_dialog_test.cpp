#include "app/main_dialog.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "app/control_ids.h"
#include "app/dialog_fields.h"
#include "app/settings.h"
#include "platform/ini_file.h"
#include "platform/paths.h"
#include "practice/practice_telegram.h"
#include "support/fake_dialog.h"
#include "support/recording_canvas.h"
#include "support/recording_icons.h"
#include "support/temp_dir.h"
#include "support/test_system.h"

namespace hoshizora {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;
using testing::FakeDialog;

class MainDialogTest : public ::testing::Test {
 protected:
  MainDialogTest() { testing::PlaceFormTemplate(dir.path()); }
  MainDialog Main() { return MainDialog{dialog, system, canvas, store, icons, u"a@b.example"}; }
  // Where an entry first stands in the dialog's log; a missing entry fails the test.
  std::size_t IndexOf(const std::string& entry) const {
    const auto it = std::find(dialog.log.begin(), dialog.log.end(), entry);
    EXPECT_NE(it, dialog.log.end()) << entry << " never happened";
    return static_cast<std::size_t>(it - dialog.log.begin());
  }

  testing::TempDir dir;
  testing::TestSystem system{dir.path() / "hoshizora"};
  testing::RecordingCanvas canvas;
  IniFileStore store{system, dir.path() / "settings.ini"};
  testing::RecordingIcons icons;
  FakeDialog dialog;
};

TEST_F(MainDialogTest, InitialisationCreatesFontsThenFillsThenSetsIcons) {
  MainDialog main = Main();
  InitialiseMainDialog(main);
  ASSERT_EQ(dialog.fonts.size(), 4u);
  EXPECT_EQ(dialog.fonts[0].face, u"MS Gothic");
  EXPECT_EQ(dialog.fonts[0].pixel_height, 29);
  EXPECT_EQ(dialog.fonts[0].weight, 900);
  EXPECT_EQ(dialog.fonts[1].weight, 700);
  EXPECT_EQ(dialog.fonts[2].weight, 700);
  EXPECT_EQ(dialog.fonts[3].face, u"MS UI Gothic");
  EXPECT_EQ(dialog.fonts[3].pixel_height, 20);
  EXPECT_EQ(dialog.fonts[3].weight, 700);
  EXPECT_EQ(dialog.assigned_fonts[ids::kBody], main.body_font);
  for (int id : {ids::kCount, ids::kStation, ids::kNumber, ids::kTime, ids::kAddressee,
                 ids::kFrequency, ids::kSpeed}) {
    EXPECT_EQ(dialog.assigned_fonts[id], main.field_font) << id;
  }
  for (int id : {ids::kOutputButton, ids::kSaveButton, ids::kLoadButton, ids::kCancelButton}) {
    EXPECT_EQ(dialog.assigned_fonts[id], main.button_font) << id;
  }
  for (int id : ids::kLabels) {
    EXPECT_EQ(dialog.assigned_fonts[id], main.label_font) << id;
  }
  EXPECT_EQ(dialog.assigned_fonts.count(ids::kOpenFolder), 0u);
  EXPECT_EQ(dialog.texts[ids::kTime], u"コ9,05");
  EXPECT_EQ(dialog.texts[ids::kBody].substr(0, 4), u"[ホレ]");
  EXPECT_LT(IndexOf("font"), IndexOf("text 3000"));
  EXPECT_LT(IndexOf("text 1001"), IndexOf("check 8003"));
  EXPECT_LT(IndexOf("check 8003"), IndexOf("icons"));
  EXPECT_TRUE(icons.executable.empty()) << "no app.ico beside the executable: nothing installed";
  EXPECT_TRUE(dialog.messages.empty());
}

TEST_F(MainDialogTest, InstallsTheIconBesideTheExecutable) {
  std::string ico = "\0\0\1\0\1\0"s;
  ico += "\x10\x10\0\0\1\0\x20\0\4\0\0\0\x16\0\0\0"s;
  ico += "abcd";
  testing::WriteFileBytes(dir.path() / "app.ico", ico);
  MainDialog main = Main();
  InitialiseMainDialog(main);
  EXPECT_EQ(icons.executable, dir.path() / "hoshizora");
  EXPECT_EQ(icons.icon, ico);
  EXPECT_EQ(dialog.icons, ico) << "the window's icons come from the same bytes";
}

// Installed: the window's icon comes from the data folder, and the package's
// desktop entry stands alone: none is written for the user.
TEST_F(MainDialogTest, InstalledProgramTakesItsIconFromTheDataFolderAndInstallsNone) {
  const fs::path share = dir.path() / "share";
  fs::create_directories(share);
  const std::string ico = "\0\0\1\0\1\0\x10\x10\0\0\1\0\x20\0\4\0\0\0\x16\0\0\0abcd"s;
  testing::WriteFileBytes(share / "app.ico", ico);
  MainDialog main = Main();
  main.folders = PortableFolders(dir.path());
  main.folders->mode = ProgramMode::kInstalled;
  main.folders->data_folder = share;
  InitialiseMainDialog(main);
  EXPECT_EQ(dialog.icons, ico);
  EXPECT_TRUE(icons.executable.empty());
}

// Side files that are folders, FIFOs or endless devices, or that cannot be
// read, must neither stop nor stall the start: the dialog comes up with the
// defaults, says so once, and leaves the settings file alone.
TEST_F(MainDialogTest, StrangeSideFilesGiveTheDefaults) {
  const fs::path settings = dir.path() / "settings.ini";
  const fs::path icon = dir.path() / "app.ico";
  const auto fresh_start = [&] {
    FakeDialog fresh;
    MainDialog main{fresh, system, canvas, store, icons, u""};
    InitialiseMainDialog(main);
    EXPECT_EQ(fresh.texts[ids::kFrequency], u"440");
    EXPECT_EQ(fresh.texts[ids::kSpeed], u"100");
    // Said once, at start; the icon is a nicety and is passed over silently.
    ASSERT_EQ(fresh.messages.size(), 1u);
    EXPECT_EQ(fresh.messages[0].text, UnreadableSettingsMessage(settings));
    CloseMainDialog(main);  // and the settings it cannot read are not overwritten
  };
  fs::create_directory(settings);
  fs::create_directory(icon);
  fresh_start();
  EXPECT_TRUE(fs::is_directory(settings));
#ifndef _WIN32
  fs::remove(settings);
  fs::remove(icon);
  fs::create_symlink("/dev/zero", settings);
  fs::create_symlink("/dev/zero", icon);
  fresh_start();
  EXPECT_TRUE(fs::is_symlink(settings));
  fs::remove(settings);
  fs::remove(icon);
  ASSERT_EQ(system.RunProcess({"/usr/bin/mkfifo", settings, icon}, nullptr).exit_code, 0);
  fresh_start();
  EXPECT_EQ(fs::symlink_status(settings).type(), fs::file_type::fifo);
#endif
  fs::remove_all(settings);
  // A file without read permission: what a user other than root gets.
  testing::WriteFileBytes(settings, "[General]\nCpm=150\n");
  system.read_fails = FileRead::Status::kReadFailed;
  fresh_start();
  EXPECT_EQ(testing::ReadFileBytes(settings), "[General]\nCpm=150\n");
  EXPECT_TRUE(icons.executable.empty());
}

TEST_F(MainDialogTest, FontsFollowTheScreenResolution) {
  EXPECT_EQ(DialogFontPixels(96), 29);
  EXPECT_EQ(DialogFontPixels(120), 37);
  EXPECT_EQ(DialogFontPixels(144), 44);
  dialog.dpi = 144;
  MainDialog main = Main();
  InitialiseMainDialog(main);
  EXPECT_EQ(dialog.fonts[0].pixel_height, 44);
  EXPECT_EQ(dialog.fonts[3].pixel_height, 20);
}

TEST_F(MainDialogTest, AboutBoxAndUnknownCommands) {
  MainDialog main = Main();
  EXPECT_TRUE(HandleCommand(main, ids::kAboutMenuItem));
  ASSERT_EQ(dialog.messages.size(), 1u);
  EXPECT_EQ(dialog.messages[0].text,
            u"作者の連絡先メールアドレス\n\nSorairo Works\n\n    a@b.example\n\n"
            u"上記をコピーしてお使いください。");
  EXPECT_EQ(dialog.messages[0].caption, u"連絡先 / Contact");
  EXPECT_EQ(dialog.messages[0].icon, MessageIcon::kInformation);
  EXPECT_FALSE(HandleCommand(main, 1234));
  EXPECT_FALSE(dialog.destroyed);
}

void ExpectSameFields(const TelegramFields& shown, const TelegramFields& made) {
  EXPECT_EQ(shown.count, made.count);
  EXPECT_EQ(shown.station, made.station);
  EXPECT_EQ(shown.number, made.number);
  EXPECT_EQ(shown.time, made.time);
  EXPECT_EQ(shown.addressee, made.addressee);
  EXPECT_EQ(shown.body, made.body);
}

// Each 「練習電報を作る」 takes the next seed and replaces the six fields; the
// tone stays as typed, and an output run takes the telegram whole.
TEST_F(MainDialogTest, PracticeMenuItemFillsTheFieldsFromTheNextSeed) {
  MainDialog main = Main();
  std::vector<std::uint64_t> seeds{7, 8};
  std::size_t taken = 0;
  main.practice_seed = [&] { return seeds.at(taken++); };
  InitialiseMainDialog(main);
  dialog.texts[ids::kFrequency] = u"700";
  const std::u16string sample_body = dialog.texts[ids::kBody];

  ASSERT_TRUE(HandleCommand(main, ids::kPracticeMenuItem));
  EXPECT_EQ(taken, 1u);
  ExpectSameFields(ReadWholeTelegramFields(dialog), MakePracticeTelegram({}, 7));
  EXPECT_NE(dialog.texts[ids::kBody], sample_body);
  const std::u16string first_body = dialog.texts[ids::kBody];

  ASSERT_TRUE(HandleCommand(main, ids::kPracticeMenuItem));
  EXPECT_EQ(taken, 2u);
  ExpectSameFields(ReadWholeTelegramFields(dialog), MakePracticeTelegram({}, 8));
  EXPECT_NE(dialog.texts[ids::kBody], first_body);
  EXPECT_EQ(dialog.texts[ids::kFrequency], u"700");
  EXPECT_TRUE(dialog.messages.empty()) << "filling the fields needs no message";

  ASSERT_TRUE(HandleCommand(main, ids::kOutputButton));
  ASSERT_FALSE(dialog.messages.empty());
  EXPECT_EQ(dialog.messages.back().text, u"出力が完了しました。")
      << "nothing cut, nothing left out of the audio";
}

// Without a seed source of its own the window still gets a new telegram each time.
TEST_F(MainDialogTest, DefaultSeedSourceGivesNewTelegrams) {
  MainDialog main = Main();
  ASSERT_TRUE(HandleCommand(main, ids::kPracticeMenuItem));
  const TelegramFields first = ReadWholeTelegramFields(dialog);
  ASSERT_TRUE(HandleCommand(main, ids::kPracticeMenuItem));
  EXPECT_NE(ReadWholeTelegramFields(dialog).body, first.body);
}

TEST_F(MainDialogTest, EscCancelAndCloseShareOnePath) {
  for (int command : {ids::kCancelKey, ids::kCancelButton}) {
    FakeDialog fresh;
    MainDialog main{fresh, system, canvas, store, icons, u""};
    InitialiseMainDialog(main);
    fresh.texts[ids::kFrequency] = u"700";
    EXPECT_TRUE(HandleCommand(main, command));
    EXPECT_TRUE(fresh.destroyed);
    EXPECT_EQ(fresh.deleted_fonts.size(), 4u);
    EXPECT_EQ(main.body_font, 0);
    EXPECT_EQ(testing::ReadFileBytes(dir.path() / "settings.ini"),
              "[General]\nFreqHz=700\nCpm=100\nRiseMs=0\nEffectiveCpm=0\nOpenAudio=0\n"
              "OpenTextJpg=0\nOpenWabunDir=1\n");
    // The close box after Esc finds the dialog closed already.
    CloseMainDialog(main);
    EXPECT_EQ(std::count(fresh.log.begin(), fresh.log.end(), "destroy"), 1);
    std::filesystem::remove(dir.path() / "settings.ini");
  }
}

// The audio settings: read at start, asked for against the speed in the
// speed field, kept on OK (bounded), kept as they were on Cancel, and saved
// with the other settings on close.
TEST_F(MainDialogTest, KeyingMenuItemAsksKeepsAndSavesOnClose) {
  testing::WriteFileBytes(dir.path() / "settings.ini",
                          "[General]\nCpm=100\nRiseMs=7\nEffectiveCpm=60\n");
  MainDialog main = Main();
  InitialiseMainDialog(main);
  EXPECT_EQ(main.keying, (KeyingOptions{.rise_ms = 7, .effective_cpm = 60}));

  dialog.texts[ids::kSpeed] = u"150";
  dialog.keying_answer = KeyingOptions{.rise_ms = 99, .effective_cpm = 150};
  EXPECT_TRUE(HandleCommand(main, ids::kKeyingMenuItem));
  ASSERT_EQ(dialog.keying_asked.size(), 1u);
  EXPECT_EQ(dialog.keying_asked[0].shown, (KeyingOptions{.rise_ms = 7, .effective_cpm = 60}));
  EXPECT_EQ(dialog.keying_asked[0].max_effective, 150);
  EXPECT_EQ(main.keying, (KeyingOptions{.rise_ms = 20})) << "the speed itself: plain spacing";

  // Off shows as the top of the range; an unreadable speed field is the default.
  dialog.texts[ids::kSpeed] = u"abc";
  dialog.keying_answer = KeyingOptions{.rise_ms = 3, .effective_cpm = 5};
  HandleCommand(main, ids::kKeyingMenuItem);
  EXPECT_EQ(dialog.keying_asked[1].shown, (KeyingOptions{.rise_ms = 20, .effective_cpm = 100}));
  EXPECT_EQ(dialog.keying_asked[1].max_effective, 100);
  EXPECT_EQ(main.keying, (KeyingOptions{.rise_ms = 3, .effective_cpm = 20}));

  dialog.keying_answer.reset();
  HandleCommand(main, ids::kKeyingMenuItem);
  EXPECT_EQ(main.keying, (KeyingOptions{.rise_ms = 3, .effective_cpm = 20})) << "Cancel";
  EXPECT_TRUE(dialog.messages.empty());
  EXPECT_EQ(testing::ReadFileBytes(dir.path() / "settings.ini"),
            "[General]\nCpm=100\nRiseMs=7\nEffectiveCpm=60\n")
      << "nothing is written before the close";

  dialog.texts[ids::kSpeed] = u"100";
  CloseMainDialog(main);
  EXPECT_EQ(testing::ReadFileBytes(dir.path() / "settings.ini"),
            "[General]\nCpm=100\nRiseMs=3\nEffectiveCpm=20\nFreqHz=440\nOpenAudio=0\n"
            "OpenTextJpg=0\nOpenWabunDir=1\n");
}

TEST_F(MainDialogTest, CommandsReachTheirParts) {
  MainDialog main = Main();
  InitialiseMainDialog(main);
  EXPECT_TRUE(HandleCommand(main, ids::kSaveButton));
  EXPECT_EQ(dialog.file_dialogs.back().title, u"電報テキストの保存");
  EXPECT_TRUE(HandleCommand(main, ids::kLoadButton));
  EXPECT_EQ(dialog.file_dialogs.back().title, u"電報テキストの読み込み");
  main.keying = {.rise_ms = 5};
  EXPECT_TRUE(HandleCommand(main, ids::kOutputButton));
  EXPECT_EQ(dialog.messages.back().caption, u"完了");
  EXPECT_TRUE(std::filesystem::exists(dir.path() / u"和文電報_20240131_090507"));
  EXPECT_TRUE(canvas.strings.at(0).text.ends_with(u"  Rise: 5 ms")) << "the window's keying";
}

}  // namespace
}  // namespace hoshizora
