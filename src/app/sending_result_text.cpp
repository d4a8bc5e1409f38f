#include "app/sending_result_text.h"

#include <cmath>
#include <map>
#include <vector>

#include "app/practice_result_text.h"
#include "base/fixed_decimal.h"
#include "base/utf8.h"
#include "check/check_fields.h"
#include "encoding/text_utils.h"

namespace hoshizora {
namespace {

constexpr std::u16string_view kLineBreak = u"\r\n";
// A spread of the speed above this reads as uneven keying.
constexpr double kUnevenSpeed = 0.10;
// A change of speed beyond this many CPM a minute is worth saying.
constexpr double kNotableDrift = 5.0;
// Character gaps shorter than this run letters together; longer than this
// they break a word.
constexpr double kShortCharGap = 2.5;
constexpr double kLongCharGap = 4.0;
constexpr std::size_t kNamedCharacters = 5;

std::u16string Decimal(double value, int decimals) {
  return DecodeUtf8Lenient(FixedDecimal(value, decimals));
}

std::u16string Line(std::u16string_view text) {
  return std::u16string(text) + std::u16string(kLineBreak);
}

// The decoded body with every character that differs from the telegram in
// 【】, and each one left out as 【－X】.
std::u16string MarkedBody(const TelegramFields& key, const CheckCopy& copy,
                          const CheckResult& score) {
  const std::vector<KeyedCharacter> copied = CopyFieldCharacters(key, copy, CheckField::kBody);
  std::map<int, std::u16string> missing_before;
  std::vector<bool> wrong(copied.size() + 1, false);
  for (const CheckError& e : score.errors) {
    if (e.field != CheckField::kBody) {
      continue;
    }
    if (e.kind == CheckErrorKind::kOmission) {
      missing_before[e.copy_position] += u"【－" + e.expected + u"】";
    } else if (e.copy_position >= 0 && static_cast<std::size_t>(e.copy_position) < copied.size()) {
      wrong[static_cast<std::size_t>(e.copy_position)] = true;
    }
  }
  std::u16string marked;
  for (std::size_t i = 0; i <= copied.size(); ++i) {
    if (const auto it = missing_before.find(static_cast<int>(i)); it != missing_before.end()) {
      marked += it->second;
    }
    if (i < copied.size()) {
      marked += wrong[i] ? u"【" + copied[i].text + u"】" : copied[i].text;
    }
  }
  return marked;
}

std::u16string RatioJudgement(double ratio) {
  if (ratio < kLowestGoodDahRatio) {
    return u"長点が短め (" + Decimal(ratio, 1) + u")";
  }
  if (ratio > kHighestGoodDahRatio) {
    return u"長点が長め (" + Decimal(ratio, 1) + u")";
  }
  return u"長点と短点の比はよい加減です (" + Decimal(ratio, 1) + u")";
}

std::u16string TimingText(const TimingFeedback& f) {
  std::u16string text = Line(u"送信の調子:");
  text += Line(u"速度 約 " + Decimal(f.cpm, 0) + u" 字/分 (PARIS " + Decimal(f.wpm, 1) +
               u" WPM)、短点 " + Decimal(f.unit_ms, 0) + u" ms");
  if (f.speed_cv > kUnevenSpeed) {
    text += Line(u"速度が揺れています (ばらつき " + Decimal(f.speed_cv * 100, 0) + u" %)");
  }
  if (std::fabs(f.drift_cpm_per_min) >= kNotableDrift) {
    text += Line(
        (f.drift_cpm_per_min > 0 ? u"だんだん速くなっています (" : u"だんだん遅くなっています (") +
        Decimal(std::fabs(f.drift_cpm_per_min), 0) + u" 字/分 毎分)");
  }
  text += Line(RatioJudgement(f.dah_dit_ratio));
  std::size_t named = 0;
  for (const CharacterRatio& r : f.ratios) {
    if (r.flagged && named++ < kNamedCharacters) {
      text += Line(u"  " + r.character + u" の" +
                   (r.ratio < kLowestGoodDahRatio ? u"長点が短め (" : u"長点が長め (") +
                   Decimal(r.ratio, 1) + u")");
    }
  }
  text += Line(u"間隔 (短点を 1 として): 符号の中 " + Decimal(f.element_gap_units, 1) +
               u"、字の間 " + Decimal(f.char_gap_units, 1) +
               (f.word_gap_units > 0 ? u"、語の間 " + Decimal(f.word_gap_units, 1) : u""));
  if (f.char_gap_units > 0 && f.char_gap_units < kShortCharGap) {
    text += Line(u"字の間隔が短め (" + Decimal(f.char_gap_units, 1) + u")");
  } else if (f.char_gap_units > kLongCharGap) {
    text += Line(u"字の間隔が長め (" + Decimal(f.char_gap_units, 1) + u")");
  }
  if (!f.at_risk.empty()) {
    text += kLineBreak;
    text += Line(u"聞き違えられやすい所:");
    for (const AtRisk& r : f.at_risk) {
      text += Line(AtRiskSentence(r) + u" (" + Decimal(r.at_s, 1) + u" 秒)");
    }
  }
  return text;
}

}  // namespace

std::u16string AtRiskSentence(const AtRisk& r) {
  if (r.inner_gap) {
    const std::u16string heard = r.first_heard.empty()
                                     ? u"二字に聞こえます"
                                     : r.first_heard + u" と " + r.second_heard + u" に聞こえます";
    return r.character + u" の途中の間隔が長く、" + heard;
  }
  const std::u16string first = r.character.substr(0, r.character.size() - r.next.size());
  const std::u16string heard =
      r.first_heard.empty() ? u"続けて聞こえます" : r.first_heard + u" に聞こえます";
  return first + u" と " + r.next + u" の間隔が短く、" + heard;
}

std::u16string SendingResultText(const DecodeResult& decoded, const TimingFeedback& feedback,
                                 const TelegramFields* key, const CheckResult* score) {
  if (!decoded.keying_found) {
    return Line(u"モールス符号を聞き取れませんでした。") +
           u"音が小さすぎるか、雑音や無音だけの録音です。";
  }
  std::u16string text = Line(u"解読した文:") + Line(decoded.text) + std::u16string(kLineBreak);
  if (key != nullptr && score != nullptr) {
    CheckCopy copy;
    copy.fields.body = decoded.text;
    text += Line(u"電報との違い (【 】が違う字、【－X】は送られなかった字):");
    text += Line(MarkedBody(*key, copy, *score)) + std::u16string(kLineBreak);
    text += CheckResultText(*score, {}) + std::u16string(kLineBreak);
  }
  return text + TimingText(feedback);
}

}  // namespace hoshizora
