#include "platform/icon_file.h"

#include <gtest/gtest.h>

#include "base/little_endian.h"
#ifndef _WIN32
#include "platform/posix/desktop_icon_resources.h"
#endif
#include "support/temp_dir.h"

namespace hoshizora {
namespace {

// An icon file with one image per side length (0 for 256), each image's bytes
// a run of its own letter.
std::string IconFile(const std::vector<int>& sides, int type = 1) {
  std::string file;
  AppendLe(file, 0, 2);
  AppendLe(file, static_cast<std::uint32_t>(type), 2);
  AppendLe(file, static_cast<std::uint32_t>(sides.size()), 2);
  std::uint32_t offset = static_cast<std::uint32_t>(6 + 16 * sides.size());
  std::string data;
  for (std::size_t i = 0; i < sides.size(); ++i) {
    const std::uint32_t size = 10 + static_cast<std::uint32_t>(i);
    file += static_cast<char>(sides[i]);
    file += static_cast<char>(sides[i]);
    file += '\0';
    file += '\0';
    AppendLe(file, 1, 2);
    AppendLe(file, 32, 2);
    AppendLe(file, size, 4);
    AppendLe(file, offset, 4);
    offset += size;
    data += std::string(size, static_cast<char>('a' + i));
  }
  return file + data;
}

TEST(IconFile, ImagesInDirectoryOrder) {
  const std::string file = IconFile({16, 32, 0});
  const auto images = ReadIconFile(file);
  ASSERT_TRUE(images.has_value());
  ASSERT_EQ(images->size(), 3u);
  for (std::size_t i = 0; i < 3; ++i) {
    EXPECT_EQ((*images)[i].entry, std::string_view(file).substr(6 + 16 * i, 8));
    EXPECT_EQ((*images)[i].bytes, std::string(10 + i, static_cast<char>('a' + i)));
  }
  EXPECT_EQ((*images)[0].Side(), 16);
  EXPECT_EQ((*images)[2].Side(), 256) << "an entry's 0 stands for 256";
}

TEST(IconFile, RejectsFilesThatAreNoIcons) {
  const std::string valid = IconFile({16});
  const std::string overflow = [&] {
    std::string f = valid;
    f[6 + 12] = '\xF0';  // offset far beyond the file
    return f;
  }();
  const std::string too_big = [&] {
    std::string f = valid;
    f[6 + 8] = '\xFF', f[6 + 9] = '\xFF', f[6 + 10] = '\xFF', f[6 + 11] = '\xFF';
    return f;
  }();
  for (const std::string& file :
       {IconFile({16}, 2), valid.substr(0, 5), IconFile({}), valid.substr(0, 20),
        valid.substr(0, valid.size() - 1), overflow, too_big, std::string()}) {
    EXPECT_FALSE(ReadIconFile(file).has_value()) << file.size();
  }
}

// Entries that share bytes would make an installer copy the file once per
// entry: 65,535 entries naming the whole file would be 64 GiB.
TEST(IconFile, EntriesSharingBytesAreRefused) {
  constexpr std::uint32_t kEntries = 65535;
  std::string file;
  AppendLe(file, 0, 2);
  AppendLe(file, 1, 2);
  AppendLe(file, kEntries, 2);
  const auto size = static_cast<std::uint32_t>(6 + 16 * kEntries);
  for (std::uint32_t i = 0; i < kEntries; ++i) {
    file += std::string("\x10\x10\0\0", 4);
    AppendLe(file, 1, 2);
    AppendLe(file, 32, 2);
    AppendLe(file, size, 4);
    AppendLe(file, 0, 4);
  }
  ASSERT_EQ(file.size(), size);
  EXPECT_FALSE(ReadIconFile(file).has_value());

  // Two images that each span both images' bytes are refused too; the same
  // file with the images side by side is read.
  const std::string valid = IconFile({16, 32});
  std::string shared = valid;
  std::string both_images;
  AppendLe(both_images, 21, 4);
  AppendLe(both_images, 6 + 32, 4);
  shared.replace(6 + 8, 8, both_images);
  shared.replace(6 + 16 + 8, 8, both_images);
  EXPECT_FALSE(ReadIconFile(shared).has_value());
  EXPECT_TRUE(ReadIconFile(valid).has_value());
}

#ifndef _WIN32
TEST(DesktopIconResources, InstallsAnEntryAndItsIcon) {
  testing::TempDir dir;
  DesktopIconResources resources(dir.path());
  std::string file = IconFile({16, 0});
  // Make the 256-pixel image a PNG so it becomes the entry's icon.
  const std::size_t png_at = file.size() - 11;
  file.replace(png_at, 8, "\x89PNG\r\n\x1a\n");
  ASSERT_TRUE(resources.InstallProgramIcon(u"/opt/ほし ぞら/hoshizora", file));
  const std::string entry =
      testing::ReadFileBytes(dir.path() / "applications" / "hoshizora.desktop");
  EXPECT_NE(entry.find("Exec=\"/opt/ほし ぞら/hoshizora\"\n"), std::string::npos);
  EXPECT_NE(entry.find("Icon=" + (dir.path() / "icons" / "hoshizora.png").string() + "\n"),
            std::string::npos);
  EXPECT_EQ(testing::ReadFileBytes(dir.path() / "icons" / "hoshizora.png"), file.substr(png_at));
  EXPECT_EQ(testing::ReadFileBytes(dir.path() / "icons" / "hoshizora.ico"), file)
      << "the icon file as it was given";

  DesktopIconResources nowhere(dir.path() / "file");
  testing::WriteFileBytes(dir.path() / "file", "x");
  EXPECT_FALSE(nowhere.InstallProgramIcon(u"/opt/hoshizora", file));
  DesktopIconResources refused(dir.path() / "other");
  EXPECT_FALSE(refused.InstallProgramIcon(u"/opt/hoshizora", file.substr(0, 20)));
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "other")) << "no icon: nothing written";
}

// The Exec line quotes the path as the desktop entry format asks: inside
// double quotes " ` $ and \\ take a backslash, and then every backslash is
// doubled again by the string escapes; % doubles.
TEST(DesktopIconResources, ExecQuotesAwkwardCharacters) {
  testing::TempDir dir;
  DesktopIconResources resources(dir.path());
  ASSERT_TRUE(resources.InstallProgramIcon("/opt/a\"b`c$d\\e%f g/hoshizora", IconFile({16})));
  const std::string entry =
      testing::ReadFileBytes(dir.path() / "applications" / "hoshizora.desktop");
  EXPECT_NE(entry.find("\nExec=\"/opt/a\\\\\"b\\\\`c\\\\$d\\\\\\\\e%%f g/hoshizora\"\n"),
            std::string::npos)
      << entry;
}

#endif

}  // namespace
}  // namespace hoshizora
