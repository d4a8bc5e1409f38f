#include "check/alignment.h"

#include <algorithm>
#include <cstdint>

namespace hoshizora {
namespace {

// The step that reached a cell of the table, two bits each.
enum Move : std::uint8_t { kPair = 0, kUp = 1, kLeft = 2 };

class MoveTable {
 public:
  MoveTable(std::size_t rows, std::size_t columns)
      : columns_(columns), bits_((rows * columns * 2 + 7) / 8, 0) {}
  void Set(std::size_t i, std::size_t j, Move m) {
    const std::size_t at = (i * columns_ + j) * 2;
    bits_[at / 8] = static_cast<std::uint8_t>(bits_[at / 8] | (m << (at % 8)));
  }
  Move Get(std::size_t i, std::size_t j) const {
    const std::size_t at = (i * columns_ + j) * 2;
    return static_cast<Move>((bits_[at / 8] >> (at % 8)) & 3);
  }

 private:
  std::size_t columns_;
  std::vector<std::uint8_t> bits_;
};

}  // namespace

std::vector<EditStep> AlignKeyedCharacters(const std::vector<KeyedCharacter>& key_all,
                                           const std::vector<KeyedCharacter>& copy_all) {
  const std::size_t n = std::min(key_all.size(), kLongestCheckedField);
  const std::size_t m = std::min(copy_all.size(), kLongestCheckedField);
  const auto same = [&](std::size_t i, std::size_t j) {
    return SameKeyedCharacter(key_all[i], copy_all[j]);
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
  // the preferred first step of each cell.
  MoveTable moves(rows + 1, columns + 1);
  std::vector<int> next(columns + 1);
  std::vector<int> current(columns + 1);
  for (std::size_t j = columns + 1; j-- > 0;) {
    next[j] = static_cast<int>(columns - j);
    moves.Set(rows, j, kLeft);
  }
  for (std::size_t i = rows; i-- > 0;) {
    current[columns] = static_cast<int>(rows - i);
    moves.Set(i, columns, kUp);
    for (std::size_t j = columns; j-- > 0;) {
      const int pair = next[j + 1] + (same(head + i, head + j) ? 0 : 1);
      const int up = next[j] + 1;
      const int left = current[j + 1] + 1;
      if (pair <= up && pair <= left) {
        current[j] = pair;  // kPair is 0: nothing to set
      } else if (up <= left) {
        current[j] = up;
        moves.Set(i, j, kUp);
      } else {
        current[j] = left;
        moves.Set(i, j, kLeft);
      }
    }
    std::swap(next, current);
  }

  std::vector<EditStep> steps;
  steps.reserve(n + m);
  for (std::size_t h = 0; h < head; ++h) {
    steps.push_back({EditKind::kMatch, static_cast<int>(h), static_cast<int>(h)});
  }
  std::size_t i = 0;
  std::size_t j = 0;
  while (i < rows || j < columns) {
    const int k = static_cast<int>(head + i);
    const int c = static_cast<int>(head + j);
    switch (moves.Get(i, j)) {
      case kPair:
        steps.push_back(
            {same(head + i, head + j) ? EditKind::kMatch : EditKind::kSubstitution, k, c});
        ++i;
        ++j;
        break;
      case kUp:
        steps.push_back({EditKind::kOmission, k, c});
        ++i;
        break;
      case kLeft:
        steps.push_back({EditKind::kInsertion, k, c});
        ++j;
        break;
    }
  }
  return steps;
}

}  // namespace hoshizora
