#include <QApplication>
#include <QMessageBox>
#include <QSocketNotifier>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>

#include "app/control_ids.h"
#include "app/main_dialog.h"
#include "app/main_dialog_template.h"
#include "app/program_folders.h"
#include "base/utf8.h"
#include "platform/ini_file.h"
#include "platform/posix/desktop_icon_resources.h"
#include "platform/posix/posix_system.h"
#include "platform/posix/stop_signals.h"
#include "platform/posix/user_folders.h"
#include "platform/qt/main_window.h"
#include "platform/qt/qt_canvas.h"
#include "platform/qt/qt_player.h"
#include "platform/qt/qt_recorder.h"
#include "platform/qt/qt_translations.h"

namespace {

constexpr const char* kUsage =
    "Usage: hoshizora [--help | --version]\n"
    "\n"
    "Opens the Hoshizora window: fill in a Wabun telegram, a tone and a speed, and\n"
    "電報JPEG_WAV出力 writes its audio, listing picture and reception-form pages into\n"
    "a new folder. The menu その他 holds 音声の設定… (rise time, effective speed),\n"
    "練習電報を作る (a new practice telegram), 受信練習… (hear a practice telegram,\n"
    "copy it and have the copy scored) and 送信練習… (key a telegram into the audio\n"
    "input and have it read back, scored and the timing judged). The window needs a\n"
    "display; the command line, hoshizora-cli, does the same work without one (see\n"
    "hoshizora-cli --help and man hoshizora).\n";

// Answers --help and --version before Qt starts, so that they work without a
// display; returns -1 when the window is to open.
int AnswerWithoutWindow(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
      std::fputs(kUsage, stdout);
      return std::fflush(stdout) == 0 && !std::ferror(stdout) ? 0 : 1;
    }
    if (std::strcmp(argv[i], "--version") == 0) {
      std::printf("hoshizora %s\n", HOSHIZORA_VERSION);
      return std::fflush(stdout) == 0 && !std::ferror(stdout) ? 0 : 1;
    }
  }
  // Qt would abort with advice to reinstall; one plain line says what is wrong.
  const bool platform_chosen = std::getenv("QT_QPA_PLATFORM") != nullptr;
  const bool has_display =
      std::getenv("DISPLAY") != nullptr || std::getenv("WAYLAND_DISPLAY") != nullptr;
  bool platform_argument = false;
  for (int i = 1; i < argc; ++i) {
    platform_argument = platform_argument || std::strcmp(argv[i], "-platform") == 0;
  }
  if (!platform_chosen && !has_display && !platform_argument) {
    std::fputs(
        "hoshizora: no display to open the window on (DISPLAY is not set); "
        "hoshizora-cli works without one\n",
        stderr);
    return 1;
  }
  return -1;
}

int RunProgram(int argc, char** argv) {
  QApplication app(argc, argv);
  hoshizora::InstallQtTranslations(app);
  hoshizora::PosixSystem system;
  hoshizora::QtCanvas canvas;
  const hoshizora::ProgramFolders folders = hoshizora::DecideProgramFolders(
      system, {.home = hoshizora::EnvironmentPath("HOME"),
               .config_home = hoshizora::EnvironmentPath("XDG_CONFIG_HOME"),
               .data_home = hoshizora::EnvironmentPath("XDG_DATA_HOME"),
               .documents = hoshizora::XdgUserDir("DOCUMENTS"),
               .folder_writable = hoshizora::FolderWritable});
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
  hoshizora::QtPlayer player;
  main.player = &player;
  hoshizora::QtRecorder recorder;
  main.recorder = &recorder;
  window.SetCommandHandler([&](int id) {
    hoshizora::GuardCommand(window, [&] { hoshizora::HandleCommand(main, id); });
  });
  window.SetCloseHandler(
      [&] { hoshizora::GuardCommand(window, [&] { hoshizora::CloseMainDialog(main); }); });
  hoshizora::GuardCommand(window, [&] { hoshizora::InitialiseMainDialog(main); });
  window.SetDestroyedHandler([] { QTimer::singleShot(0, qApp, &QCoreApplication::quit); });
  // Told to end (the session closing, `kill`), the window stops its run and
  // closes as its close box would; an encoder is never left running.
  hoshizora::StopSignalSocket stop_signals;
  QSocketNotifier stop_notifier(QSocketNotifier::Read);
  if (stop_signals.read_fd() >= 0) {
    stop_notifier.setSocket(stop_signals.read_fd());
    stop_notifier.setEnabled(true);
  }
  QObject::connect(&stop_notifier, &QSocketNotifier::activated,
                   [&] { stop_signals.Drain([&window](int) { window.RequestStop(); }); });
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
  if (const int status = AnswerWithoutWindow(argc, argv); status >= 0) {
    return status;
  }
  // Every command is guarded; what could still be thrown here (out of memory
  // while starting) ends the program as a failed start does, never through
  // std::terminate.
  try {
    return RunProgram(argc, argv);
  } catch (...) {
    return 1;
  }
}
