#include "cli/cli_refusals.h"

#include <algorithm>
#include <ostream>

#include "cli/cli_language.h"

namespace hoshizora {

std::string NeedsValue(const std::string& option) {
  return option + std::string(Say(" needs a value", " には値が必要です"));
}

std::string UnknownOption(const std::string& option) {
  return std::string(Say("unknown option '", "知らないオプションです: '")) + option + "'";
}

std::string UnexpectedArgument(const std::string& arg) {
  return std::string(Say("unexpected argument '", "余計な引数です: '")) + arg + "'";
}

std::string CannotRead(const std::string& file) {
  return CliLanguageIsJapanese() ? file + " を読めません" : "cannot read " + file;
}

std::string CannotWrite(const std::string& file) {
  return CliLanguageIsJapanese() ? file + " に書き込めません" : "cannot write " + file;
}

std::string NumberFromTo(const std::string& option, std::uint64_t low, std::uint64_t high) {
  const std::string range =
      std::to_string(low) + (CliLanguageIsJapanese() ? " から " : " to ") + std::to_string(high);
  return CliLanguageIsJapanese() ? option + " には " + range + " までの数を指定してください"
                                 : option + " needs a number from " + range;
}

bool AnswerHelp(const std::vector<std::string>& args, std::string_view usage, std::ostream& out) {
  if (std::none_of(args.begin(), args.end(),
                   [](const std::string& a) { return a == "--help" || a == "-h"; })) {
    return false;
  }
  out << usage;
  return true;
}

}  // namespace hoshizora
