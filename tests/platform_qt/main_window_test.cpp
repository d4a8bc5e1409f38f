#include "platform/qt/main_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "app/control_ids.h"
#include "app/main_dialog.h"
#include "app/main_dialog_template.h"
#include "platform/ini_file.h"
#include "platform/paths.h"
#include "platform/qt/keying_dialog.h"
#include "platform/qt/progress_window_reporter.h"
#include "platform/qt/qt_canvas.h"
#include "platform/qt/spin_buttons.h"
#include "practice/practice_telegram.h"
#include "support/fake_player.h"
#include "support/fake_recorder.h"
#include "support/recording_icons.h"
#include "support/stand_in_encoder.h"
#include "support/temp_dir.h"
#include "support/test_system.h"

namespace hoshizora {
namespace {

// The real window driven by the dialog's behaviour, as the program runs it.
class MainWindowTest : public ::testing::Test {
 protected:
  MainWindowTest() {
    window.SetCommandHandler([this](int id) { HandleCommand(main, id); });
    window.SetCloseHandler([this] { CloseMainDialog(main); });
    InitialiseMainDialog(main);
    window.show();
  }
  template <typename T>
  T* Get(int id) {
    T* w = qobject_cast<T*>(window.Control(id));
    EXPECT_NE(w, nullptr) << id;
    return w;
  }
  std::string Settings() const { return testing::ReadFileBytes(dir.path() / "settings.ini"); }

  testing::TempDir dir;
  testing::TestSystem system{dir.path() / "hoshizora"};
  QtCanvas canvas;
  IniFileStore store{system, dir.path() / "settings.ini"};
  testing::RecordingIcons icons;
  MainWindow window{MainDialogTemplate()};
  MainDialog main{window, system, canvas, store, icons, u"a@b.example"};
};

TEST_F(MainWindowTest, EveryControlByIdWithItsCaptionAndFont) {
  const std::pair<int, QString> buttons[] = {
      {2004, "電報JPEG_WAV出力"}, {2002, "電報保存"}, {2003, "電報読込"}, {5001, "Cancel"}};
  for (const auto& [id, caption] : buttons) {
    QPushButton* b = Get<QPushButton>(id);
    EXPECT_EQ(b->text(), caption);
    EXPECT_EQ(b->font().weight(), QFont::Bold);
    EXPECT_EQ(b->font().pixelSize(), DialogFontPixels(window.ScreenDpiY()));
    EXPECT_EQ(b->objectName(), QString::number(id));
  }
  EXPECT_TRUE(Get<QPushButton>(2004)->isDefault());
  const QString labels[] = {"本文", "文字数", "発信局",     "番号",
                            "時刻", "名あて", "周波数(Hz)", "速度(CPM)"};
  for (int i = 0; i < 8; ++i) {
    QLabel* l = Get<QLabel>(ids::kLabels[i]);
    EXPECT_EQ(l->text(), labels[i]);
    EXPECT_EQ(l->font().pixelSize(), 20);
    EXPECT_EQ(l->font().weight(), QFont::Bold);
  }
  EXPECT_EQ(Get<QPlainTextEdit>(ids::kBody)->font().weight(), QFont::Black);
  EXPECT_EQ(Get<QPlainTextEdit>(ids::kAddressee)->font().weight(), QFont::Bold);
  for (int id :
       {ids::kCount, ids::kStation, ids::kNumber, ids::kTime, ids::kFrequency, ids::kSpeed}) {
    EXPECT_EQ(Get<QLineEdit>(id)->font().weight(), QFont::Bold) << id;
  }
  EXPECT_EQ(Get<QCheckBox>(ids::kOpenFolder)->text(), "和文電報フォルダを開く");
  EXPECT_TRUE(Get<QCheckBox>(ids::kOpenFolder)->isChecked());
  EXPECT_NE(dynamic_cast<SpinButtons*>(window.Control(ids::kFrequencySpin)), nullptr);
  EXPECT_EQ(window.windowTitle(), "Hoshizora ");
  const QList<QAction*> menus = window.findChild<QMenuBar*>()->actions();
  ASSERT_EQ(menus.size(), 1);
  EXPECT_EQ(menus[0]->text(), "その他");
  const QList<QAction*> items = menus[0]->menu()->actions();
  const char* expected[][2] = {{"このソフトについて", "40001"},
                               {"音声の設定…", "40002"},
                               {"練習電報を作る", "40003"},
                               {"受信練習…", "40004"},
                               {"送信練習…", "40005"}};
  ASSERT_EQ(items.size(), static_cast<qsizetype>(std::size(expected)));
  for (qsizetype i = 0; i < items.size(); ++i) {
    EXPECT_EQ(items[i]->text(), expected[i][0]);
    EXPECT_EQ(items[i]->objectName(), expected[i][1]);
  }
  // The sample telegram is in the fields, with the edit's own line breaks.
  EXPECT_TRUE(Get<QPlainTextEdit>(ids::kBody)->toPlainText().startsWith("[ホレ]ハルカナ"));
  EXPECT_EQ(Get<QLineEdit>(ids::kTime)->text(), "コ9,05");
  EXPECT_EQ(Get<QLineEdit>(ids::kFrequency)->text(), "440");
}

// The menu item, as a click reaches it, fills the real controls with the
// telegram of the next seed; multi-line fields keep the core's text.
TEST_F(MainWindowTest, PracticeMenuItemFillsTheFields) {
  std::uint64_t next = 41;
  main.practice_seed = [&] { return next++; };
  QAction* item =
      window.findChild<QMenuBar*>()->findChild<QAction*>(QString::number(ids::kPracticeMenuItem));
  ASSERT_NE(item, nullptr);
  for (std::uint64_t seed : {41u, 42u}) {
    item->trigger();
    const TelegramFields made = MakePracticeTelegram({}, seed);
    EXPECT_EQ(Get<QLineEdit>(ids::kCount)->text(), QString::fromStdU16String(made.count));
    EXPECT_EQ(Get<QLineEdit>(ids::kStation)->text(), QString::fromStdU16String(made.station));
    EXPECT_EQ(Get<QLineEdit>(ids::kNumber)->text(), QString::fromStdU16String(made.number));
    EXPECT_EQ(Get<QLineEdit>(ids::kTime)->text(), QString::fromStdU16String(made.time));
    EXPECT_EQ(window.GetControlText(ids::kAddressee, ids::kAddresseeBuffer), made.addressee);
    EXPECT_EQ(window.GetControlText(ids::kBody, ids::kBodyBuffer), made.body);
  }
  EXPECT_EQ(next, 43u);
  EXPECT_FALSE(window.destroyed());
}

TEST_F(MainWindowTest, TabOrderFollowsTheTemplate) {
  const int order[] = {2004, 2002, 2003, 5001, 1001, 1002, 1003,
                       1004, 1005, 1006, 3000, 3001, 8003};
  QApplication::setActiveWindow(&window);
  window.Control(order[0])->setFocus();
  for (std::size_t i = 0; i + 1 < std::size(order); ++i) {
    ASSERT_EQ(QApplication::focusWidget(), window.Control(order[i])) << order[i];
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  }
  EXPECT_EQ(QApplication::focusWidget(), window.Control(order[std::size(order) - 1]));
}

TEST_F(MainWindowTest, SpinButtonsStepWithinTheRange) {
  auto* spin = dynamic_cast<SpinButtons*>(window.Control(ids::kFrequencySpin));
  QLineEdit* freq = Get<QLineEdit>(ids::kFrequency);
  QTest::mouseClick(spin->up(), Qt::LeftButton);
  EXPECT_EQ(freq->text(), "441");
  QTest::mouseClick(spin->down(), Qt::LeftButton);
  QTest::mouseClick(spin->down(), Qt::LeftButton);
  EXPECT_EQ(freq->text(), "439");
  freq->setText("2000");
  QTest::mouseClick(spin->up(), Qt::LeftButton);
  EXPECT_EQ(freq->text(), "2000");
  freq->setFocus();
  QTest::keyClick(freq, Qt::Key_Down);
  EXPECT_EQ(freq->text(), "1999");
  // Typed text stays as typed until a step.
  freq->setText("abc");
  EXPECT_EQ(freq->text(), "abc");

  QLineEdit* speed = Get<QLineEdit>(ids::kSpeed);
  speed->setText("1,500");
  QTest::keyClick(speed, Qt::Key_Up);
  EXPECT_EQ(speed->text(), "20")
      << "1 (the number the text starts with) plus one, raised to the range";
  speed->setText("20");
  QTest::keyClick(speed, Qt::Key_Down);
  EXPECT_EQ(speed->text(), "20");
}

TEST_F(MainWindowTest, MultiLineFieldsCarryCrLfInTheCore) {
  window.SetControlText(ids::kAddressee, u"ミドリ」\r\nハナシ」");
  EXPECT_EQ(Get<QPlainTextEdit>(ids::kAddressee)->toPlainText(), "ミドリ」\nハナシ」");
  EXPECT_EQ(window.GetControlText(ids::kAddressee, 512), u"ミドリ」\r\nハナシ」");
  EXPECT_EQ(window.GetControlText(ids::kAddressee, 4), u"ミドリ");
}

TEST_F(MainWindowTest, EscSavesTheSettingsAndCloses) {
  Get<QLineEdit>(ids::kFrequency)->setText("700");
  Get<QCheckBox>(ids::kOpenFolder)->setChecked(false);
  QTest::keyClick(&window, Qt::Key_Escape);
  EXPECT_TRUE(window.destroyed());
  EXPECT_EQ(Settings(),
            "[General]\nFreqHz=700\nCpm=100\nRiseMs=0\nEffectiveCpm=0\nOpenAudio=0\nOpenTextJpg=0\n"
            "OpenWabunDir=0\n");
}

TEST_F(MainWindowTest, CloseBoxAndCancelButtonTakeTheSamePath) {
  window.close();
  EXPECT_TRUE(window.destroyed());
  EXPECT_EQ(Settings(),
            "[General]\nFreqHz=440\nCpm=100\nRiseMs=0\nEffectiveCpm=0\nOpenAudio=0\nOpenTextJpg=0\n"
            "OpenWabunDir=1\n");
}

// Told to stop while the encoder runs (the session ending, `kill`): the run
// is cancelled, so no encoder is left behind and its partial MP3 goes, the
// whole WAV stays, no message waits for an answer, and the window closes as
// its close box would.
TEST_F(MainWindowTest, StopWhileTheEncoderRunsEndsItKeepsTheWavAndCloses) {
  testing::PlaceStandInEncoder(dir.path(), "hang");
  const auto files_named = [this](const std::string& extension) {
    std::vector<std::filesystem::path> found;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(dir.path())) {
      if (entry.path().extension() == extension && entry.path().parent_path() != dir.path()) {
        found.push_back(entry.path());
      }
    }
    return found;
  };
  bool stopped = false;
  QTimer encoder_writing;
  QObject::connect(&encoder_writing, &QTimer::timeout, [&] {
    const auto mp3s = files_named(".mp3");
    if (!stopped && !mp3s.empty() && std::filesystem::file_size(mp3s.front()) > 0) {
      stopped = true;
      window.RequestStop();
    }
  });
  encoder_writing.start(20);
  // A message box would wait for an answer that never comes.
  std::vector<QString> boxes;
  QTimer boxes_shown;
  QObject::connect(&boxes_shown, &QTimer::timeout, [&] {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
      boxes.push_back(box->text());
      box->close();
    }
  });
  boxes_shown.start(100);

  Get<QPushButton>(ids::kOutputButton)->click();
  ASSERT_TRUE(stopped);
  EXPECT_TRUE(boxes.empty()) << boxes.front().toStdString();
  EXPECT_TRUE(window.destroyed());
  EXPECT_NE(Settings().find("FreqHz=440"), std::string::npos) << "saved as on close";
  EXPECT_TRUE(files_named(".mp3").empty());
  const auto wavs = files_named(".wav");
  ASSERT_EQ(wavs.size(), 1u);
  for (const auto& entry : std::filesystem::directory_iterator(wavs.front().parent_path())) {
    EXPECT_NE(entry.path().filename().string().front(), '.') << "left behind: " << entry.path();
  }
}

// What the progress window's work throws comes back to the window's thread,
// never std::terminate; the command guard catches it whatever its type, and
// the window goes on.
TEST_F(MainWindowTest, ThrowingWorkComesBackToTheWindowAndIsGuarded) {
  EXPECT_THROW(window.RunWithProgress(u"電報出力", [](ProgressReporter&) { throw 42; }), int);
  std::vector<QString> boxes;
  QTimer boxes_shown;
  QObject::connect(&boxes_shown, &QTimer::timeout, [&] {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
      boxes.push_back(box->text());
      box->close();
    }
  });
  boxes_shown.start(50);
  GuardCommand(window, [this] {
    window.RunWithProgress(u"電報出力", [](ProgressReporter&) { throw std::string("lost"); });
  });
  EXPECT_EQ(boxes, std::vector<QString>{QStringLiteral("処理を続けられませんでした。")});
  EXPECT_FALSE(window.destroyed());
}

TEST_F(MainWindowTest, StopWhileIdleClosesAsTheCloseBoxWould) {
  window.RequestStop();
  EXPECT_TRUE(window.destroyed());
  EXPECT_NE(Settings().find("OpenWabunDir=1"), std::string::npos);
}

// Chooses the menu item 音声の設定… and, once its dialog is up, lets `answer`
// work the dialog and close it.
void ChooseKeyingItem(MainWindow& window, const std::function<void(KeyingDialog&)>& answer) {
  QAction* item = window.findChild<QMenuBar*>()->findChild<QAction*>("40002");
  ASSERT_NE(item, nullptr);
  bool answered = false;
  QTimer::singleShot(0, &window, [&] {
    auto* dialog = window.findChild<KeyingDialog*>();
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->isModal());
    EXPECT_TRUE(dialog->isVisible());
    answer(*dialog);
    answered = true;
  });
  item->trigger();
  EXPECT_TRUE(answered);
  EXPECT_EQ(window.findChild<KeyingDialog*>(), nullptr) << "the dialog is gone after it closed";
}

TEST_F(MainWindowTest, KeyingDialogFromTheMenuKeepsItsValuesUntilClose) {
  Get<QLineEdit>(ids::kSpeed)->setText("120");
  ChooseKeyingItem(window, [](KeyingDialog& d) {
    EXPECT_EQ(d.windowTitle(), "音声の設定");
    EXPECT_EQ(d.rise()->text(), "0");
    EXPECT_EQ(d.effective()->text(), "120") << "off is the top of the range: the speed";
    for (int i = 0; i < 25; ++i) {
      QTest::mouseClick(d.rise_spin()->up(), Qt::LeftButton);
    }
    EXPECT_EQ(d.rise()->text(), "20");
    QTest::mouseClick(d.effective_spin()->up(), Qt::LeftButton);
    EXPECT_EQ(d.effective()->text(), "120");
    d.effective()->setText("６０");
    QTest::mouseClick(d.buttons()->button(QDialogButtonBox::Ok), Qt::LeftButton);
  });
  EXPECT_EQ(main.keying, (KeyingOptions{.rise_ms = 20, .effective_cpm = 60}));

  ChooseKeyingItem(window, [](KeyingDialog& d) {
    EXPECT_EQ(d.rise()->text(), "20");
    EXPECT_EQ(d.effective()->text(), "60");
    d.rise()->setText("3");
    QTest::keyClick(&d, Qt::Key_Escape);
  });
  EXPECT_EQ(main.keying, (KeyingOptions{.rise_ms = 20, .effective_cpm = 60})) << "cancelled";

  QTest::keyClick(&window, Qt::Key_Escape);
  EXPECT_EQ(Settings(),
            "[General]\nFreqHz=440\nCpm=120\nRiseMs=20\nEffectiveCpm=60\nOpenAudio=0\n"
            "OpenTextJpg=0\nOpenWabunDir=1\n");
}

TEST(KeyingDialog, SpinsKeepTheirRangesAndTypedTextIsReadAsANumber) {
  KeyingDialog d({.rise_ms = 5, .effective_cpm = 50}, 80, nullptr);
  EXPECT_EQ(d.Values(), (KeyingOptions{.rise_ms = 5, .effective_cpm = 50}));
  d.effective()->setText("79");
  QTest::mouseClick(d.effective_spin()->up(), Qt::LeftButton);
  QTest::mouseClick(d.effective_spin()->up(), Qt::LeftButton);
  EXPECT_EQ(d.effective()->text(), "80");
  d.effective()->setText("21");
  QTest::mouseClick(d.effective_spin()->down(), Qt::LeftButton);
  QTest::mouseClick(d.effective_spin()->down(), Qt::LeftButton);
  EXPECT_EQ(d.effective()->text(), "20");
  d.rise()->setText("1");
  QTest::mouseClick(d.rise_spin()->down(), Qt::LeftButton);
  QTest::mouseClick(d.rise_spin()->down(), Qt::LeftButton);
  EXPECT_EQ(d.rise()->text(), "0");
  // Typed text outside the range is the caller's to bound; no number keeps
  // the shown value.
  d.rise()->setText("abc");
  d.effective()->setText("300");
  EXPECT_EQ(d.Values(), (KeyingOptions{.rise_ms = 5, .effective_cpm = 300}));
}

// The menu item runs the practice dialog over the main window, as the real
// window runs it: a new telegram stays out of the main fields, playing reaches
// the player, a copy is scored, and Esc closes the practice dialog alone.
TEST_F(MainWindowTest, PracticeDialogFromTheMenuRunsModallyAndEscClosesOnlyIt) {
  testing::FakePlayer player;
  main.player = &player;
  main.scratch_folder = dir.path();
  const std::filesystem::path form = u8"和文電報受信用紙.jpg";
  std::filesystem::copy_file(std::filesystem::path(HOSHIZORA_ASSETS_DIR) / form, dir.path() / form);
  const QString body = Get<QPlainTextEdit>(ids::kBody)->toPlainText();
  std::vector<QString> boxes;
  QTimer boxes_shown;
  QObject::connect(&boxes_shown, &QTimer::timeout, [&] {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
      boxes.push_back(box->text());
      box->close();
    }
  });
  boxes_shown.start(100);

  bool visited = false;
  QTimer::singleShot(0, &window, [&] {
    MainWindow* practice = nullptr;
    for (MainWindow* child : window.findChildren<MainWindow*>()) {
      practice = child->windowTitle() == "受信練習" ? child : practice;
    }
    ASSERT_NE(practice, nullptr);
    EXPECT_TRUE(practice->isVisible());
    EXPECT_EQ(practice->windowModality(), Qt::ApplicationModal);
    const auto get = [practice](int id) { return practice->Control(id); };
    EXPECT_FALSE(get(ids::kPlayButton)->isEnabled());
    qobject_cast<QLineEdit*>(get(ids::kLength))->setText("10-12");
    QTest::mouseClick(get(ids::kNewPracticeButton), Qt::LeftButton);
    EXPECT_TRUE(qobject_cast<QLabel*>(get(ids::kKeyStatus))->text().contains("和文電報_"));
    EXPECT_EQ(Get<QPlainTextEdit>(ids::kBody)->toPlainText(), body) << "the answer stays hidden";
    QTest::mouseClick(get(ids::kPlayButton), Qt::LeftButton);
    EXPECT_EQ(player.played.size(), 1u);
    EXPECT_TRUE(get(ids::kStopButton)->isEnabled());
    QTest::mouseClick(get(ids::kStopButton), Qt::LeftButton);
    EXPECT_EQ(player.stops, 1);
    auto* copy = qobject_cast<QPlainTextEdit*>(get(ids::kCopy));
    copy->setPlainText("アイウ\nエオ");
    QTest::mouseClick(get(ids::kScoreButton), Qt::LeftButton);
    auto* result = qobject_cast<QPlainTextEdit*>(get(ids::kResult));
    EXPECT_TRUE(result->isReadOnly());
    EXPECT_TRUE(result->toPlainText().startsWith("得点 ")) << result->toPlainText().toStdString();
    copy->setFocus();
    QTest::keyClick(copy, Qt::Key_Escape);
    visited = true;
  });
  QAction* item = window.findChild<QMenuBar*>()->findChild<QAction*>("40004");
  ASSERT_NE(item, nullptr);
  item->trigger();
  EXPECT_TRUE(visited);
  EXPECT_TRUE(boxes.empty()) << boxes.front().toStdString();
  EXPECT_TRUE(window.findChildren<MainWindow*>().empty()) << "the practice dialog is gone";
  EXPECT_FALSE(window.destroyed()) << "Esc closed the practice dialog and nothing else";
  EXPECT_EQ(Get<QPlainTextEdit>(ids::kBody)->toPlainText(), body);
}

// The sending dialog likewise: a telegram made is shown to send from, the
// recorder's take is kept beside it and read, and Esc closes it alone.
TEST_F(MainWindowTest, SendingDialogFromTheMenuRecordsAndReads) {
  testing::FakeRecorder recorder;
  recorder.taken = Recording{8000, std::vector<std::int16_t>(16000, 0)};
  main.recorder = &recorder;
  const std::filesystem::path form = u8"和文電報受信用紙.jpg";
  std::filesystem::copy_file(std::filesystem::path(HOSHIZORA_ASSETS_DIR) / form, dir.path() / form);
  bool visited = false;
  QTimer::singleShot(0, &window, [&] {
    MainWindow* sending = nullptr;
    for (MainWindow* child : window.findChildren<MainWindow*>()) {
      sending = child->windowTitle() == "送信練習" ? child : sending;
    }
    ASSERT_NE(sending, nullptr);
    EXPECT_EQ(sending->windowModality(), Qt::ApplicationModal);
    const auto get = [sending](int id) { return sending->Control(id); };
    EXPECT_FALSE(get(ids::kRecordButton)->isEnabled());
    qobject_cast<QLineEdit*>(get(ids::kLength))->setText("10-12");
    QTest::mouseClick(get(ids::kNewPracticeButton), Qt::LeftButton);
    auto* text = qobject_cast<QPlainTextEdit*>(get(ids::kSendText));
    EXPECT_TRUE(text->isReadOnly());
    EXPECT_TRUE(text->toPlainText().contains("[ホレ]")) << text->toPlainText().toStdString();
    QTest::mouseClick(get(ids::kRecordButton), Qt::LeftButton);
    EXPECT_TRUE(recorder.recording);
    QTest::mouseClick(get(ids::kStopRecordButton), Qt::LeftButton);
    auto* result = qobject_cast<QPlainTextEdit*>(get(ids::kResult));
    EXPECT_TRUE(result->toPlainText().startsWith("モールス符号を聞き取れませんでした"))
        << result->toPlainText().toStdString();
    EXPECT_TRUE(qobject_cast<QLabel*>(get(ids::kRecordStatus))->text().contains("送信_"));
    QTest::keyClick(get(ids::kResult), Qt::Key_Escape);
    visited = true;
  });
  window.findChild<QMenuBar*>()->findChild<QAction*>("40005")->trigger();
  EXPECT_TRUE(visited);
  EXPECT_TRUE(window.findChildren<MainWindow*>().empty()) << "the sending dialog is gone";
  EXPECT_FALSE(window.destroyed());
}

// While the encoder runs nobody knows how far along it is: the bar moves to
// and fro (range 0 to 0) instead of sitting empty, and a known share brings
// the plain bar back.
TEST(ProgressWindowReporter, UnknownShareShowsABusyBar) {
  QProgressDialog dialog;
  dialog.setRange(0, ProgressWindowReporter::kSteps);
  ProgressWindowReporter reporter(&dialog);
  reporter.Report(u"受信用紙 2/3 を作成中", 0.5);
  QCoreApplication::processEvents();
  EXPECT_EQ(dialog.maximum(), ProgressWindowReporter::kSteps);
  EXPECT_EQ(dialog.value(), ProgressWindowReporter::kSteps / 2);
  reporter.Report(u"音声を書き込み、MP3に変換中", ProgressReporter::kUnknownShare);
  QCoreApplication::processEvents();
  EXPECT_EQ(dialog.minimum(), 0);
  EXPECT_EQ(dialog.maximum(), 0);
  EXPECT_EQ(dialog.labelText(), QStringLiteral("音声を書き込み、MP3に変換中"));
  reporter.Report(u"受信用紙 3/3 を作成中", 2.0 / 3);
  QCoreApplication::processEvents();
  EXPECT_EQ(dialog.maximum(), ProgressWindowReporter::kSteps);
  EXPECT_EQ(dialog.value(), 666);
  EXPECT_FALSE(reporter.Cancel());
  reporter.PressCancel();
  EXPECT_TRUE(reporter.Cancel());
}

}  // namespace
}  // namespace hoshizora
