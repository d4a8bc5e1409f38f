#pragma once

#include <string>

namespace hoshizora {

// The six texts of a telegram, in the order the record always uses.
struct TelegramFields {
  std::u16string count;
  std::u16string station;
  std::u16string number;
  std::u16string time;
  std::u16string addressee;
  std::u16string body;
};

}  // namespace hoshizora
