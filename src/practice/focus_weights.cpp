#include "practice/focus_weights.h"

#include <algorithm>

#include "encoding/kana_folding.h"

namespace hoshizora {

std::uint32_t FocusWeight(int heard, int errors) {
  if (heard <= 0 || errors <= 0) {
    return kPlainFocusWeight;
  }
  const auto extra = static_cast<std::uint64_t>(kPlainFocusWeight) * (kWeakestFocusFactor - 1) *
                     static_cast<std::uint64_t>(std::min(errors, heard)) /
                     static_cast<std::uint64_t>(heard);
  return kPlainFocusWeight + static_cast<std::uint32_t>(extra);
}

std::uint32_t WeightOfText(std::u16string_view text, const FocusWeights& focus) {
  std::uint32_t weight = kPlainFocusWeight;
  for (char16_t c : text) {
    const FoldedCharacter folded = FoldForCodeTable(c);
    for (std::size_t k = 0; k < folded.size; ++k) {
      const auto found = focus.find(std::u16string(1, FullSizeKatakanaOf(folded.chars[k])));
      if (found != focus.end()) {
        weight = std::max(weight, found->second);
      }
    }
  }
  return weight;
}

std::size_t DrawWeighted(const std::vector<std::uint32_t>& weights, PracticeRandom& random) {
  std::uint64_t total = 0;
  for (std::uint32_t w : weights) {
    total += w;
  }
  std::uint64_t point = random.Below(total);
  for (std::size_t i = 0; i < weights.size(); ++i) {
    if (point < weights[i]) {
      return i;
    }
    point -= weights[i];
  }
  return weights.empty() ? 0 : weights.size() - 1;
}

}  // namespace hoshizora
