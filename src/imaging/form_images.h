#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

#include "encoding/telegram_fields.h"
#include "imaging/image_outcome.h"
#include "platform/canvas.h"

namespace hoshizora {

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

// Writes the body (between the signs, line breaks removed) 60 characters a
// page in vertical writing onto copies of the form template, with the header
// fields and the addressee on every page. Tells nobody anything: the outcome
// says what happened.
ImageOutcome WriteFormImages(Canvas& canvas, const FormDestination& where,
                             const TelegramFields& fields, const PageProgress& progress = {});

}  // namespace hoshizora
