#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "imaging/image_outcome.h"
#include "platform/canvas.h"
#include "platform/system.h"

namespace hoshizora {

// The layout of the reception form, shared by the plain pages of an output
// run and the marked pages of a reception check.

inline constexpr int kCellsPerPage = 60;

// Called before page `page` of `pages` is drawn; returning false stops the
// writer there (the pages already saved stay).
using PageProgress = std::function<bool(int page, int pages)>;

// Where the form pages go: the folder, and the file-name stem every page
// name starts with (the run's folder name).
struct FormDestination {
  std::filesystem::path data_folder;  // holds the form template
  std::filesystem::path output_folder;
  std::u16string base_name;
};

// The page's file name: base name, "_" and the page number, ".jpg". Every
// page carries its number, so no page can take the listing's name.
std::u16string FormPageFileName(std::u16string_view base_name, int page);

// One character's cell: its corner as DrawCellChar takes it, the distance to
// the next cell of its column, and the em size it is written in.
struct FormCell {
  std::size_t index = 0;  // the character's index in the text laid out
  float x = 0;
  float y = 0;
  float step = 0;
  float pixel_size = 0;
};

// Body cell i (0-59) of a page: the columns right to left, ten rows each.
FormCell FormBodyCell(int i);

enum class FormHeaderField { kCount, kStation, kNumber, kTime, kAddressee };

// The cells of a header field's characters, in order: the count, number and
// time (its commas take no cell) in one column each; a station of six or
// more characters in small type, from the seventh on in a second column; the
// addressee in pieces that each end in 」, a column each from x 560
// leftwards, its line breaks taking cells as any other character. Text after
// the addressee's last 」 takes cells only `with_tail`.
std::vector<FormCell> HeaderFieldCells(FormHeaderField field, std::u16string_view text,
                                       bool with_tail = false);

// The characters of a header field that the plain form draws.
std::u16string DrawnHeaderText(FormHeaderField field, std::u16string_view text);

// The page number of the template at the page's foot.
void DrawPageNumber(Canvas& canvas, Graphics& g, int width, int height, int page, int pages);

// Writes `pages` pages, each a copy of the form template (from the data
// folder) with its page number, on which `draw` then draws, saved at
// `page_path(page)`. `note` runs once the template is loaded, to note what
// cannot be drawn.
ImageOutcome WriteFormPages(Canvas& canvas, System& system,
                            const std::filesystem::path& data_folder,
                            const std::function<std::filesystem::path(int page)>& page_path,
                            int pages, const std::function<void(ImageOutcome&)>& note,
                            const std::function<void(Graphics&, int page)>& draw,
                            const PageProgress& progress);

}  // namespace hoshizora
