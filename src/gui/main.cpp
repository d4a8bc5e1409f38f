#include <QApplication>
#include <QMessageBox>
#include <exception>

#include "app/control_ids.h"
#include "app/main_dialog.h"
#include "app/main_dialog_template.h"
#include "base/utf8.h"
#include "platform/ini_file.h"
#include "platform/posix/desktop_icon_resources.h"
#include "platform/posix/posix_system.h"
#include "platform/qt/main_window.h"
#include "platform/qt/qt_canvas.h"

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

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  hoshizora::PosixSystem system;
  hoshizora::QtCanvas canvas;
  hoshizora::IniFileStore settings(system, hoshizora::ExecutableFolder(system) / "settings.ini");
  hoshizora::DesktopIconResources icons(hoshizora::DesktopIconResources::DefaultDataFolder());

  hoshizora::MainWindow window(hoshizora::MainDialogTemplate());
  hoshizora::MainDialog main{window, system,
                             canvas, settings,
                             icons,  hoshizora::DecodeUtf8Lenient(HOSHIZORA_CONTACT_ADDRESS)};
  window.SetCommandHandler(
      [&](int id) { Guarded(window, [&] { hoshizora::HandleCommand(main, id); }); });
  window.SetCloseHandler([&] { Guarded(window, [&] { hoshizora::CloseMainDialog(main); }); });
  Guarded(window, [&] { hoshizora::InitialiseMainDialog(main); });
  window.show();
  // The first tab stop, the output button, takes the focus.
  if (QWidget* output = window.Control(hoshizora::ids::kOutputButton)) {
    output->setFocus();
  }
  app.exec();
  return 0;
}
