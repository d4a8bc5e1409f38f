#include "imaging/keying_label.h"

#include "encoding/text_utils.h"

namespace hoshizora {

std::u16string KeyingLabel(int rise_ms, int effective_cpm) {
  std::u16string label;
  if (rise_ms != 0) {
    label += u"  Rise: " + IntToText(rise_ms) + u" ms";
  }
  if (effective_cpm != 0) {
    label += u"  Eff: " + IntToText(effective_cpm);
  }
  return label;
}

}  // namespace hoshizora
