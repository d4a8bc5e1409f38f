#include "app/telegram_commands.h"

#include <vector>

#include "app/dialog_fields.h"
#include "app/message_text.h"
#include "base/limits.h"
#include "encoding/text_utils.h"
#include "telegram_file/telegram_file_commands.h"

namespace hoshizora {
namespace {

FileDialogSettings FileDialog(std::u16string title, bool saving) {
  FileDialogSettings s;
  s.title = std::move(title);
  s.filter_name = u"テキストファイル (*.txt)";
  s.filter_pattern = u"*.txt";
  s.initial_name = u"telegraph.txt";
  s.confirm_overwrite = saving;
  s.must_exist = !saving;
  return s;
}

}  // namespace

void SaveTelegramText(Dialog& dialog, System& system) {
  const auto path = dialog.AskSaveFileName(FileDialog(u"電報テキストの保存", true));
  if (!path) {
    return;
  }
  std::vector<std::u16string> cut_notes;
  const TelegramFields fields = ReadTelegramFields(dialog, cut_notes);
  if (!SaveTelegramFile(system, *path, fields)) {
    dialog.ShowMessage(u"保存に失敗しました", u"エラー", MessageIcon::kNone);
    return;
  }
  std::u16string done = u"テキスト保存完了";
  if (!cut_notes.empty()) {
    done += u"\n\n" + JoinLines(cut_notes);
  }
  dialog.ShowMessage(done, u"完了", MessageIcon::kNone);
}

std::optional<ChosenTelegram> ChooseTelegramFile(Dialog& dialog, System& system,
                                                 std::u16string title) {
  const auto path = dialog.AskOpenFileName(FileDialog(std::move(title), false));
  if (!path) {
    return std::nullopt;
  }
  const TelegramFileRead file = LoadTelegramFile(system, *path);
  switch (file.status) {
    case FileRead::Status::kRead:
      break;
    case FileRead::Status::kMissing:
    case FileRead::Status::kNotRegularFile:
      dialog.ShowMessage(u"読み込みに失敗しました", u"エラー", MessageIcon::kNone);
      return std::nullopt;
    case FileRead::Status::kTooLarge:
      dialog.ShowMessage(u"読み込みに失敗しました\n\nファイルが大きすぎます（" +
                             IntToText(static_cast<std::int32_t>(kLargestTelegramFile / kMiB)) +
                             u" MiB まで）。",
                         u"エラー", MessageIcon::kNone);
      return std::nullopt;
    case FileRead::Status::kReadFailed:
      dialog.ShowMessage(u"読み込みに失敗しました\n\nファイルを最後まで読めませんでした。",
                         u"エラー", MessageIcon::kNone);
      return std::nullopt;
  }
  if (!file.holds_telegram) {
    // Taking it would only wipe the fields.
    dialog.ShowMessage(u"読み込みに失敗しました\n\n" + std::u16string(kNoTelegramInFile), u"エラー",
                       MessageIcon::kNone);
    return std::nullopt;
  }
  return ChosenTelegram{*path, file.fields};
}

void LoadTelegramText(Dialog& dialog, System& system) {
  if (const auto chosen = ChooseTelegramFile(dialog, system, u"電報テキストの読み込み")) {
    WriteTelegramFields(dialog, chosen->fields);
    dialog.ShowMessage(u"テキスト読込完了", u"完了", MessageIcon::kNone);
  }
}

}  // namespace hoshizora
