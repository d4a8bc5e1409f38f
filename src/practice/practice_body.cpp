#include "practice/practice_body.h"

#include <algorithm>
#include <utility>

namespace hoshizora {
namespace {

constexpr char16_t kSentenceEnd = u'」';
constexpr char16_t kPause = u'、';
constexpr char16_t kOpenParenthesis = u'（';
constexpr char16_t kCloseParenthesis = u'）';

// How often the words body reaches for its rarer punctuation.
constexpr std::uint64_t kPauseOneIn = 4;
constexpr std::uint64_t kParenthesesOneIn = 24;
constexpr std::int32_t kMostEntriesPerSentence = 3;

// How an entry joins its sentence.
enum class Join { kPlain, kPause, kParenthesised, kPauseParenthesised };
constexpr Join kJoins[] = {Join::kPlain, Join::kPause, Join::kParenthesised,
                           Join::kPauseParenthesised};

std::int32_t PunctuationCost(Join join) {
  switch (join) {
    case Join::kPlain:
      return 0;
    case Join::kPause:
      return 1;
    case Join::kParenthesised:
      return 2;
    case Join::kPauseParenthesised:
      return 3;
  }
  return 0;
}

bool CanOpenSentence(Join join) {
  return join == Join::kPlain || join == Join::kParenthesised;
}

// The budgets that can still be spent exactly, so the body meets its drawn
// length to the character: in_sentence[b] with a sentence open (it may take
// more entries or be closed), at_start[b] before a sentence's first entry.
struct Reachable {
  std::vector<bool> in_sentence;
  std::vector<bool> at_start;
};

Reachable ComputeReachable(const std::vector<std::int32_t>& entry_lengths, std::int32_t limit) {
  const auto size = static_cast<std::size_t>(limit) + 1;
  Reachable reach{std::vector<bool>(size), std::vector<bool>(size)};
  reach.at_start[0] = true;
  for (std::size_t b = 1; b < size; ++b) {
    bool in_sentence = reach.at_start[b - 1];  // close the sentence with 」
    bool at_start = false;
    for (std::int32_t length : entry_lengths) {
      for (Join join : kJoins) {
        const auto cost = static_cast<std::size_t>(length + PunctuationCost(join));
        if (cost <= b && reach.in_sentence[b - cost]) {
          in_sentence = true;
          at_start = at_start || CanOpenSentence(join);
        }
      }
    }
    reach.in_sentence[b] = in_sentence;
    reach.at_start[b] = at_start;
  }
  return reach;
}

class WordsBodyWriter {
 public:
  // `weights`: one per word, or none for words all alike.
  WordsBodyWriter(const std::vector<std::u16string>& words, const Reachable& reach,
                  std::int32_t budget, PracticeRandom& random, std::vector<std::uint32_t> weights)
      : words_(words),
        reach_(reach),
        budget_(budget),
        random_(random),
        weights_(std::move(weights)) {
    sentence_size_ = random_.Between(1, kMostEntriesPerSentence);
  }

  std::u16string Write() {
    while (budget_ > 0) {
      const bool parenthesised = random_.OneIn(kParenthesesOneIn);
      const bool pause = random_.OneIn(kPauseOneIn);
      if (!Step(parenthesised, pause)) {
        break;  // only when the drawn length was not reachable after all
      }
    }
    return std::move(text_);
  }

 private:
  bool Step(bool parenthesised, bool pause) {
    if (entries_in_sentence_ == 0) {
      const Join preferred = parenthesised ? Join::kParenthesised : Join::kPlain;
      return TryEntry(preferred) || TryEntry(Join::kPlain) || TryEntry(Join::kParenthesised);
    }
    if (entries_in_sentence_ >= sentence_size_ && TryClose()) {
      return true;
    }
    Join preferred = parenthesised ? Join::kParenthesised : Join::kPlain;
    if (pause) {
      preferred = parenthesised ? Join::kPauseParenthesised : Join::kPause;
    }
    if (TryEntry(preferred)) {
      return true;
    }
    for (Join join : kJoins) {
      if (TryEntry(join)) {
        return true;
      }
    }
    return TryClose();
  }

  bool Fits(std::size_t entry, Join join) const {
    const auto cost = static_cast<std::int32_t>(words_[entry].size()) + PunctuationCost(join);
    return cost <= budget_ && reach_.in_sentence[static_cast<std::size_t>(budget_ - cost)];
  }

  // Adds a random entry joined by `join`, among those that leave a budget the
  // rest of the body can still spend exactly. The entry just used is taken
  // again only when nothing else fits, so no phrase stutters.
  bool TryEntry(Join join) {
    candidates_.clear();
    for (std::size_t i = 0; i < words_.size(); ++i) {
      if (i != last_entry_ && Fits(i, join)) {
        candidates_.push_back(i);
      }
    }
    if (candidates_.empty() && last_entry_ < words_.size() && Fits(last_entry_, join)) {
      candidates_.push_back(last_entry_);
    }
    if (candidates_.empty()) {
      return false;
    }
    last_entry_ = candidates_[ChooseCandidate()];
    const std::u16string& word = words_[last_entry_];
    if (join == Join::kPause || join == Join::kPauseParenthesised) {
      text_ += kPause;
    }
    const bool parenthesised = join == Join::kParenthesised || join == Join::kPauseParenthesised;
    if (parenthesised) {
      text_ += kOpenParenthesis;
    }
    text_ += word;
    if (parenthesised) {
      text_ += kCloseParenthesis;
    }
    budget_ -= static_cast<std::int32_t>(word.size()) + PunctuationCost(join);
    ++entries_in_sentence_;
    return true;
  }

  std::size_t ChooseCandidate() {
    if (weights_.empty()) {
      return random_.Below(candidates_.size());
    }
    candidate_weights_.clear();
    for (std::size_t entry : candidates_) {
      candidate_weights_.push_back(weights_[entry]);
    }
    return DrawWeighted(candidate_weights_, random_);
  }

  bool TryClose() {
    if (entries_in_sentence_ == 0 || !reach_.at_start[static_cast<std::size_t>(budget_ - 1)]) {
      return false;
    }
    text_ += kSentenceEnd;
    --budget_;
    entries_in_sentence_ = 0;
    sentence_size_ = random_.Between(1, kMostEntriesPerSentence);
    return true;
  }

  const std::vector<std::u16string>& words_;
  const Reachable& reach_;
  std::int32_t budget_;
  PracticeRandom& random_;
  std::u16string text_;
  std::vector<std::uint32_t> weights_;
  std::vector<std::size_t> candidates_;
  std::vector<std::uint32_t> candidate_weights_;
  std::size_t last_entry_ = static_cast<std::size_t>(-1);
  std::int32_t entries_in_sentence_ = 0;
  std::int32_t sentence_size_ = 1;
};

}  // namespace

std::u16string MakeWordsBody(const std::vector<std::u16string>& words, LengthRange length,
                             PracticeRandom& random, const FocusWeights& focus) {
  std::vector<std::int32_t> entry_lengths;
  for (const std::u16string& word : words) {
    entry_lengths.push_back(static_cast<std::int32_t>(word.size()));
  }
  std::sort(entry_lengths.begin(), entry_lengths.end());
  entry_lengths.erase(std::unique(entry_lengths.begin(), entry_lengths.end()), entry_lengths.end());
  if (entry_lengths.empty() || entry_lengths.front() == 0 || length.max < 1) {
    return {};
  }
  const Reachable reach = ComputeReachable(entry_lengths, length.max);
  std::vector<std::int32_t> targets;
  for (std::int32_t t = std::max(length.min, 1); t <= length.max; ++t) {
    if (reach.at_start[static_cast<std::size_t>(t)]) {
      targets.push_back(t);
    }
  }
  if (targets.empty()) {
    return {};
  }
  const std::int32_t target = targets[random.Below(targets.size())];
  std::vector<std::uint32_t> weights;
  if (!focus.empty()) {
    for (const std::u16string& word : words) {
      weights.push_back(WeightOfText(word, focus));
    }
  }
  return WordsBodyWriter(words, reach, target, random, std::move(weights)).Write();
}

std::u16string MakeGroupsBody(std::u16string_view characters, LengthRange length,
                              PracticeRandom& random, const FocusWeights& focus) {
  std::u16string distinct;
  for (char16_t c : characters) {
    if (distinct.find(c) == std::u16string::npos) {
      distinct += c;
    }
  }
  const std::int32_t fewest =
      std::max((length.min + kPracticeGroupSize - 1) / kPracticeGroupSize, 1);
  const std::int32_t most = length.max / kPracticeGroupSize;
  if (distinct.empty() || most < fewest) {
    return {};
  }
  const std::int32_t groups = random.Between(fewest, most);
  std::vector<std::uint32_t> weights;
  if (!focus.empty()) {
    for (char16_t c : distinct) {
      weights.push_back(WeightOfText(std::u16string_view(&c, 1), focus));
    }
  }
  std::u16string text;
  for (std::int32_t g = 0; g < groups; ++g) {
    if (g > 0) {
      text += u' ';
    }
    for (std::int32_t k = 0; k < kPracticeGroupSize; ++k) {
      text +=
          distinct[weights.empty() ? random.Below(distinct.size()) : DrawWeighted(weights, random)];
    }
  }
  return text;
}

}  // namespace hoshizora
