#include "platform/paths.h"

#include <gtest/gtest.h>

namespace hoshizora {
namespace {

TEST(Paths, JoinUsesExactlyOneSeparator) {
  EXPECT_EQ(JoinPath(u"/opt/app", u"lame"), u"/opt/app/lame");
  EXPECT_EQ(JoinPath(u"/opt/app/", u"/lame"), u"/opt/app/lame");
  EXPECT_EQ(JoinPath(u"/", u"x"), u"/x");
  EXPECT_EQ(JoinPath(u"", u"x"), u"x");
  EXPECT_EQ(JoinPath(u"/opt/和文電報_1", u"和文電報_1"), u"/opt/和文電報_1/和文電報_1");
}

TEST(Paths, RemoveLastComponent) {
  EXPECT_EQ(RemoveLastComponent(u"/opt/app/hoshizora"), u"/opt/app");
  EXPECT_EQ(RemoveLastComponent(u"/hoshizora"), u"/");
  EXPECT_EQ(RemoveLastComponent(u"hoshizora"), u"");
  EXPECT_EQ(RemoveLastComponent(u""), u"");
}

TEST(Paths, FileSystemPathsRoundTripJapanese) {
  const std::u16string p = u"/tmp/和文電報_20240131_090507/和文電報 x.wav";
  EXPECT_EQ(ToFsPath(p).string(), "/tmp/和文電報_20240131_090507/和文電報 x.wav");
  EXPECT_EQ(FromFsPath(ToFsPath(p)), p);
}

}  // namespace
}  // namespace hoshizora
