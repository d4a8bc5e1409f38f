#pragma once

#include <string>
#include <vector>

#include "decode/decoder.h"

namespace hoshizora {

inline constexpr double kLowestGoodDahRatio = 2.5;
inline constexpr double kHighestGoodDahRatio = 3.5;
inline constexpr double kWidestSafeInnerGap = 1.8;    // units
inline constexpr double kNarrowestSafeCharGap = 2.2;  // units

struct AtRisk {
  // A gap inside a character that splits it, or one between two characters
  // that joins them.
  bool inner_gap = false;
  std::u16string character;  // the character, or the two around a gap
  std::u16string next;       // of those two, the one after the gap
  double at_s = 0;           // where the gap lies in the recording
  double units = 0;          // the gap's length
  std::u16string code;       // its code, the two codes split by a blank
  // What it may be heard as: the two halves' characters for an inner gap,
  // the one character the two codes make for a character gap; empty when
  // no character has that code.
  std::u16string first_heard;
  std::u16string second_heard;
  std::u16string why;  // the same in a line
};

struct CharacterRatio {
  std::u16string character;
  int count = 0;         // how often it was keyed
  double ratio = 0;      // its dahs over its dits
  bool flagged = false;  // outside kLowestGoodDahRatio to kHighestGoodDahRatio
};

struct TimingFeedback {
  double unit_ms = 0;  // half a dit's period (dit plus the gap after it)
  double cpm = 0;      // characters per minute as the keying counts them
  double wpm = 0;      // PARIS words per minute
  // Spread of the speed over windows of ten characters (standard deviation
  // over mean; 0 with fewer than two windows), and its trend in CPM per minute.
  double speed_cv = 0;
  double drift_cpm_per_min = 0;
  double dah_dit_ratio = 0;
  std::vector<CharacterRatio> ratios;  // characters holding both, in order of first keying
  double dit_cv = 0;                   // spread of the dits' lengths over their mean
  double dah_cv = 0;
  double weight = 0;  // dit over element gap: 1 is even, more is heavy
  double element_gap_units = 0;
  double char_gap_units = 0;
  double word_gap_units = 0;  // 0 without word gaps
  std::vector<AtRisk> at_risk;
  // A speed sample per window of ten characters, for charts: its middle in
  // seconds and its speed in CPM.
  std::vector<std::pair<double, double>> speed_track;
};

// Feedback on the sender's timing from what was decoded. Everything is 0 or
// empty when nothing was.
TimingFeedback MeasureTiming(const DecodeResult& decoded);

// The keying's character speed for a unit length in ms: the inverse of the
// writer's 12000 / (CPM + 10).
double CpmFromUnitMs(double unit_ms);

}  // namespace hoshizora
