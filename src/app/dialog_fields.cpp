#include "app/dialog_fields.h"

#include <climits>

#include "app/control_ids.h"
#include "app/field_buffers.h"

namespace hoshizora {
TelegramFields ReadWholeTelegramFields(Dialog& dialog) {
  TelegramFields f;
  f.count = dialog.GetControlText(ids::kCount, INT_MAX);
  f.station = dialog.GetControlText(ids::kStation, INT_MAX);
  f.number = dialog.GetControlText(ids::kNumber, INT_MAX);
  f.time = dialog.GetControlText(ids::kTime, INT_MAX);
  f.addressee = dialog.GetControlText(ids::kAddressee, INT_MAX);
  f.body = dialog.GetControlText(ids::kBody, INT_MAX);
  return f;
}

TelegramFields ReadTelegramFields(Dialog& dialog, std::vector<std::u16string>& cut_notes) {
  return CutToFieldBuffers(ReadWholeTelegramFields(dialog), cut_notes);
}

void WriteTelegramFields(Dialog& dialog, const TelegramFields& fields) {
  dialog.SetControlText(ids::kCount, fields.count);
  dialog.SetControlText(ids::kStation, fields.station);
  dialog.SetControlText(ids::kNumber, fields.number);
  dialog.SetControlText(ids::kTime, fields.time);
  dialog.SetControlText(ids::kAddressee, fields.addressee);
  dialog.SetControlText(ids::kBody, fields.body);
}

}  // namespace hoshizora
