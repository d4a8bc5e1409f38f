#include "cli/output_cli.h"

#include <gtest/gtest.h>

#include <sstream>

#include "cli/console_sink.h"
#include "platform/ini_file.h"
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
    return BuildOutputRequest(args, system, settings);
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
  EXPECT_TRUE(r.output_root.empty()) << "the program folder";
  testing::WriteFileBytes(program / "settings.ini", "[General]\nFreqHz=5000\nCpm=150\n");
  r = Request({"--freq", "800"});
  EXPECT_EQ(r.frequency, 800);
  EXPECT_EQ(r.speed, 150);
  EXPECT_EQ(Request({}).frequency, 2000) << "bounded like the window's";
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
            "エラー: 周波数(Hz)は100から2000までの数字で入力してください。");
  EXPECT_EQ(Refusal({"--cpm", "1,5"}),
            "エラー: 速度(CPM)は20から200までの数字で入力してください。");
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
                  ": このファイルには電報がありません([VALA]〜[VALE]、[TEXT]の行がありません)。");
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

// Progress lines wait until the run has taken a while, then show each new step once.
TEST(ConsoleSink, QuietAtFirstThenEachNewStepOnce) {
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
  ConsoleSink sink(err, std::chrono::steady_clock::now, &interrupted);
  EXPECT_FALSE(sink.Cancel());
  interrupted = true;
  EXPECT_TRUE(sink.Cancel());
}

}  // namespace
}  // namespace hoshizora
