#include "cli/cli_app.h"

#include <algorithm>
#include <exception>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "base/limits.h"
#include "cli/check_cli.h"
#include "cli/cli_language.h"
#include "cli/decode_cli.h"
#include "cli/output_cli.h"
#include "cli/practice_cli.h"
#include "cli/stats_cli.h"
#include "cli/text_commands.h"

namespace hoshizora {
namespace {

// Each command's entry in the help, as the overview lists it; `COMMAND
// --help` shows the one entry with the notes.
struct CommandHelp {
  std::string_view name;
  std::string_view text;
  std::string_view japanese;
  // Whether the command answers --help itself, with a usage of its own.
  bool own_usage = false;
};

constexpr CommandHelp kCommandHelp[] = {
    {"output",
     "  output [TELEGRAM.txt] [--freq HZ] [--cpm N] [--out DIR]\n"
     "         [--rise-ms MS] [--effective-cpm N] [--quiet]\n"
     "              write the audio, listing and form pictures of a telegram\n"
     "              (the sample telegram when no file is given) into a new folder\n"
     "              in DIR, else beside the executable (installed: in the current\n"
     "              folder); HZ {frequency}, N {speed}, by default from settings.ini\n"
     "              (else {default frequency} and {default speed}); --quiet shows no progress\n"
     "              --rise-ms: each element fades in and out over MS {rise}\n"
     "              (0 = off); --effective-cpm: Farnsworth spacing, the whole\n"
     "              telegram as long as keyed at N, {slowest effective} up to the speed (the\n"
     "              speed = off); both by default from settings.ini (else off)\n",
     "  output [TELEGRAM.txt] [--freq HZ] [--cpm N] [--out DIR]\n"
     "         [--rise-ms MS] [--effective-cpm N] [--quiet]\n"
     "              電報の音声、テキスト画像、受信用紙の画像を新しいフォルダに\n"
     "              作ります(ファイルを指定しなければ見本の電報)。フォルダは\n"
     "              DIR の中、指定がなければプログラムと同じフォルダ(インストール\n"
     "              版では現在のフォルダ)に作ります。HZ は {frequency}、N は\n"
     "              {speed}、既定は settings.ini の値(なければ {default frequency} と {default "
     "speed})。\n"
     "              --quiet で進み具合を表示しません\n"
     "              --rise-ms: 各符号を MS ミリ秒({rise})かけて立ち上げ、立ち下げ\n"
     "              ます(0 = なし)。--effective-cpm: ファーンズワース式の間隔。\n"
     "              電報全体を N で送ったときの長さにします({slowest effective} から速度まで。\n"
     "              速度と同じ = なし)。どちらも既定は settings.ini の値(なければ\n"
     "              なし)\n"},
    {"practice",
     "  practice [--count N] [--length MIN-MAX] [--groups [--chars SET]] [--seed S]\n"
     "           [--focus weak] [--freq HZ] [--cpm N] [--out DIR] [--quiet]\n"
     "              write N practice telegrams (default 1, at most 100) as output\n"
     "              does, each folder also holding its telegram file\n"
     "              FOLDER_telegram.txt as the answer key; bodies of MIN-MAX\n"
     "              counted characters (default 60-130, within 10-1000), made of\n"
     "              words or, with --groups, of five-character groups from SET\n"
     "              (default the 47 basic kana); prints the seed S, random\n"
     "              unless given; telegram i of the batch (from 0) uses seed S+i;\n"
     "              --focus weak draws groups and words toward the characters the\n"
     "              practice history shows written wrong most (plain without one);\n"
     "              --quiet shows no progress\n",
     "  practice [--count N] [--length MIN-MAX] [--groups [--chars SET]] [--seed S]\n"
     "           [--focus weak] [--freq HZ] [--cpm N] [--out DIR] [--quiet]\n"
     "              練習用の電報を N 通(既定 1、最大 100)、output と同じように\n"
     "              作ります。各フォルダには答えとなる電報ファイル\n"
     "              FOLDER_telegram.txt も入ります。本文は数えて MIN-MAX 字\n"
     "              (既定 60-130、10-1000 の範囲)で、単語から、--groups では\n"
     "              SET の字(既定は基本のかな 47 字)の 5 字組から作ります。\n"
     "              シード S を表示します(指定しなければ無作為)。i 通目(0 から)\n"
     "              はシード S+i を使います。--focus weak は練習の記録で書き誤り\n"
     "              の多い字に組と単語を寄せます(記録がなければふつうの練習)。\n"
     "              --quiet で進み具合を表示しません\n"},
    {"check",
     "  check KEY.txt [COPY] [--out DIR] [--json] [--quiet] [--no-history]\n"
     "              score a copy (a telegram file or plain UTF-8 text, stdin for\n"
     "              - or none) against the answer key and write the marked form\n"
     "              pages KEY_採点_N.jpg into DIR (default: the key's folder);\n"
     "              --json prints one JSON object, --quiet only score and counts;\n"
     "              each scored copy joins the practice history unless\n"
     "              --no-history\n",
     "  check KEY.txt [COPY] [--out DIR] [--json] [--quiet] [--no-history]\n"
     "              写し(電報ファイルかふつうの UTF-8 のテキスト。- か指定なしで\n"
     "              標準入力)を答えの電報と比べて採点し、採点した受信用紙\n"
     "              KEY_採点_N.jpg を DIR(既定: 答えのフォルダ)に作ります。\n"
     "              --json は JSON を一つ表示、--quiet は得点と数だけ表示。\n"
     "              採点した写しは --no-history を付けない限り練習の記録に\n"
     "              加わります\n",
     true},
    {"stats",
     "  stats [--sending] [--last N] [--json] [--chart FILE.png]\n"
     "              how you stand by the practice history: characters worst\n"
     "              first, frequent confusions, the score's trend; --chart draws\n"
     "              the scores and the twenty weakest characters as a PNG;\n"
     "              --sending: the sendings scored instead of the copies\n",
     "  stats [--sending] [--last N] [--json] [--chart FILE.png]\n"
     "              練習の記録から今の力を示します: 苦手な字の順、よくある\n"
     "              取り違え、得点の推移。--chart は得点と苦手な 20 字を PNG に\n"
     "              描きます。--sending では写しの代わりに採点した送信を\n"
     "              まとめます\n",
     true},
    {"decode",
     "  decode AUDIO [--key KEY.txt [--no-history]] [--json] [--chart FILE.png]\n"
     "              decode the Wabun keying in a WAV (or an MP3, through lame\n"
     "              beside the program) and print the text and feedback on its\n"
     "              timing, with --key the score against a telegram file as check\n"
     "              gives it (recorded as a sending unless --no-history), with\n"
     "              --chart a PNG of speed and dah/dit ratios;\n"
     "              exit 1 when no keying is found\n",
     "  decode AUDIO [--key KEY.txt [--no-history]] [--json] [--chart FILE.png]\n"
     "              WAV(またはプログラムと同じフォルダの lame を通して MP3)の\n"
     "              和文の打鍵を読み取り、文と打鍵の間合いについての助言を表示\n"
     "              します。--key では電報ファイルと比べた check と同じ採点\n"
     "              (--no-history を付けない限り送信として記録)、\n"
     "              --chart では速度と長点/短点の比の PNG を作ります。打鍵が\n"
     "              見つからなければ終了コード 1\n",
     true},
    {"encode",
     "  encode < TEXT\n"
     "              read UTF-8 text on stdin, print its Morse Code text; the\n"
     "              characters that have no code are named on stderr\n",
     "  encode < TEXT\n"
     "              標準入力の UTF-8 のテキストを読み、モールス符号のテキストを\n"
     "              表示します。符号のない字は標準エラー出力に書きます\n"},
    {"mark",
     "  mark < TEXT\n"
     "              read UTF-8 text on stdin, print it with Group marks inserted\n",
     "  mark < TEXT\n"
     "              標準入力の UTF-8 のテキストを読み、区切りの「？」を入れて\n"
     "              表示します\n"},
};

#ifdef _WIN32
constexpr std::string_view kStops =
    "Ctrl-C, Ctrl-Break or closing the console window ends a run cleanly: the\n"
    "encoder stops, no partial WAV is left, and the exit status is 130 (143 when\n"
    "the console window is closed).\n";
constexpr std::string_view kJapaneseStops =
    "Ctrl-C、Ctrl-Break、コンソールを閉じる操作で、書き出しはきれいに止まります:\n"
    "エンコーダを止め、作りかけの WAV は残さず、終了コードは 130(コンソールを\n"
    "閉じたときは 143)です。\n";
#else
constexpr std::string_view kStops =
    "Ctrl-C, SIGTERM or SIGHUP ends a run cleanly: the encoder stops, no partial WAV\n"
    "is left, and the exit status is 128 + the signal.\n";
constexpr std::string_view kJapaneseStops =
    "Ctrl-C、SIGTERM、SIGHUP で、書き出しはきれいに止まります: エンコーダを止め、\n"
    "作りかけの WAV は残さず、終了コードは 128 + シグナルの番号です。\n";
#endif

constexpr std::string_view kNotes =
    "On a terminal, control characters and bidirectional marks of a telegram are\n"
    "shown as U+XXXX; a file or a pipe gets the text exactly.\n";
constexpr std::string_view kJapaneseNotes =
    "端末では、電報の制御文字や書字方向の記号を U+XXXX と表示します。ファイルや\n"
    "パイプにはテキストをそのまま書きます。\n";

constexpr std::string_view kExitStatus =
    "Exit status: 0 everything written, 1 a writer failed or a field was cut (or\n"
    "standard output could not be written), 2 bad arguments or input.\n";
constexpr std::string_view kJapaneseExitStatus =
    "終了コード: 0 はすべて書けた、1 は書けなかったファイルがある(または欄を切った、\n"
    "標準出力に書けなかった)、2 は引数か入力の誤りです。\n";

#ifdef _WIN32
constexpr std::string_view kLanguage =
    "Messages are in Japanese when the Windows display language is Japanese, else in\n"
    "English.\n";
constexpr std::string_view kJapaneseLanguage =
    "メッセージは、Windows の表示言語が日本語のとき日本語、ほかは英語です。\n";
#else
constexpr std::string_view kLanguage =
    "Messages are in Japanese when LC_ALL, LC_MESSAGES or LANG (the first set)\n"
    "starts with \"ja\", else in English.\n";
constexpr std::string_view kJapaneseLanguage =
    "メッセージは LC_ALL、LC_MESSAGES、LANG(設定された最初のもの)が \"ja\" で\n"
    "始まるとき日本語、ほかは英語です。\n";
#endif

// The help with the bounds it quotes filled in from the ones kept.
std::string WithLimits(std::string text) {
  const auto span = [](int low, int high) {
    return std::to_string(low) + "-" + std::to_string(high);
  };
  const std::pair<std::string_view, std::string> limits[] = {
      {"{frequency}", span(kMinFrequency, kMaxFrequency)},
      {"{speed}", span(kMinSpeed, kMaxSpeed)},
      {"{default frequency}", std::to_string(kDefaultFrequency)},
      {"{default speed}", std::to_string(kDefaultSpeed)},
      {"{rise}", span(0, kMaxRiseMs)},
      {"{slowest effective}", std::to_string(kMinEffectiveCpm)},
  };
  for (const auto& [name, value] : limits) {
    for (std::size_t at = text.find(name); at != std::string::npos; at = text.find(name, at)) {
      text.replace(at, name.size(), value);
    }
  }
  return text;
}

std::string Usage() {
  const bool ja = CliLanguageIsJapanese();
  std::string usage(Say("Usage: hoshizora-cli COMMAND\n\nCommands:\n",
                        "使い方: hoshizora-cli COMMAND\n\nコマンド:\n"));
  for (const CommandHelp& command : kCommandHelp) {
    usage += ja ? command.japanese : command.text;
  }
  usage += "\n";
  usage += Say(kNotes, kJapaneseNotes);
  usage += Say(kStops, kJapaneseStops);
  usage += Say(kLanguage, kJapaneseLanguage);
  usage +=
      Say("\n"
          "  COMMAND --help  show the command's usage\n"
          "  --help          show this help\n"
          "  --version       show the version\n\n",
          "\n"
          "  COMMAND --help  コマンドの使い方を表示します\n"
          "  --help          このヘルプを表示します\n"
          "  --version       バージョンを表示します\n\n");
  usage += Say(kExitStatus, kJapaneseExitStatus);
  return WithLimits(std::move(usage));
}

// The usage of a command that has none of its own, or nothing when there is
// no such command: its entry of the overview, with the notes.
std::optional<std::string> CommandUsage(std::string_view name) {
  for (const CommandHelp& command : kCommandHelp) {
    if (command.name == name && !command.own_usage) {
      // The entry's first line starts with the command's synopsis; a short
      // entry's description follows on that line after a wide gap.
      std::string_view synopsis = command.text.substr(0, command.text.find('\n'));
      synopsis.remove_prefix(synopsis.find_first_not_of(' '));
      synopsis = synopsis.substr(0, synopsis.find("  "));
      return WithLimits(
          std::string(Say("Usage: hoshizora-cli ", "使い方: hoshizora-cli ")) +
          std::string(synopsis) + "\n\n" + std::string(Say(command.text, command.japanese)) + "\n" +
          std::string(Say(kNotes, kJapaneseNotes)) + std::string(Say(kStops, kJapaneseStops)) +
          "\n" + std::string(Say(kExitStatus, kJapaneseExitStatus)));
    }
  }
  return std::nullopt;
}

bool AsksForHelp(const std::vector<std::string>& args) {
  return std::any_of(args.begin() + 1, args.end(),
                     [](const std::string& a) { return a == "--help" || a == "-h"; });
}

}  // namespace

int RunCli(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
           std::ostream& err, System& system, SettingsStore& settings,
           const std::function<Canvas&()>& canvas, const CliSetup& setup) {
  if (args.empty()) {
    err << "hoshizora-cli: "
        << Say("missing command (see --help)\n", "コマンドを指定してください(--help を参照)\n");
    return 2;
  }
  const std::string& command = args.front();
  if (command == "--help" || command == "-h") {
    out << Usage();
    return 0;
  }
  if (AsksForHelp(args)) {
    if (const auto usage = CommandUsage(command)) {
      out << *usage;
      return 0;
    }
  }
  if (command == "--version") {
    out << "hoshizora-cli " << HOSHIZORA_VERSION << "\n";
    return 0;
  }
  if (command == "encode" || command == "mark") {
    if (args.size() > 1) {
      err << "hoshizora-cli: " << UnexpectedArgument(args[1]) << "\n";
      return 2;
    }
    return RunTextCommand(
        command, in, out, err,
        setup.stdout_is_terminal ? FilterOutput::kTerminal : FilterOutput::kExact);
  }
  if (command == "practice") {
    return RunPracticeCli(std::vector<std::string>(args.begin() + 1, args.end()), out, err, system,
                          settings, canvas, FreshSeed, setup);
  }
  if (command == "check") {
    return RunCheckCli(std::vector<std::string>(args.begin() + 1, args.end()), in, out, err, system,
                       settings, canvas, setup);
  }
  if (command == "stats") {
    return RunStatsCli(std::vector<std::string>(args.begin() + 1, args.end()), out, err, system,
                       canvas, setup);
  }
  if (command == "decode") {
    return RunDecodeCli(std::vector<std::string>(args.begin() + 1, args.end()), out, err, system,
                        settings, canvas, setup);
  }
  if (command == "output") {
    return RunOutputCli(std::vector<std::string>(args.begin() + 1, args.end()), out, err, system,
                        settings, canvas, setup);
  }
  if (CliLanguageIsJapanese()) {
    err << "hoshizora-cli: 知らないコマンドです: '" << command << "'(--help を参照)\n";
  } else {
    err << "hoshizora-cli: unknown command '" << command << "' (see --help)\n";
  }
  return 2;
}

int RunGuarded(const std::function<int()>& run, std::ostream& out, std::ostream& err) {
  int status = 2;
  try {
    status = run();
  } catch (const std::exception& e) {
    err << "hoshizora-cli: " << e.what() << "\n";
  } catch (...) {
    err << "hoshizora-cli: " << Say("unexpected failure\n", "思いがけない失敗です\n");
  }
  out.flush();
  if (!out) {
    err << "hoshizora-cli: "
        << Say("cannot write to standard output\n", "標準出力に書き込めません\n");
    status = status == 0 ? 1 : status;
  }
  return status;
}

}  // namespace hoshizora
