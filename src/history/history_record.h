#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <utility>

#include "base/local_time.h"

namespace hoshizora {

// How one keyed character of a key fared in a copy.
struct CharacterTally {
  int heard = 0;   // times it was keyed in the scored fields
  int errors = 0;  // of those, written as another character or left out

  bool operator==(const CharacterTally&) const = default;
};

// Keyed character (as the Code table keys it) to its tally.
using CharacterTallies = std::map<std::u16string, CharacterTally>;
// (expected, written) to how often the one was written for the other.
using ConfusionTallies = std::map<std::pair<std::u16string, std::u16string>, int>;

// What was scored: a copy of what the learner heard, or what the learner
// keyed, decoded.
enum class HistoryKind { kReception, kSending };

// One scored copy, as the practice history keeps it.
struct HistoryRecord {
  HistoryKind kind = HistoryKind::kReception;
  std::optional<LocalTime> time;  // nothing when the clock could not be read
  std::u16string key_name;        // the key's file name; empty when unknown
  std::optional<std::uint64_t> seed;
  std::optional<int> cpm;
  std::optional<int> effective_cpm;
  int score = 0;
  int pass_mark = 0;
  int substitutions = 0;
  int omissions = 0;
  int insertions = 0;
  CharacterTallies characters;
  ConfusionTallies confusions;  // substitutions only

  bool operator==(const HistoryRecord&) const = default;
};

}  // namespace hoshizora
