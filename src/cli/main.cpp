#include <sys/ioctl.h>
#include <unistd.h>

#include <QGuiApplication>
#include <csignal>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "cli/cli_app.h"
#include "cli/cli_language.h"
#include "cli/interruption.h"
#include "platform/ini_file.h"
#include "platform/posix/posix_system.h"
#include "platform/posix/stop_signals.h"
#include "platform/posix/user_folders.h"
#include "platform/qt/qt_canvas.h"

namespace {

// Qt's note that it made up a runtime folder means nothing to a command-line
// user; everything else Qt says still reaches stderr.
void QuietRuntimeFolderNote(QtMsgType type, const QMessageLogContext& context,
                            const QString& message) {
  if (type == QtWarningMsg && message.startsWith(QStringLiteral("QStandardPaths:"))) {
    return;
  }
  std::cerr << qFormatLogMessage(type, context, message).toStdString() << "\n";
}

// During a run only lock-free atomics: the run notices at its next check and
// ends itself, its encoder's process group included. Not reset, so that a
// second Ctrl-C cannot kill the program half way through that cleanup.
// Outside a run nothing would notice, and the program ends as if it had no
// handler, so that its parent sees the signal.
void OnStopSignal(int signal) {
  if (!hoshizora::RequestStop(signal)) {
    std::signal(signal, SIG_DFL);
    std::raise(signal);
  }
}

int StderrColumns() {
  winsize size{};
  if (ioctl(STDERR_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 0) {
    return size.ws_col;
  }
  return 80;
}

int Run(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  hoshizora::PosixSystem system;
  hoshizora::CliSetup setup;
  // The command line never uses the window's documents folder, so it is not
  // asked for: that would start xdg-user-dir at every run.
  setup.folders = hoshizora::DecideProgramFolders(
      system, {.home = hoshizora::EnvironmentPath("HOME"),
               .config_home = hoshizora::EnvironmentPath("XDG_CONFIG_HOME"),
               .data_home = hoshizora::EnvironmentPath("XDG_DATA_HOME"),
               .folder_writable = hoshizora::FolderWritable});
  if (isatty(STDERR_FILENO) == 1) {
    setup.terminal_columns = StderrColumns;
  }
  setup.stdout_is_terminal = isatty(STDOUT_FILENO) == 1;
  // The command line only reads the settings: it never makes their folder.
  hoshizora::IniFileStore settings(system, setup.folders->settings_file);

  // Drawing needs a Qt application; the offscreen platform needs no display.
  std::unique_ptr<QGuiApplication> app;
  std::unique_ptr<hoshizora::QtCanvas> canvas;
  const auto make_canvas = [&]() -> hoshizora::Canvas& {
    if (!canvas) {
      setenv("QT_QPA_PLATFORM", "offscreen", 1);
      qInstallMessageHandler(QuietRuntimeFolderNote);
      app = std::make_unique<QGuiApplication>(argc, argv);
      canvas = std::make_unique<hoshizora::QtCanvas>();
    }
    return *canvas;
  };
  return hoshizora::RunCli(args, std::cin, std::cout, std::cerr, system, settings, make_canvas,
                           setup);
}

}  // namespace

int main(int argc, char** argv) {
  std::ios::sync_with_stdio(false);
  hoshizora::SetCliLanguage(hoshizora::LanguageFromLocale(
      std::getenv("LC_ALL"), std::getenv("LC_MESSAGES"), std::getenv("LANG")));
  const hoshizora::StopSignalHandlers stop_signals(OnStopSignal);
  return hoshizora::RunGuarded([&] { return Run(argc, argv); }, std::cout, std::cerr);
}
