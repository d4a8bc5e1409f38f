#pragma once

#include <string>
#include <string_view>

namespace hoshizora {

enum class MessageIcon { kNone, kInformation, kError };

// Shows modal messages on behalf of the Main dialog.
class MessageOwner {
 public:
  virtual ~MessageOwner() = default;
  virtual void ShowMessage(std::u16string_view text, std::u16string_view caption,
                           MessageIcon icon) = 0;
};

}  // namespace hoshizora
