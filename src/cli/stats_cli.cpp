#include "cli/stats_cli.h"

#include <cstdio>
#include <optional>
#include <ostream>

#include "base/utf8.h"
#include "cli/cli_language.h"
#include "cli/cli_paths.h"
#include "cli/cli_refusals.h"
#include "cli/json_text.h"
#include "cli/terminal_text.h"
#include "history/history_file.h"
#include "history/history_stats.h"
#include "history/stats_chart.h"

namespace hoshizora {
namespace {

// How many of each list the plain report shows; --json gives them all.
constexpr std::size_t kCharactersShown = 20;
constexpr std::size_t kConfusionsShown = 10;

constexpr const char* kHelp =
    "Usage: hoshizora-cli stats [--sending] [--last N] [--json] [--chart FILE.png]\n"
    "\n"
    "How you stand by the practice history (history.csv beside settings.ini),\n"
    "over every scored copy or the newest N (1-10000): characters worst first by\n"
    "error rate (written wrong / heard), the most frequent confusions (expected ->\n"
    "written) and the score's trend (first, best, last, mean of the last 10).\n"
    "\n"
    "  --sending       the sendings scored (decode --key, the sending dialog)\n"
    "                  instead of the copies: characters keyed wrong / keyed\n"
    "  --json          print one JSON object instead:\n"
    "                  {\"checks\", \"characters\": [{\"character\", \"heard\", \"errors\",\n"
    "                  \"rate\"}], \"confusions\": [{\"expected\", \"got\", \"count\"}],\n"
    "                  \"scores\": [oldest first]}, characters and confusions worst first\n"
    "  --chart FILE    draw the scores over time and the twenty weakest characters\n"
    "                  into a PNG picture\n"
    "\n"
    "Exit status: 0 shown (also with no history yet), 1 the chart could not be\n"
    "written, 2 bad arguments or a history that cannot be read.\n";

constexpr const char* kJapaneseHelp =
    "使い方: hoshizora-cli stats [--sending] [--last N] [--json] [--chart FILE.png]\n"
    "\n"
    "練習の記録(settings.ini と同じフォルダの history.csv)の、採点したすべての\n"
    "写しか最近の N 回(1-10000)から今の力を示します: 誤りの率(書き誤り/聞いた数)\n"
    "の高い順の字、よくある取り違え(正しい字 -> 書いた字)、得点の推移(最初、\n"
    "最高、最新、最近 10 回の平均)。\n"
    "\n"
    "  --sending       写しの代わりに、採点した送信(decode --key、送信練習)を\n"
    "                  まとめます: 打ち誤り/打った数\n"
    "  --json          代わりに JSON を一つ表示します:\n"
    "                  {\"checks\", \"characters\": [{\"character\", \"heard\", \"errors\",\n"
    "                  \"rate\"}], \"confusions\": [{\"expected\", \"got\", \"count\"}],\n"
    "                  \"scores\": [古い順]}。characters と confusions は悪い順\n"
    "  --chart FILE    得点の推移と苦手な 20 字を PNG の画像に描きます\n"
    "\n"
    "終了コード: 0 は表示できた(記録がまだないときも)、1 はグラフを書けなかった、\n"
    "2 は引数の誤りか記録を読めなかったときです。\n";

struct StatsArgs {
  bool sending = false;
  std::optional<std::size_t> last;
  bool json = false;
  std::optional<std::filesystem::path> chart;
};

std::optional<std::size_t> ParseLast(const std::string& text) {
  if (text.empty() || text.size() > 5) {
    return std::nullopt;
  }
  std::size_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') {
      return std::nullopt;
    }
    value = value * 10 + static_cast<std::size_t>(c - '0');
  }
  if (value == 0 || value > kHistoryRecordBound) {
    return std::nullopt;
  }
  return value;
}

// A reason on failure.
std::optional<std::string> ParseArgs(const std::vector<std::string>& args, StatsArgs& parsed) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--json") {
      parsed.json = true;
    } else if (a == "--sending") {
      parsed.sending = true;
    } else if (a == "--last" || a == "--chart") {
      if (i + 1 >= args.size()) {
        return NeedsValue(a);
      }
      const std::string& value = args[++i];
      if (a == "--chart") {
        parsed.chart = PathFromArg(value);
      } else if (!(parsed.last = ParseLast(value))) {
        return NumberFromTo("--last", 1, kHistoryRecordBound);
      }
    } else {
      return a.starts_with("-") ? UnknownOption(a) : UnexpectedArgument(a);
    }
  }
  return std::nullopt;
}

std::string Fixed(double value, int decimals) {
  char text[32];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  return text;
}

void PrintJson(const HistorySummary& summary, std::ostream& out) {
  out << "{\"checks\": " << summary.checks << ", \"characters\": [";
  for (std::size_t i = 0; i < summary.characters.size(); ++i) {
    const CharacterStanding& c = summary.characters[i];
    out << (i == 0 ? "" : ", ") << "{\"character\": " << JsonString(c.character)
        << ", \"heard\": " << c.heard << ", \"errors\": " << c.errors
        << ", \"rate\": " << Fixed(c.Rate(), 4) << "}";
  }
  out << "], \"confusions\": [";
  for (std::size_t i = 0; i < summary.confusions.size(); ++i) {
    const ConfusionStanding& c = summary.confusions[i];
    out << (i == 0 ? "" : ", ") << "{\"expected\": " << JsonString(c.expected)
        << ", \"got\": " << JsonString(c.got) << ", \"count\": " << c.count << "}";
  }
  out << "], \"scores\": [";
  for (std::size_t i = 0; i < summary.scores.size(); ++i) {
    out << (i == 0 ? "" : ", ") << summary.scores[i];
  }
  out << "]}\n";
}

std::string HistoryFileText(const std::filesystem::path& file) {
  return file.empty() ? std::string(Say("(no home folder)", "(ホームフォルダがありません)"))
                      : PrintablePath(file);
}

void PrintReport(const HistorySummary& summary, std::ostream& out) {
  const bool ja = CliLanguageIsJapanese();
  out << Say("checks: ", "採点の回数: ") << summary.checks << "\n";
  if (const auto trend = TrendOf(summary.scores)) {
    const std::size_t recent = std::min<std::size_t>(summary.scores.size(), 10);
    if (ja) {
      out << "得点: 最初 " << trend->first << "、最高 " << trend->best << "、最新 " << trend->last
          << "、最近 " << recent << " 回の平均 " << Fixed(trend->mean_of_last_ten, 1) << "\n";
    } else {
      out << "scores: first " << trend->first << ", best " << trend->best << ", last "
          << trend->last << ", mean of the last " << recent << " "
          << Fixed(trend->mean_of_last_ten, 1) << "\n";
    }
  }
  std::size_t shown = 0;
  for (const CharacterStanding& c : summary.characters) {
    if (c.errors == 0 || shown == kCharactersShown) {
      break;
    }
    if (shown++ == 0) {
      out << Say("weakest characters (written wrong / heard):\n", "苦手な字(誤り/聞いた数):\n");
    }
    out << "  " << TerminalText(c.character) << "  " << c.errors << "/" << c.heard << "  "
        << Fixed(100 * c.Rate(), 0) << "%\n";
  }
  if (shown == 0) {
    if (ja) {
      out << "この " << summary.checks << " 回の採点で書き誤った字はありません\n";
    } else {
      out << "no character written wrong in these " << summary.checks << " checks\n";
    }
  }
  for (std::size_t i = 0; i < summary.confusions.size() && i < kConfusionsShown; ++i) {
    const ConfusionStanding& c = summary.confusions[i];
    if (i == 0) {
      out << Say("confusions (expected -> written):\n", "取り違え(正しい字 -> 書いた字):\n");
    }
    out << "  " << TerminalText(c.expected) << " -> " << TerminalText(c.got) << "  " << c.count
        << "\n";
  }
}

void NoteSkipped(int skipped, const std::filesystem::path& file, std::ostream& err) {
  if (skipped == 0) {
    return;
  }
  if (CliLanguageIsJapanese()) {
    err << "hoshizora-cli: 注意: " << PrintablePath(file) << " の壊れた行や見知らぬ行 " << skipped
        << " 行を読み飛ばしました\n";
  } else {
    err << "hoshizora-cli: note: skipped " << skipped << " damaged or foreign lines of "
        << PrintablePath(file) << "\n";
  }
}

}  // namespace

void NoteHistoryAppend(const HistoryAppend& append, const std::filesystem::path& file,
                       std::ostream& err) {
  NoteSkipped(append.skipped, file, err);
  if (append.result == HistoryAppend::Result::kFailed) {
    if (CliLanguageIsJapanese()) {
      err << "hoshizora-cli: 得点を練習の記録 " << HistoryFileText(file)
          << " に加えられませんでした\n";
    } else {
      err << "hoshizora-cli: the score was not added to the practice history "
          << HistoryFileText(file) << "\n";
    }
  }
}

int RunStatsCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                System& system, const std::function<Canvas&()>& canvas, const CliSetup& setup) {
  if (AnswerHelp(args, Say(kHelp, kJapaneseHelp), out)) {
    return 0;
  }
  StatsArgs parsed;
  if (const auto reason = ParseArgs(args, parsed)) {
    err << "hoshizora-cli: " << *reason << Say(" (see stats --help)", "(stats --help を参照)")
        << "\n";
    return 2;
  }
  const ProgramFolders folders = DecidedOrPortable(setup.folders, system);
  const std::filesystem::path& file = folders.history_file;
  const HistoryRead read = ReadHistory(system, file);
  if (read.status == HistoryRead::Status::kUnreadable) {
    if (CliLanguageIsJapanese()) {
      err << "hoshizora-cli: 練習の記録 " << PrintablePath(file) << " を読めません\n";
    } else {
      err << "hoshizora-cli: cannot read the practice history " << PrintablePath(file) << "\n";
    }
    return 2;
  }
  NoteSkipped(read.skipped, file, err);
  const HistorySummary summary = SummarizeHistory(
      RecordsOfKind(read.records, parsed.sending ? HistoryKind::kSending : HistoryKind::kReception),
      parsed.last);
  if (parsed.json) {
    PrintJson(summary, out);
  } else if (summary.checks == 0) {
    if (CliLanguageIsJapanese()) {
      out << "練習の記録はまだありません。採点した写しは " << HistoryFileText(file)
          << " に記録されます\n";
    } else {
      out << "no practice history yet: scored copies are recorded in " << HistoryFileText(file)
          << "\n";
    }
  } else {
    PrintReport(summary, out);
  }
  if (parsed.chart) {
    if (summary.checks == 0) {
      err << "hoshizora-cli: "
          << Say("no practice history yet, so no chart\n",
                 "練習の記録がまだないため、グラフは作りません\n");
      return 0;
    }
    if (!SaveStatsChart(canvas(), system, summary, *parsed.chart)) {
      err << "hoshizora-cli: " << CannotWrite(PrintablePath(*parsed.chart)) << "\n";
      return 1;
    }
    if (!parsed.json) {
      out << PrintablePath(*parsed.chart) << "\n";
    }
  }
  return 0;
}

}  // namespace hoshizora
