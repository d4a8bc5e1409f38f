#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "base/keying_options.h"
#include "imaging/image_outcome.h"
#include "platform/canvas.h"
#include "platform/system.h"

namespace hoshizora {

inline constexpr int kListingWidth = 1280;
inline constexpr int kListingHeight = 720;
inline constexpr int kListingMaxLines = 26;
inline constexpr std::u16string_view kListingCutMark = u"...(省略)";

// Draws the Marked display telegram under a header naming the output, the
// speed and the frequency, then KeyingLabel's words for the keying options
// that are on, and saves it as base path + ".jpg". A listing of more than 26
// lines shows the cut mark in the last line position.
ImageOutcome WriteTextListingImage(Canvas& canvas, System& system, std::u16string_view listing_text,
                                   std::int32_t frequency, std::int32_t speed,
                                   const std::filesystem::path& base_path,
                                   const KeyingOptions& keying = {});

}  // namespace hoshizora
