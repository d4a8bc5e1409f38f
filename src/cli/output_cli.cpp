#include "cli/output_cli.h"

#include <filesystem>
#include <optional>
#include <ostream>

#include "app/keying_settings.h"
#include "app/output_run.h"
#include "app/settings.h"
#include "app/telegram_commands.h"
#include "base/limits.h"
#include "base/utf8.h"
#include "cli/cli_language.h"
#include "cli/cli_paths.h"
#include "cli/console_sink.h"
#include "cli/interruption.h"
#include "cli/terminal_text.h"
#include "encoding/default_telegram.h"
#include "encoding/text_utils.h"
#include "telegram_file/telegram_file_commands.h"

namespace hoshizora {
namespace {

namespace fs = std::filesystem;

struct OutputArgs {
  std::optional<std::string> telegram_file;
  std::optional<std::string> freq;
  std::optional<std::string> cpm;
  std::optional<std::string> out;
  std::optional<std::string> rise_ms;
  std::optional<std::string> effective_cpm;
  bool quiet = false;
};

// Parses the arguments after "output"; a reason on failure.
std::optional<std::string> ParseArgs(const std::vector<std::string>& args, OutputArgs& parsed) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    std::optional<std::string>* option = a == "--freq"            ? &parsed.freq
                                         : a == "--cpm"           ? &parsed.cpm
                                         : a == "--out"           ? &parsed.out
                                         : a == "--rise-ms"       ? &parsed.rise_ms
                                         : a == "--effective-cpm" ? &parsed.effective_cpm
                                                                  : nullptr;
    if (a == "--quiet") {
      parsed.quiet = true;
    } else if (option != nullptr) {
      if (i + 1 >= args.size()) {
        return NeedsValue(a);
      }
      *option = args[++i];
    } else if (a.starts_with("--")) {
      return UnknownOption(a);
    } else if (!parsed.telegram_file) {
      parsed.telegram_file = a;
    } else {
      return UnexpectedArgument(a);
    }
  }
  return std::nullopt;
}

CliRefusal Refuse(std::string_view reason) {
  return {"hoshizora-cli: " + std::string(reason)};
}

// Without --out: the program folder of a portable copy, else the folder the
// command was started in, made absolute so that the summary names it whole.
std::variant<fs::path, CliRefusal> DefaultOutputRoot(const ProgramFolders& folders) {
  if (!folders.output_root_cli.empty()) {
    return folders.output_root_cli;
  }
  std::error_code ec;
  fs::path here = fs::current_path(ec);
  if (ec || here.empty()) {
    return Refuse(Say("cannot use the current folder; name one with --out DIR",
                      "現在のフォルダを使えません。--out DIR でフォルダを指定してください"));
  }
  return here;
}

// A tone flag as typed, or the refusal the window would show.
std::variant<int, CliRefusal> ToneFlag(const std::string& text, int minimum, int maximum,
                                       std::u16string_view refused) {
  if (const auto value = ParseToneSetting(DecodeUtf8Lenient(text), minimum, maximum)) {
    return *value;
  }
  // The window's own words in Japanese, under its caption.
  return CliRefusal{std::string(Say("hoshizora-cli: ", "エラー: ")) +
                    EncodeUtf8(RunTextInLanguage(refused))};
}

// The keying options: the flags as typed, within their ranges for `speed`,
// else the settings bounded for it.
std::variant<KeyingOptions, CliRefusal> Keying(const OutputArgs& parsed, int speed,
                                               SettingsStore& settings) {
  KeyingOptions keying = ReadKeyingSettings(settings, speed);
  if (parsed.rise_ms) {
    const auto rise =
        ToneFlag(*parsed.rise_ms, 0, kMaxRiseMs, RangeRefused(u"立ち上がり(ms)", 0, kMaxRiseMs));
    if (const auto* refusal = std::get_if<CliRefusal>(&rise)) {
      return *refusal;
    }
    keying.rise_ms = std::get<int>(rise);
  }
  if (parsed.effective_cpm) {
    const auto effective = ToneFlag(*parsed.effective_cpm, kMinEffectiveCpm, speed,
                                    RangeRefused(u"実効速度(CPM)", kMinEffectiveCpm, speed));
    if (const auto* refusal = std::get_if<CliRefusal>(&effective)) {
      return *refusal;
    }
    // The speed itself is plain spacing, kept as off.
    keying.effective_cpm = BoundEffectiveCpm(std::get<int>(effective), speed);
  }
  return keying;
}

std::variant<OutputRequest, CliRefusal> RequestFromArgs(const OutputArgs& parsed, System& system,
                                                        SettingsStore& settings,
                                                        const ProgramFolders& folders) {
  OutputRequest request;
  request.program_folder = folders.encoder_folder;
  request.data_folder = folders.data_folder;
  if (!parsed.telegram_file) {
    request.fields = MakeDefaultTelegram(system.LocalNow());
  } else {
    auto fields = ReadTelegram(system, *parsed.telegram_file);
    if (auto* refusal = std::get_if<CliRefusal>(&fields)) {
      return *refusal;
    }
    request.fields = std::get<TelegramFields>(std::move(fields));
  }
  auto root = parsed.out ? OutputRoot(*parsed.out) : DefaultOutputRoot(folders);
  if (auto* refusal = std::get_if<CliRefusal>(&root)) {
    return *refusal;
  }
  request.output_root = std::get<fs::path>(std::move(root));

  // Tone settings default to the settings file.
  const auto frequency =
      parsed.freq ? ToneFlag(*parsed.freq, kMinFrequency, kMaxFrequency, FrequencyRefused())
                  : std::variant<int, CliRefusal>(StoredFrequency(settings));
  if (auto* refusal = std::get_if<CliRefusal>(&frequency)) {
    return *refusal;
  }
  const auto speed = parsed.cpm ? ToneFlag(*parsed.cpm, kMinSpeed, kMaxSpeed, SpeedRefused())
                                : std::variant<int, CliRefusal>(StoredSpeed(settings));
  if (auto* refusal = std::get_if<CliRefusal>(&speed)) {
    return *refusal;
  }
  request.frequency = std::get<int>(frequency);
  request.speed = std::get<int>(speed);
  auto keying = Keying(parsed, request.speed, settings);
  if (auto* refusal = std::get_if<CliRefusal>(&keying)) {
    return *refusal;
  }
  request.keying = std::get<KeyingOptions>(keying);
  return request;
}

}  // namespace

std::variant<fs::path, CliRefusal> OutputRoot(const std::string& arg) {
  if (arg.empty()) {
    return Refuse(Say("--out needs a folder", "--out にはフォルダを指定してください"));
  }
  std::error_code ec;
  fs::path root = fs::absolute(PathFromArg(arg), ec).lexically_normal();
  if (ec) {
    return Refuse("--out " + arg +
                  std::string(Say(": cannot use this folder", ": このフォルダは使えません")));
  }
  if (!root.has_filename() && root.has_parent_path() && root != root.root_path()) {
    root = root.parent_path();
  }
  const fs::file_status status = fs::status(root, ec);
  if (status.type() == fs::file_type::not_found) {
    return Refuse("--out " + arg + std::string(Say(": no such folder", ": フォルダがありません")));
  }
  if (status.type() != fs::file_type::directory) {
    return Refuse("--out " + arg + std::string(Say(": not a folder", ": フォルダではありません")));
  }
  return root;
}

std::variant<TelegramFields, CliRefusal> ReadTelegram(System& system, const std::string& file) {
  const TelegramFileRead read = LoadTelegramFile(system, PathFromArg(file));
  switch (read.status) {
    case FileRead::Status::kRead:
      if (!read.holds_telegram) {
        return Refuse(file + ": " +
                      (CliLanguageIsJapanese()
                           ? EncodeUtf8(kNoTelegramInFile)
                           : "this file holds no telegram (no [VALA]-[VALE] or [TEXT] lines)."));
      }
      return read.fields;
    case FileRead::Status::kTooLarge:
      return Refuse(file + std::string(Say(" is larger than ", " は ")) +
                    MiBText(kLargestTelegramFile) + std::string(Say("", " を超えています")));
    case FileRead::Status::kNotRegularFile:
      return Refuse(CannotRead(file) +
                    std::string(Say(" (not a regular file)", "(通常のファイルではありません)")));
    case FileRead::Status::kMissing:
    case FileRead::Status::kReadFailed:
      break;
  }
  return Refuse(CannotRead(file));
}

std::variant<OutputRequest, CliRefusal> BuildOutputRequest(const std::vector<std::string>& args,
                                                           System& system, SettingsStore& settings,
                                                           const ProgramFolders& folders) {
  OutputArgs parsed;
  if (const auto reason = ParseArgs(args, parsed)) {
    return Refuse(*reason);
  }
  return RequestFromArgs(parsed, system, settings, folders);
}

OutputReport RunOutputOnConsole(const OutputRequest& request, System& system, Canvas& canvas,
                                std::ostream& err, bool quiet, const CliSetup& setup) {
  ConsoleProgress progress;
  progress.style = quiet                    ? ConsoleProgress::Style::kNone
                   : setup.terminal_columns ? ConsoleProgress::Style::kBar
                                            : ConsoleProgress::Style::kLines;
  progress.columns = setup.terminal_columns;
  ConsoleSink sink(err, std::chrono::steady_clock::now, progress, &ProgramInterruption().requested);
  OutputReport report;
  {
    std::optional<ProgressTicker> ticker;
    if (progress.style != ConsoleProgress::Style::kNone) {
      ticker.emplace(sink);
    }
    report = RunOutput(request, system, canvas, sink);
  }
  sink.EndProgress();
  sink.ShowMessage(report.message, report.caption, report.icon);
  return report;
}

std::string RunSummary(std::size_t written, const fs::path& folder, std::size_t failed) {
  const std::string files = std::to_string(written);
  const std::string where = PrintablePath(folder);
  const bool japanese = CliLanguageIsJapanese();
  if (failed == 0) {
    return japanese ? "完了: " + files + " 個のファイルを " + where + " に作りました"
                    : "complete: " + files + " files in " + where;
  }
  const std::string lost = std::to_string(failed);
  // No folder was made: there is no name to give, and an empty one misleads.
  if (folder.empty()) {
    return japanese ? "未完了: 出力フォルダを作れず、" + lost + " 件が失敗しました"
                    : "incomplete: " + files + " files, " + lost + " failed";
  }
  return japanese ? "未完了: " + files + " 個のファイルを " + where + " に作り、" + lost +
                        " 件が失敗しました"
                  : "incomplete: " + files + " files in " + where + ", " + lost + " failed";
}

void WarnIfSettingsUnreadable(SettingsStore& settings, const ProgramFolders& folders,
                              std::ostream& err) {
  if (settings.Unreadable()) {
    err << "hoshizora-cli: "
        << TerminalText(RunTextInLanguage(UnreadableSettingsMessage(folders.settings_file)))
        << "\n";
  }
}

int RunOutputCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                 System& system, SettingsStore& settings, const std::function<Canvas&()>& canvas,
                 const CliSetup& setup) {
  OutputArgs parsed;
  if (const auto reason = ParseArgs(args, parsed)) {
    err << Refuse(*reason).message << "\n";
    return 2;
  }
  const ProgramFolders folders = DecidedOrPortable(setup.folders, system);
  WarnIfSettingsUnreadable(settings, folders, err);
  const auto request = RequestFromArgs(parsed, system, settings, folders);
  if (const auto* refusal = std::get_if<CliRefusal>(&request)) {
    err << refusal->message << "\n";
    return 2;
  }

  const WatchedRun watched;
  const OutputReport report = RunOutputOnConsole(std::get<OutputRequest>(request), system, canvas(),
                                                 err, parsed.quiet, setup);
  for (const auto& path : report.written) {
    out << PrintablePath(path) << "\n";
  }
  switch (report.result) {
    case OutputReport::Result::kRefused:
      return 2;
    case OutputReport::Result::kComplete:
      out << RunSummary(report.written.size(), report.folder, 0) << "\n";
      return 0;
    case OutputReport::Result::kIncomplete:
      out << RunSummary(report.written.size(), report.folder, report.problems.size()) << "\n";
      return StatusAfterInterruption(1);
  }
  return 1;
}

}  // namespace hoshizora
