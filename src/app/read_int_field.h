#pragma once

#include <cstdint>

#include "platform/dialog.h"

namespace hoshizora {

// A number field's value: at most 30 characters read and parsed; 0 that is not
// typed as "0..." gives the default.
std::int32_t ReadIntField(Dialog& dialog, int id, std::int32_t default_value);

}  // namespace hoshizora
