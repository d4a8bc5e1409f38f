#include <algorithm>

#include "platform/canvas.h"

namespace hoshizora {

RectF InkBox(std::span<const std::uint32_t> argb, int width, float pad) {
  if (width <= 0) {
    return {};
  }
  const auto columns = static_cast<std::size_t>(width);
  int left = width;
  int top = static_cast<int>(argb.size() / columns);
  int right = -1;
  int bottom = -1;
  for (std::size_t i = 0; i < argb.size(); ++i) {
    if ((argb[i] >> 24) >= 128) {
      const int x = static_cast<int>(i % columns);
      const int y = static_cast<int>(i / columns);
      left = std::min(left, x);
      right = std::max(right, x);
      top = std::min(top, y);
      bottom = std::max(bottom, y);
    }
  }
  if (right < 0) {
    return {};
  }
  return RectF{static_cast<float>(left) - pad, static_cast<float>(top) - pad,
               static_cast<float>(right - left + 1), static_cast<float>(bottom - top + 1)};
}

}  // namespace hoshizora
