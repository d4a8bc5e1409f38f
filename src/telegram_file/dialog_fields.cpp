#include "telegram_file/dialog_fields.h"

#include <climits>

#include "encoding/text_utils.h"
#include "platform/control_ids.h"

namespace hoshizora {
namespace {

std::u16string ReadCut(Dialog& dialog, int id, int buffer, std::u16string_view label,
                       std::vector<std::u16string>& cut_notes) {
  std::u16string text = dialog.GetControlText(id, INT_MAX);
  const auto limit = static_cast<std::size_t>(buffer - 1);
  if (text.size() > limit) {
    text.resize(limit);
    cut_notes.push_back(std::u16string(label) + u"が長すぎるため、先頭の" + IntToText(buffer - 1) +
                        u"文字だけを使いました。");
  }
  return text;
}

}  // namespace

TelegramFields ReadTelegramFields(Dialog& dialog, std::vector<std::u16string>& cut_notes) {
  TelegramFields f;
  f.count = ReadCut(dialog, ids::kCount, ids::kShortFieldBuffer, u"文字数", cut_notes);
  f.station = ReadCut(dialog, ids::kStation, ids::kShortFieldBuffer, u"発信局", cut_notes);
  f.number = ReadCut(dialog, ids::kNumber, ids::kShortFieldBuffer, u"番号", cut_notes);
  f.time = ReadCut(dialog, ids::kTime, ids::kShortFieldBuffer, u"時刻", cut_notes);
  f.addressee = ReadCut(dialog, ids::kAddressee, ids::kAddresseeBuffer, u"名あて", cut_notes);
  f.body = ReadCut(dialog, ids::kBody, ids::kBodyBuffer, u"本文", cut_notes);
  return f;
}

void WriteTelegramFields(Dialog& dialog, const TelegramFields& fields) {
  dialog.SetControlText(ids::kCount, fields.count);
  dialog.SetControlText(ids::kStation, fields.station);
  dialog.SetControlText(ids::kNumber, fields.number);
  dialog.SetControlText(ids::kTime, fields.time);
  dialog.SetControlText(ids::kAddressee, fields.addressee);
  dialog.SetControlText(ids::kBody, fields.body);
}

std::u16string JoinLines(const std::vector<std::u16string>& lines) {
  std::u16string out;
  for (const auto& line : lines) {
    if (!out.empty()) {
      out.push_back(u'\n');
    }
    out += line;
  }
  return out;
}

}  // namespace hoshizora
