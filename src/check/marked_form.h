#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "check/check_result.h"
#include "encoding/telegram_fields.h"
#include "imaging/form_layout.h"
#include "imaging/image_outcome.h"
#include "platform/canvas.h"
#include "platform/system.h"

namespace hoshizora {

inline constexpr std::uint32_t kMarkRed = 0xFFE01010;

// The stem of the marked pages of a key file: its name without ".txt", then
// "_採点"; the pages add "_1", "_2", ... and ".jpg".
std::filesystem::path MarkedFormStem(const std::filesystem::path& key_file);

// What one cell of a marked form shows.
struct MarkedCell {
  enum class Kind {
    kRight,    // the copied character, right
    kWrong,    // the copied character, circled, `expected` beside it
    kMissing,  // nothing was copied: `expected` with a mark where it belongs
    kExtra,    // the copied character, struck through
    kBlank,    // a blank of the key, which takes a cell as on the plain form
  };
  Kind kind = Kind::kRight;
  std::u16string written;   // as the learner wrote it (one character)
  std::u16string expected;  // the key's characters, voiced kana recomposed
};

// The cells of one field of a marked form, in order: the copy's characters
// (blanks and Group marks of the copy take none), with a cell of its own for
// each character that was left out and, in the body, for each blank of the
// key. Built from the same edit script the score is.
std::vector<MarkedCell> MarkedCells(const TelegramFields& key, const CheckCopy& copy,
                                    CheckField field);

// Writes the copy on reception form pages, 60 cells a page, marked: every
// wrong cell circled in red with the expected character small beside it,
// every left-out character in red with a mark where it belongs, every extra
// character struck through; the score and the counts in the 備考 box of every
// page. The header columns show the copy's header fields, marked alike, when
// the copy has them.
// Where the marked pages go: the folder, and the stem of their names (in the
// path's own form: it comes from a file the user named).
struct MarkedFormDestination {
  std::filesystem::path data_folder;  // holds the form template
  std::filesystem::path output_folder;
  std::filesystem::path stem;
};

ImageOutcome WriteMarkedForm(Canvas& canvas, System& system, const MarkedFormDestination& where,
                             const TelegramFields& key, const CheckCopy& copy,
                             const CheckResult& result);

}  // namespace hoshizora
