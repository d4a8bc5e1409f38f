#pragma once

#include <cstdint>
#include <string_view>

namespace hoshizora {

// Reads a decimal number the way the dialog's number fields are read: leading
// white space, one sign, then digits of any of eighteen decimal scripts
// (fullwidth ０ to ９ among them) up to the first non-digit. No digits give 0;
// values beyond the 32-bit range saturate.
std::int32_t ParseDecimal(std::u16string_view text);

// Whether a character is a digit of one of the eighteen decimal scripts.
bool IsDecimalDigit(char16_t c);

// The value of a number field's text: the parsed number, except that a text
// which parses as 0 without starting with the ASCII digit "0" gives
// `default_value` (so empty or non-numeric fields fall back to the default).
std::int32_t DecideIntField(std::u16string_view text, std::int32_t default_value);

}  // namespace hoshizora
