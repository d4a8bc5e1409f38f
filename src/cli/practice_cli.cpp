#include "cli/practice_cli.h"

#include <filesystem>
#include <limits>
#include <ostream>

#include "app/output_run.h"
#include "app/weak_focus.h"
#include "base/utf8.h"
#include "cli/cli_language.h"
#include "cli/cli_paths.h"
#include "cli/cli_refusals.h"
#include "cli/console_sink.h"
#include "cli/interruption.h"
#include "cli/terminal_text.h"
#include "platform/paths.h"
#include "practice/practice_telegram.h"
#include "telegram_file/telegram_file_commands.h"

namespace hoshizora {
namespace {

struct PracticeArgs {
  std::optional<std::string> count;
  std::optional<std::string> length;
  std::optional<std::string> chars;
  std::optional<std::string> seed;
  std::optional<std::string> focus;
  bool groups = false;
  bool quiet = false;
  // --freq, --cpm and --out, with their values, for BuildOutputRequest.
  std::vector<std::string> output_args;
};

CliRefusal Refuse(std::string_view reason) {
  return {"hoshizora-cli: " + std::string(reason)};
}

// Parses the arguments after "practice"; a reason on failure.
std::optional<std::string> ParseArgs(const std::vector<std::string>& args, PracticeArgs& parsed) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--groups" || a == "--quiet") {
      (a == "--groups" ? parsed.groups : parsed.quiet) = true;
      continue;
    }
    std::optional<std::string>* option = a == "--count"    ? &parsed.count
                                         : a == "--length" ? &parsed.length
                                         : a == "--chars"  ? &parsed.chars
                                         : a == "--seed"   ? &parsed.seed
                                         : a == "--focus"  ? &parsed.focus
                                                           : nullptr;
    const bool output_option = a == "--freq" || a == "--cpm" || a == "--out";
    if (option == nullptr && !output_option) {
      return a.starts_with("--") ? UnknownOption(a) : UnexpectedArgument(a);
    }
    if (i + 1 >= args.size()) {
      return NeedsValue(a);
    }
    const std::string& value = args[++i];
    if (option != nullptr) {
      *option = value;
    } else {
      parsed.output_args.insert(parsed.output_args.end(), {a, value});
    }
  }
  if (parsed.chars && !parsed.groups) {
    return std::string(Say("--chars needs --groups", "--chars は --groups と一緒に使ってください"));
  }
  return std::nullopt;
}

// ASCII digits only, at most `maximum`.
std::optional<std::uint64_t> ParseUnsigned(const std::string& text, std::uint64_t maximum) {
  if (text.empty()) {
    return std::nullopt;
  }
  std::uint64_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') {
      return std::nullopt;
    }
    const auto digit = static_cast<std::uint64_t>(c - '0');
    if (value > (maximum - digit) / 10) {
      return std::nullopt;
    }
    value = value * 10 + digit;
  }
  return value;
}

// The core's problems in the command line's words.
std::string OptionReason(const PracticeOptionError& error, const std::string& length) {
  const bool ja = CliLanguageIsJapanese();
  const std::string bounds =
      std::to_string(kShortestPracticeBody) + "-" + std::to_string(kLongestPracticeBody);
  const std::string group = std::to_string(kPracticeGroupSize);
  switch (error.problem) {
    case PracticeOptionProblem::kLengthNotARange:
      return ja ? "--length には 60-130 のように文字数の範囲 MIN-MAX を指定してください"
                : "--length needs MIN-MAX counted characters, such as 60-130";
    case PracticeOptionProblem::kLengthOutOfBounds:
      return "--length " + length +
             (ja ? ": MIN と MAX は " + bounds + " の範囲にしてください"
                 : ": MIN and MAX must lie within " + bounds);
    case PracticeOptionProblem::kLengthReversed:
      return "--length " + length +
             std::string(Say(": MIN is larger than MAX", ": MIN が MAX より大きくなっています"));
    case PracticeOptionProblem::kNoWholeGroup:
      return "--length " + length +
             (ja ? ": --groups では範囲の中に " + group + " の倍数が必要です"
                 : ": --groups needs a multiple of " + group + " within the range");
    case PracticeOptionProblem::kNoGroupCharacters:
      return std::string(
          Say("--chars needs at least one character", "--chars には 1 文字以上を指定してください"));
    case PracticeOptionProblem::kSeparatorInGroupCharacters:
      return std::string(Say("--chars: blanks, line breaks and ? cannot be group characters",
                             "--chars: 空白、改行、? は組の文字にできません"));
    case PracticeOptionProblem::kUnkeyableGroupCharacters: {
      std::string listed;
      for (const std::u16string& c : error.characters) {
        listed += " " + TerminalText(c);
      }
      return std::string(Say("--chars: no Morse code for", "--chars: モールス符号のない文字:")) +
             listed;
    }
  }
  return std::string(Say("bad practice options", "練習のオプションが正しくありません"));
}

std::variant<PracticeOptions, CliRefusal> Options(const PracticeArgs& parsed) {
  PracticeOptions options;
  if (parsed.groups) {
    options.mode = PracticeMode::kGroups;
  }
  if (parsed.chars) {
    options.group_characters = DecodeUtf8Lenient(*parsed.chars);
  }
  std::string length = "60-130";
  if (parsed.length) {
    length = *parsed.length;
    const LengthRangeParse range = ParseLengthRange(DecodeUtf8Lenient(length));
    if (range.error) {
      return Refuse(OptionReason(*range.error, length));
    }
    options.length = range.range;
  }
  if (const auto error = ValidatePracticeOptions(options)) {
    return Refuse(OptionReason(*error, length));
  }
  return options;
}

// The answer key beside the run's files: "<folder name>_telegram.txt".
std::filesystem::path AnswerKeyPath(const std::filesystem::path& folder) {
  return WithSuffix(folder / folder.filename(), u"_telegram.txt");
}

// The weights come from the history as it stands now, once for the batch.
void AimAtWeakCharacters(System& system, const std::filesystem::path& history_file,
                         PracticeOptions& options, std::ostream& out) {
  const WeakFocus focus = ReadWeakFocus(system, history_file);
  if (focus.weights.empty()) {
    out << Say("focus: ", "重点: ")
        << (focus.unreadable
                ? Say("the practice history cannot be read", "練習の記録を読めないため")
            : focus.checks == 0
                ? Say("no practice history yet", "練習の記録がまだないため")
                : Say("no character written wrong yet", "まだ書き誤った文字がないため"))
        << Say("; plain practice\n", "、ふつうの練習にします\n");
    return;
  }
  options.focus = focus.weights;
  out << Say("focus: weak characters", "重点: 苦手な文字");
  for (const std::u16string& c : focus.weakest) {
    out << " " << TerminalText(c);
  }
  if (CliLanguageIsJapanese()) {
    out << "(" << focus.checks << " 回の採点から)\n";
  } else {
    out << " (from " << focus.checks << " checks)\n";
  }
}

}  // namespace

std::variant<PracticePlan, CliRefusal> BuildPracticePlan(const std::vector<std::string>& args,
                                                         System& system, SettingsStore& settings,
                                                         const ProgramFolders& folders) {
  PracticeArgs parsed;
  if (const auto reason = ParseArgs(args, parsed)) {
    return Refuse(*reason);
  }
  PracticePlan plan;
  plan.quiet = parsed.quiet;
  if (parsed.count) {
    const auto count = ParseUnsigned(*parsed.count, kLargestPracticeBatch);
    if (!count || *count == 0) {
      return Refuse(NumberFromTo("--count", 1, kLargestPracticeBatch));
    }
    plan.count = static_cast<int>(*count);
  }
  if (parsed.seed) {
    plan.seed = ParseUnsigned(*parsed.seed, std::numeric_limits<std::uint64_t>::max());
    if (!plan.seed) {
      return Refuse(NumberFromTo("--seed", 0, std::numeric_limits<std::uint64_t>::max()));
    }
  }
  if (parsed.focus) {
    if (*parsed.focus != "weak") {
      return Refuse(
          std::string(Say("--focus needs 'weak'", "--focus には weak を指定してください")));
    }
    plan.focus_weak = true;
  }
  auto options = Options(parsed);
  if (auto* refusal = std::get_if<CliRefusal>(&options)) {
    return *refusal;
  }
  plan.options = std::get<PracticeOptions>(std::move(options));
  auto request = BuildOutputRequest(parsed.output_args, system, settings, folders);
  if (auto* refusal = std::get_if<CliRefusal>(&request)) {
    return *refusal;
  }
  plan.request = std::get<OutputRequest>(std::move(request));
  return plan;
}

int RunPracticeCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                   System& system, SettingsStore& settings, const std::function<Canvas&()>& canvas,
                   const SeedSource& fresh_seed, const CliSetup& setup) {
  const ProgramFolders folders = DecidedOrPortable(setup.folders, system);
  WarnIfSettingsUnreadable(settings, folders, err);
  const auto built = BuildPracticePlan(args, system, settings, folders);
  if (const auto* refusal = std::get_if<CliRefusal>(&built)) {
    err << refusal->message << "\n";
    return 2;
  }
  PracticePlan plan = std::get<PracticePlan>(built);
  const std::uint64_t first_seed = plan.seed ? *plan.seed : fresh_seed();
  // Flushed line by line: a learner, or a script reading the pipe, gets the
  // seed at once and each telegram's files as soon as it is written.
  out << Say("seed: ", "シード: ") << first_seed << std::endl;
  if (plan.focus_weak) {
    AimAtWeakCharacters(system, folders.history_file, plan.options, out);
  }

  const WatchedRun watched;
  for (int i = 0; i < plan.count; ++i) {
    // Unsigned, so a seed near the top wraps round to 0 and stays reproducible.
    const std::uint64_t seed = first_seed + static_cast<std::uint64_t>(i);
    if (ProgramInterruption().requested) {
      return StatusAfterInterruption(1);  // no new run once asked to stop
    }
    OutputRequest request = plan.request;
    request.fields = MakePracticeTelegram(plan.options, seed);
    const OutputReport report =
        RunOutputOnConsole(request, system, canvas(), err, plan.quiet, setup);
    if (report.result == OutputReport::Result::kRefused) {
      return 2;
    }
    std::vector<std::filesystem::path> written = report.written;
    std::size_t failed = report.problems.size();
    if (!report.folder.empty()) {
      const std::filesystem::path key = AnswerKeyPath(report.folder);
      if (SaveTelegramFile(system, key, request.fields)) {
        written.push_back(key);
      } else {
        err << "hoshizora-cli: " << CannotWrite(PrintablePath(key)) << "\n";
        ++failed;
      }
    }
    for (const auto& path : written) {
      out << PrintablePath(path) << std::endl;
    }
    out << RunSummary(written.size(), report.folder, failed) << Say(" (seed ", "(シード ") << seed
        << ")" << std::endl;
    if (failed == 0) {
      continue;
    }
    if (i + 1 < plan.count) {
      if (CliLanguageIsJapanese()) {
        err << "hoshizora-cli: 練習電報 " << plan.count << " 通のうち " << i + 1
            << " 通で止めました\n";
      } else {
        err << "hoshizora-cli: stopped after " << i + 1 << " of " << plan.count
            << " practice telegrams\n";
      }
    }
    return StatusAfterInterruption(1);
  }
  return 0;
}

}  // namespace hoshizora
