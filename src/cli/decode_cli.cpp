#include "cli/decode_cli.h"

#include <optional>
#include <ostream>
#include <sstream>
#include <string_view>
#include <variant>

#include "app/fresh_seed.h"
#include "audio/telegram_audio.h"
#include "check/alignment.h"
#include "check/check_fields.h"
#include "check/check_result.h"
#include "check/check_scheme.h"
#include "cli/check_cli.h"
#include "cli/cli_paths.h"
#include "cli/decode_report.h"
#include "cli/output_cli.h"
#include "decode/decoder.h"
#include "decode/timing_feedback.h"
#include "decode/wav_reader.h"
#include "imaging/timing_chart.h"

namespace hoshizora {
namespace {

namespace fs = std::filesystem;

constexpr const char* kDecodeUsage =
    "Usage: hoshizora-cli decode AUDIO [--key KEY.txt] [--json] [--chart FILE.png]\n"
    "\n"
    "Decodes the Wabun keying in AUDIO (WAV: PCM 8/16/24/32-bit or 32-bit float,\n"
    "mono or stereo, 8-96 kHz, at most an hour at 48 kHz; MP3 through the lame\n"
    "beside the program) and prints the text, then feedback on the timing: unit,\n"
    "speed in CPM and PARIS WPM, its stability and drift, the dah/dit ratio, gaps\n"
    "in units, and the characters at risk of being misread.\n"
    "  --key KEY.txt  score the text against the telegram file KEY.txt as check\n"
    "              scores a plain copy (deductions from settings.ini [Check]) and\n"
    "              print the score and the errors after the feedback\n"
    "  --json      print one JSON object instead (with --key, \"check\" holds the\n"
    "              object check --json prints)\n"
    "  --chart FILE.png  draw the speed over time and the dah/dit ratio per\n"
    "              character into FILE.png\n"
    "\n"
    "Exit status: 0 decoded, 1 no keying found (silence or noise), 2 bad arguments\n"
    "or input (not audio, unreadable, over the bounds).\n";

bool LooksLikeMp3(const fs::path& path, std::string_view head) {
  std::u8string ext = path.extension().u8string();
  for (char8_t& c : ext) {
    c = (c >= u8'A' && c <= u8'Z') ? static_cast<char8_t>(c + 32) : c;
  }
  const bool sync = head.size() >= 2 && static_cast<unsigned char>(head[0]) == 0xFF &&
                    (static_cast<unsigned char>(head[1]) & 0xE0) == 0xE0;
  return ext == u8".mp3" || head.substr(0, 3) == "ID3" || sync;
}

std::string WavProblem(WavReadStatus status) {
  switch (status) {
    case WavReadStatus::kNotWav:
      return "is neither a WAV nor an MP3 file";
    case WavReadStatus::kBadFormat:
      return "has a damaged WAV header";
    case WavReadStatus::kUnsupported:
      return "is in a WAV encoding other than PCM 8/16/24/32-bit or 32-bit float, mono or "
             "stereo";
    case WavReadStatus::kRateOutOfRange:
      return "has a sample rate outside 8-96 kHz";
    case WavReadStatus::kTooLong:
      return "is longer than an hour at 48 kHz";
    case WavReadStatus::kRead:
      break;
  }
  return "cannot be read";
}

// Has the encoder turn the MP3 into a WAV in the temporary folder and reads
// that; an empty status message on success.
std::string DecodeMp3(System& system, const fs::path& mp3, FileRead& wav) {
  const fs::path lame = ExecutableFolder(system) / fs::path(kEncoderName);
  if (!system.PathExists(lame)) {
    return "is an MP3, and reading one needs lame beside the program (" + PrintablePath(lame) + ")";
  }
  std::error_code ec;
  const fs::path temp = fs::temp_directory_path(ec);
  if (ec) {
    return "is an MP3, and there is no temporary folder to decode it in";
  }
  const fs::path out = temp / ("hoshizora-decode-" + std::to_string(FreshSeed()) + ".wav");
  const ProcessResult run = system.RunProcess({lame, "--quiet", "--decode", mp3, out}, nullptr);
  wav = system.ReadFile(out, kLargestWavBytes);
  system.RemoveFile(out);
  if (run.kind != ProcessResult::Kind::kExited || run.exit_code != 0 ||
      wav.status != FileRead::Status::kRead) {
    return "is an MP3 that lame could not decode";
  }
  return {};
}

}  // namespace

int RunDecodeCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                 System& system, SettingsStore& settings, const std::function<Canvas&()>& canvas) {
  std::string audio;
  std::optional<std::string> key_file;
  std::optional<std::string> chart_file;
  bool json = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--help" || arg == "-h") {
      out << kDecodeUsage;
      return 0;
    }
    if (arg == "--json") {
      json = true;
    } else if (arg == "--key" && !key_file) {
      if (i + 1 == args.size()) {
        err << "hoshizora-cli: decode: --key needs a telegram file (see decode --help)\n";
        return 2;
      }
      key_file = args[++i];
    } else if (arg == "--chart" && !chart_file) {
      if (i + 1 == args.size()) {
        err << "hoshizora-cli: decode: --chart needs a file name (see decode --help)\n";
        return 2;
      }
      chart_file = args[++i];
    } else if (arg.starts_with("--") || !audio.empty()) {
      err << "hoshizora-cli: decode: unexpected argument '" << arg << "' (see decode --help)\n";
      return 2;
    } else {
      audio = arg;
    }
  }
  if (audio.empty()) {
    err << "hoshizora-cli: decode: missing AUDIO file (see decode --help)\n";
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
  const std::string name = "hoshizora-cli: decode: " + PrintablePath(path) + " ";
  switch (file.status) {
    case FileRead::Status::kRead:
      break;
    case FileRead::Status::kMissing:
      err << name << "does not exist\n";
      return 2;
    case FileRead::Status::kNotRegularFile:
      err << name << "is not a regular file\n";
      return 2;
    case FileRead::Status::kTooLarge:
      err << name << "is larger than 1 GiB\n";
      return 2;
    case FileRead::Status::kReadFailed:
      err << name << "cannot be read\n";
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
  if (key && decoded.keying_found) {
    CheckCopy copy;
    copy.fields.body = decoded.text;
    if (FieldTooLongToScore(*key, copy)) {
      err << "hoshizora-cli: decode: the key or the decoded text is longer than "
          << kLongestCheckedField << " keyed characters\n";
      return 2;
    }
    score = ScoreCopy(*key, copy, ReadCheckScheme(settings));
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
      err << "hoshizora-cli: decode: cannot write the chart " << PrintablePath(chart_path)
          << (status == ChartStatus::kNoPngEncoder ? " (no PNG encoder)" : "") << "\n";
      return 1;
    }
  }
  if (!decoded.keying_found) {
    err << name << "holds no Morse keying that could be read\n";
    return 1;
  }
  return 0;
}

}  // namespace hoshizora
