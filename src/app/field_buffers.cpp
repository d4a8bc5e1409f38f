#include "app/field_buffers.h"

#include "app/control_ids.h"
#include "base/unicode.h"
#include "encoding/text_utils.h"

namespace hoshizora {
namespace {

std::int32_t CharacterCount(std::u16string_view text) {
  return static_cast<std::int32_t>(CountCharacters(text));
}

void Cut(std::u16string& text, int buffer, std::u16string_view label,
         std::vector<std::u16string>& cut_notes) {
  if (text.size() <= static_cast<std::size_t>(buffer - 1)) {
    return;
  }
  // The field reads whole characters.
  const std::size_t limit = CutWithinCharacters(text, static_cast<std::size_t>(buffer - 1));
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
