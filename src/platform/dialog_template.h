#pragma once

#include <span>

namespace hoshizora {

// A dialog's controls as a window builds them: positions in dialog units, in
// tab order. The Windows edition takes the same from its resource script.
struct ControlSpec {
  enum class Kind { kButton, kDefaultButton, kLabel, kMultiLine, kSingleLine, kSpin, kCheckBox };
  int id = 0;
  Kind kind = Kind::kLabel;
  const char16_t* caption = u"";
  int x = 0, y = 0, width = 0, height = 0;
};

struct DialogTemplate {
  int width = 0;  // dialog units
  int height = 0;
  std::span<const ControlSpec> controls;
  int default_button = 0;  // the button Enter presses
  int cancel_command = 0;  // the command Esc sends
  const char16_t* menu_caption = u"";
  const char16_t* menu_item_caption = u"";
  int menu_item = 0;
};

}  // namespace hoshizora
