#pragma once

#include <string>

namespace hoshizora {

// `value` rounded to `decimals` places, by integer arithmetic so that every
// C library prints the same digits; "0" for a value that is not finite.
std::string FixedDecimal(double value, int decimals);

}  // namespace hoshizora
