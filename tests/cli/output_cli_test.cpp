#include "cli/output_cli.h"

#include <gtest/gtest.h>

#include <sstream>

#include "cli/console_sink.h"
#include "cli/japanese_run.h"
#include "platform/ini_file.h"
#include "support/recording_canvas.h"
#include "support/temp_dir.h"
#include "support/test_system.h"
#include "telegram_file/telegram_text_format.h"

namespace hoshizora {
namespace {

namespace fs = std::filesystem;

// The request the command line builds, without starting a process or a run.
class OutputCliTest : public ::testing::Test {
 protected:
  OutputCliTest() {
    fs::create_directories(program);
    fs::create_directories(out);
    testing::WriteFileBytes(telegram, SerializeTelegramText(fields));
  }
  std::variant<OutputRequest, CliRefusal> Build(const std::vector<std::string>& args) {
    return BuildOutputRequest(args, system, settings, PortableFolders(program));
  }
  OutputRequest Request(const std::vector<std::string>& args) {
    auto built = Build(args);
    if (auto* refusal = std::get_if<CliRefusal>(&built)) {
      ADD_FAILURE() << refusal->message;
      return {};
    }
    return std::get<OutputRequest>(built);
  }
  std::string Refusal(const std::vector<std::string>& args) {
    auto built = Build(args);
    const auto* refusal = std::get_if<CliRefusal>(&built);
    return refusal != nullptr ? refusal->message : "(no refusal)";
  }

  testing::TempDir dir;
  fs::path program = dir.path() / "program";
  fs::path out = dir.path() / "出力";
  fs::path telegram = dir.path() / "t.txt";
  TelegramFields fields{u"一二",          u"七六", u"五一", u"コ6,51", u"ミドリ」\r\nハナ」",
                        u"[ホレ]ア[ラタ]"};
  testing::TestSystem system{program / "hoshizora-cli"};
  IniFileStore settings{system, program / "settings.ini"};
};

TEST_F(OutputCliTest, RequestFromATelegramFileAndFlags) {
  const OutputRequest r =
      Request({telegram.string(), "--freq", "７００", "--cpm", "120", "--out", out.string()});
  EXPECT_EQ(r.fields.count, fields.count);
  EXPECT_EQ(r.fields.addressee, fields.addressee);
  EXPECT_EQ(r.fields.body, fields.body);
  EXPECT_EQ(r.frequency, 700);
  EXPECT_EQ(r.speed, 120);
  EXPECT_EQ(r.output_root, out);
  EXPECT_EQ(r.program_folder, program);
  EXPECT_FALSE(r.open_audio || r.open_listing || r.open_folder) << "a terminal opens nothing";
}

TEST_F(OutputCliTest, ToneComesFromTheSettingsWithoutFlags) {
  OutputRequest r = Request({});
  EXPECT_EQ(r.frequency, 440);
  EXPECT_EQ(r.speed, 100);
  EXPECT_EQ(r.fields.body.substr(0, 4), u"[ホレ]") << "the sample telegram";
  EXPECT_EQ(r.output_root, program);
  testing::WriteFileBytes(program / "settings.ini", "[General]\nFreqHz=5000\nCpm=150\n");
  r = Request({"--freq", "800"});
  EXPECT_EQ(r.frequency, 800);
  EXPECT_EQ(r.speed, 150);
  EXPECT_EQ(Request({}).frequency, 2000) << "bounded like the window's";
}

TEST_F(OutputCliTest, KeyingFlagsWithinTheirRanges) {
  EXPECT_EQ(Request({}).keying, KeyingOptions{}) << "off without flags or settings";
  const OutputRequest r = Request({"--rise-ms", "５", "--effective-cpm", " 50 ", "--cpm", "120"});
  EXPECT_EQ(r.keying, (KeyingOptions{.rise_ms = 5, .effective_cpm = 50}));
  EXPECT_EQ(Request({"--rise-ms", "0", "--effective-cpm", "20"}).keying,
            (KeyingOptions{.effective_cpm = 20}));
  EXPECT_EQ(Request({"--rise-ms", "20", "--effective-cpm", "100"}).keying,
            (KeyingOptions{.rise_ms = 20}))
      << "the speed itself is plain spacing";
  EXPECT_EQ(Request({"--effective-cpm", "120", "--cpm", "120"}).keying, KeyingOptions{});
}

// The settings give what the flags leave out, bounded for the speed used: a
// lower --cpm turns a stored effective speed off.
TEST_F(OutputCliTest, KeyingComesFromTheSettingsWithoutFlags) {
  testing::WriteFileBytes(program / "settings.ini",
                          "[General]\nCpm=100\nRiseMs=8\nEffectiveCpm=60\n");
  EXPECT_EQ(Request({}).keying, (KeyingOptions{.rise_ms = 8, .effective_cpm = 60}));
  EXPECT_EQ(Request({"--rise-ms", "0"}).keying, (KeyingOptions{.effective_cpm = 60}));
  EXPECT_EQ(Request({"--cpm", "50"}).keying, (KeyingOptions{.rise_ms = 8}));
  EXPECT_EQ(Request({"--effective-cpm", "30"}).keying,
            (KeyingOptions{.rise_ms = 8, .effective_cpm = 30}));
  testing::WriteFileBytes(program / "settings.ini",
                          "[General]\nCpm=100\nRiseMs=999\nEffectiveCpm=300\n");
  EXPECT_EQ(Request({}).keying, (KeyingOptions{.rise_ms = 20})) << "bounded like the window's";
}

TEST_F(OutputCliTest, KeyingFlagsOutsideTheirRangesAreRefused) {
  const std::string rise = "hoshizora-cli: the rise time (ms) must be a number from 0 to 20.";
  for (const char* bad : {"21", "-1", "abc", "5ms", "", "1,0"}) {
    EXPECT_EQ(Refusal({"--rise-ms", bad}), rise) << bad;
  }
  EXPECT_EQ(Refusal({"--effective-cpm", "19"}),
            "hoshizora-cli: the effective speed (CPM) must be a number from 20 to 100.");
  EXPECT_EQ(Refusal({"--cpm", "120", "--effective-cpm", "121"}),
            "hoshizora-cli: the effective speed (CPM) must be a number from 20 to 120.");
  testing::WriteFileBytes(program / "settings.ini", "[General]\nCpm=60\n");
  EXPECT_EQ(Refusal({"--effective-cpm", "80"}),
            "hoshizora-cli: the effective speed (CPM) must be a number from 20 to 60.")
      << "the range ends at the speed from the settings";
  EXPECT_EQ(Refusal({"--cpm", "300", "--effective-cpm", "x"}),
            "hoshizora-cli: the speed (CPM) must be a number from 20 to 200.")
      << "a bad speed is named first";
  EXPECT_EQ(Refusal({"--rise-ms"}), "hoshizora-cli: --rise-ms needs a value");
}

TEST_F(OutputCliTest, OutNamesTheFolderItselfWithOrWithoutASeparator) {
  for (const std::string& arg : {out.string() + "/", out.string() + "/.", out.string() + "//",
                                 (out / ".." / "出力").string()}) {
    EXPECT_EQ(Request({"--out", arg}).output_root, out) << arg;
  }
  const fs::path old = fs::current_path();
  fs::current_path(dir.path());
  EXPECT_EQ(Request({"--out", "出力/"}).output_root, out);
  fs::current_path(old);
}

TEST_F(OutputCliTest, BadArgumentsAreRefusedWithAReason) {
  testing::WriteFileBytes(dir.path() / "file", "x");
  EXPECT_EQ(Refusal({"--out", ""}), "hoshizora-cli: --out needs a folder");
  EXPECT_NE(Refusal({"--out", (dir.path() / "file").string()}).find("not a folder"),
            std::string::npos);
  EXPECT_NE(Refusal({"--out", (dir.path() / "none").string()}).find("no such folder"),
            std::string::npos);
  EXPECT_EQ(Refusal({"--freq", "99"}),
            "hoshizora-cli: the frequency (Hz) must be a number from 100 to 2000.");
  EXPECT_EQ(Refusal({"--cpm", "1,5"}),
            "hoshizora-cli: the speed (CPM) must be a number from 20 to 200.");
  EXPECT_EQ(Refusal({"a", "b"}), "hoshizora-cli: unexpected argument 'b'");
  EXPECT_EQ(Refusal({"--cpm"}), "hoshizora-cli: --cpm needs a value");
}

// An empty or tagless file would make a run of nothing called complete; a
// UTF-16 file from a Windows editor is read.
TEST_F(OutputCliTest, FilesWithoutATelegramAreRefusedAndUtf16IsRead) {
  for (const std::string& bytes : {std::string(), std::string("memo\n")}) {
    testing::WriteFileBytes(telegram, bytes);
    EXPECT_EQ(Refusal({telegram.string()}),
              "hoshizora-cli: " + telegram.string() +
                  ": this file holds no telegram (no [VALA]-[VALE] or [TEXT] lines).");
  }
  std::string utf16 = "\xFE\xFF";  // big-endian
  for (char16_t c : std::u16string_view(u"[TEXT]\n[ホレ]ア[ラタ]")) {
    utf16 += static_cast<char>(c >> 8);
    utf16 += static_cast<char>(c & 0xFF);
  }
  testing::WriteFileBytes(telegram, utf16);
  EXPECT_EQ(Request({telegram.string()}).fields.body, u"[ホレ]ア[ラタ]");
}

TEST_F(OutputCliTest, TelegramFilesThatCannotBeReadWholeAreRefused) {
  EXPECT_NE(Refusal({(dir.path() / "none.txt").string()}).find("cannot read"), std::string::npos);
  EXPECT_NE(Refusal({dir.path().string()}).find("not a regular file"), std::string::npos);
  EXPECT_NE(Refusal({"/dev/zero"}).find("not a regular file"), std::string::npos);
  testing::WriteFileBytes(dir.path() / "big.txt", std::string(1024 * 1024 + 1, 'x'));
  EXPECT_NE(Refusal({(dir.path() / "big.txt").string()}).find("larger than 1 MiB"),
            std::string::npos);
  system.read_fails = FileRead::Status::kReadFailed;  // an I/O error part way
  EXPECT_NE(Refusal({telegram.string()}).find("cannot read"), std::string::npos);
}

// Installed: without --out the folder goes into the folder the command was
// started in; the template comes from share/ and the encoder from bin/.
TEST_F(OutputCliTest, InstalledCopyWritesIntoTheCurrentFolder) {
  ProgramFolders folders;
  folders.mode = ProgramMode::kInstalled;
  folders.data_folder = dir.path() / "share" / "hoshizora";
  folders.encoder_folder = program;
  const fs::path old = fs::current_path();
  fs::current_path(out);
  const auto here = BuildOutputRequest({}, system, settings, folders);
  fs::current_path(old);
  ASSERT_TRUE(std::holds_alternative<OutputRequest>(here));
  const OutputRequest& r = std::get<OutputRequest>(here);
  EXPECT_EQ(r.output_root, fs::canonical(out));
  EXPECT_EQ(r.data_folder, folders.data_folder);
  EXPECT_EQ(r.program_folder, program);

  const auto elsewhere =
      BuildOutputRequest({"--out", dir.path().string()}, system, settings, folders);
  ASSERT_TRUE(std::holds_alternative<OutputRequest>(elsewhere));
  EXPECT_EQ(std::get<OutputRequest>(elsewhere).output_root, dir.path());
}

// --quiet is a flag of its own: it takes no value and leaves the request alone.
TEST_F(OutputCliTest, QuietTakesNoValue) {
  const OutputRequest r = Request({"--quiet", telegram.string(), "--cpm", "120", "--quiet"});
  EXPECT_EQ(r.fields.body, fields.body);
  EXPECT_EQ(r.speed, 120);
  EXPECT_EQ(Refusal({"--quiet", "a", "b"}), "hoshizora-cli: unexpected argument 'b'");
}

// A folder that cannot be made is named with the system's reason, and the
// summary names no folder, since none was made.
TEST_F(OutputCliTest, FolderThatCannotBeMadeIsNamedWithTheReason) {
  system.folder_fails = FolderMade::kReadOnly;
  const std::string tried = (out / "和文電報_20240131_090507").string();
  const auto run = [&] {
    std::ostringstream printed;
    std::ostringstream errors;
    testing::RecordingCanvas canvas;
    const int status = RunOutputCli({"--quiet", "--out", out.string()}, printed, errors, system,
                                    settings, [&]() -> Canvas& { return canvas; }, {});
    EXPECT_EQ(status, 1);
    return printed.str() + errors.str();
  };
  const std::string english = run();
  EXPECT_NE(english.find("incomplete: 0 files, 1 failed\n"), std::string::npos) << english;
  EXPECT_NE(english.find("could not make the output folder " + tried + " (read-only file system)"),
            std::string::npos)
      << english;
  const testing::JapaneseRun japanese;
  const std::string ja = run();
  EXPECT_NE(ja.find("未完了: 出力フォルダを作れず、1 件が失敗しました\n"), std::string::npos) << ja;
  EXPECT_NE(ja.find("出力フォルダを作成できませんでした: " + tried + "（読み取り専用の場所です）"),
            std::string::npos)
      << ja;
}

// Progress lines wait until the run has taken a while, then show each new step once.
TEST(ConsoleSink, QuietAtFirstThenEachNewStepOnce) {
  const testing::JapaneseRun japanese;
  auto now = std::chrono::steady_clock::time_point{};
  std::ostringstream err;
  ConsoleSink sink(err, [&] { return now; });
  sink.Report(u"テキスト画像を作成中", 0.0);
  now += std::chrono::milliseconds(499);
  sink.Report(u"受信用紙 1/3 を作成中", 0.0);
  EXPECT_EQ(err.str(), "");
  now += std::chrono::milliseconds(1);
  sink.Report(u"受信用紙 2/3 を作成中", 1.0 / 3);
  sink.Report(u"受信用紙 2/3 を作成中", 1.0 / 3);
  sink.Report(u"音声を書き込み、MP3に変換中", ProgressReporter::kUnknownShare);
  sink.ShowMessage(u"出力が完了しました。", u"完了", MessageIcon::kNone);
  EXPECT_EQ(err.str(),
            "hoshizora-cli: 受信用紙 2/3 を作成中 (33%)\n"
            "hoshizora-cli: 音声を書き込み、MP3に変換中\n"
            "完了: 出力が完了しました。\n");
  EXPECT_FALSE(sink.Cancel());
}

// A telegram's control characters and bidi marks reach the terminal only as
// codes: an escape sequence could recolour it, a right-to-left override
// reorder every line after it.
TEST(ConsoleSink, ControlCharactersAndBidiMarksArePrintedAsCodes) {
  const testing::JapaneseRun japanese;
  std::ostringstream err;
  ConsoleSink sink(err);
  sink.ShowMessage(u"文字: \x1b[31mア\u202Eイ\u2066\u200F\x7F\x85\r\x01\tウ\r\nエ\n", u"エラー",
                   MessageIcon::kError);
  EXPECT_EQ(err.str(),
            "エラー: 文字: U+001B[31mアU+202EイU+2066U+200FU+007FU+0085U+000DU+0001\tウ\r\nエ\n\n");
}

// The run watches the flag it is given (the program's signal handlers set it).
TEST(ConsoleSink, CancelComesFromOutside) {
  std::ostringstream err;
  CancelFlag interrupted{false};
  ConsoleSink sink(err, std::chrono::steady_clock::now, {}, &interrupted);
  EXPECT_FALSE(sink.Cancel());
  interrupted = true;
  EXPECT_TRUE(sink.Cancel());
}

}  // namespace
}  // namespace hoshizora
