#include "cli/check_cli.h"

#include <filesystem>
#include <optional>
#include <ostream>
#include <variant>

#include "app/program_folders.h"
#include "app/record_check.h"
#include "base/utf8.h"
#include "check/alignment.h"
#include "check/check_fields.h"
#include "check/check_result.h"
#include "check/check_scheme.h"
#include "check/copy_text.h"
#include "check/marked_form.h"
#include "cli/cli_paths.h"
#include "cli/json_text.h"
#include "cli/stats_cli.h"
#include "cli/terminal_text.h"
#include "cli/text_commands.h"
#include "platform/paths.h"
#include "telegram_file/telegram_text_format.h"

namespace hoshizora {

const char* const kCheckUsage =
    "Usage: hoshizora-cli check KEY.txt [COPY] [--out DIR] [--json] [--quiet]\n"
    "                           [--no-history]\n"
    "\n"
    "Scores a copy of a telegram against its answer key KEY.txt (a telegram file,\n"
    "as 電報保存 and practice write it) and writes the copy on marked reception\n"
    "form pages, KEY_採点_1.jpg, KEY_採点_2.jpg, ... in DIR (default: the key's\n"
    "folder).\n"
    "\n"
    "COPY is a telegram file (with the tags: its header fields are scored too) or\n"
    "plain UTF-8 text taken as the body; \"-\" or no COPY reads standard input.\n"
    "Both are compared in keyed characters: hiragana, half-width and voiced kana as\n"
    "keying sends them (ガ is カ and ゛), signs, ?, blanks and line breaks ignored.\n"
    "Each error is a substitution, an omission or an insertion; the score is 100\n"
    "minus the deductions set in settings.ini, [Check] Substitution, Omission,\n"
    "Insertion (0-100, default 1 each) and PassMark (0-100, default 80).\n"
    "Each scored copy is added to the practice history, history.csv beside\n"
    "settings.ini (see stats --help).\n"
    "\n"
    "  --out DIR   write the pages into the existing folder DIR\n"
    "  --json      print one JSON object: score, pass, pass_mark, substitutions,\n"
    "              omissions, insertions, errors (kind, field, position from 0,\n"
    "              expected, got) and pictures (absolute paths)\n"
    "  --quiet     print only the score and the counts\n"
    "  --no-history  score without adding the copy to the practice history\n"
    "\n"
    "Exit status: 0 scored, 1 a page could not be written, 2 bad arguments or input\n"
    "(nothing is written then).\n";

namespace {

namespace fs = std::filesystem;

struct CheckArgs {
  std::optional<std::string> key;
  std::optional<std::string> copy;
  std::optional<std::string> out;
  bool json = false;
  bool quiet = false;
  bool no_history = false;
  bool help = false;
};

std::optional<std::string> ParseArgs(const std::vector<std::string>& args, CheckArgs& parsed) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--help" || a == "-h") {
      parsed.help = true;
    } else if (a == "--json") {
      parsed.json = true;
    } else if (a == "--quiet") {
      parsed.quiet = true;
    } else if (a == "--no-history") {
      parsed.no_history = true;
    } else if (a == "--out") {
      if (i + 1 >= args.size()) {
        return a + " needs a value";
      }
      parsed.out = args[++i];
    } else if (a.starts_with("--")) {
      return "unknown option '" + a + "'";
    } else if (!parsed.key) {
      parsed.key = a;
    } else if (!parsed.copy) {
      parsed.copy = a;
    } else {
      return "unexpected argument '" + a + "'";
    }
  }
  if (!parsed.help && !parsed.key) {
    return "check needs the answer key KEY.txt (see check --help)";
  }
  return std::nullopt;
}

CliRefusal Refuse(const std::string& reason) {
  return {"hoshizora-cli: " + reason};
}

std::variant<CheckCopy, CliRefusal> ReadCopy(const std::optional<std::string>& name,
                                             std::istream& in, System& system) {
  std::string bytes;
  std::string what = "the copy";
  if (!name || *name == "-") {
    switch (ReadInput(in, bytes)) {
      case InputStatus::kRead:
        break;
      case InputStatus::kTooLarge:
        return Refuse("the copy is larger than 16 MiB");
      case InputStatus::kReadFailed:
        return Refuse("cannot read the copy");
    }
  } else {
    what = *name;
    FileRead file = system.ReadFile(PathFromArg(*name), kLargestTelegramFile);
    switch (file.status) {
      case FileRead::Status::kRead:
        bytes = std::move(file.bytes);
        break;
      case FileRead::Status::kTooLarge:
        return Refuse(*name + " is larger than 1 MiB");
      case FileRead::Status::kNotRegularFile:
        return Refuse("cannot read " + *name + " (not a regular file)");
      case FileRead::Status::kMissing:
      case FileRead::Status::kReadFailed:
        return Refuse("cannot read " + *name);
    }
  }
  auto copy = ParseCopyText(bytes);
  if (!copy) {
    return Refuse(what + " is not valid UTF-8");
  }
  return std::move(*copy);
}

// The key's folder, made absolute so that the pages are named whole.
std::variant<fs::path, CliRefusal> KeyFolder(const std::string& key) {
  std::error_code ec;
  const fs::path absolute = fs::absolute(PathFromArg(key), ec);
  if (ec) {
    return Refuse("cannot use the folder of " + key + "; name one with --out DIR");
  }
  return absolute.parent_path();
}

const char* KindName(CheckErrorKind kind) {
  switch (kind) {
    case CheckErrorKind::kSubstitution:
      return "substitution";
    case CheckErrorKind::kOmission:
      return "omission";
    case CheckErrorKind::kInsertion:
      return "insertion";
  }
  return "";
}

const char* FieldName(CheckField field) {
  switch (field) {
    case CheckField::kBody:
      return "body";
    case CheckField::kCount:
      return "count";
    case CheckField::kStation:
      return "station";
    case CheckField::kNumber:
      return "number";
    case CheckField::kTime:
      return "time";
    case CheckField::kAddressee:
      return "addressee";
  }
  return "";
}

std::string Counted(int n, const char* one, const char* many) {
  return std::to_string(n) + " " + (n == 1 ? one : many);
}

void PrintText(std::ostream& out, const CheckResult& result, const std::vector<fs::path>& pictures,
               bool quiet) {
  out << "score: " << result.score << "/100, " << (result.pass ? "pass" : "fail") << " ("
      << result.scheme.pass_mark << ")\n";
  out << Counted(result.substitutions, "substitution", "substitutions") << ", "
      << Counted(result.omissions, "omission", "omissions") << ", "
      << Counted(result.insertions, "insertion", "insertions") << "\n";
  if (quiet) {
    return;
  }
  out << "deductions: " << result.scheme.substitution << " per substitution, "
      << result.scheme.omission << " per omission, " << result.scheme.insertion
      << " per insertion\n";
  for (const CheckError& e : result.errors) {
    // Counted from 1 here, for people; the JSON counts from 0.
    out << FieldName(e.field) << " " << e.position + 1 << ": ";
    switch (e.kind) {
      case CheckErrorKind::kSubstitution:
        out << TerminalText(e.expected) << " written as " << TerminalText(e.got);
        break;
      case CheckErrorKind::kOmission:
        out << TerminalText(e.expected) << " left out";
        break;
      case CheckErrorKind::kInsertion:
        out << TerminalText(e.got) << " added";
        break;
    }
    out << " (" << KindName(e.kind) << ")\n";
  }
  for (const fs::path& picture : pictures) {
    out << PrintablePath(picture) << "\n";
  }
}

void PrintJson(std::ostream& out, const CheckResult& result,
               const std::vector<fs::path>& pictures) {
  out << "{\"score\": " << result.score << ", \"pass\": " << (result.pass ? "true" : "false")
      << ", \"pass_mark\": " << result.scheme.pass_mark
      << ", \"substitutions\": " << result.substitutions << ", \"omissions\": " << result.omissions
      << ", \"insertions\": " << result.insertions << ", \"errors\": [";
  for (std::size_t i = 0; i < result.errors.size(); ++i) {
    const CheckError& e = result.errors[i];
    out << (i == 0 ? "" : ", ") << "{\"kind\": \"" << KindName(e.kind) << "\", \"field\": \""
        << FieldName(e.field) << "\", \"position\": " << e.position
        << ", \"expected\": " << JsonString(e.expected) << ", \"got\": " << JsonString(e.got)
        << "}";
  }
  out << "], \"pictures\": [";
  for (std::size_t i = 0; i < pictures.size(); ++i) {
    out << (i == 0 ? "" : ", ") << JsonString(PathText(pictures[i]));
  }
  out << "]}\n";
}

// Why no page, or not every page, was written.
std::string PictureProblem(const ImageOutcome& outcome) {
  switch (outcome.status) {
    case ImageStatus::kNoJpegEncoder:
      return "no JPEG encoder";
    case ImageStatus::kNoFormTemplate:
      return "the form template " + EncodeUtf8(u"和文電報受信用紙.jpg") + " is missing";
    default:
      break;
  }
  std::string failed;
  for (const fs::path& path : outcome.failed) {
    failed += (failed.empty() ? "cannot write " : ", ") + PrintablePath(path);
  }
  return failed.empty() ? "the marked form was not written" : failed;
}

}  // namespace

void PrintCheckReport(std::ostream& out, const CheckResult& result, bool json) {
  if (json) {
    PrintJson(out, result, {});
  } else {
    PrintText(out, result, {}, false);
  }
}

int RunCheckCli(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
                std::ostream& err, System& system, SettingsStore& settings,
                const std::function<Canvas&()>& canvas, const CliSetup& setup) {
  CheckArgs parsed;
  if (const auto reason = ParseArgs(args, parsed)) {
    err << "hoshizora-cli: " << *reason << "\n";
    return 2;
  }
  if (parsed.help) {
    out << kCheckUsage;
    return 0;
  }
  auto key = ReadTelegram(system, *parsed.key);
  if (const auto* refusal = std::get_if<CliRefusal>(&key)) {
    err << refusal->message << "\n";
    return 2;
  }
  auto root = parsed.out ? OutputRoot(*parsed.out) : KeyFolder(*parsed.key);
  if (const auto* refusal = std::get_if<CliRefusal>(&root)) {
    err << refusal->message << "\n";
    return 2;
  }
  auto copy = ReadCopy(parsed.copy, in, system);
  if (const auto* refusal = std::get_if<CliRefusal>(&copy)) {
    err << refusal->message << "\n";
    return 2;
  }
  const TelegramFields& fields = std::get<TelegramFields>(key);
  const CheckCopy& copied = std::get<CheckCopy>(copy);
  if (FieldTooLongToScore(fields, copied)) {
    err << "hoshizora-cli: a field of the key or the copy is longer than " << kLongestCheckedField
        << " keyed characters\n";
    return 2;
  }

  const CheckResult result = ScoreCopy(fields, copied, ReadCheckScheme(settings));
  const ProgramFolders folders =
      setup.folders ? *setup.folders : PortableFolders(ExecutableFolder(system));
  const MarkedFormDestination where{folders.data_folder, std::get<fs::path>(root),
                                    MarkedFormStem(PathFromArg(*parsed.key))};
  const ImageOutcome outcome = WriteMarkedForm(canvas(), system, where, fields, copied, result);

  if (parsed.json) {
    PrintJson(out, result, outcome.written);
  } else {
    PrintText(out, result, outcome.written, parsed.quiet);
  }
  // The score stands even when it cannot be recorded.
  if (!parsed.no_history) {
    NoteHistoryAppend(RecordCheck(system, folders.history_file, fields, copied, result,
                                  {PathFromArg(*parsed.key).filename().u16string(), {}, {}, {}}),
                      folders.history_file, err);
  }
  if (outcome.status != ImageStatus::kWritten) {
    err << "hoshizora-cli: " << PictureProblem(outcome) << "\n";
    return 1;
  }
  return 0;
}

}  // namespace hoshizora
