#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "check/check_result.h"
#include "check/keyed_characters.h"
#include "encoding/telegram_fields.h"

namespace hoshizora {

// The header fields in the order a result lists them, after the body.
inline constexpr CheckField kHeaderFields[] = {CheckField::kCount, CheckField::kStation,
                                               CheckField::kNumber, CheckField::kTime,
                                               CheckField::kAddressee};

// The part of a body that is scored and drawn, line breaks removed: the text
// between the signs when it has both in order, else all of it. A key's body
// lies between its signs; so does a copy's when the learner wrote them, and
// then what the copy has outside them (a note, the count again) is not part
// of the copy. A copy without both signs is all body.
std::u16string CheckedBodyText(std::u16string_view body);

// The field's keyed characters as keying sends them, without the ハツ and タナ
// keying puts before a station and a number written in kanji numerals (the
// form shows the field without them; a number keys only its numerals).
std::vector<KeyedCharacter> KeyFieldCharacters(const TelegramFields& key, CheckField field);

// The copy's characters of a field; sources index the field's text (the
// body's CheckedBodyText). A ハツ or タナ the learner wrote before a decorated
// station or number was heard, and is left out.
std::vector<KeyedCharacter> CopyFieldCharacters(const TelegramFields& key, const CheckCopy& copy,
                                                CheckField field);

// The field's text in a record.
const std::u16string& FieldText(const TelegramFields& fields, CheckField field);

// A field that has more keyed characters than can be scored, on either side.
bool FieldTooLongToScore(const TelegramFields& key, const CheckCopy& copy);

}  // namespace hoshizora
