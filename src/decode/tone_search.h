#pragma once

#include <cstdint>
#include <vector>

#include "decode/wav_reader.h"

namespace hoshizora {

inline constexpr double kLowestToneHz = 150;
inline constexpr double kHighestToneHz = 2500;

struct TonePoint {
  double at_s = 0;  // the middle of the stretch it was measured over
  double hz = 0;
};

struct ToneSearch {
  bool found = false;  // a peak stands out of the band's floor
  double hz = 0;       // the strongest tone over the whole recording
  // Peak power over the median power of the band: how far the tone stands out.
  double prominence = 0;
  // The tone followed through the recording, in time order; at least one
  // point when found. Between points the tone is taken to move linearly.
  std::vector<TonePoint> track;
};

// Finds the strongest tone from kLowestToneHz to kHighestToneHz in spectra
// spread over the recording, then follows its slow drift stretch by stretch
// within a narrow band around it.
ToneSearch FindTone(const AudioClip& clip);

// The tone of the track at a time (the track's ends hold beyond them).
double ToneAt(const ToneSearch& tone, double at_s);

}  // namespace hoshizora
