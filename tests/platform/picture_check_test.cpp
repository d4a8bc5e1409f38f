#include "platform/picture_check.h"

#include <gtest/gtest.h>

#include <string>

namespace hoshizora {
namespace {

// A JPEG's marker skeleton: start, an APP1 segment holding a whole thumbnail
// (its own scan and end), the main scan with stuffed 0xFF bytes, then the end.
const std::string kThumbnail = std::string("\xFF\xD8\xFF\xDA", 4) + "thumb" + "\xFF\xD9";
const std::string kStuffedFF("\xFF\x00", 2);
const std::string kJpeg = std::string("\xFF\xD8\xFF\xE1", 4) + kThumbnail +
                          std::string("\xFF\xDA\x00\x08", 4) + "scan" + kStuffedFF + "data" +
                          kStuffedFF + "\xFF\xD9";

TEST(PictureCheck, AJpegMustEndAfterItsLastScan) {
  EXPECT_TRUE(PictureRunsToItsEnd(kJpeg));
  EXPECT_TRUE(PictureRunsToItsEnd(kJpeg + "trailing bytes")) << "data after the end is harmless";
  EXPECT_FALSE(PictureRunsToItsEnd(kJpeg.substr(0, kJpeg.size() - 2)));
  EXPECT_FALSE(PictureRunsToItsEnd(kJpeg.substr(0, kJpeg.size() - 1)));
  EXPECT_FALSE(PictureRunsToItsEnd(kJpeg.substr(0, kJpeg.size() / 2 + 10)))
      << "the thumbnail's end is not the picture's";
  EXPECT_FALSE(PictureRunsToItsEnd(kJpeg.substr(0, 20))) << "no scan at all";
}

TEST(PictureCheck, APngMustHaveItsEndChunk) {
  const std::string png = std::string("\x89PNG\r\n\x1A\n", 8) + "chunks" +
                          std::string("\0\0\0\0IEND\xAE\x42\x60\x82", 12);
  EXPECT_TRUE(PictureRunsToItsEnd(png));
  EXPECT_FALSE(PictureRunsToItsEnd(png.substr(0, png.size() - 1)));
  EXPECT_FALSE(PictureRunsToItsEnd(png.substr(0, 20)));
}

TEST(PictureCheck, OtherFormatsAreLeftToTheDecoder) {
  EXPECT_TRUE(PictureRunsToItsEnd("BM"));
  EXPECT_TRUE(PictureRunsToItsEnd(""));
}

}  // namespace
}  // namespace hoshizora
