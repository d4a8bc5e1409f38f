#include "decode/decoder.h"

#include <algorithm>

#include "decode/envelope.h"
#include "decode/keying_levels.h"
#include "decode/wabun_lookup.h"
#include "encoding/telegram_signs.h"

namespace hoshizora {
namespace {

// The first look: a window short enough for the fastest keying read here
// (a dit of 50 ms), long enough to see marks in noise.
constexpr double kFirstWindowSeconds = 0.025;
// Noise keeps the final window long, a clean signal short; both well under
// a dit.
constexpr double kCleanContrast = 30;
constexpr double kCleanWindowShare = 0.2;
constexpr double kNoisyWindowShare = 0.45;
constexpr double kGlitchShare = 0.3;
constexpr int kMostWindowRounds = 3;

double FirstDit(const std::vector<KeyRun>& runs) {
  std::vector<double> marks;
  for (const KeyRun& r : runs) {
    if (r.on) {
      marks.push_back(r.Length());
    }
  }
  // The shorter group; all marks alike are taken as dits.
  return SplitInTwo(marks, 1.7).low;
}

// The on level over the typical off level: the median of the values below
// the middle, so that the slopes of the marks do not count as noise.
double Contrast(const std::vector<double>& envelope) {
  const LevelSplit split = SplitLevels(envelope, 0, envelope.size());
  std::vector<double> off;
  for (double v : envelope) {
    if (v < (split.low + split.high) / 2) {
      off.push_back(v);
    }
  }
  if (off.empty()) {
    return 0;
  }
  const auto middle = off.begin() + static_cast<std::ptrdiff_t>(off.size() / 2);
  std::nth_element(off.begin(), middle, off.end());
  return *middle > 0 ? split.high / *middle : 1e9;
}

}  // namespace

DecodeResult DecodeAudio(const AudioClip& clip) {
  DecodeResult result;
  result.tone = FindTone(clip);
  if (!result.tone.found) {
    return result;
  }
  const ToneBlocks blocks = MixToTone(clip, result.tone);
  const auto first_window = static_cast<std::int32_t>(kFirstWindowSeconds / blocks.block_s) | 1;
  const std::vector<double> rough = SmoothEnvelope(blocks, first_window);
  const KeyingRuns first = FindKeyRuns(rough, blocks.block_s);
  // Noise through the first window makes marks about as long as the window.
  const std::vector<KeyRun> first_runs = RemoveGlitches(first.runs, first_window * blocks.block_s);
  if (first.keyed_stretches == 0 || first_runs.empty()) {
    return result;
  }
  const bool clean = Contrast(rough) >= kCleanContrast;
  const double share = clean ? kCleanWindowShare : kNoisyWindowShare;
  // The window follows the dit it reads, until the dit settles.
  double dit = FirstDit(first_runs);
  KeyingRuns keyed;
  std::vector<KeyRun> runs;
  for (int round = 0; round < kMostWindowRounds; ++round) {
    const std::int32_t window = WindowForDit(blocks, dit, share);
    result.smoothing_s = window * blocks.block_s;
    keyed = FindKeyRuns(SmoothEnvelope(blocks, window), blocks.block_s);
    runs = RemoveGlitches(keyed.runs, kGlitchShare * dit);
    const double next = FirstDit(runs);
    if (next <= 0 || (next > 0.9 * dit && next < 1.1 * dit)) {
      break;
    }
    dit = next;
  }
  if (keyed.keyed_stretches == 0 || runs.empty()) {
    return result;
  }
  int readable = 0;
  int unreadable = 0;
  for (SentCharacter& keyed_character : ReadCharacters(runs)) {
    DecodedCharacter c;
    const std::u16string code = keyed_character.Code();
    const bool group_mark = code == u"..--.." && keyed_character.long_pause_after;
    if (!group_mark) {
      c.text = ReadCode(code, keyed_character.inner_gaps_s);
      (c.text == std::u16string(1, kUnreadable) ? unreadable : readable) += 1;
    }
    c.keyed = std::move(keyed_character);
    result.characters.push_back(std::move(c));
  }
  // The presence gate: keying reads as characters, mostly known ones.
  if (readable < 2 || unreadable > readable) {
    result.characters.clear();
    return result;
  }
  result.keying_found = true;
  for (const DecodedCharacter& c : result.characters) {
    result.text += c.text;
    if (c.keyed.word_after && !c.text.empty()) {
      result.text += u' ';
    }
  }
  while (!result.text.empty() && result.text.back() == u' ') {
    result.text.pop_back();
  }
  return result;
}

std::u16string DecodedBody(const std::u16string& text, bool* found_start, bool* found_end) {
  const std::size_t start = text.find(kStartSign);
  const std::size_t end =
      text.find(kEndSign, start == std::u16string::npos ? 0 : start + kStartSign.size());
  *found_start = start != std::u16string::npos;
  *found_end = end != std::u16string::npos;
  std::size_t from = *found_start && *found_end ? start + kStartSign.size() : 0;
  std::size_t to = *found_start && *found_end ? end : text.size();
  while (from < to && text[from] == u' ') {
    ++from;
  }
  while (to > from && text[to - 1] == u' ') {
    --to;
  }
  return text.substr(from, to - from);
}

}  // namespace hoshizora
