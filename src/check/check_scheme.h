#pragma once

#include "check/check_result.h"
#include "platform/settings_store.h"

namespace hoshizora {

// Each deduction and the pass mark lie within 0-100.
inline constexpr int kMaxDeduction = 100;
inline constexpr int kMaxPassMark = 100;

// The scheme in section [Check] of the settings (Substitution, Omission,
// Insertion, PassMark), each moved to its nearer bound when outside it; a
// missing key keeps its default (1, 1, 1 and 80).
CheckScheme ReadCheckScheme(SettingsStore& store);

}  // namespace hoshizora
