#include "encoding/default_telegram.h"

#include <cstdio>
#include <string>

#include "encoding/group_marks.h"
#include "encoding/text_utils.h"

namespace hoshizora {
namespace {

constexpr std::u16string_view kDefaultBody =
    u"[ホレ]ハルカナヤマナミニカカルユウグレノクモ」（アカネイロニソマルソラ）ハ、"
    u"ヒトビトノムネニヌクモリヲトドケル」ヒトハイソガシクモ、ソノヒトトキノウツクシサヲ"
    u"ミオトシテハナラナイ」イノチノナガレハタエズ、ソノナカデモココロノヨリドコロヲ"
    u"ミツケルコトガダイジ」[ラタ]";

constexpr std::u16string_view kDefaultAddressee = u"ミドリケン」ハナシ」ヤマノ サクラ」";

constexpr LocalTime kFallbackTime{1970, 1, 15, 12, 34, 0};

// The ones digit; the modulo is kept non-negative so no value reads outside the digits.
char16_t KanjiDigit(int value) {
  return kKanjiDigits[static_cast<std::size_t>((value % 10 + 10) % 10)];
}

}  // namespace

std::u16string DecimalInKanjiDigits(std::int32_t n) {
  std::u16string out;
  for (char c : std::to_string(n)) {
    out.push_back(c >= '0' && c <= '9' ? kKanjiDigits[static_cast<std::size_t>(c - '0')]
                                       : kKanjiDigits[0]);
  }
  return out;
}

std::u16string TelegramTimeText(int hour, int minute) {
  char time[32];
  std::snprintf(time, sizeof time, "%d,%02d", hour, minute);
  std::u16string out(1, u'コ');
  for (const char* p = time; *p != '\0'; ++p) {
    out.push_back(static_cast<char16_t>(*p));
  }
  return out;
}

std::u16string KanjiTwoDigits(std::int32_t value) {
  if (value < 0) {
    value = 0;
  }
  return {KanjiDigit(value / 10), KanjiDigit(value)};
}

TelegramFields MakeDefaultTelegram(const std::optional<LocalTime>& now) {
  const LocalTime t = now.value_or(kFallbackTime);
  TelegramFields fields;
  fields.body = std::u16string(kDefaultBody);
  fields.count = DecimalInKanjiDigits(CountBodyCharacters(fields.body));
  fields.station = {KanjiDigit(t.day), KanjiDigit(t.hour)};
  fields.number = KanjiTwoDigits(t.minute);
  fields.time = TelegramTimeText(t.hour, t.minute);
  fields.addressee = std::u16string(kDefaultAddressee);
  return fields;
}

}  // namespace hoshizora
