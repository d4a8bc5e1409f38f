#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

namespace hoshizora {

// The refusals every command words alike, in the run's language.
std::string NeedsValue(const std::string& option);
std::string UnknownOption(const std::string& option);
std::string UnexpectedArgument(const std::string& arg);
std::string CannotRead(const std::string& file);
std::string CannotWrite(const std::string& file);
// "OPTION needs a number from LOW to HIGH".
std::string NumberFromTo(const std::string& option, std::uint64_t low, std::uint64_t high);

// A command asked for its usage (--help or -h anywhere in `args`) is answered
// with it on `out` and does nothing else, whatever else was typed.
bool AnswerHelp(const std::vector<std::string>& args, std::string_view usage, std::ostream& out);

}  // namespace hoshizora
