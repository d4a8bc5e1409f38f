#include <QApplication>
#include <QMessageBox>

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

hoshizora::ProgramFolders DecideFolders(hoshizora::System& system) {
  hoshizora::ProgramEnvironment env;
  env.home = hoshizora::EnvironmentPath("HOME");
  env.config_home = hoshizora::EnvironmentPath("XDG_CONFIG_HOME");
  env.documents = hoshizora::XdgUserDir("DOCUMENTS");
  env.folder_writable = hoshizora::FolderWritable;
  env.exists = [&system](const std::filesystem::path& path) { return system.PathExists(path); };
  return hoshizora::DecideProgramFolders(hoshizora::ExecutableFolder(system), env);
}

int RunProgram(int argc, char** argv) {
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
  window.SetCommandHandler([&](int id) {
    hoshizora::GuardCommand(window, [&] { hoshizora::HandleCommand(main, id); });
  });
  window.SetCloseHandler(
      [&] { hoshizora::GuardCommand(window, [&] { hoshizora::CloseMainDialog(main); }); });
  hoshizora::GuardCommand(window, [&] { hoshizora::InitialiseMainDialog(main); });
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

}  // namespace

int main(int argc, char** argv) {
  // Every command is guarded; what could still be thrown here (out of memory
  // while starting) ends the program as a failed start does, never through
  // std::terminate.
  try {
    return RunProgram(argc, argv);
  } catch (...) {
    return 1;
  }
}
