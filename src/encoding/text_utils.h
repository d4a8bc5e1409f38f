#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "base/local_time.h"

namespace hoshizora {

// 〇一二三四五六七八九十百千: the ten digit kanji and the units ten, hundred, thousand.
inline constexpr std::u16string_view kKanjiNumerals = u"〇一二三四五六七八九十百千";
// 〇 to 九, each at the index of its value.
inline constexpr std::u16string_view kKanjiDigits = kKanjiNumerals.substr(0, 10);

std::u16string StripCommas(std::u16string_view text);
std::u16string StripBlanks(std::u16string_view text);
bool IsKanjiNumber(std::u16string_view text);
std::u16string KeepKanjiNumerals(std::u16string_view text);

// The decimal digits of n, with a minus sign when negative; no grouping.
std::u16string IntToText(std::int32_t n);

// "YYYYMMDD_HHMMSS" of the given local time, or "00000000_000000" without one.
std::u16string TimestampText(const std::optional<LocalTime>& now);

}  // namespace hoshizora
