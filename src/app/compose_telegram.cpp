#include "app/compose_telegram.h"

#include "encoding/text_utils.h"

namespace hoshizora {
namespace {

std::u16string ComposeTelegram(const TelegramFields& f, const std::u16string& station,
                               const std::u16string& number) {
  return f.count + u"\n" + station + u"\n" + number + u"\n" + f.time + u"\n" + f.addressee + u"\n" +
         f.body;
}

}  // namespace

std::u16string DecorateStation(const std::u16string& station) {
  const std::u16string s = StripBlanks(StripCommas(station));
  return !s.empty() && IsKanjiNumber(s) ? u"ハツ" + s : station;
}

std::u16string DecorateNumber(const std::u16string& number) {
  const std::u16string n = KeepKanjiNumerals(number);
  return n.empty() ? number : u"タナ" + n;
}

std::u16string ComposeDisplayTelegram(const TelegramFields& f) {
  return ComposeTelegram(f, f.station, f.number);
}

std::u16string ComposeKeyedTelegram(const TelegramFields& f) {
  return ComposeTelegram(f, DecorateStation(f.station), DecorateNumber(f.number));
}

}  // namespace hoshizora
