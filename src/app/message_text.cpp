#include "app/message_text.h"

namespace hoshizora {

std::u16string JoinLines(const std::vector<std::u16string>& lines) {
  std::u16string out;
  for (const auto& line : lines) {
    if (!out.empty()) {
      out.push_back(u'\n');
    }
    out += line;
  }
  return out;
}

}  // namespace hoshizora
