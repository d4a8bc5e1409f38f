#include "check/check_fields.h"

#include "check/alignment.h"
#include "encoding/telegram_signs.h"
#include "encoding/text_utils.h"

namespace hoshizora {
namespace {

constexpr std::u16string_view kStationPrefix = u"ハツ";
constexpr std::u16string_view kNumberPrefix = u"タナ";

// The text keying sends for the station or number without its prefix, or
// nothing when keying sends the field as it is.
std::u16string DecoratedStation(const std::u16string& station) {
  const std::u16string s = StripBlanks(StripCommas(station));
  return !s.empty() && IsKanjiNumber(s) ? s : std::u16string();
}

std::u16string DecoratedNumber(const std::u16string& number) {
  return KeepKanjiNumerals(number);
}

// Drops a leading prefix from the copy's characters when it is there.
void DropPrefix(std::vector<KeyedCharacter>& copy, std::u16string_view prefix) {
  const std::vector<KeyedCharacter> keyed = KeyedCharactersOf(prefix);
  if (copy.size() < keyed.size()) {
    return;
  }
  for (std::size_t i = 0; i < keyed.size(); ++i) {
    if (!SameKeyedCharacter(keyed[i], copy[i])) {
      return;
    }
  }
  copy.erase(copy.begin(), copy.begin() + static_cast<std::ptrdiff_t>(keyed.size()));
}

}  // namespace

std::u16string CheckedBodyText(std::u16string_view body) {
  if (const auto span = FindTelegramBody(body)) {
    body = body.substr(span->begin, span->end - span->begin);
  }
  std::u16string out;
  out.reserve(body.size());
  for (char16_t c : body) {
    if (c != u'\r' && c != u'\n') {
      out.push_back(c);
    }
  }
  return out;
}

const std::u16string& FieldText(const TelegramFields& fields, CheckField field) {
  switch (field) {
    case CheckField::kCount:
      return fields.count;
    case CheckField::kStation:
      return fields.station;
    case CheckField::kNumber:
      return fields.number;
    case CheckField::kTime:
      return fields.time;
    case CheckField::kAddressee:
      return fields.addressee;
    case CheckField::kBody:
      break;
  }
  return fields.body;
}

std::vector<KeyedCharacter> KeyFieldCharacters(const TelegramFields& key, CheckField field) {
  switch (field) {
    case CheckField::kBody:
      return KeyedCharactersOf(CheckedBodyText(key.body));
    case CheckField::kStation:
      if (const std::u16string s = DecoratedStation(key.station); !s.empty()) {
        return KeyedCharactersOf(s);
      }
      break;
    case CheckField::kNumber:
      if (const std::u16string n = DecoratedNumber(key.number); !n.empty()) {
        return KeyedCharactersOf(n);
      }
      break;
    default:
      break;
  }
  return KeyedCharactersOf(FieldText(key, field));
}

std::vector<KeyedCharacter> CopyFieldCharacters(const TelegramFields& key, const CheckCopy& copy,
                                                CheckField field) {
  if (field == CheckField::kBody) {
    return CopiedCharactersOf(CheckedBodyText(copy.fields.body));
  }
  if (!copy.has_header) {
    return {};
  }
  std::vector<KeyedCharacter> copied = CopiedCharactersOf(FieldText(copy.fields, field));
  if (field == CheckField::kStation && !DecoratedStation(key.station).empty()) {
    DropPrefix(copied, kStationPrefix);
  } else if (field == CheckField::kNumber && !DecoratedNumber(key.number).empty()) {
    DropPrefix(copied, kNumberPrefix);
  }
  return copied;
}

bool FieldTooLongToScore(const TelegramFields& key, const CheckCopy& copy) {
  const auto too_long = [&](CheckField field) {
    return KeyFieldCharacters(key, field).size() > kLongestCheckedField ||
           CopyFieldCharacters(key, copy, field).size() > kLongestCheckedField;
  };
  if (too_long(CheckField::kBody)) {
    return true;
  }
  for (CheckField field : kHeaderFields) {
    if (copy.has_header && too_long(field)) {
      return true;
    }
  }
  return false;
}

}  // namespace hoshizora
