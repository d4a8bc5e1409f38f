#include "app/read_int_field.h"

#include "encoding/decimal_parse.h"
#include "platform/control_ids.h"

namespace hoshizora {

std::int32_t ReadIntField(Dialog& dialog, int id, std::int32_t default_value) {
  return DecideIntField(dialog.GetControlText(id, ids::kToneBufferClose), default_value);
}

}  // namespace hoshizora
