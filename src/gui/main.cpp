#include <QApplication>
#include <QMessageBox>
#include <exception>

#include "app/control_ids.h"
#include "app/main_dialog.h"
#include "app/main_dialog_template.h"
#include "app/program_folders.h"
#include "base/utf8.h"
#include "platform/ini_file.h"
#include "platform/posix/desktop_icon_resources.h"
#include "platform/posix/posix_system.h"
#include "platform/posix/user_folders.h"
#include "platform/qt/main_window.h"
#include "platform/qt/qt_canvas.h"
#include "platform/qt/stop_signals.h"

namespace {

// The last guard: nothing the commands do may end the program. A command
// that fails this way says so and the window goes on.
template <typename Work>
void Guarded(hoshizora::MainWindow& window, Work&& work) {
  try {
    work();
  } catch (const std::exception&) {
    window.ShowMessage(u"処理を続けられませんでした。", u"エラー", hoshizora::MessageIcon::kError);
  }
}

hoshizora::ProgramFolders DecideFolders(hoshizora::System& system) {
  hoshizora::ProgramEnvironment env;
  env.home = hoshizora::EnvironmentPath("HOME");
  env.config_home = hoshizora::EnvironmentPath("XDG_CONFIG_HOME");
  env.data_home = hoshizora::EnvironmentPath("XDG_DATA_HOME");
  env.documents = hoshizora::XdgUserDir("DOCUMENTS");
  env.folder_writable = hoshizora::FolderWritable;
  env.exists = [&system](const std::filesystem::path& path) { return system.PathExists(path); };
  return hoshizora::DecideProgramFolders(hoshizora::ExecutableFolder(system), env);
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  hoshizora::PosixSystem system;
  hoshizora::QtCanvas canvas;
  const hoshizora::ProgramFolders folders = DecideFolders(system);
  hoshizora::IniFileStore settings(system, folders.settings_file,
                                   folders.mode == hoshizora::ProgramMode::kInstalled
                                       ? hoshizora::IniFileStore::Folder::kMakeWhenMissing
                                       : hoshizora::IniFileStore::Folder::kMustExist);
  hoshizora::DesktopIconResources icons(hoshizora::DesktopIconResources::DefaultDataFolder());

  hoshizora::MainWindow window(hoshizora::MainDialogTemplate());
  hoshizora::MainDialog main{window, system,
                             canvas, settings,
                             icons,  hoshizora::DecodeUtf8Lenient(HOSHIZORA_CONTACT_ADDRESS),
                             folders};
  window.SetCommandHandler(
      [&](int id) { Guarded(window, [&] { hoshizora::HandleCommand(main, id); }); });
  window.SetCloseHandler([&] { Guarded(window, [&] { hoshizora::CloseMainDialog(main); }); });
  Guarded(window, [&] { hoshizora::InitialiseMainDialog(main); });
  // Told to end (the session closing, `kill`), the window stops its run and
  // closes as its close box would; an encoder is never left running.
  const hoshizora::StopSignals stop_signals([&window](int) { window.RequestStop(); });
  window.show();
  // The first tab stop, the output button, takes the focus.
  if (QWidget* output = window.Control(hoshizora::ids::kOutputButton)) {
    output->setFocus();
  }
  app.exec();
  return 0;
}
