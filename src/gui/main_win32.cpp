// hoshizora.exe: the Main dialog as a modeless Win32 dialog.
#include "app/main_dialog.h"
#include "app/main_dialog_template.h"
#include "base/utf8.h"
#include "encoding/code_tables.h"
#include "gui/resource.h"
#include "platform/ini_file.h"
#include "platform/win32/gdiplus_canvas.h"
#include "platform/win32/win32_icon_resources.h"
#include "platform/win32/win32_main_window.h"
#include "platform/win32/win32_system.h"

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
  hoshizora::IniFileStore settings(system, hoshizora::ExecutableFolder(system) / "settings.ini");
  hoshizora::Win32IconResources icons;

  hoshizora::Win32MainWindow window(hoshizora::MainDialogTemplate());
  hoshizora::MainDialog main{window, system,
                             canvas, settings,
                             icons,  hoshizora::DecodeUtf8Lenient(HOSHIZORA_CONTACT_ADDRESS)};
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
