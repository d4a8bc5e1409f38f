#include "telegram_file/telegram_file_commands.h"

#include <filesystem>
#include <fstream>
#include <random>
#include <vector>

#include "telegram_file/dialog_fields.h"
#include "telegram_file/telegram_text_format.h"

namespace hoshizora {
namespace {

namespace fs = std::filesystem;

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

// Writes to a new file in the target's folder and renames it over the target
// once everything is written and closed.
bool ReplaceFileAtomically(const fs::path& target, const std::string& bytes) {
  std::random_device random;
  const fs::path temp = target.parent_path() / ("." + target.filename().string() + "." +
                                                std::to_string(random()) + ".tmp");
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    if (!out) {
      return false;
    }
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
      std::error_code ec;
      fs::remove(temp, ec);
      return false;
    }
  }
  std::error_code ec;
  fs::rename(temp, target, ec);
  if (ec) {
    fs::remove(temp, ec);
    return false;
  }
  return true;
}

enum class ReadError { kNone, kCannotOpen, kTooLarge, kReadFailed };

ReadError ReadWholeFile(const fs::path& path, std::string& bytes) {
  std::ifstream in(path, std::ios::binary);
  std::error_code ec;
  if (!in || fs::is_directory(path, ec)) {
    return ReadError::kCannotOpen;
  }
  in.seekg(0, std::ios::end);
  const std::streamoff size = in.tellg();
  if (size < 0) {
    return ReadError::kReadFailed;
  }
  if (static_cast<std::uintmax_t>(size) > kLargestTelegramFile) {
    return ReadError::kTooLarge;
  }
  in.seekg(0);
  bytes.resize(static_cast<std::size_t>(size));
  in.read(bytes.data(), size);
  return in.gcount() == size ? ReadError::kNone : ReadError::kReadFailed;
}

}  // namespace

void SaveTelegramText(Dialog& dialog) {
  const auto path = dialog.AskSaveFileName(FileDialog(u"電報テキストの保存", true));
  if (!path) {
    return;
  }
  std::vector<std::u16string> cut_notes;
  const TelegramFields fields = ReadTelegramFields(dialog, cut_notes);
  if (!ReplaceFileAtomically(*path, SerializeTelegramText(fields))) {
    dialog.ShowMessage(u"保存に失敗しました", u"エラー", MessageIcon::kNone);
    return;
  }
  std::u16string done = u"テキスト保存完了";
  if (!cut_notes.empty()) {
    done += u"\n\n" + JoinLines(cut_notes);
  }
  dialog.ShowMessage(done, u"完了", MessageIcon::kNone);
}

void LoadTelegramText(Dialog& dialog) {
  const auto path = dialog.AskOpenFileName(FileDialog(u"電報テキストの読み込み", false));
  if (!path) {
    return;
  }
  std::string bytes;
  switch (ReadWholeFile(*path, bytes)) {
    case ReadError::kNone:
      break;
    case ReadError::kCannotOpen:
      dialog.ShowMessage(u"読み込みに失敗しました", u"エラー", MessageIcon::kNone);
      return;
    case ReadError::kTooLarge:
      dialog.ShowMessage(u"読み込みに失敗しました\n\nファイルが大きすぎます（1 MiB まで）。",
                         u"エラー", MessageIcon::kNone);
      return;
    case ReadError::kReadFailed:
      dialog.ShowMessage(u"読み込みに失敗しました\n\nファイルを最後まで読めませんでした。",
                         u"エラー", MessageIcon::kNone);
      return;
  }
  WriteTelegramFields(dialog, ParseTelegramText(bytes));
  dialog.ShowMessage(u"テキスト読込完了", u"完了", MessageIcon::kNone);
}

}  // namespace hoshizora
