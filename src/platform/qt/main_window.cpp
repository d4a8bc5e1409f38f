#include "platform/qt/main_window.h"

#include <QApplication>
#include <QBuffer>
#include <QCheckBox>
#include <QCloseEvent>
#include <QEventLoop>
#include <QFile>
#include <QFileDialog>
#include <QFontMetrics>
#include <QIcon>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <atomic>
#include <exception>
#include <mutex>
#include <thread>

#include "platform/qt/font_substitutes.h"
#include "platform/qt/keying_dialog.h"
#include "platform/qt/progress_window_reporter.h"
#include "platform/qt/qt_canvas.h"
#include "platform/qt/spin_buttons.h"

namespace hoshizora {
namespace {

QString ToDisplayLineBreaks(std::u16string_view text) {
  QString s = ToQString(text);
  s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  s.replace(QChar(u'\r'), QChar(u'\n'));
  return s;
}

std::u16string ToCoreLineBreaks(const QString& text) {
  QString s = text;
  s.replace(QChar(u'\n'), QStringLiteral("\r\n"));
  return FromQString(s);
}

// A chosen file name as the file system's own bytes.
std::filesystem::path ToPath(const QString& name) {
  return std::filesystem::path(QFile::encodeName(name).toStdString());
}

}  // namespace

QString FilterText(const FileDialogSettings& s) {
  const QString name = ToQString(s.filter_name);
  const QString pattern = ToQString(s.filter_pattern);
  // Qt shows the filter as written; a name that already shows its pattern
  // ("テキストファイル (*.txt)") must not show it twice.
  if (name.contains("(" + pattern + ")")) {
    return name;
  }
  return name + " (" + pattern + ")";
}

MainWindow::MainWindow(const DialogTemplate& layout, QWidget* parent)
    : QDialog(parent), layout_(layout) {
  setWindowTitle(QString::fromUtf16(layout_.title));
  if (parent == nullptr) {
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint |
                   Qt::WindowCloseButtonHint);
  } else {
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
  }
  // Dialog units come from the dialog font's average character width and height.
  QFont dialog_font = QApplication::font();
  dialog_font.setPointSize(8);
  setFont(dialog_font);
  const QFontMetrics metrics(dialog_font);
  const int alphabet = metrics.horizontalAdvance(
      QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
  base_width_ = std::max(1, (alphabet / 26 + 1) / 2);
  base_height_ = std::max(1, metrics.height());

  if (!layout_.menu_items.empty()) {
    menu_bar_ = new QMenuBar(this);
    QMenu* menu = menu_bar_->addMenu(QString::fromUtf16(layout_.menu_caption));
    for (const MenuItemSpec& spec : layout_.menu_items) {
      QAction* item = menu->addAction(QString::fromUtf16(spec.caption));
      item->setObjectName(QString::number(spec.id));
      connect(item, &QAction::triggered, this, [this, id = spec.id] { Dispatch(id); });
    }
  }

  BuildControls();
  const int menu_height = menu_bar_ != nullptr ? menu_bar_->sizeHint().height() : 0;
  if (menu_bar_ != nullptr) {
    menu_bar_->setGeometry(0, 0, DialogUnits(0, 0, layout_.width, 0).width(), menu_height);
  }
  const QRect client = DialogUnits(0, 0, layout_.width, layout_.height);
  setFixedSize(client.width(), client.height() + menu_height);
}

QRect MainWindow::DialogUnits(int x, int y, int width, int height) const {
  const int top = menu_bar_ != nullptr ? menu_bar_->sizeHint().height() : 0;
  return QRect(x * base_width_ / 4, top + y * base_height_ / 8, width * base_width_ / 4,
               height * base_height_ / 8);
}

void MainWindow::BuildControls() {
  using Kind = ControlSpec::Kind;
  QWidget* previous = nullptr;
  for (const ControlSpec& spec : layout_.controls) {
    const QString caption = QString::fromUtf16(spec.caption);
    QWidget* widget = nullptr;
    switch (spec.kind) {
      case Kind::kButton:
      case Kind::kDefaultButton: {
        auto* button = new QPushButton(caption, this);
        button->setAutoDefault(spec.kind == Kind::kDefaultButton);
        button->setDefault(spec.id == layout_.default_button);
        connect(button, &QPushButton::clicked, this, [this, id = spec.id] { Dispatch(id); });
        widget = button;
        break;
      }
      case Kind::kLabel:
        widget = new QLabel(caption, this);
        break;
      case Kind::kMultiLine:
      case Kind::kReadOnlyText: {
        auto* edit = new QPlainTextEdit(this);
        edit->setReadOnly(spec.kind == Kind::kReadOnlyText);
        edit->setLineWrapMode(QPlainTextEdit::WidgetWidth);
        edit->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        edit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        edit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        edit->setTabChangesFocus(true);
        widget = edit;
        break;
      }
      case Kind::kSingleLine:
        widget = new QLineEdit(this);
        break;
      case Kind::kSpin:
        widget = new SpinButtons(this);
        break;
      case Kind::kCheckBox:
        widget = new QCheckBox(caption, this);
        break;
    }
    widget->setObjectName(QString::number(spec.id));
    widget->setGeometry(DialogUnits(spec.x, spec.y, spec.width, spec.height));
    widget->setAttribute(Qt::WA_InputMethodEnabled,
                         spec.kind == Kind::kSingleLine || spec.kind == Kind::kMultiLine);
    if (spec.kind == Kind::kLabel || spec.kind == Kind::kSpin) {
      widget->setFocusPolicy(Qt::NoFocus);
    } else {
      if (previous != nullptr) {
        setTabOrder(previous, widget);
      }
      previous = widget;
    }
    controls_[spec.id] = widget;
  }
}

QWidget* MainWindow::Control(int id) const {
  const auto it = controls_.find(id);
  return it == controls_.end() ? nullptr : it->second;
}

void MainWindow::Dispatch(int command_id) {
  // One command at a time: nothing starts while another (an output run with
  // its progress window, a message box) is still under way.
  if (busy_ || destroyed_ || !handler_) {
    return;
  }
  busy_ = true;
  handler_(command_id);
  busy_ = false;
  if (stopping_) {
    CloseForStop();
  }
}

void MainWindow::RequestStop() {
  stopping_ = true;
  if (running_ != nullptr) {
    running_->PressCancel();  // the command ends with its run, then the window closes
    return;
  }
  if (busy_) {
    // A file dialog or the keying dialog: closing it answers "cancelled",
    // and the command then ends.
    if (QWidget* modal = QApplication::activeModalWidget(); modal != nullptr && modal != this) {
      modal->close();
    }
    return;
  }
  CloseForStop();
}

void MainWindow::CloseForStop() {
  if (!destroyed_ && close_handler_) {
    close_handler_();
  }
}

void MainWindow::reject() {
  Dispatch(layout_.cancel_command);
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (destroyed_) {
    event->accept();
    return;
  }
  event->ignore();
  if (!busy_ && close_handler_) {
    close_handler_();
  }
}

void MainWindow::ShowMessage(std::u16string_view text, std::u16string_view caption,
                             MessageIcon icon) {
  if (stopping_) {
    return;
  }
  QMessageBox box(icon == MessageIcon::kError         ? QMessageBox::Critical
                  : icon == MessageIcon::kInformation ? QMessageBox::Information
                                                      : QMessageBox::NoIcon,
                  ToQString(caption), ToQString(text), QMessageBox::Ok, this);
  // The About box, the only information message, stays above other windows.
  box.setWindowFlag(Qt::WindowStaysOnTopHint, icon == MessageIcon::kInformation);
  box.exec();
}

std::u16string MainWindow::GetControlText(int id, int buffer_size) {
  QWidget* w = Control(id);
  std::u16string text;
  if (auto* line = qobject_cast<QLineEdit*>(w)) {
    text = FromQString(line->text());
  } else if (auto* edit = qobject_cast<QPlainTextEdit*>(w)) {
    text = ToCoreLineBreaks(edit->toPlainText());
  } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
    text = FromQString(button->text());
  } else if (auto* label = qobject_cast<QLabel*>(w)) {
    text = FromQString(label->text());
  }
  const auto limit = static_cast<std::size_t>(std::max(0, buffer_size - 1));
  return text.size() > limit ? text.substr(0, limit) : text;
}

void MainWindow::SetControlText(int id, std::u16string_view text) {
  QWidget* w = Control(id);
  if (auto* line = qobject_cast<QLineEdit*>(w)) {
    line->setText(ToQString(text));
  } else if (auto* edit = qobject_cast<QPlainTextEdit*>(w)) {
    edit->setPlainText(ToDisplayLineBreaks(text));
  } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
    button->setText(ToQString(text));
  } else if (auto* label = qobject_cast<QLabel*>(w)) {
    label->setText(ToQString(text));
  }
}

bool MainWindow::HasControl(int id) {
  return Control(id) != nullptr;
}

void MainWindow::EnableControl(int id, bool enabled) {
  if (QWidget* w = Control(id)) {
    w->setEnabled(enabled);
  }
}

bool MainWindow::IsChecked(int id) {
  auto* box = qobject_cast<QCheckBox*>(Control(id));
  return box != nullptr && box->isChecked();
}

void MainWindow::SetChecked(int id, bool checked) {
  if (auto* box = qobject_cast<QCheckBox*>(Control(id))) {
    box->setChecked(checked);
  }
}

void MainWindow::BindSpin(int spin_id, int buddy_id, int minimum, int maximum, int position) {
  auto* spin = dynamic_cast<SpinButtons*>(Control(spin_id));
  auto* buddy = qobject_cast<QLineEdit*>(Control(buddy_id));
  if (spin != nullptr && buddy != nullptr) {
    spin->Bind(buddy, minimum, maximum, position);
  }
}

int MainWindow::ScreenDpiY() {
  const QScreen* s = screen() != nullptr ? screen() : QGuiApplication::primaryScreen();
  return s != nullptr ? qRound(s->logicalDotsPerInchY()) : 96;
}

int MainWindow::CreateDialogFont(const DialogFont& font) {
  QString family = ResolveFontFace(ToQString(font.face));
  if (family.isEmpty()) {
    family = font.face == u"MS Shell Dlg" ? QApplication::font().family() : JapaneseSansSerifFace();
  }
  QFont q(family);
  q.setPixelSize(std::max(1, font.pixel_height));
  q.setWeight(static_cast<QFont::Weight>(std::clamp(font.weight, 100, 900)));
  const int handle = next_font_++;
  fonts_[handle] = q;
  return handle;
}

void MainWindow::SetControlFont(int id, int font_handle) {
  QWidget* w = Control(id);
  const auto it = fonts_.find(font_handle);
  if (w != nullptr && it != fonts_.end()) {
    w->setFont(it->second);
  }
}

void MainWindow::DeleteDialogFont(int font_handle) {
  fonts_.erase(font_handle);
}

void MainWindow::SetWindowIcons(std::string_view icon_file) {
  QByteArray bytes =
      QByteArray::fromRawData(icon_file.data(), static_cast<qsizetype>(icon_file.size()));
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::ReadOnly);
  QImageReader reader(&buffer);
  QIcon icon;
  for (int i = 0; i < std::max(1, reader.imageCount()); ++i) {
    if (i > 0 && !reader.jumpToImage(i)) {
      break;
    }
    const QImage image = reader.read();
    if (!image.isNull()) {
      icon.addPixmap(QPixmap::fromImage(image));
    }
  }
  if (!icon.isNull() && !icon.availableSizes().isEmpty()) {
    setWindowIcon(icon);
  }
}

std::optional<std::filesystem::path> MainWindow::AskSaveFileName(const FileDialogSettings& s) {
  QFileDialog::Options options;
  if (!s.confirm_overwrite) {
    options |= QFileDialog::DontConfirmOverwrite;
  }
  const QString name = QFileDialog::getSaveFileName(
      this, ToQString(s.title), ToQString(s.initial_name), FilterText(s), nullptr, options);
  if (name.isEmpty()) {
    return std::nullopt;
  }
  return ToPath(name);
}

std::optional<std::filesystem::path> MainWindow::AskOpenFileName(const FileDialogSettings& s) {
  const QString name = QFileDialog::getOpenFileName(this, ToQString(s.title),
                                                    ToQString(s.initial_name), FilterText(s));
  if (name.isEmpty()) {
    return std::nullopt;
  }
  return ToPath(name);
}

std::optional<KeyingOptions> MainWindow::AskKeyingOptions(const KeyingOptions& shown,
                                                          int max_effective) {
  KeyingDialog dialog(shown, max_effective, this);
  if (dialog.exec() != QDialog::Accepted) {
    return std::nullopt;
  }
  return dialog.Values();
}

void MainWindow::RunWithProgress(std::u16string_view caption,
                                 const std::function<void(ProgressReporter&)>& work) {
  QProgressDialog progress(this);
  progress.setWindowTitle(ToQString(caption));
  progress.setWindowModality(Qt::WindowModal);
  progress.setLabelText(QStringLiteral("準備中…"));
  progress.setCancelButtonText(QStringLiteral("キャンセル"));
  progress.setRange(0, ProgressWindowReporter::kSteps);
  progress.setMinimumDuration(400);
  progress.setAutoClose(false);
  progress.setAutoReset(false);
  progress.setValue(0);

  ProgressWindowReporter reporter(&progress);
  connect(&progress, &QProgressDialog::canceled, &progress, [&reporter, &progress] {
    reporter.PressCancel();
    progress.setLabelText(QStringLiteral("中止しています…"));
  });

  running_ = &reporter;
  if (stopping_) {
    reporter.PressCancel();
  }
  QEventLoop loop;
  // What the work throws comes back to this thread, where the command's own
  // guard tells the user; escaping its thread it would end the program.
  std::exception_ptr failure;
  std::thread worker([&] {
    try {
      work(reporter);
    } catch (...) {
      failure = std::current_exception();
    }
    QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
  });
  loop.exec();
  worker.join();
  running_ = nullptr;
  progress.close();
  if (failure) {
    std::rethrow_exception(failure);
  }
}

void GuardCommand(MainWindow& window, const std::function<void()>& command) {
  try {
    command();
  } catch (...) {
    window.ShowMessage(u"処理を続けられませんでした。", u"エラー", MessageIcon::kError);
  }
}

void MainWindow::RunModalDialog(const DialogTemplate& layout, DialogEvents& events) {
  MainWindow dialog(layout, this);
  // What the behaviour throws ends in a message here: nothing may leave
  // through Qt's event loop.
  const auto guarded = [&dialog](const std::function<void()>& work) {
    try {
      work();
    } catch (const std::exception&) {
      dialog.ShowMessage(u"処理を続けられませんでした。", u"エラー", MessageIcon::kError);
    }
  };
  QEventLoop loop;
  dialog.SetCommandHandler([&](int id) { guarded([&] { events.Command(dialog, id); }); });
  dialog.SetCloseHandler([&] { guarded([&] { events.Close(dialog); }); });
  dialog.SetDestroyedHandler([&loop] { loop.quit(); });
  bool started = false;
  guarded([&] {
    events.Initialise(dialog);
    started = true;
  });
  if (!started || dialog.destroyed()) {
    return;
  }
  dialog.setWindowModality(Qt::ApplicationModal);
  dialog.show();
  loop.exec();
}

void MainWindow::DestroyWindow() {
  destroyed_ = true;
  close();
  if (destroyed_handler_) {
    destroyed_handler_();
  }
}

}  // namespace hoshizora
