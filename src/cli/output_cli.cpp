#include "cli/output_cli.h"

#include <filesystem>
#include <optional>
#include <ostream>

#include "app/output_run.h"
#include "app/settings.h"
#include "app/telegram_commands.h"
#include "base/utf8.h"
#include "cli/console_sink.h"
#include "cli/interruption.h"
#include "encoding/default_telegram.h"
#include "telegram_file/telegram_file_commands.h"

namespace hoshizora {
namespace {

namespace fs = std::filesystem;

struct OutputArgs {
  std::optional<std::string> telegram_file;
  std::optional<std::string> freq;
  std::optional<std::string> cpm;
  std::optional<std::string> out;
};

// Parses the arguments after "output"; a reason on failure.
std::optional<std::string> ParseArgs(const std::vector<std::string>& args, OutputArgs& parsed) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    std::optional<std::string>* option = a == "--freq"  ? &parsed.freq
                                         : a == "--cpm" ? &parsed.cpm
                                         : a == "--out" ? &parsed.out
                                                        : nullptr;
    if (option != nullptr) {
      if (i + 1 >= args.size()) {
        return a + " needs a value";
      }
      *option = args[++i];
    } else if (a.starts_with("--")) {
      return "unknown option '" + a + "'";
    } else if (!parsed.telegram_file) {
      parsed.telegram_file = a;
    } else {
      return "unexpected argument '" + a + "'";
    }
  }
  return std::nullopt;
}

CliRefusal Refuse(const std::string& reason) {
  return {"hoshizora-cli: " + reason};
}

// The folder --out names, made absolute: "dir/" and "dir/." name the folder
// itself. It must exist already; the run makes only its own folder inside.
std::variant<fs::path, CliRefusal> OutputRoot(const std::string& arg) {
  if (arg.empty()) {
    return Refuse("--out needs a folder");
  }
  std::error_code ec;
  fs::path root = fs::absolute(fs::path(arg), ec).lexically_normal();
  if (ec) {
    return Refuse("--out " + arg + ": cannot use this folder");
  }
  if (!root.has_filename() && root.has_parent_path() && root != root.root_path()) {
    root = root.parent_path();
  }
  const fs::file_status status = fs::status(root, ec);
  if (status.type() == fs::file_type::not_found) {
    return Refuse("--out " + arg + ": no such folder");
  }
  if (status.type() != fs::file_type::directory) {
    return Refuse("--out " + arg + ": not a folder");
  }
  return root;
}

std::variant<TelegramFields, CliRefusal> ReadTelegram(System& system, const std::string& file) {
  const TelegramFileRead read = LoadTelegramFile(system, fs::path(file));
  switch (read.status) {
    case FileRead::Status::kRead:
      if (!read.holds_telegram) {
        return Refuse(file + ": " + EncodeUtf8(kNoTelegramInFile));
      }
      return read.fields;
    case FileRead::Status::kTooLarge:
      return Refuse(file + " is larger than 1 MiB");
    case FileRead::Status::kNotRegularFile:
      return Refuse("cannot read " + file + " (not a regular file)");
    case FileRead::Status::kMissing:
    case FileRead::Status::kReadFailed:
      break;
  }
  return Refuse("cannot read " + file);
}

// A tone flag as typed, or the refusal the window would show.
std::variant<int, CliRefusal> ToneFlag(const std::string& text, int minimum, int maximum,
                                       std::u16string_view refused) {
  if (const auto value = ParseToneSetting(DecodeUtf8Lenient(text), minimum, maximum)) {
    return *value;
  }
  return CliRefusal{"エラー: " + EncodeUtf8(refused)};
}

}  // namespace

std::variant<OutputRequest, CliRefusal> BuildOutputRequest(const std::vector<std::string>& args,
                                                           System& system,
                                                           SettingsStore& settings) {
  OutputArgs parsed;
  if (const auto reason = ParseArgs(args, parsed)) {
    return Refuse(*reason);
  }
  OutputRequest request;
  request.program_folder = ExecutableFolder(system);
  if (!parsed.telegram_file) {
    request.fields = MakeDefaultTelegram(system.LocalNow());
  } else {
    auto fields = ReadTelegram(system, *parsed.telegram_file);
    if (auto* refusal = std::get_if<CliRefusal>(&fields)) {
      return *refusal;
    }
    request.fields = std::get<TelegramFields>(std::move(fields));
  }
  if (parsed.out) {
    auto root = OutputRoot(*parsed.out);
    if (auto* refusal = std::get_if<CliRefusal>(&root)) {
      return *refusal;
    }
    request.output_root = std::get<fs::path>(std::move(root));
  }

  // Tone settings default to the settings file beside the executable.
  const auto frequency =
      parsed.freq ? ToneFlag(*parsed.freq, kMinFrequency, kMaxFrequency, kFrequencyRefused)
                  : std::variant<int, CliRefusal>(StoredFrequency(settings));
  if (auto* refusal = std::get_if<CliRefusal>(&frequency)) {
    return *refusal;
  }
  const auto speed = parsed.cpm ? ToneFlag(*parsed.cpm, kMinSpeed, kMaxSpeed, kSpeedRefused)
                                : std::variant<int, CliRefusal>(StoredSpeed(settings));
  if (auto* refusal = std::get_if<CliRefusal>(&speed)) {
    return *refusal;
  }
  request.frequency = std::get<int>(frequency);
  request.speed = std::get<int>(speed);
  return request;
}

int RunOutputCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                 System& system, SettingsStore& settings, const std::function<Canvas&()>& canvas) {
  const auto request = BuildOutputRequest(args, system, settings);
  if (const auto* refusal = std::get_if<CliRefusal>(&request)) {
    err << refusal->message << "\n";
    return 2;
  }
  ConsoleSink sink(err, std::chrono::steady_clock::now, &ProgramInterruption().requested);
  const OutputReport report = RunOutput(std::get<OutputRequest>(request), system, canvas(), sink);
  sink.ShowMessage(report.message, report.caption, report.icon);
  for (const auto& path : report.written) {
    out << path.native() << "\n";
  }
  switch (report.result) {
    case OutputReport::Result::kRefused:
      return 2;
    case OutputReport::Result::kComplete:
      out << "complete: " << report.written.size() << " files in " << report.folder.native()
          << "\n";
      return 0;
    case OutputReport::Result::kIncomplete:
      out << "incomplete: " << report.written.size() << " files in " << report.folder.native()
          << ", " << report.problems.size() << " failed\n";
      return StatusAfterInterruption(1);
  }
  return 1;
}

}  // namespace hoshizora
