#pragma once

#include <string>
#include <vector>

#include "decode/keying_levels.h"

namespace hoshizora {

struct SentElement {
  double start_s = 0;
  double length_s = 0;
  bool dah = false;
};

// The elements of one character as keyed, with the gaps between them.
struct SentCharacter {
  std::vector<SentElement> elements;
  std::vector<double> inner_gaps_s;  // one fewer than the elements
  double gap_after_s = -1;           // -1 after the last character
  bool word_after = false;           // the gap after is a word gap
  bool long_pause_after = false;     // over twelve units: a Group mark's pause
  // The local dit and element gap the character was read with.
  double dit_s = 0;
  double dah_s = 0;
  double element_gap_s = 0;
  double char_gap_s = 0;  // the usual character gap around it

  std::u16string Code() const;  // "." and "-"
  double Start() const { return elements.empty() ? 0 : elements.front().start_s; }
};

// Two groups of positive values split where the ratio to each centre is the
// same (the geometric mean of the centres), the centres being medians.
// `separated` when both groups hold values and the centres are `least_ratio`
// or more apart.
struct TwoGroups {
  double low = 0;
  double high = 0;
  bool separated = false;
};
TwoGroups SplitInTwo(std::vector<double> values, double least_ratio);

// Reads the runs (alternating, starting and ending with a mark) as
// characters. Dits and dahs are told apart by the marks around each one, so
// the reading follows a sender who speeds up or slows down; element,
// character and word gaps likewise, by the gaps around each one.
std::vector<SentCharacter> ReadCharacters(const std::vector<KeyRun>& runs);

}  // namespace hoshizora
