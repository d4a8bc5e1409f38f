#include "cli/decode_cli.h"

#include <optional>
#include <ostream>
#include <sstream>
#include <string_view>
#include <variant>

#include "app/fresh_seed.h"
#include "app/record_check.h"
#include "audio/telegram_audio.h"
#include "check/alignment.h"
#include "check/check_fields.h"
#include "check/check_result.h"
#include "check/check_scheme.h"
#include "cli/check_cli.h"
#include "cli/cli_language.h"
#include "cli/cli_paths.h"
#include "cli/cli_refusals.h"
#include "cli/decode_report.h"
#include "cli/output_cli.h"
#include "cli/stats_cli.h"
#include "decode/decoder.h"
#include "decode/timing_feedback.h"
#include "decode/wav_reader.h"
#include "imaging/timing_chart.h"

namespace hoshizora {
namespace {

namespace fs = std::filesystem;

constexpr const char* kDecodeUsage =
    "Usage: hoshizora-cli decode AUDIO [--key KEY.txt [--no-history]] [--json]\n"
    "                            [--chart FILE.png]\n"
    "\n"
    "Decodes the Wabun keying in AUDIO (WAV: PCM 8/16/24/32-bit or 32-bit float,\n"
    "mono or stereo, 8-96 kHz, at most an hour at 48 kHz; MP3 through the lame\n"
    "beside the program) and prints the text, then feedback on the timing: unit,\n"
    "speed in CPM and PARIS WPM, its stability and drift, the dah/dit ratio, gaps\n"
    "in units, and the characters at risk of being misread.\n"
    "  --key KEY.txt  score the text against the telegram file KEY.txt as check\n"
    "              scores a plain copy (deductions from settings.ini [Check]) and\n"
    "              print the score and the errors after the feedback; the score\n"
    "              joins the practice history as a sending (see stats --sending)\n"
    "  --no-history  score without adding it to the practice history\n"
    "  --json      print one JSON object instead (with --key, \"check\" holds the\n"
    "              object check --json prints)\n"
    "  --chart FILE.png  draw the speed over time and the dah/dit ratio per\n"
    "              character into FILE.png\n"
    "\n"
    "Exit status: 0 decoded, 1 no keying found (silence or noise), 2 bad arguments\n"
    "or input (not audio, unreadable, over the bounds).\n";

constexpr const char* kJapaneseDecodeUsage =
    "使い方: hoshizora-cli decode AUDIO [--key KEY.txt [--no-history]] [--json]\n"
    "                                 [--chart FILE.png]\n"
    "\n"
    "AUDIO(WAV: PCM 8/16/24/32 ビットか 32 ビット浮動小数点、モノラルかステレオ、\n"
    "8-96 kHz、48 kHz で 1 時間まで。MP3 はプログラムと同じフォルダの lame を\n"
    "通して)の和文の打鍵を読み取って文を表示し、続けて打鍵の間合いについて助言\n"
    "します: 単位、CPM と PARIS WPM の速度、その安定と変化、長点/短点の比、\n"
    "単位で数えた間隔、読み違えられるおそれのある字。\n"
    "  --key KEY.txt  文を電報ファイル KEY.txt と比べ、check がふつうの写しを\n"
    "              採点するとおりに採点して(減点は settings.ini の [Check])、\n"
    "              助言のあとに得点と誤りを表示します。得点は練習の記録に送信と\n"
    "              して加えます(stats --sending で見られます)\n"
    "  --no-history  得点を練習の記録に加えずに採点します\n"
    "  --json      代わりに JSON を一つ表示します(--key では \"check\" に\n"
    "              check --json が表示するものが入ります)\n"
    "  --chart FILE.png  速度の移り変わりと、字ごとの長点/短点の比を FILE.png に\n"
    "              描きます\n"
    "\n"
    "終了コード: 0 は読み取れた、1 は打鍵が見つからなかった(無音や雑音)、2 は\n"
    "引数か入力の誤り(音声でない、読めない、範囲外)です。\n";

std::string_view SeeHelp() {
  return Say(" (see decode --help)", "(decode --help を参照)");
}

bool LooksLikeMp3(const fs::path& path, std::string_view head) {
  std::u8string ext = path.extension().u8string();
  for (char8_t& c : ext) {
    c = (c >= u8'A' && c <= u8'Z') ? static_cast<char8_t>(c + 32) : c;
  }
  const bool sync = head.size() >= 2 && static_cast<unsigned char>(head[0]) == 0xFF &&
                    (static_cast<unsigned char>(head[1]) & 0xE0) == 0xE0;
  return ext == u8".mp3" || head.substr(0, 3) == "ID3" || sync;
}

// What is wrong with the audio, said after its name.
std::string WavProblem(WavReadStatus status) {
  switch (status) {
    case WavReadStatus::kNotWav:
      return std::string(Say("is neither a WAV nor an MP3 file", "は WAV でも MP3 でもありません"));
    case WavReadStatus::kBadFormat:
      return std::string(Say("has a damaged WAV header", "の WAV ヘッダが壊れています"));
    case WavReadStatus::kUnsupported:
      return std::string(
          Say("is in a WAV encoding other than PCM 8/16/24/32-bit or 32-bit float, mono or "
              "stereo",
              "は読めない WAV の形式です(読めるのは PCM 8/16/24/32 ビットか 32 ビット浮動小数点"
              "の、モノラルかステレオ)"));
    case WavReadStatus::kRateOutOfRange:
      return std::string(Say("has a sample rate outside 8-96 kHz",
                             "のサンプリング周波数が 8-96 kHz の範囲外です"));
    case WavReadStatus::kTooLong:
      return std::string(
          Say("is longer than an hour at 48 kHz", "は 48 kHz で 1 時間より長い音声です"));
    case WavReadStatus::kRead:
      break;
  }
  return std::string(Say("cannot be read", "を読めません"));
}

// Has the encoder turn the MP3 into a WAV in the temporary folder and reads
// that; an empty status message on success.
std::string DecodeMp3(System& system, const fs::path& mp3, FileRead& wav) {
  const fs::path lame = ExecutableFolder(system) / fs::path(kEncoderName);
  if (!system.PathExists(lame)) {
    return CliLanguageIsJapanese()
               ? "は MP3 です。MP3 を読むにはプログラムと同じフォルダに lame が必要です(" +
                     PrintablePath(lame) + ")"
               : "is an MP3, and reading one needs lame beside the program (" +
                     PrintablePath(lame) + ")";
  }
  std::error_code ec;
  const fs::path temp = fs::temp_directory_path(ec);
  if (ec) {
    return std::string(Say("is an MP3, and there is no temporary folder to decode it in",
                           "は MP3 ですが、変換に使う一時フォルダがありません"));
  }
  const fs::path out = temp / ("hoshizora-decode-" + std::to_string(FreshSeed()) + ".wav");
  const ProcessResult run = system.RunProcess({lame, "--quiet", "--decode", mp3, out}, nullptr);
  wav = system.ReadFile(out, kLargestWavBytes);
  system.RemoveFile(out);
  if (run.kind != ProcessResult::Kind::kExited || run.exit_code != 0 ||
      wav.status != FileRead::Status::kRead) {
    return std::string(
        Say("is an MP3 that lame could not decode", "は lame で変換できない MP3 です"));
  }
  return {};
}

}  // namespace

int RunDecodeCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                 System& system, SettingsStore& settings, const std::function<Canvas&()>& canvas,
                 const CliSetup& setup) {
  if (AnswerHelp(args, Say(kDecodeUsage, kJapaneseDecodeUsage), out)) {
    return 0;
  }
  std::string audio;
  std::optional<std::string> key_file;
  std::optional<std::string> chart_file;
  bool json = false;
  bool no_history = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--json") {
      json = true;
    } else if (arg == "--no-history") {
      no_history = true;
    } else if (arg == "--key" && !key_file) {
      if (i + 1 == args.size()) {
        err << "hoshizora-cli: decode: "
            << Say("--key needs a telegram file", "--key には電報ファイルを指定してください")
            << SeeHelp() << "\n";
        return 2;
      }
      key_file = args[++i];
    } else if (arg == "--chart" && !chart_file) {
      if (i + 1 == args.size()) {
        err << "hoshizora-cli: decode: "
            << Say("--chart needs a file name", "--chart にはファイル名を指定してください")
            << SeeHelp() << "\n";
        return 2;
      }
      chart_file = args[++i];
    } else if (arg.starts_with("--") || !audio.empty()) {
      err << "hoshizora-cli: decode: " << UnexpectedArgument(arg) << SeeHelp() << "\n";
      return 2;
    } else {
      audio = arg;
    }
  }
  if (audio.empty()) {
    err << "hoshizora-cli: decode: "
        << Say("missing AUDIO file", "音声ファイル AUDIO を指定してください") << SeeHelp() << "\n";
    return 2;
  }
  std::optional<TelegramFields> key;
  if (key_file) {
    auto read = ReadTelegram(system, *key_file);
    if (const auto* refusal = std::get_if<CliRefusal>(&read)) {
      err << refusal->message << "\n";
      return 2;
    }
    key = std::get<TelegramFields>(std::move(read));
  }
  const fs::path path = PathFromArg(audio);
  FileRead file = system.ReadFile(path, kLargestWavBytes);
  // The Japanese problems begin with their particle, after the name.
  const std::string name = "hoshizora-cli: decode: " + PrintablePath(path) + " ";
  switch (file.status) {
    case FileRead::Status::kRead:
      break;
    case FileRead::Status::kMissing:
      err << name << Say("does not exist", "がありません") << "\n";
      return 2;
    case FileRead::Status::kNotRegularFile:
      err << name << Say("is not a regular file", "は通常のファイルではありません") << "\n";
      return 2;
    case FileRead::Status::kTooLarge:
      err << name << Say("is larger than 1 GiB", "は 1 GiB を超えています") << "\n";
      return 2;
    case FileRead::Status::kReadFailed:
      err << name << Say("cannot be read", "を読めません") << "\n";
      return 2;
  }
  WavRead wav = ReadWav(file.bytes);
  if (wav.status == WavReadStatus::kNotWav && LooksLikeMp3(path, file.bytes)) {
    FileRead decoded;
    if (const std::string problem = DecodeMp3(system, path, decoded); !problem.empty()) {
      err << name << problem << "\n";
      return 2;
    }
    wav = ReadWav(decoded.bytes);
  }
  if (wav.status != WavReadStatus::kRead) {
    err << name << WavProblem(wav.status) << "\n";
    return 2;
  }
  std::string().swap(file.bytes);  // the samples are all that is needed now
  const DecodeResult decoded = DecodeAudio(wav.clip);
  const TimingFeedback feedback = MeasureTiming(decoded);
  // A plain copy: ScoreCopy reads it between the signs when both are there.
  std::optional<CheckResult> score;
  CheckCopy copy;
  if (key && decoded.keying_found) {
    copy.fields.body = decoded.text;
    if (FieldTooLongToScore(*key, copy)) {
      if (CliLanguageIsJapanese()) {
        err << "hoshizora-cli: decode: 答えか読み取った文に、送る文字で " << kLongestCheckedField
            << " 字を超える欄があります\n";
      } else {
        err << "hoshizora-cli: decode: the key or the decoded text is longer than "
            << kLongestCheckedField << " keyed characters\n";
      }
      return 2;
    }
    score = ScoreCopy(*key, copy, ReadCheckScheme(settings));
  }
  // A sending scores like a copy and is kept beside the copies, as one.
  if (score && !no_history) {
    const ProgramFolders folders = DecidedOrPortable(setup.folders, system);
    NoteHistoryAppend(RecordCheck(system, folders.history_file, *key, copy, *score,
                                  {PathFromArg(*key_file).filename().u16string(), {}, {}, {}},
                                  HistoryKind::kSending),
                      folders.history_file, err);
  }
  if (json) {
    std::string object = DecodeReportJson(decoded, feedback);
    if (score) {
      std::ostringstream check;
      PrintCheckReport(check, *score, true);
      std::string inner = check.str();
      while (!inner.empty() && inner.back() == '\n') {
        inner.pop_back();
      }
      // Into the object, before its closing brace and line break.
      object.insert(object.size() - 2, ", \"check\": " + inner);
    }
    out << object;
  } else if (decoded.keying_found) {
    out << DecodeReportText(decoded, feedback);
    if (score) {
      out << "\n";
      PrintCheckReport(out, *score, false);
    }
  }
  if (chart_file && decoded.keying_found) {
    TimingChartData chart{feedback.speed_track, {}};
    for (const CharacterRatio& r : feedback.ratios) {
      chart.ratios.emplace_back(r.character, r.ratio);
    }
    const fs::path chart_path = PathFromArg(*chart_file);
    const ChartStatus status = WriteTimingChart(canvas(), system, chart, chart_path);
    if (status != ChartStatus::kWritten) {
      if (CliLanguageIsJapanese()) {
        err << "hoshizora-cli: decode: グラフ " << PrintablePath(chart_path) << " に書き込めません"
            << (status == ChartStatus::kNoPngEncoder ? "(PNG エンコーダがありません)" : "") << "\n";
      } else {
        err << "hoshizora-cli: decode: cannot write the chart " << PrintablePath(chart_path)
            << (status == ChartStatus::kNoPngEncoder ? " (no PNG encoder)" : "") << "\n";
      }
      return 1;
    }
  }
  if (!decoded.keying_found) {
    err << name
        << Say("holds no Morse keying that could be read", "には読み取れるモールス符号がありません")
        << "\n";
    return 1;
  }
  return 0;
}

}  // namespace hoshizora
