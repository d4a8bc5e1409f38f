#pragma once

#include <string>
#include <vector>

#include "decode/element_timing.h"
#include "decode/tone_search.h"
#include "decode/wav_reader.h"

namespace hoshizora {

struct DecodedCharacter {
  SentCharacter keyed;
  // What it reads as: a character, two when split, 〓, the sign names; empty
  // for a Group mark, which is dropped.
  std::u16string text;
};

struct DecodeResult {
  // False for silence, noise or a tone that is not keyed: then nothing else
  // is filled in but the tone search.
  bool keying_found = false;
  ToneSearch tone;
  double smoothing_s = 0;  // the envelope window chosen for this recording
  std::vector<DecodedCharacter> characters;
  // The characters in order, a blank at each word gap, Group marks dropped.
  std::u16string text;
};

// Decodes Wabun keying from a recording: tone, envelope, on/off runs,
// glitches, timing, table. The same samples give the same result on every
// platform.
DecodeResult DecodeAudio(const AudioClip& clip);

// The text between the Start and End signs, or the whole text when either
// is missing; blanks at its ends dropped.
std::u16string DecodedBody(const std::u16string& text, bool* found_start, bool* found_end);

}  // namespace hoshizora
