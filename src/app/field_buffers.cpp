#include "app/field_buffers.h"

#include <algorithm>

#include "app/control_ids.h"
#include "encoding/text_utils.h"

namespace hoshizora {
namespace {

bool IsHighSurrogate(char16_t c) {
  return c >= 0xD800 && c <= 0xDBFF;
}

bool IsLowSurrogate(char16_t c) {
  return c >= 0xDC00 && c <= 0xDFFF;
}

// Characters as the user counts them: a surrogate pair is one.
std::int32_t CharacterCount(std::u16string_view text) {
  const auto pairs = std::count_if(text.begin(), text.end(), IsLowSurrogate);
  return static_cast<std::int32_t>(text.size()) - static_cast<std::int32_t>(pairs);
}

void Cut(std::u16string& text, int buffer, std::u16string_view label,
         std::vector<std::u16string>& cut_notes) {
  auto limit = static_cast<std::size_t>(buffer - 1);
  if (text.size() <= limit) {
    return;
  }
  // The field reads whole characters: half a pair would be no character at all.
  if (IsHighSurrogate(text[limit - 1]) && IsLowSurrogate(text[limit])) {
    --limit;
  }
  const std::u16string_view kept = std::u16string_view(text).substr(0, limit);
  const std::u16string_view dropped = std::u16string_view(text).substr(limit);
  cut_notes.push_back(std::u16string(label) + u"が長すぎるため、先頭の" +
                      IntToText(CharacterCount(kept)) + u"文字だけを使い、残りの" +
                      IntToText(CharacterCount(dropped)) + u"文字は使いませんでした。");
  text.resize(limit);
}

}  // namespace

TelegramFields CutToFieldBuffers(TelegramFields f, std::vector<std::u16string>& cut_notes) {
  Cut(f.count, ids::kShortFieldBuffer, u"文字数", cut_notes);
  Cut(f.station, ids::kShortFieldBuffer, u"発信局", cut_notes);
  Cut(f.number, ids::kShortFieldBuffer, u"番号", cut_notes);
  Cut(f.time, ids::kShortFieldBuffer, u"時刻", cut_notes);
  Cut(f.addressee, ids::kAddresseeBuffer, u"名あて", cut_notes);
  Cut(f.body, ids::kBodyBuffer, u"本文", cut_notes);
  return f;
}

}  // namespace hoshizora
