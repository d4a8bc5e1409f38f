#pragma once

#include <optional>
#include <string_view>

namespace hoshizora {

inline constexpr int kDefaultFrequency = 440;
inline constexpr int kDefaultSpeed = 100;
inline constexpr int kMinFrequency = 100;
inline constexpr int kMaxFrequency = 2000;
inline constexpr int kMinSpeed = 20;
inline constexpr int kMaxSpeed = 200;

// What the output command says when it refuses a tone setting.
inline constexpr std::u16string_view kFrequencyRefused =
    u"周波数(Hz)は100から2000までの数字で入力してください。";
inline constexpr std::u16string_view kSpeedRefused =
    u"速度(CPM)は20から200までの数字で入力してください。";

int BoundFrequency(int hz);
int BoundSpeed(int cpm);

// A tone setting as typed: a whole number (any decimal script), perhaps with
// blanks around it, within the range; else nothing.
std::optional<int> ParseToneSetting(std::u16string_view text, int minimum, int maximum);

}  // namespace hoshizora
