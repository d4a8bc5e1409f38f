#include <QApplication>
#include <QIcon>

#include "app/main_dialog.h"
#include "platform/ini_file.h"
#include "platform/posix/desktop_icon_resources.h"
#include "platform/posix/posix_system.h"
#include "platform/qt/main_window.h"
#include "platform/qt/qt_canvas.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  hoshizora::PosixSystem system;
  hoshizora::QtCanvas canvas;
  hoshizora::IniFileStore settings(hoshizora::ExecutableFolder(system) / "settings.ini");
  hoshizora::DesktopIconResources icons(hoshizora::DesktopIconResources::DefaultDataFolder());

  hoshizora::MainWindow window;
  hoshizora::MainDialog main{window,   system, canvas,
                             settings, icons,  HOSHIZORA_CONTACT_ADDRESS_U16};
  window.SetCommandHandler([&](int id) { hoshizora::HandleCommand(main, id); });
  window.SetCloseHandler([&] { hoshizora::CloseMainDialog(main); });
  hoshizora::InitialiseMainDialog(main);
  window.show();
  // The first tab stop, the output button, takes the focus.
  if (QWidget* output = window.Control(2004)) {
    output->setFocus();
  }
  app.exec();
  return 0;
}
