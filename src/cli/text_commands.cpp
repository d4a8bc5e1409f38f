#include "cli/text_commands.h"

#include <iostream>
#include <iterator>
#include <string>

#include "base/utf8.h"
#include "encoding/encode_telegram.h"
#include "encoding/group_marks.h"

namespace hoshizora {

int RunTextCommand(std::string_view command, std::istream& in, std::ostream& out,
                   std::ostream& err) {
  const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  const auto text = DecodeUtf8Strict(bytes);
  if (!text) {
    err << "hoshizora-cli: the input is not valid UTF-8\n";
    return 2;
  }
  const std::u16string marked = InsertGroupMarks(*text);
  out << EncodeUtf8(command == "encode" ? EncodeTelegram(marked) : marked);
  out.flush();
  return 0;
}

}  // namespace hoshizora
