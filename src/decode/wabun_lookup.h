#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace hoshizora {

inline constexpr char16_t kUnreadable = u'〓';

// The character the keying uses for a code ("." and "-"): a full-size kana
// where a code is shared, then the marks, numerals and punctuation; the Start
// and End signs as "[ホレ]" and "[ラタ]"; the Group mark's code as "？".
// Nothing for a code no character has.
std::optional<std::u16string> LookUpCode(std::u16string_view code);

// What a received code reads as: its character, else the two characters it
// splits into at the widest of its inner gaps (the sender ran two together),
// else 〓. `inner_gaps` has one gap per pair of neighbouring elements.
std::u16string ReadCode(std::u16string_view code, const std::vector<double>& inner_gaps);

}  // namespace hoshizora
