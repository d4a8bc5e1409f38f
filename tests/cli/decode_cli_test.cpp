#include "cli/decode_cli.h"

#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <sstream>

#include "audio/telegram_audio.h"
#include "base/utf8.h"
#include "cli/japanese_run.h"
#include "encoding/encode_telegram.h"
#include "history/history_file.h"
#include "imaging/timing_chart.h"
#include "platform/ini_file.h"
#include "support/keyed_signal.h"
#include "support/recording_canvas.h"
#include "support/temp_dir.h"
#include "support/test_system.h"

namespace hoshizora {
namespace {

namespace fs = std::filesystem;

class DecodeCliTest : public ::testing::Test {
 protected:
  DecodeCliTest() { fs::create_directories(program); }

  fs::path Write(const std::string& name, const std::string& bytes) {
    const fs::path path = dir.path() / name;
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
  }
  fs::path KeyedWav(std::u16string_view telegram, const testing::Hand& hand = {}) {
    const auto keying = testing::KeyCode(EncodeTelegram(telegram), 0.109, hand);
    return Write("keyed.wav", testing::WavBytes(testing::Tone(keying, 8000, 700), {.rate = 8000}));
  }
  int Run(const std::vector<std::string>& args) {
    out.str("");
    err.str("");
    return RunDecodeCli(args, out, err, system, settings, [this]() -> Canvas& { return canvas; });
  }

  testing::TempDir dir;
  fs::path program = dir.path() / "program";
  testing::TestSystem system{program / "hoshizora-cli"};
  IniFileStore settings{system, program / "settings.ini"};
  testing::RecordingCanvas canvas;
  std::ostringstream out;
  std::ostringstream err;
};

TEST_F(DecodeCliTest, PrintsTheTextThenTheFeedback) {
  const fs::path wav = KeyedWav(u"[ホレ]ヨテイドオリ[ラタ]");
  ASSERT_EQ(Run({wav.string()}), 0) << err.str();
  const std::string printed = out.str();
  EXPECT_TRUE(printed.starts_with("[ホレ]ヨテイト゛オリ[ラタ]\n\n")) << printed;
  EXPECT_NE(printed.find("unit: 109.0 ms  speed: 100.1 CPM (11.0 WPM)\n"), std::string::npos)
      << printed;
  EXPECT_NE(printed.find("dah/dit: 3.00"), std::string::npos) << printed;
  EXPECT_EQ(err.str(), "");
}

TEST_F(DecodeCliTest, JsonHoldsTheDocumentedFieldsInOrder) {
  const fs::path wav = KeyedWav(u"[ホレ]ヨテイドオリ[ラタ]");
  ASSERT_EQ(Run({"--json", wav.string()}), 0) << err.str();
  const std::string json = out.str();
  std::string keys;
  const std::regex key("\"([a-z_]+)\": ");
  for (auto it = std::sregex_iterator(json.begin(), json.end(), key); it != std::sregex_iterator();
       ++it) {
    keys += (*it)[1].str() + " ";
  }
  EXPECT_EQ(keys,
            "text body found_start found_end tone_hz unit_ms cpm wpm speed_cv drift_cpm_per_min "
            "dah_dit_ratio element_gap_units char_gap_units word_gap_units at_risk ");
  EXPECT_TRUE(
      json.starts_with("{\"text\": \"[ホレ]ヨテイト゛オリ[ラタ]\", \"body\": \"ヨテイト゛オリ\", "
                       "\"found_start\": true, \"found_end\": true, \"tone_hz\": 70"))
      << json;
  std::smatch unit;
  ASSERT_TRUE(std::regex_search(json, unit, std::regex("\"unit_ms\": ([0-9.]+),")));
  EXPECT_NEAR(std::stod(unit[1].str()), 109, 0.05);
  EXPECT_TRUE(json.ends_with("\"at_risk\": []}\n")) << json;
}

TEST_F(DecodeCliTest, ExitStatusSaysWhatWasFound) {
  std::vector<float> noise(8000 * 10, 0.0F);
  testing::AddNoise(noise, 8000, 0.5, 0, 3);
  const fs::path silent = Write("silent.wav", testing::WavBytes(std::vector<float>(80000), {}));
  const fs::path noisy = Write("noise.wav", testing::WavBytes(noise, {.rate = 8000}));
  const fs::path text = Write("note.txt", "[ホレ]イロハ[ラタ]\n");
  const fs::path mp3 = Write("take.mp3", "ID3\x03\x00 not really an mp3");
  const struct {
    std::vector<std::string> args;
    int status;
    const char* message;  // part of what stderr says
  } cases[] = {
      {{silent.string()}, 1, "holds no Morse keying"},
      {{noisy.string(), "--json"}, 1, "holds no Morse keying"},
      {{text.string()}, 2, "is neither a WAV nor an MP3 file"},
      {{(dir.path() / "missing.wav").string()}, 2, "does not exist"},
      {{dir.path().string()}, 2, "is not a regular file"},
      {{mp3.string()}, 2, "needs lame beside the program"},
      {{}, 2, "missing AUDIO"},
      {{silent.string(), noisy.string()}, 2, "unexpected argument"},
      {{silent.string(), "--key"}, 2, "--key needs a telegram file"},
      {{"--key", text.string(), silent.string()}, 2, "[VALA]"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.args.empty() ? "(none)" : c.args.front());
    EXPECT_EQ(Run(c.args), c.status);
    EXPECT_NE(err.str().find(c.message), std::string::npos) << err.str();
    if (c.status == 2 || c.args.size() == 1) {
      EXPECT_EQ(out.str(), "");
    }
  }
  // With --json, no keying still prints the object, its text empty.
  EXPECT_EQ(Run({noisy.string(), "--json"}), 1);
  EXPECT_TRUE(out.str().starts_with("{\"text\": \"\", \"body\": \"\", \"found_start\": false"))
      << out.str();
}

TEST_F(DecodeCliTest, AnMp3GoesThroughTheEncoderBesideTheProgram) {
  const fs::path mp3 = Write("take.mp3", "ID3\x03\x00 not really an mp3");
  std::ofstream(program / fs::path(kEncoderName)) << "";
  system.process_result = ProcessResult{ProcessResult::Kind::kExited, 1};
  EXPECT_EQ(Run({mp3.string()}), 2);
  EXPECT_NE(err.str().find("lame could not decode"), std::string::npos) << err.str();
  ASSERT_EQ(system.started.size(), 1U);
  const auto& argv = system.started.front();
  ASSERT_EQ(argv.size(), 5U);
  EXPECT_EQ(argv[0], program / fs::path(kEncoderName));
  EXPECT_EQ(argv[2], "--decode");
  EXPECT_EQ(argv[3], mp3);
  EXPECT_FALSE(fs::exists(argv[4]));
}

// Under a Japanese locale the places at risk are told as the sending dialog
// tells them.
TEST_F(DecodeCliTest, JapaneseReportTellsThePlacesAtRiskInSentences) {
  const testing::JapaneseRun japanese;
  testing::Hand crowded;
  crowded.char_gap_units = 1.9;
  const fs::path wav = KeyedWav(u"[ホレ]アイウエオムヘ[ラタ]", crowded);
  ASSERT_EQ(Run({wav.string()}), 0) << err.str();
  EXPECT_NE(out.str().find("(- .): ム と ヘ の間隔が短く、タ に聞こえます ("), std::string::npos)
      << out.str();
}

TEST_F(DecodeCliTest, AKeyScoresTheDecodedTextAsCheckDoes) {
  // リ keyed where the key has ル, ド as ト and ゛ (the 7th keyed character):
  // one substitution.
  const fs::path wav = KeyedWav(u"[ホレ]ヨテイドオリ[ラタ]");
  const fs::path key = Write("key.txt",
                             "[VALA]一\n[VALB]二\n[VALC]三\n[VALD]四\n[VALE]五\n[TEXT]\n"
                             "[ホレ]ヨテイドオル[ラタ]\n");
  ASSERT_EQ(Run({wav.string(), "--key", key.string(), "--json"}), 0) << err.str();
  EXPECT_NE(out.str().find(", \"at_risk\": [], \"check\": {\"score\": 99, \"pass\": true, "
                           "\"pass_mark\": 80, \"substitutions\": 1, \"omissions\": 0, "
                           "\"insertions\": 0, \"errors\": [{\"kind\": \"substitution\", "
                           "\"field\": \"body\", \"position\": 6, \"expected\": \"ル\", "
                           "\"got\": \"リ\"}], \"pictures\": []}}\n"),
            std::string::npos)
      << out.str();
  ASSERT_EQ(Run({"--key", key.string(), wav.string()}), 0) << err.str();
  EXPECT_NE(out.str().find("\nscore: 99/100, pass (80)\n"), std::string::npos) << out.str();
  EXPECT_NE(out.str().find("body 7: ル written as リ (substitution)\n"), std::string::npos)
      << out.str();
  // Both scores joined the practice history as sendings; --no-history adds none.
  ASSERT_EQ(Run({wav.string(), "--key", key.string(), "--no-history"}), 0) << err.str();
  const HistoryRead history = ReadHistory(system, program / "history.csv");
  ASSERT_EQ(history.records.size(), 2U);
  for (const HistoryRecord& record : history.records) {
    EXPECT_EQ(record.kind, HistoryKind::kSending);
    EXPECT_EQ(record.score, 99);
    EXPECT_EQ(record.key_name, u"key.txt");
  }
}

TEST_F(DecodeCliTest, ChartIsAPngOfTheSpeedAndTheRatios) {
  const fs::path wav = KeyedWav(u"[ホレ]ヨテイドオリ、ツギノデンシャデカエル」[ラタ]");
  const fs::path chart = dir.path() / "chart.png";
  ASSERT_EQ(Run({wav.string(), "--chart", chart.string()}), 0) << err.str();
  ASSERT_EQ(canvas.encoded.size(), 1U);
  EXPECT_TRUE(fs::exists(chart));
  EXPECT_EQ(canvas.encoded[0].format, ImageFormat::kPng);
  EXPECT_EQ(canvas.encoded[0].width, kChartWidth);
  // A bar per character that holds both dits and dahs (not ヨ, two dahs),
  // each named under it.
  std::string labels;
  for (const auto& s : canvas.strings) {
    labels += EncodeUtf8(s.text) + " ";
  }
  EXPECT_NE(labels.find(" [ホレ] テ イ ト オ リ "), std::string::npos) << labels;
  canvas.formats = {ImageFormat::kJpeg};
  EXPECT_EQ(Run({wav.string(), "--chart", chart.string()}), 1);
  EXPECT_NE(err.str().find("no PNG encoder"), std::string::npos) << err.str();
}

TEST_F(DecodeCliTest, HelpDescribesTheCommand) {
  EXPECT_EQ(Run({"--help"}), 0);
  EXPECT_TRUE(out.str().starts_with(
      "Usage: hoshizora-cli decode AUDIO [--key KEY.txt [--no-history]] [--json]\n"))
      << out.str();
}

}  // namespace
}  // namespace hoshizora
