#include "app/main_dialog.h"

#include "app/control_ids.h"
#include "app/dialog_fields.h"
#include "app/keying_command.h"
#include "app/output_command.h"
#include "app/practice_command.h"
#include "app/settings.h"
#include "app/telegram_commands.h"
#include "practice/practice_telegram.h"

namespace hoshizora {
namespace {

constexpr std::u16string_view kGothic = u"MS Gothic";

void CreateFonts(MainDialog& m) {
  const int pixels = DialogFontPixels(m.dialog.ScreenDpiY());
  if (m.body_font == 0) {
    m.body_font = m.dialog.CreateDialogFont({std::u16string(kGothic), pixels, 900});
  }
  if (m.field_font == 0) {
    m.field_font = m.dialog.CreateDialogFont({std::u16string(kGothic), pixels, 700});
  }
  if (m.button_font == 0) {
    m.button_font = m.dialog.CreateDialogFont({std::u16string(kGothic), pixels, 700});
  }
  m.dialog.SetControlFont(ids::kBody, m.body_font);
  for (int id : {ids::kCount, ids::kStation, ids::kNumber, ids::kTime, ids::kAddressee,
                 ids::kFrequency, ids::kSpeed}) {
    m.dialog.SetControlFont(id, m.field_font);
  }
  for (int id : {ids::kOutputButton, ids::kSaveButton, ids::kLoadButton, ids::kCancelButton}) {
    m.dialog.SetControlFont(id, m.button_font);
  }
  // Labels: 20 pixels at every resolution.
  if (m.label_font != 0) {
    m.dialog.DeleteDialogFont(m.label_font);
  }
  m.label_font = m.dialog.CreateDialogFont({u"MS UI Gothic", 20, 700});
  for (int id : ids::kLabels) {
    if (m.dialog.HasControl(id)) {
      m.dialog.SetControlFont(id, m.label_font);
    }
  }
}

void DeleteFonts(MainDialog& m) {
  for (int* font : {&m.body_font, &m.field_font, &m.button_font, &m.label_font}) {
    if (*font != 0) {
      m.dialog.DeleteDialogFont(*font);
      *font = 0;
    }
  }
}

}  // namespace

ProgramFolders Folders(MainDialog& m) {
  return DecidedOrPortable(m.folders, m.system);
}

std::u16string AboutText(const std::u16string& contact_address) {
  return u"作者の連絡先メールアドレス\n\nSorairo Works\n\n    " + contact_address +
         u"\n\n上記をコピーしてお使いください。";
}

int DialogFontPixels(int dpi_y) {
  return (22 * dpi_y + 36) / 72;
}

void InitialiseMainDialog(MainDialog& m) {
  CreateFonts(m);
  LoadSettings(m.dialog, m.settings, m.system.LocalNow());
  m.keying = StoredKeying(m.settings);
  const ProgramFolders folders = Folders(m);
  // Said at start, so that the user knows why the saved speed is not there.
  if (m.settings.Unreadable()) {
    m.dialog.ShowMessage(UnreadableSettingsMessage(folders.settings_file), u"エラー",
                         MessageIcon::kError);
  }
  // The icon is a nicety: a missing or unreadable one is passed over silently.
  const FileRead icon = m.system.ReadFile(folders.data_folder / "app.ico", kLargestIconFile);
  m.dialog.SetWindowIcons(icon.bytes);
  if (folders.mode == ProgramMode::kInstalled || icon.status != FileRead::Status::kRead) {
    return;
  }
  m.icons.InstallProgramIcon(m.system.ExecutablePath(), icon.bytes);
}

bool HandleCommand(MainDialog& m, int command_id) {
  switch (command_id) {
    case ids::kCancelKey:
    case ids::kCancelButton:
      CloseMainDialog(m);
      return true;
    case ids::kSaveButton:
      SaveTelegramText(m.dialog, m.system);
      return true;
    case ids::kLoadButton:
      LoadTelegramText(m.dialog, m.system);
      return true;
    case ids::kOutputButton:
      RunOutputCommand(m.dialog, m.system, m.canvas, m.keying, Folders(m));
      return true;
    case ids::kAboutMenuItem:
      m.dialog.ShowMessage(AboutText(m.contact_address), u"連絡先 / Contact",
                           MessageIcon::kInformation);
      return true;
    case ids::kKeyingMenuItem:
      RunKeyingCommand(m.dialog, m.keying);
      return true;
    case ids::kPracticeMenuItem:
      // The learner asked for new material: whatever the fields held is
      // replaced, as 電報読込 replaces it.
      WriteTelegramFields(m.dialog, MakePracticeTelegram(PracticeOptions{}, m.practice_seed()));
      return true;
    case ids::kReceptionMenuItem:
      RunPracticeDialog(m);
      return true;
    case ids::kSendingMenuItem:
      RunSendingDialog(m);
      return true;
    default:
      return false;
  }
}

void CloseMainDialog(MainDialog& m) {
  if (m.closed) {
    return;
  }
  m.closed = true;
  SaveFrequencyAndSpeed(m.dialog, m.settings);
  SaveKeying(m.dialog, m.settings, m.keying);
  DeleteFonts(m);
  SaveOptions(m.dialog, m.settings);
  m.dialog.DestroyWindow();
}

}  // namespace hoshizora
