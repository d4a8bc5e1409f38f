#include "app/telegram_commands.h"

#include <gtest/gtest.h>

#include "app/control_ids.h"
#include "support/fake_dialog.h"
#include "support/temp_dir.h"
#include "support/test_system.h"

namespace hoshizora {
namespace {

namespace fs = std::filesystem;
using testing::FakeDialog;
using testing::ReadFileBytes;
using testing::TempDir;
using testing::WriteFileBytes;

class TelegramFileCommandsTest : public ::testing::Test {
 protected:
  TelegramFileCommandsTest() {
    dialog.texts[ids::kCount] = u"一二六";
    dialog.texts[ids::kStation] = u"七六";
    dialog.texts[ids::kNumber] = u"五一";
    dialog.texts[ids::kTime] = u"コ6,51";
    dialog.texts[ids::kAddressee] = u"ミドリケン」\r\nハナシ」";
    dialog.texts[ids::kBody] = u"[ホレ]ア\r\nイ[ラタ]";
  }
  std::filesystem::path Path(const std::string& name) { return dir.path() / name; }

  TempDir dir;
  testing::TestSystem system{dir.path() / "hoshizora"};
  FakeDialog dialog;
};

TEST_F(TelegramFileCommandsTest, SaveUsesTheDialogSettingsAndSaysDone) {
  dialog.save_answer = Path("電報 1");
  SaveTelegramText(dialog, system);
  ASSERT_EQ(dialog.file_dialogs.size(), 1u);
  const FileDialogSettings& s = dialog.file_dialogs[0];
  EXPECT_EQ(s.title, u"電報テキストの保存");
  EXPECT_EQ(s.filter_name, u"テキストファイル (*.txt)");
  EXPECT_EQ(s.filter_pattern, u"*.txt");
  EXPECT_EQ(s.initial_name, u"telegraph.txt");
  EXPECT_TRUE(s.confirm_overwrite);
  EXPECT_EQ(ReadFileBytes(dir.path() / "電報 1"),
            "\xEF\xBB\xBF[VALA]一二六\n[VALB]七六\n[VALC]五一\n[VALD]コ6,51\n"
            "[VALE]ミドリケン」\r\nハナシ」\n[TEXT]\n[ホレ]ア\r\nイ[ラタ]\n");
  ASSERT_EQ(dialog.messages.size(), 1u);
  EXPECT_EQ(dialog.messages[0].text, u"テキスト保存完了");
  EXPECT_EQ(dialog.messages[0].caption, u"完了");
  EXPECT_EQ(fs::directory_iterator(dir.path())->path().filename(), "電報 1") << "no temp left";
}

TEST_F(TelegramFileCommandsTest, CancelledDialogsChangeNothing) {
  SaveTelegramText(dialog, system);
  LoadTelegramText(dialog, system);
  EXPECT_TRUE(dialog.messages.empty());
  EXPECT_EQ(dialog.texts[ids::kCount], u"一二六");
}

TEST_F(TelegramFileCommandsTest, FailedSaveSaysSoAndKeepsTheOldFile) {
  WriteFileBytes(dir.path() / "old.txt", "precious");
  system.replace_fails = true;
  dialog.save_answer = Path("old.txt");
  SaveTelegramText(dialog, system);
  EXPECT_EQ(system.replaced, std::vector<fs::path>{Path("old.txt")});
  EXPECT_EQ(ReadFileBytes(dir.path() / "old.txt"), "precious");
  ASSERT_EQ(dialog.messages.size(), 1u);
  EXPECT_EQ(dialog.messages[0].text, u"保存に失敗しました");

  system.replace_fails = false;
  dialog.messages.clear();
  dialog.save_answer = Path("no such folder/x.txt");
  SaveTelegramText(dialog, system);
  ASSERT_EQ(dialog.messages.size(), 1u);
  EXPECT_EQ(dialog.messages[0].text, u"保存に失敗しました");
  EXPECT_EQ(dialog.messages[0].caption, u"エラー");
}

TEST_F(TelegramFileCommandsTest, SaveSaysWhatItCut) {
  dialog.texts[ids::kStation] = std::u16string(120, u'局');
  dialog.save_answer = Path("t.txt");
  SaveTelegramText(dialog, system);
  std::string station_line = "[VALB]";
  for (int i = 0; i < 99; ++i) {
    station_line += "局";
  }
  EXPECT_NE(ReadFileBytes(dir.path() / "t.txt").find(station_line + "\n"), std::string::npos);
  ASSERT_EQ(dialog.messages.size(), 1u);
  EXPECT_TRUE(dialog.messages[0].text.starts_with(u"テキスト保存完了"));
  EXPECT_NE(dialog.messages[0].text.find(u"発信局が長すぎるため、先頭の99文字"),
            std::u16string::npos);
}

TEST_F(TelegramFileCommandsTest, LoadRestoresWhatWasSaved) {
  dialog.save_answer = Path("t.txt");
  SaveTelegramText(dialog, system);
  const auto saved = dialog.texts;
  for (int id :
       {ids::kCount, ids::kStation, ids::kNumber, ids::kTime, ids::kAddressee, ids::kBody}) {
    dialog.texts[id] = u"changed";
  }
  dialog.open_answer = Path("t.txt");
  LoadTelegramText(dialog, system);
  EXPECT_EQ(dialog.texts, saved);
  EXPECT_EQ(dialog.file_dialogs.back().title, u"電報テキストの読み込み");
  EXPECT_TRUE(dialog.file_dialogs.back().must_exist);
  EXPECT_EQ(dialog.messages.back().text, u"テキスト読込完了");
}

TEST_F(TelegramFileCommandsTest, UnreadableOrHugeFilesLeaveTheFields) {
  dialog.open_answer = Path("missing.txt");
  LoadTelegramText(dialog, system);
  EXPECT_EQ(dialog.messages.back().text, u"読み込みに失敗しました");
  EXPECT_EQ(dialog.messages.back().caption, u"エラー");

  WriteFileBytes(dir.path() / "huge.bin", std::string(1024 * 1024 + 1, '\x01'));
  dialog.open_answer = Path("huge.bin");
  LoadTelegramText(dialog, system);
  EXPECT_TRUE(dialog.messages.back().text.starts_with(u"読み込みに失敗しました"));
  EXPECT_NE(dialog.messages.back().text.find(u"1 MiB"), std::u16string::npos);
  EXPECT_EQ(dialog.texts[ids::kCount], u"一二六");

  dialog.open_answer = dir.path();
  LoadTelegramText(dialog, system);
  EXPECT_EQ(dialog.messages.back().text, u"読み込みに失敗しました");

  system.read_fails = FileRead::Status::kReadFailed;
  dialog.open_answer = Path("missing.txt");
  LoadTelegramText(dialog, system);
  EXPECT_NE(dialog.messages.back().text.find(u"最後まで読めませんでした"), std::u16string::npos);
  EXPECT_EQ(dialog.texts[ids::kCount], u"一二六");
}

// An empty or tagless file would wipe the fields and call that a load.
TEST_F(TelegramFileCommandsTest, FilesWithoutATelegramLeaveTheFields) {
  const auto before = dialog.texts;
  for (const std::string& bytes : {std::string(), std::string("\xEF\xBB\xBFmemo\r\n")}) {
    WriteFileBytes(dir.path() / "no telegram.txt", bytes);
    dialog.open_answer = Path("no telegram.txt");
    LoadTelegramText(dialog, system);
    EXPECT_EQ(dialog.messages.back().text,
              u"読み込みに失敗しました\n\nこのファイルには電報がありません([VALA]〜[VALE]、"
              u"[TEXT]の行がありません)。");
    EXPECT_EQ(dialog.messages.back().caption, u"エラー");
    EXPECT_EQ(dialog.texts, before);
  }
  // UTF-16 as Windows editors save it loads like UTF-8.
  const std::string utf16le(
      "\xFF\xFE[\0V\0A\0L\0A\0]\0"
      "9\0",
      16);
  WriteFileBytes(dir.path() / "utf16.txt", utf16le);
  dialog.open_answer = Path("utf16.txt");
  LoadTelegramText(dialog, system);
  EXPECT_EQ(dialog.messages.back().text, u"テキスト読込完了");
  EXPECT_EQ(dialog.texts[ids::kCount], u"9");
}

#ifndef _WIN32
// A FIFO would block the window for ever and /dev/zero would never end: both
// are refused before they are opened, and the fields stay as they were.
TEST_F(TelegramFileCommandsTest, DevicesAndFifosAreRefusedAndTheFieldsKept) {
  const fs::path fifo = dir.path() / "fifo";
  ASSERT_EQ(system.RunProcess({"/usr/bin/mkfifo", fifo}, nullptr).exit_code, 0);
  const auto before = dialog.texts;
  for (const fs::path& path : {fifo, fs::path("/dev/zero")}) {
    dialog.open_answer = path;
    LoadTelegramText(dialog, system);
    EXPECT_EQ(dialog.messages.back().text, u"読み込みに失敗しました") << path;
    EXPECT_EQ(dialog.messages.back().caption, u"エラー");
  }
  EXPECT_EQ(dialog.texts, before);
}
#endif

}  // namespace
}  // namespace hoshizora
