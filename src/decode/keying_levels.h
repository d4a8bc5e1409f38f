#pragma once

#include <vector>

namespace hoshizora {

// A stretch of the recording with the key down (on) or up.
struct KeyRun {
  bool on = false;
  double start_s = 0;
  double end_s = 0;
  double Length() const { return end_s - start_s; }
};

// How two classes split a set of values (Otsu's method): the mean of each
// side and the share of the variance the split explains (near 1 for two
// clear levels, about 0.65 for a single smooth hump such as noise).
struct LevelSplit {
  double low = 0;
  double high = 0;
  double separation = 0;
};
LevelSplit SplitLevels(const std::vector<double>& values, std::size_t from, std::size_t to);

struct KeyingRuns {
  std::vector<KeyRun> runs;  // alternating, from the first mark to the last; empty without keying
  // Stretches whose levels showed keying; none means the gate found nothing.
  int keyed_stretches = 0;
};

// Turns the envelope (one value per block of `block_s`) into key-down and
// key-up runs. The on and off levels are measured in overlapping stretches of
// a few seconds, so a fading signal keeps its threshold; a stretch that shows
// no two clear levels (silence, noise, a long pause) takes the levels of its
// nearest keyed neighbour. Hysteresis: a mark starts above 60 % of the way
// from the off level to the on level and ends below 40 %, so a rectangular
// mark keeps its length; edges are placed between blocks by interpolation.
KeyingRuns FindKeyRuns(const std::vector<double>& envelope, double block_s);

// Runs shorter than `shortest_s` are flipped into their surroundings, the
// neighbours merged: a dropout inside a dah, a click in a gap.
std::vector<KeyRun> RemoveGlitches(const std::vector<KeyRun>& runs, double shortest_s);

}  // namespace hoshizora
