#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "platform/system.h"
#include "practice/focus_weights.h"

namespace hoshizora {

// What practice aimed at weak characters takes from the history as it
// stands when a batch starts.
struct WeakFocus {
  // Empty when there is nothing to aim at (no history, or nothing ever
  // written wrong): the practice is then plain.
  FocusWeights weights;
  int checks = 0;                       // records the weights come from
  std::vector<std::u16string> weakest;  // up to five characters written wrong, worst first
  bool unreadable = false;
};

WeakFocus ReadWeakFocus(System& system, const std::filesystem::path& history_file);

}  // namespace hoshizora
