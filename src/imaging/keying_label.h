#pragma once

#include <string>

namespace hoshizora {

// What the listing header appends so a picture tells how its audio was keyed:
// "  Rise: 5 ms" and "  Eff: 50", each part introduced by two blanks like the
// header's other parts, for the options that are on (non-zero, as bounded by
// the settings). Empty when both are off, so the header stays as it was.
std::u16string KeyingLabel(int rise_ms, int effective_cpm);

}  // namespace hoshizora
