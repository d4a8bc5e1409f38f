#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <cstdio>

#include <atomic>
#include <filesystem>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "app/program_folders.h"
#include "base/utf8.h"
#include "cli/cli_app.h"
#include "cli/cli_language.h"
#include "cli/interruption.h"
#include "platform/ini_file.h"
#include "platform/win32/console_stops.h"
#include "platform/win32/gdiplus_canvas.h"
#include "platform/win32/win32_system.h"
#include "platform/win32/win32_user_folders.h"

namespace {

// The console shows our UTF-8 as text for as long as we run; the code page
// it had before is put back, since it belongs to the console, not to us.
class Utf8Console {
 public:
  Utf8Console() : previous_(GetConsoleOutputCP()) { SetConsoleOutputCP(CP_UTF8); }
  ~Utf8Console() {
    if (previous_ != 0) {
      SetConsoleOutputCP(previous_);
    }
  }
  Utf8Console(const Utf8Console&) = delete;
  Utf8Console& operator=(const Utf8Console&) = delete;

 private:
  UINT previous_;
};

// Windows hands the arguments over as UTF-16; the commands read UTF-8.
std::vector<std::string> Utf8Arguments(int argc, wchar_t** argv) {
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) {
    const std::wstring_view arg(argv[i]);
    args.push_back(hoshizora::EncodeUtf8(std::u16string(arg.begin(), arg.end())));
  }
  return args;
}

// The progress bar is drawn only on a console; redirected to a file or a
// pipe, stderr gets plain lines.
bool IsConsole(DWORD stream) {
  DWORD mode = 0;
  return GetConsoleMode(GetStdHandle(stream), &mode) != 0;
}

int StderrColumns() {
  CONSOLE_SCREEN_BUFFER_INFO info{};
  if (GetConsoleScreenBufferInfo(GetStdHandle(STD_ERROR_HANDLE), &info) != 0) {
    const int columns = info.srWindow.Right - info.srWindow.Left + 1;
    if (columns > 0) {
      return columns;
    }
  }
  return 80;
}

int Run(int argc, wchar_t** argv) {
  const std::vector<std::string> args = Utf8Arguments(argc, argv);
  hoshizora::Win32System system;
  hoshizora::CliSetup setup;
  // The command line never uses the window's Documents folder, so it is not
  // asked for.
  setup.folders = hoshizora::DecideProgramFolders(
      system, {.convention = hoshizora::ProgramEnvironment::Convention::kWindows,
               .home = hoshizora::UserProfileFolder(),
               .config_home = hoshizora::KnownFolderPath(hoshizora::KnownFolder::kRoamingAppData),
               .folder_writable = hoshizora::FolderWritable});
  if (IsConsole(STD_ERROR_HANDLE)) {
    setup.terminal_columns = StderrColumns;
  }
  setup.stdout_is_terminal = IsConsole(STD_OUTPUT_HANDLE);
  // The command line only reads the settings: it never makes their folder.
  hoshizora::IniFileStore settings(system, setup.folders->settings_file);

  // GDI+ is started only for the commands that draw.
  std::unique_ptr<hoshizora::GdiplusSession> gdiplus;
  std::unique_ptr<hoshizora::GdiplusCanvas> canvas;
  const auto make_canvas = [&]() -> hoshizora::Canvas& {
    if (!canvas) {
      gdiplus = std::make_unique<hoshizora::GdiplusSession>();
      canvas = std::make_unique<hoshizora::GdiplusCanvas>();
    }
    return *canvas;
  };
  const int status =
      hoshizora::RunCli(args, std::cin, std::cout, std::cerr, system, settings, make_canvas, setup);
  canvas.reset();
  return status;
}

// Set when the program is about to return, so that a console being closed
// waits for the run's cleanup and no longer.
std::atomic<bool> finished{false};

}  // namespace

int wmain(int argc, wchar_t** argv) {
  // Text mode would end the input at a 0x1A byte and write LF as CR LF: the
  // filters' data must pass as it does on Linux, byte for byte.
  _setmode(_fileno(stdin), _O_BINARY);
  _setmode(_fileno(stdout), _O_BINARY);
  std::ios::sync_with_stdio(false);
  // Windows users choose their language in the settings, not with variables.
  hoshizora::SetCliLanguage(PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_JAPANESE
                                ? hoshizora::CliLanguage::kJapanese
                                : hoshizora::CliLanguage::kEnglish);
  const Utf8Console console;
  hoshizora::CatchConsoleStops(hoshizora::RequestStop, &finished);
  const int status = hoshizora::RunGuarded([&] { return Run(argc, argv); }, std::cout, std::cerr);
  finished.store(true);
  return status;
}
