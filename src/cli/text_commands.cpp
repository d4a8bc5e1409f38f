#include "cli/text_commands.h"

#include <exception>
#include <iostream>
#include <optional>
#include <string>

#include "base/utf8.h"
#include "cli/cli_language.h"
#include "cli/terminal_text.h"
#include "encoding/encode_telegram.h"
#include "encoding/group_marks.h"

namespace hoshizora {

InputStatus ReadInput(std::istream& in, std::string& bytes) {
  try {
    std::string chunk(64 * 1024, '\0');
    while (in) {
      in.read(chunk.data(), static_cast<std::streamsize>(chunk.size()));
      const auto got = static_cast<std::size_t>(in.gcount());
      if (bytes.size() + got > kLargestTextInput) {
        return InputStatus::kTooLarge;
      }
      bytes.append(chunk, 0, got);
    }
    return in.bad() ? InputStatus::kReadFailed : InputStatus::kRead;
  } catch (const std::exception&) {
    return InputStatus::kReadFailed;
  }
}

int RunTextCommand(std::string_view command, std::istream& in, std::ostream& out, std::ostream& err,
                   FilterOutput shown) {
  std::string bytes;
  switch (ReadInput(in, bytes)) {
    case InputStatus::kRead:
      break;
    case InputStatus::kTooLarge:
      err << "hoshizora-cli: " << Say("the input is larger than ", "入力が ")
          << MiBText(kLargestTextInput) << Say("\n", " を超えています\n");
      return 2;
    case InputStatus::kReadFailed:
      err << "hoshizora-cli: " << Say("cannot read the input\n", "入力を読めません\n");
      return 2;
  }
  const auto text = DecodeUtf8Strict(bytes);
  if (!text) {
    err << "hoshizora-cli: "
        << Say("the input is not valid UTF-8\n", "入力は正しい UTF-8 ではありません\n");
    return 2;
  }
  const std::u16string marked = InsertGroupMarks(*text);
  if (command == "encode") {
    if (const auto unkeyed = ListUnkeyedCharacters(marked); !unkeyed.empty()) {
      std::string listed;
      for (const std::u16string& c : unkeyed) {
        listed += " " + TerminalText(c);
      }
      if (CliLanguageIsJapanese()) {
        err << "hoshizora-cli: モールス符号のない文字を省きました:" << listed << "\n";
      } else {
        err << "hoshizora-cli: no Morse code for" << listed << "; left out\n";
      }
    }
  }
  const std::u16string result = command == "encode" ? EncodeTelegram(marked) : marked;
  // Only a terminal needs protecting from the text; a file or a pipe is data.
  out << (shown == FilterOutput::kTerminal ? TerminalText(result) : EncodeUtf8(result));
  out.flush();
  return 0;
}

}  // namespace hoshizora
