#include "platform/paths.h"

#include <gtest/gtest.h>

namespace hoshizora {
namespace {

std::string Utf8(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

TEST(Paths, TextOfOurOwnRoundTripsThroughAPath) {
  const std::u16string p = u"/tmp/和文電報_20240131_090507/和文電報 x.wav";
  EXPECT_EQ(Utf8(PathFromText(p)), "/tmp/和文電報_20240131_090507/和文電報 x.wav");
  EXPECT_EQ(PathText(PathFromText(p)), p);
}

#ifdef _WIN32
TEST(Paths, WindowsPathsAreTheirOwnText) {
  const std::filesystem::path path(L"C:\\和文電報_1\\和文電報 x.wav");
  EXPECT_EQ(PathText(path), u"C:\\和文電報_1\\和文電報 x.wav");
}
#else
TEST(Paths, NativeBytesThatAreNotUtf8StayInThePath) {
  // "電報" in Shift_JIS, as an unzipped Windows archive leaves it.
  const std::filesystem::path folder("/tmp/\x93\x64\x95\xf1");
  const std::filesystem::path file = WithSuffix(folder / "x", u".wav");
  EXPECT_EQ(file.native(), "/tmp/\x93\x64\x95\xf1/x.wav");
  EXPECT_EQ(PathText(folder), u"/tmp/\uFFFDd\uFFFD\uFFFD");
}
#endif

TEST(Paths, SuffixGoesOnTheLastComponent) {
  EXPECT_EQ(Utf8(WithSuffix(PathFromText(u"/a/和文電報_1/和文電報_1"), u".mp3")),
            "/a/和文電報_1/和文電報_1.mp3");
}

}  // namespace
}  // namespace hoshizora
