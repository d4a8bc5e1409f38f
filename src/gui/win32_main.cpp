// hoshizora.exe: the Main dialog as a modeless Win32 dialog.
#include <filesystem>

#include "app/main_dialog.h"
#include "app/main_dialog_template.h"
#include "app/program_folders.h"
#include "base/utf8.h"
#include "encoding/code_tables.h"
#include "platform/ini_file.h"
#include "platform/win32/gdiplus_canvas.h"
#include "platform/win32/resources/resource.h"
#include "platform/win32/win32_icon_resources.h"
#include "platform/win32/win32_main_window.h"
#include "platform/win32/win32_player.h"
#include "platform/win32/win32_recorder.h"
#include "platform/win32/win32_system.h"
#include "platform/win32/win32_user_folders.h"

// After the ports: <windows.h> renames CreateFile, LoadBitmap and the like.
#include <windows.h>

namespace {

void RunProgram() {
  // GDI+ lives from before the dialog until after its loop has ended; a
  // failed start-up only leaves the pictures undrawn.
  const hoshizora::GdiplusSession gdiplus;
  hoshizora::BuildCodeTables();

  hoshizora::Win32System system;
  hoshizora::GdiplusCanvas canvas;
  // Portable when the program folder holds the template and takes new files;
  // otherwise installed, with the settings under the roaming application data
  // and the output folders under Documents.
  const hoshizora::ProgramFolders folders = hoshizora::DecideProgramFolders(
      system, {.convention = hoshizora::ProgramEnvironment::Convention::kWindows,
               .home = hoshizora::UserProfileFolder(),
               .config_home = hoshizora::KnownFolderPath(hoshizora::KnownFolder::kRoamingAppData),
               .documents = hoshizora::KnownFolderPath(hoshizora::KnownFolder::kDocuments),
               .folder_writable = hoshizora::FolderWritable});
  hoshizora::IniFileStore settings(system, folders.settings_file,
                                   folders.mode == hoshizora::ProgramMode::kInstalled
                                       ? hoshizora::IniFileStore::Folder::kMakeWhenMissing
                                       : hoshizora::IniFileStore::Folder::kMustExist);
  hoshizora::Win32IconResources icons;

  hoshizora::Win32MainWindow window(hoshizora::MainDialogTemplate());
  hoshizora::MainDialog main{window, system,
                             canvas, settings,
                             icons,  hoshizora::DecodeUtf8Lenient(HOSHIZORA_CONTACT_ADDRESS),
                             folders};
  hoshizora::Win32Player player;
  main.player = &player;
  hoshizora::Win32Recorder recorder;
  main.recorder = &recorder;
  window.SetInitHandler([&] { hoshizora::InitialiseMainDialog(main); });
  window.SetCommandHandler([&](int id) { return hoshizora::HandleCommand(main, id); });
  window.SetCloseHandler([&] { hoshizora::CloseMainDialog(main); });
  window.SetDestroyedHandler([] { PostQuitMessage(0); });
  if (!window.Create(IDD_MAIN)) {
    return;
  }
  ShowWindow(window.window(), SW_SHOWNORMAL);

  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    // The dialog's keyboard handling first: Tab, Enter to the default
    // button, Esc as the cancel command.
    if (window.window() == nullptr || !IsDialogMessageW(window.window(), &msg)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  // The window guards every command; what could still be thrown here (out of
  // memory while starting) ends the program quietly, as a failed start does.
  try {
    RunProgram();
  } catch (...) {
  }
  return 0;
}
