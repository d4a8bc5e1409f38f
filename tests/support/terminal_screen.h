#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "cli/progress_line.h"

namespace hoshizora::testing {

// What a terminal shows after the given bytes: a carriage return goes back to
// the line's start and what follows overwrites it, a line feed starts a new
// line, wide characters take two cells. The lines come without trailing
// blanks, and the last one only when something stands on it.
inline std::vector<std::string> TerminalScreen(std::string_view bytes) {
  std::vector<std::vector<std::string>> lines(1);  // one cell each; "" is a wide glyph's right half
  std::size_t column = 0;
  for (std::size_t i = 0; i < bytes.size();) {
    const auto lead = static_cast<unsigned char>(bytes[i]);
    if (lead == '\r' || lead == '\n') {
      if (lead == '\n') {
        lines.emplace_back();
      }
      column = 0;
      ++i;
      continue;
    }
    const std::size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
    const std::string glyph(bytes.substr(i, length));
    i += length;
    const auto width = static_cast<std::size_t>(DisplayColumns(glyph));
    std::vector<std::string>& line = lines.back();
    if (line.size() < column + width) {
      line.resize(column + width, " ");
    }
    // Half of a wide character overwritten leaves a blank in the other half.
    if (line[column].empty() && column > 0) {
      line[column - 1] = " ";
    }
    if (column + width < line.size() && line[column + width].empty()) {
      line[column + width] = " ";
    }
    line[column] = glyph;
    if (width == 2) {
      line[column + 1] = "";
    }
    column += width;
  }
  std::vector<std::string> screen;
  for (const auto& cells : lines) {
    std::string text;
    for (const auto& cell : cells) {
      text += cell;
    }
    text.erase(text.find_last_not_of(' ') + 1);
    screen.push_back(text);
  }
  if (!screen.empty() && screen.back().empty()) {
    screen.pop_back();
  }
  return screen;
}

}  // namespace hoshizora::testing
