#include "app/field_buffers.h"

#include "app/control_ids.h"
#include "encoding/text_utils.h"

namespace hoshizora {
namespace {

void Cut(std::u16string& text, int buffer, std::u16string_view label,
         std::vector<std::u16string>& cut_notes) {
  const auto limit = static_cast<std::size_t>(buffer - 1);
  if (text.size() > limit) {
    text.resize(limit);
    cut_notes.push_back(std::u16string(label) + u"が長すぎるため、先頭の" + IntToText(buffer - 1) +
                        u"文字だけを使いました。");
  }
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
