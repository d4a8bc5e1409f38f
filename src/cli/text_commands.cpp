#include "cli/text_commands.h"

#include <exception>
#include <iostream>
#include <optional>
#include <string>

#include "base/utf8.h"
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

int RunTextCommand(std::string_view command, std::istream& in, std::ostream& out,
                   std::ostream& err) {
  std::string bytes;
  switch (ReadInput(in, bytes)) {
    case InputStatus::kRead:
      break;
    case InputStatus::kTooLarge:
      err << "hoshizora-cli: the input is larger than 16 MiB\n";
      return 2;
    case InputStatus::kReadFailed:
      err << "hoshizora-cli: cannot read the input\n";
      return 2;
  }
  const auto text = DecodeUtf8Strict(bytes);
  if (!text) {
    err << "hoshizora-cli: the input is not valid UTF-8\n";
    return 2;
  }
  const std::u16string marked = InsertGroupMarks(*text);
  out << TerminalText(command == "encode" ? EncodeTelegram(marked) : marked);
  out.flush();
  return 0;
}

}  // namespace hoshizora
