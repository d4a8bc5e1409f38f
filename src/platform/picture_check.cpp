#include "platform/picture_check.h"

namespace hoshizora {
namespace {

constexpr std::string_view kJpegStart = "\xFF\xD8\xFF";
constexpr std::string_view kJpegScan = "\xFF\xDA";
constexpr std::string_view kJpegEnd = "\xFF\xD9";
constexpr std::string_view kPngSignature = "\x89PNG\r\n\x1A\n";
// The IEND chunk: no data, so its type and CRC are always these bytes.
constexpr std::string_view kPngEnd = "IEND\xAE\x42\x60\x82";

}  // namespace

bool PictureRunsToItsEnd(std::string_view bytes) {
  if (bytes.starts_with(kJpegStart)) {
    // Inside a scan every 0xFF byte of data is followed by 0x00, so these two
    // markers cannot occur by chance there. A thumbnail in the header has its
    // own scan and end, both before the main image's last scan.
    const std::size_t last_scan = bytes.rfind(kJpegScan);
    return last_scan != std::string_view::npos &&
           bytes.find(kJpegEnd, last_scan) != std::string_view::npos;
  }
  if (bytes.starts_with(kPngSignature)) {
    return bytes.find(kPngEnd, kPngSignature.size()) != std::string_view::npos;
  }
  return true;
}

}  // namespace hoshizora
