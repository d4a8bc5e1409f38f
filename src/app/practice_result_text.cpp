#include "app/practice_result_text.h"

#include "encoding/text_utils.h"
#include "platform/paths.h"

namespace hoshizora {
namespace {

constexpr std::u16string_view kLineBreak = u"\r\n";

std::u16string_view FieldName(CheckField field) {
  switch (field) {
    case CheckField::kBody:
      return u"本文";
    case CheckField::kCount:
      return u"文字数";
    case CheckField::kStation:
      return u"発信局";
    case CheckField::kNumber:
      return u"番号";
    case CheckField::kTime:
      return u"時刻";
    case CheckField::kAddressee:
      return u"名あて";
  }
  return u"";
}

std::u16string ErrorLine(const CheckError& e) {
  std::u16string line = std::u16string(FieldName(e.field)) + u" " + IntToText(e.position + 1);
  switch (e.kind) {
    case CheckErrorKind::kSubstitution:
      return line + u"字目 誤字: " + e.expected + u" → " + e.got;
    case CheckErrorKind::kOmission:
      return line + u"字目 脱字: " + e.expected;
    case CheckErrorKind::kInsertion:
      return line + u"字目の前 余字: " + e.got;
  }
  return line;
}

}  // namespace

std::u16string CheckResultText(const CheckResult& result,
                               const std::vector<std::filesystem::path>& pages) {
  const CheckScheme& s = result.scheme;
  std::u16string text = u"得点 " + IntToText(result.score) + u"/100 " +
                        (result.pass ? u"合格" : u"不合格") + u"(合格点 " + IntToText(s.pass_mark) +
                        u")";
  text += kLineBreak;
  text += u"誤字 " + IntToText(result.substitutions) + u"、脱字 " + IntToText(result.omissions) +
          u"、余字 " + IntToText(result.insertions);
  text += kLineBreak;
  text += u"減点: 誤字 " + IntToText(s.substitution) + u"点、脱字 " + IntToText(s.omission) +
          u"点、余字 " + IntToText(s.insertion) + u"点";
  text += kLineBreak;
  text += kLineBreak;
  if (result.errors.empty()) {
    text += u"誤りはありません。";
    text += kLineBreak;
  }
  for (const CheckError& e : result.errors) {
    text += ErrorLine(e);
    text += kLineBreak;
  }
  if (!pages.empty()) {
    text += kLineBreak;
    text += u"採点用紙:";
    text += kLineBreak;
    for (const auto& page : pages) {
      text += PathText(page);
      text += kLineBreak;
    }
  }
  return text;
}

std::u16string AnswerText(const TelegramFields& key) {
  return u"答え" + std::u16string(kLineBreak) + TelegramText(key);
}

std::u16string TelegramText(const TelegramFields& key) {
  std::u16string text;
  for (const auto& [name, value] :
       {std::pair{u"文字数: ", &key.count}, std::pair{u"発信局: ", &key.station},
        std::pair{u"番号: ", &key.number}, std::pair{u"時刻: ", &key.time},
        std::pair{u"名あて: ", &key.addressee}}) {
    text += name;
    text += *value;
    text += kLineBreak;
  }
  text += u"本文:";
  text += kLineBreak;
  text += key.body;
  return text;
}

std::u16string WeakestCharactersText(const HistorySummary& history) {
  constexpr std::size_t kShown = 5;
  std::u16string listed;
  std::size_t shown = 0;
  for (const CharacterStanding& c : history.characters) {
    if (c.errors == 0 || shown == kShown) {
      break;  // worst first: the rest were never written wrong
    }
    listed += (shown == 0 ? u"" : u"、") + c.character + u" " + IntToText(c.errors) + u"/" +
              IntToText(c.heard);
    ++shown;
  }
  if (listed.empty()) {
    return {};
  }
  return std::u16string(kLineBreak) + u"苦手な字(記録 " +
         IntToText(history.checks) + u" 回、誤り/聞いた数): " + listed;
}

}  // namespace hoshizora
