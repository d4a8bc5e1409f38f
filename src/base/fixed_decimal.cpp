#include "base/fixed_decimal.h"

#include <cmath>
#include <cstdint>

namespace hoshizora {

std::string FixedDecimal(double value, int decimals) {
  if (!std::isfinite(value)) {
    return "0";
  }
  std::int64_t scale = 1;
  for (int i = 0; i < decimals; ++i) {
    scale *= 10;
  }
  const bool negative = value < 0;
  const double scaled = std::fabs(value) * static_cast<double>(scale) + 0.5;
  const auto whole = static_cast<std::int64_t>(scaled > 9e15 ? 9e15 : scaled);
  std::string digits = std::to_string(whole / scale);
  if (decimals > 0) {
    std::string fraction = std::to_string(whole % scale);
    digits +=
        "." + std::string(static_cast<std::size_t>(decimals) - fraction.size(), '0') + fraction;
  }
  return (negative && whole != 0 ? "-" : "") + digits;
}

}  // namespace hoshizora
