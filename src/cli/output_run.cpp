#include "cli/output_run.h"

#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>

#include "app/output_command.h"
#include "app/settings.h"
#include "base/utf8.h"
#include "cli/console_dialog.h"
#include "encoding/default_telegram.h"
#include "platform/control_ids.h"
#include "platform/ini_file.h"
#include "telegram_file/dialog_fields.h"
#include "telegram_file/telegram_text_format.h"

namespace hoshizora {
namespace {

struct OutputArgs {
  std::string telegram_file;
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
    } else if (parsed.telegram_file.empty()) {
      parsed.telegram_file = a;
    } else {
      return "unexpected argument '" + a + "'";
    }
  }
  return std::nullopt;
}

std::u16string FromUtf8Arg(const std::string& arg) {
  return DecodeUtf8Lenient(arg);
}

}  // namespace

int RunOutputRun(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                 System& system, const std::function<Canvas&()>& canvas) {
  OutputArgs parsed;
  if (const auto reason = ParseArgs(args, parsed)) {
    err << "hoshizora-cli: " << *reason << "\n";
    return 2;
  }

  TelegramFields fields;
  if (parsed.telegram_file.empty()) {
    fields = MakeDefaultTelegram(system.LocalNow());
  } else {
    std::ifstream in(std::filesystem::path(parsed.telegram_file), std::ios::binary);
    std::error_code ec;
    if (!in || std::filesystem::is_directory(parsed.telegram_file, ec)) {
      err << "hoshizora-cli: cannot read " << parsed.telegram_file << "\n";
      return 2;
    }
    const auto size = std::filesystem::file_size(parsed.telegram_file, ec);
    if (ec || size > kLargestTelegramFile) {
      err << "hoshizora-cli: " << parsed.telegram_file << " is larger than 1 MiB\n";
      return 2;
    }
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    fields = ParseTelegramText(bytes);
  }

  // Tone settings default to settings.ini beside the executable.
  IniFileStore settings(ExecutableFolder(system) / "settings.ini");
  const int stored_freq = BoundFrequency(settings.ReadInt("General", "FreqHz", kDefaultFrequency));
  const int stored_cpm = BoundSpeed(settings.ReadInt("General", "Cpm", kDefaultSpeed));

  ConsoleDialog dialog(err);
  WriteTelegramFields(dialog, fields);
  dialog.SetControlText(ids::kFrequency, parsed.freq ? FromUtf8Arg(*parsed.freq)
                                                     : FromUtf8Arg(std::to_string(stored_freq)));
  dialog.SetControlText(
      ids::kSpeed, parsed.cpm ? FromUtf8Arg(*parsed.cpm) : FromUtf8Arg(std::to_string(stored_cpm)));

  OutputOptions options;
  if (parsed.out) {
    std::filesystem::path root = std::filesystem::absolute(*parsed.out).lexically_normal();
    if (!root.has_filename() && root.has_parent_path() && root != root.root_path()) {
      root = root.parent_path();  // "dir/" and "dir/." name the folder itself
    }
    options.output_root = root;
  }
  const OutputReport report = RunOutputCommand(dialog, system, canvas(), options);
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
      return 1;
  }
  return 1;
}

}  // namespace hoshizora
