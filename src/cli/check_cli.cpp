#include "cli/check_cli.h"

#include <filesystem>
#include <optional>
#include <ostream>
#include <variant>

#include "app/program_folders.h"
#include "app/record_check.h"
#include "base/limits.h"
#include "base/utf8.h"
#include "check/alignment.h"
#include "check/check_fields.h"
#include "check/check_result.h"
#include "check/check_scheme.h"
#include "check/copy_text.h"
#include "check/marked_form.h"
#include "cli/cli_language.h"
#include "cli/cli_paths.h"
#include "cli/cli_refusals.h"
#include "cli/json_text.h"
#include "cli/output_cli.h"
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

const char* const kJapaneseCheckUsage =
    "使い方: hoshizora-cli check KEY.txt [COPY] [--out DIR] [--json] [--quiet]\n"
    "                           [--no-history]\n"
    "\n"
    "電報の写しを答えの KEY.txt(電報保存や practice が書く電報ファイル)と比べて\n"
    "採点し、写しを採点した受信用紙 KEY_採点_1.jpg、KEY_採点_2.jpg、... として\n"
    "DIR(既定: 答えのフォルダ)に作ります。\n"
    "\n"
    "COPY は電報ファイル(タグ付き。見出しの欄も採点します)か、本文とみなす\n"
    "ふつうの UTF-8 のテキストです。\"-\" か COPY なしで標準入力を読みます。\n"
    "どちらも送る字で比べます: ひらがな、半角かな、濁音のかなは送るとおりに\n"
    "(ガはカと゛)。記号、?、空白、改行は数えません。\n"
    "誤りは誤字・脱字・余字のどれかで、得点は 100 から settings.ini の [Check]\n"
    "Substitution(誤字)、Omission(脱字)、Insertion(余字)の減点(0-100、既定は\n"
    "どれも 1)を引いたものです。合格点は PassMark(0-100、既定 80)です。\n"
    "採点した写しは、settings.ini と同じフォルダの練習の記録 history.csv に\n"
    "加わります(stats --help を参照)。\n"
    "\n"
    "  --out DIR   受信用紙を既存のフォルダ DIR に作ります\n"
    "  --json      JSON を一つ表示します: score、pass、pass_mark、substitutions、\n"
    "              omissions、insertions、errors(kind、field、0 から数えた\n"
    "              position、expected、got)、pictures(絶対パス)\n"
    "  --quiet     得点と数だけを表示します\n"
    "  --no-history  写しを練習の記録に加えずに採点します\n"
    "\n"
    "終了コード: 0 は採点できた、1 は受信用紙を書けなかった、2 は引数か入力の誤り\n"
    "(このときは何も書きません)です。\n";

namespace {

namespace fs = std::filesystem;

struct CheckArgs {
  std::optional<std::string> key;
  std::optional<std::string> copy;
  std::optional<std::string> out;
  bool json = false;
  bool quiet = false;
  bool no_history = false;
};

std::optional<std::string> ParseArgs(const std::vector<std::string>& args, CheckArgs& parsed) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--json") {
      parsed.json = true;
    } else if (a == "--quiet") {
      parsed.quiet = true;
    } else if (a == "--no-history") {
      parsed.no_history = true;
    } else if (a == "--out") {
      if (i + 1 >= args.size()) {
        return NeedsValue(a);
      }
      parsed.out = args[++i];
    } else if (a.starts_with("--")) {
      return UnknownOption(a);
    } else if (!parsed.key) {
      parsed.key = a;
    } else if (!parsed.copy) {
      parsed.copy = a;
    } else {
      return UnexpectedArgument(a);
    }
  }
  if (!parsed.key) {
    return std::string(Say("check needs the answer key KEY.txt (see check --help)",
                           "check には答えの電報 KEY.txt を指定してください(check --help を参照)"));
  }
  return std::nullopt;
}

CliRefusal Refuse(std::string_view reason) {
  return {"hoshizora-cli: " + std::string(reason)};
}

std::variant<CheckCopy, CliRefusal> ReadCopy(const std::optional<std::string>& name,
                                             std::istream& in, System& system) {
  std::string bytes;
  std::string what(Say("the copy", "写し"));
  if (!name || *name == "-") {
    switch (ReadInput(in, bytes)) {
      case InputStatus::kRead:
        break;
      case InputStatus::kTooLarge:
        return Refuse(std::string(Say("the copy is larger than ", "写しが ")) +
                      MiBText(kLargestTextInput) + std::string(Say("", " を超えています")));
      case InputStatus::kReadFailed:
        return Refuse(CannotRead(what));
    }
  } else {
    what = *name;
    FileRead file = system.ReadFile(PathFromArg(*name), kLargestTelegramFile);
    switch (file.status) {
      case FileRead::Status::kRead:
        bytes = std::move(file.bytes);
        break;
      case FileRead::Status::kTooLarge:
        return Refuse(*name + std::string(Say(" is larger than ", " は ")) +
                      MiBText(kLargestTelegramFile) + std::string(Say("", " を超えています")));
      case FileRead::Status::kNotRegularFile:
        return Refuse(CannotRead(*name) +
                      std::string(Say(" (not a regular file)", "(通常のファイルではありません)")));
      case FileRead::Status::kMissing:
      case FileRead::Status::kReadFailed:
        return Refuse(CannotRead(*name));
    }
  }
  auto copy = ParseCopyText(bytes);
  if (!copy) {
    return Refuse(what + std::string(Say(" is not valid UTF-8", " は正しい UTF-8 ではありません")));
  }
  return std::move(*copy);
}

// The key's folder, made absolute so that the pages are named whole.
std::variant<fs::path, CliRefusal> KeyFolder(const std::string& key) {
  std::error_code ec;
  const fs::path absolute = fs::absolute(PathFromArg(key), ec);
  if (ec) {
    return Refuse(CliLanguageIsJapanese()
                      ? key + " のフォルダを使えません。--out DIR でフォルダを指定してください"
                      : "cannot use the folder of " + key + "; name one with --out DIR");
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

// The Japanese report uses the words of the window's practice result.
const char* JapaneseFieldName(CheckField field) {
  switch (field) {
    case CheckField::kBody:
      return "本文";
    case CheckField::kCount:
      return "文字数";
    case CheckField::kStation:
      return "発信局";
    case CheckField::kNumber:
      return "番号";
    case CheckField::kTime:
      return "時刻";
    case CheckField::kAddressee:
      return "名あて";
  }
  return "";
}

void PrintJapaneseText(std::ostream& out, const CheckResult& result,
                       const std::vector<fs::path>& pictures, bool quiet) {
  const CheckScheme& s = result.scheme;
  out << "得点: " << result.score << "/100 " << (result.pass ? "合格" : "不合格") << "(合格点 "
      << s.pass_mark << ")\n";
  out << "誤字 " << result.substitutions << "、脱字 " << result.omissions << "、余字 "
      << result.insertions << "\n";
  if (quiet) {
    return;
  }
  out << "減点: 誤字 " << s.substitution << "点、脱字 " << s.omission << "点、余字 " << s.insertion
      << "点\n";
  for (const CheckError& e : result.errors) {
    out << JapaneseFieldName(e.field) << " " << e.position + 1;
    switch (e.kind) {
      case CheckErrorKind::kSubstitution:
        out << "字目 誤字: " << TerminalText(e.expected) << " → " << TerminalText(e.got);
        break;
      case CheckErrorKind::kOmission:
        out << "字目 脱字: " << TerminalText(e.expected);
        break;
      case CheckErrorKind::kInsertion:
        out << "字目の前 余字: " << TerminalText(e.got);
        break;
    }
    out << "\n";
  }
  for (const fs::path& picture : pictures) {
    out << PrintablePath(picture) << "\n";
  }
}

void PrintText(std::ostream& out, const CheckResult& result, const std::vector<fs::path>& pictures,
               bool quiet) {
  if (CliLanguageIsJapanese()) {
    PrintJapaneseText(out, result, pictures, quiet);
    return;
  }
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
      return std::string(Say("no JPEG encoder", "JPEG エンコーダがありません"));
    case ImageStatus::kNoFormTemplate:
      return CliLanguageIsJapanese()
                 ? "受信用紙のテンプレート " + EncodeUtf8(u"和文電報受信用紙.jpg") + " がありません"
                 : "the form template " + EncodeUtf8(u"和文電報受信用紙.jpg") + " is missing";
    default:
      break;
  }
  std::string failed;
  for (const fs::path& path : outcome.failed) {
    failed += (failed.empty() ? "" : ", ") + PrintablePath(path);
  }
  return failed.empty() ? std::string(Say("the marked form was not written",
                                          "採点した受信用紙を作成できませんでした"))
                        : CannotWrite(failed);
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
  if (AnswerHelp(args, Say(kCheckUsage, kJapaneseCheckUsage), out)) {
    return 0;
  }
  CheckArgs parsed;
  if (const auto reason = ParseArgs(args, parsed)) {
    err << "hoshizora-cli: " << *reason << "\n";
    return 2;
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
    if (CliLanguageIsJapanese()) {
      err << "hoshizora-cli: 答えか写しに、送る文字で " << kLongestCheckedField
          << " 字を超える欄があります\n";
    } else {
      err << "hoshizora-cli: a field of the key or the copy is longer than " << kLongestCheckedField
          << " keyed characters\n";
    }
    return 2;
  }

  const CheckResult result = ScoreCopy(fields, copied, ReadCheckScheme(settings));
  const ProgramFolders folders = DecidedOrPortable(setup.folders, system);
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
