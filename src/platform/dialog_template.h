#pragma once

#include <span>

namespace hoshizora {

// A dialog's controls as a window builds them: positions in dialog units, in
// tab order. The Windows edition takes the same from its resource script.
struct ControlSpec {
  enum class Kind {
    kButton,
    kDefaultButton,
    kLabel,
    kMultiLine,
    kSingleLine,
    kSpin,
    kCheckBox,
    kReadOnlyText,  // a multi-line box that shows text the user cannot change
  };
  int id = 0;
  Kind kind = Kind::kLabel;
  const char16_t* caption = u"";
  int x = 0, y = 0, width = 0, height = 0;
};

// One item of the dialog's menu, which sends `id` as a command.
struct MenuItemSpec {
  int id = 0;
  const char16_t* caption = u"";
};

struct DialogTemplate {
  int width = 0;  // dialog units
  int height = 0;
  std::span<const ControlSpec> controls;
  int default_button = 0;                    // the button Enter presses
  int cancel_command = 0;                    // the command Esc sends
  const char16_t* menu_caption = u"";        // the one pop-up menu
  std::span<const MenuItemSpec> menu_items;  // none: the dialog has no menu
  const char16_t* title = u"";
  int resource_id = 0;  // the Windows edition's template of the same dialog
};

}  // namespace hoshizora
