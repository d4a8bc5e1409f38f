#include "practice/practice_telegram.h"

#include <string>
#include <vector>

#include "encoding/default_telegram.h"
#include "encoding/group_marks.h"
#include "encoding/telegram_signs.h"
#include "practice/practice_body.h"
#include "practice/practice_random.h"
#include "practice/practice_words.h"

namespace hoshizora {
namespace {

constexpr char16_t kPartEnd = u'」';

const std::u16string& Pick(const std::vector<std::u16string>& list, PracticeRandom& random) {
  static const std::u16string kNone;
  return list.empty() ? kNone : list[random.Below(list.size())];
}

// Prefecture ケン」 city シ」 family given」, as the sample addressee is written.
std::u16string MakeAddressee(const PracticeWordList& list, PracticeRandom& random) {
  std::u16string addressee = Pick(list.prefectures, random);
  addressee += kPartEnd;
  addressee += Pick(list.cities, random);
  addressee += kPartEnd;
  addressee += Pick(list.family_names, random);
  addressee += u' ';
  addressee += Pick(list.given_names, random);
  addressee += kPartEnd;
  return addressee;
}

}  // namespace

TelegramFields MakePracticeTelegram(const PracticeOptions& requested, std::uint64_t seed) {
  PracticeOptions options = requested;
  if (ValidatePracticeOptions(options)) {
    options = PracticeOptions{};
    options.mode = requested.mode;
    options.focus = requested.focus;
  }
  const PracticeWordList& list = BuiltInPracticeWords();
  PracticeRandom random(seed);

  // The draws come in a fixed order (body, station, number, time, addressee)
  // so that a seed keeps giving the same telegram.
  TelegramFields fields;
  fields.body = kStartSign;
  fields.body +=
      options.mode == PracticeMode::kGroups
          ? MakeGroupsBody(options.group_characters, options.length, random, options.focus)
          : MakeWordsBody(list.words, options.length, random, options.focus);
  fields.body += kEndSign;
  fields.count = DecimalInKanjiDigits(CountBodyCharacters(fields.body));
  fields.station = KanjiTwoDigits(random.Between(0, 99));
  fields.number = KanjiTwoDigits(random.Between(1, 99));
  const std::int32_t hour = random.Between(0, 23);
  const std::int32_t minute = random.Between(0, 59);
  fields.time = TelegramTimeText(hour, minute);
  fields.addressee = MakeAddressee(list, random);
  return fields;
}

}  // namespace hoshizora
