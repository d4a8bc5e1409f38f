#pragma once

#include <cstdint>
#include <vector>

#include "decode/tone_search.h"
#include "decode/wav_reader.h"

namespace hoshizora {

// The recording mixed down to the tone, block by block: each block's
// single-bin DFT at the tone (followed through its drift), phases referred to
// the start of the recording so that neighbouring blocks add up coherently.
struct ToneBlocks {
  double block_s = 0;  // each block's length in seconds
  std::vector<double> re;
  std::vector<double> im;
};

// Blocks of about a millisecond.
ToneBlocks MixToTone(const AudioClip& clip, const ToneSearch& tone);

// The tone's amplitude around each block: the DFT over `window` blocks
// centred on it, so a rectangular mark keeps its length at half height.
std::vector<double> SmoothEnvelope(const ToneBlocks& blocks, std::int32_t window);

// A window of about `fraction` of a dit, in blocks (at least one).
std::int32_t WindowForDit(const ToneBlocks& blocks, double dit_s, double fraction);

}  // namespace hoshizora
