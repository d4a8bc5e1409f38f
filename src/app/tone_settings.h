#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "base/limits.h"

namespace hoshizora {

// How a number out of its range is refused, the label naming the field:
// "<label>は<minimum>から<maximum>までの数字で入力してください。"
std::u16string RangeRefused(std::u16string_view label, int minimum, int maximum);

// What the output command says when it refuses a tone setting.
std::u16string FrequencyRefused();
std::u16string SpeedRefused();

int BoundFrequency(int hz);
int BoundSpeed(int cpm);

// A tone setting as typed: a whole number (any decimal script), perhaps with
// blanks around it, within the range; else nothing.
std::optional<int> ParseToneSetting(std::u16string_view text, int minimum, int maximum);
std::optional<int> ParseFrequency(std::u16string_view text);
std::optional<int> ParseSpeed(std::u16string_view text);

}  // namespace hoshizora
