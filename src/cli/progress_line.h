#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace hoshizora {

// One line of the command line's progress display, without a line break:
//   音声を書いています [=========>          ]  45% 0:07
// While the share is unknown (the encoder runs) a short block moves along the
// bar, one cell per tick, and the percentage reads "--%".
// The line fits in `width` - 1 terminal columns (a terminal wraps on its last
// one), counting CJK characters as two: the bar shrinks first, then the step
// is cut with "…", then the bar is left out. Control characters in the step
// become blanks and bytes that are not UTF-8 become "?".
std::string RenderProgressLine(std::string_view step_utf8, std::optional<double> share,
                               double elapsed_seconds, int width, unsigned busy_tick);

// The columns a terminal gives UTF-8 text: two for wide East Asian
// characters, none for combining marks, one for anything else.
int DisplayColumns(std::string_view utf8);

}  // namespace hoshizora
