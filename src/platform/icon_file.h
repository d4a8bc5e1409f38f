#pragma once
// The directory of an .ico file: what both editions check before they make
// a file the program's icon.

#include <optional>
#include <string_view>
#include <vector>

namespace hoshizora {

// One image of an icon file: its directory entry's first eight bytes (width,
// height, colours, reserved, planes, bits per pixel) and its bytes.
struct IconImage {
  std::string_view entry;
  std::string_view bytes;
  int Side() const;  // the width in pixels; an entry's 0 stands for 256
};

// The images, in directory order; nothing when the file is shorter than 6
// bytes, is not an icon (type 1), has no images, when a directory entry or
// an image lies (even partly) outside the file, or when the directory and
// the images together are larger than the file (entries sharing bytes, which
// would make every installer copy the file once per entry).
std::optional<std::vector<IconImage>> ReadIconFile(std::string_view file);

}  // namespace hoshizora
