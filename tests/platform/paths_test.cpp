#include "platform/paths.h"

#include <gtest/gtest.h>

namespace hoshizora {
namespace {

TEST(Paths, TextOfOurOwnRoundTripsThroughAPath) {
  const std::u16string p = u"/tmp/和文電報_20240131_090507/和文電報 x.wav";
  EXPECT_EQ(PathFromText(p).native(), "/tmp/和文電報_20240131_090507/和文電報 x.wav");
  EXPECT_EQ(PathText(PathFromText(p)), p);
}

TEST(Paths, NativeBytesThatAreNotUtf8StayInThePath) {
  // "電報" in Shift_JIS, as an unzipped Windows archive leaves it.
  const std::filesystem::path folder("/tmp/\x93\x64\x95\xf1");
  const std::filesystem::path file = WithSuffix(folder / "x", u".wav");
  EXPECT_EQ(file.native(), "/tmp/\x93\x64\x95\xf1/x.wav");
  EXPECT_EQ(PathText(folder), u"/tmp/\uFFFDd\uFFFD\uFFFD");
}

TEST(Paths, SuffixGoesOnTheLastComponent) {
  EXPECT_EQ(WithSuffix(std::filesystem::path("/a/和文電報_1/和文電報_1"), u".mp3").native(),
            "/a/和文電報_1/和文電報_1.mp3");
}

}  // namespace
}  // namespace hoshizora
