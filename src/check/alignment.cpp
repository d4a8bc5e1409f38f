#include "check/alignment.h"

#include <algorithm>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <utility>

namespace hoshizora {
namespace {

// The step that reached a cell of the table, two bits each.
enum Move : std::uint8_t { kPair = 0, kUp = 1, kLeft = 2 };

// The moves of the cells within diagonals low..high (j - i) of each row.
class MoveTable {
 public:
  MoveTable(std::size_t rows, long long low, long long high)
      : low_(low),
        width_(static_cast<std::size_t>(high - low + 1)),
        bits_((rows * width_ * 2 + 7) / 8, 0) {}
  void Set(std::size_t i, std::size_t j, Move m) {
    const std::size_t at = Bit(i, j);
    bits_[at / 8] = static_cast<std::uint8_t>(bits_[at / 8] | (m << (at % 8)));
  }
  Move Get(std::size_t i, std::size_t j) const {
    const std::size_t at = Bit(i, j);
    return static_cast<Move>((bits_[at / 8] >> (at % 8)) & 3);
  }

 private:
  std::size_t Bit(std::size_t i, std::size_t j) const {
    const auto diagonal = static_cast<long long>(j) - static_cast<long long>(i);
    return (i * width_ + static_cast<std::size_t>(diagonal - low_)) * 2;
  }

  long long low_;
  std::size_t width_;
  std::vector<std::uint8_t> bits_;
};

}  // namespace

std::vector<EditStep> AlignKeyedCharacters(const std::vector<KeyedCharacter>& key_all,
                                           const std::vector<KeyedCharacter>& copy_all) {
  const std::size_t n = std::min(key_all.size(), kLongestCheckedField);
  const std::size_t m = std::min(copy_all.size(), kLongestCheckedField);
  // Codes as small numbers, so that the table's inner loop compares integers:
  // a character without a code (-1) matches nothing.
  std::map<std::u16string, int> ids;
  const auto numbered = [&](const std::vector<KeyedCharacter>& chars, std::size_t count) {
    std::vector<int> out(count);
    for (std::size_t i = 0; i < count; ++i) {
      out[i] = chars[i].code.empty()
                   ? -1
                   : ids.emplace(chars[i].code, static_cast<int>(ids.size())).first->second;
    }
    return out;
  };
  const std::vector<int> key_ids = numbered(key_all, n);
  const std::vector<int> copy_ids = numbered(copy_all, m);
  const int* key = key_ids.data();
  const int* copy = copy_ids.data();
  const auto same = [key, copy](std::size_t i, std::size_t j) {
    return key[i] >= 0 && key[i] == copy[j];
  };
  // A copy is mostly right: what the two share at the start needs no table
  // (pairing it is what the preference below does anyway).
  std::size_t head = 0;
  while (head < n && head < m && same(head, head)) {
    ++head;
  }
  const std::size_t rows = n - head;  // key characters after the head
  const std::size_t columns = m - head;

  // cost[i][j]: the cheapest script from key characters i.. of the rest to
  // copy characters j..; filled from the ends, two rows at a time, keeping
  // the preferred first step of each cell. Only the cells within `band`
  // diagonals of those through the two corners are filled: a script that
  // strays further costs more than `band`, so when the cheapest found costs
  // no more, it is the cheapest of all, and each cell on its way chose as the
  // whole table would have. A copy that is mostly right needs a narrow band.
  const long long r = static_cast<long long>(rows);
  const long long c = static_cast<long long>(columns);
  constexpr int kFar = 1 << 29;
  std::optional<MoveTable> moves;
  for (long long band = 16;; band *= 4) {
    // The diagonals j - i filled, no more than the table has.
    const long long low = std::max(-r, std::min(0LL, c - r) - band);
    const long long high = std::min(c, std::max(0LL, c - r) + band);
    const bool whole = low == -r && high == c;
    moves.emplace(rows + 1, low, high);
    std::vector<int> next(columns + 2, kFar);
    std::vector<int> current(columns + 2, kFar);
    // The cells of row i that are filled: [first, last], within the table.
    const auto span = [&](long long i) {
      return std::make_pair(std::max(0LL, i + low), std::min(c, i + high));
    };
    for (long long i = r; i >= 0; --i) {
      const auto [first, last] = span(i);
      for (long long j = std::max(0LL, first - 1); j <= std::min(c, last + 1); ++j) {
        current[static_cast<std::size_t>(j)] = kFar;
      }
      for (long long j = last; j >= first; --j) {
        const auto ui = static_cast<std::size_t>(i);
        const auto uj = static_cast<std::size_t>(j);
        if (i == r) {
          current[uj] = static_cast<int>(c - j);
          moves->Set(ui, uj, kLeft);
          continue;
        }
        if (j == c) {
          current[uj] = static_cast<int>(r - i);
          moves->Set(ui, uj, kUp);
          continue;
        }
        const int pair = next[uj + 1] + (same(head + ui, head + uj) ? 0 : 1);
        const int up = next[uj] + 1;
        const int left = current[uj + 1] + 1;
        if (pair <= up && pair <= left) {
          current[uj] = pair;  // kPair is 0: nothing to set
        } else if (up <= left) {
          current[uj] = up;
          moves->Set(ui, uj, kUp);
        } else {
          current[uj] = left;
          moves->Set(ui, uj, kLeft);
        }
      }
      std::swap(next, current);
    }
    if (whole || next[0] <= band) {
      break;
    }
  }

  std::vector<EditStep> steps;
  steps.reserve(n + m);
  for (std::size_t h = 0; h < head; ++h) {
    steps.push_back({EditKind::kMatch, static_cast<int>(h), static_cast<int>(h)});
  }
  std::size_t i = 0;
  std::size_t j = 0;
  while (i < rows || j < columns) {
    const int key_at = static_cast<int>(head + i);
    const int copy_at = static_cast<int>(head + j);
    switch (moves->Get(i, j)) {
      case kPair:
        steps.push_back({same(head + i, head + j) ? EditKind::kMatch : EditKind::kSubstitution,
                         key_at, copy_at});
        ++i;
        ++j;
        break;
      case kUp:
        steps.push_back({EditKind::kOmission, key_at, copy_at});
        ++i;
        break;
      case kLeft:
        steps.push_back({EditKind::kInsertion, key_at, copy_at});
        ++j;
        break;
    }
  }
  return steps;
}

}  // namespace hoshizora
