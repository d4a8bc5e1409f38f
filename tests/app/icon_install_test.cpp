#include "app/icon_install.h"

#include <gtest/gtest.h>

#include "base/little_endian.h"

#include <map>

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

class FakeIconResources : public IconResources {
 public:
  bool BeginUpdate(const std::filesystem::path& exe) override {
    began = exe;
    return begin_ok;
  }
  bool AddResource(int type, int id, int language, std::string_view bytes) override {
    if (fail_on_add == static_cast<int>(added.size())) {
      return false;
    }
    added.push_back({type, id, language, std::string(bytes)});
    return true;
  }
  bool Commit() override {
    committed = true;
    return true;
  }
  void Discard() override { discarded = true; }

  struct Added {
    int type, id, language;
    std::string bytes;
  };
  std::filesystem::path began;
  bool begin_ok = true;
  int fail_on_add = -1;
  std::vector<Added> added;
  bool committed = false;
  bool discarded = false;
};

TEST(IconInstall, ThreeImagesGiveThreeIconsAndOneGroup) {
  const std::string file = IconFile({16, 32, 0});
  FakeIconResources resources;
  EXPECT_TRUE(InstallIcon(resources, u"/opt/hoshizora", file));
  EXPECT_EQ(resources.began, u"/opt/hoshizora");
  ASSERT_EQ(resources.added.size(), 4u);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(resources.added[i].type, 3);
    EXPECT_EQ(resources.added[i].id, i + 1);
    EXPECT_EQ(resources.added[i].language, 0);
    EXPECT_EQ(resources.added[i].bytes, std::string(10 + i, static_cast<char>('a' + i)));
  }
  const std::string& group = resources.added[3].bytes;
  EXPECT_EQ(resources.added[3].type, 14);
  EXPECT_EQ(resources.added[3].id, 1);
  ASSERT_EQ(group.size(), 48u);
  EXPECT_EQ(group.substr(0, 6), std::string("\0\0\1\0\3\0", 6));
  for (int i = 0; i < 3; ++i) {
    const std::string entry = group.substr(6 + 14 * i, 14);
    const std::string size{static_cast<char>(10 + i), 0, 0, 0};
    const std::string id{static_cast<char>(i + 1), 0};
    EXPECT_EQ(entry.substr(8, 4), size);
    EXPECT_EQ(entry.substr(12, 2), id);
  }
  EXPECT_EQ(group[6 + 28], '\0') << "256-pixel width stays 0";
  EXPECT_EQ(group[6], '\x10');
  EXPECT_TRUE(resources.committed);
}

TEST(IconInstall, RejectsFilesThatAreNoIcons) {
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
    FakeIconResources resources;
    EXPECT_FALSE(InstallIcon(resources, u"/x", file)) << file.size();
    EXPECT_TRUE(resources.began.empty()) << "the executable is not touched";
  }
}

TEST(IconInstall, AFailingStepDiscardsEverything) {
  FakeIconResources fails_add;
  fails_add.fail_on_add = 1;
  EXPECT_FALSE(InstallIcon(fails_add, u"/x", IconFile({16, 32})));
  EXPECT_TRUE(fails_add.discarded);
  EXPECT_FALSE(fails_add.committed);

  FakeIconResources fails_group;
  fails_group.fail_on_add = 2;
  EXPECT_FALSE(InstallIcon(fails_group, u"/x", IconFile({16, 32})));
  EXPECT_TRUE(fails_group.discarded);

  FakeIconResources fails_begin;
  fails_begin.begin_ok = false;
  EXPECT_FALSE(InstallIcon(fails_begin, u"/x", IconFile({16})));
  EXPECT_TRUE(fails_begin.added.empty());
}

// Counts the bytes handed over instead of keeping them, so a file that would
// make the installer copy gigabytes shows as a number, not as an exhausted machine.
class CountingIconResources : public IconResources {
 public:
  bool BeginUpdate(const std::filesystem::path&) override { return true; }
  bool AddResource(int, int, int, std::string_view bytes) override {
    copied += bytes.size();
    return true;
  }
  bool Commit() override { return true; }
  void Discard() override {}
  std::uint64_t copied = 0;
};

TEST(IconInstall, EntriesSharingBytesCannotMultiplyTheCopy) {
  // 65,535 entries, each naming the whole file as its image: 64 GiB to copy.
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
  CountingIconResources resources;
  EXPECT_FALSE(InstallIcon(resources, u"/x", file));
  EXPECT_LE(resources.copied, file.size());

  // Two images that each span both images' bytes are refused too; the same
  // file with the images side by side is read.
  const std::string valid = IconFile({16, 32});
  std::string shared = valid;
  std::string both_images;
  AppendLe(both_images, 21, 4);
  AppendLe(both_images, 6 + 32, 4);
  shared.replace(6 + 8, 8, both_images);
  shared.replace(6 + 16 + 8, 8, both_images);
  CountingIconResources shared_resources;
  EXPECT_FALSE(InstallIcon(shared_resources, u"/x", shared));
  EXPECT_EQ(shared_resources.copied, 0u);
  CountingIconResources valid_resources;
  EXPECT_TRUE(InstallIcon(valid_resources, u"/x", valid));
  EXPECT_EQ(valid_resources.copied, 10u + 11u + 6u + 2 * 14u) << "both images and the group";
}

#ifndef _WIN32
TEST(DesktopIconResources, InstallsAnEntryAndItsIcon) {
  testing::TempDir dir;
  DesktopIconResources resources(dir.path());
  std::string file = IconFile({16, 0});
  // Make the 256-pixel image a PNG so it becomes the entry's icon.
  const std::size_t png_at = file.size() - 11;
  file.replace(png_at, 8, "\x89PNG\r\n\x1a\n");
  ASSERT_TRUE(InstallIcon(resources, u"/opt/ほし ぞら/hoshizora", file));
  const std::string entry =
      testing::ReadFileBytes(dir.path() / "applications" / "hoshizora.desktop");
  EXPECT_NE(entry.find("Exec=\"/opt/ほし ぞら/hoshizora\"\n"), std::string::npos);
  EXPECT_NE(entry.find("Icon=" + (dir.path() / "icons" / "hoshizora.png").string() + "\n"),
            std::string::npos);
  EXPECT_EQ(testing::ReadFileBytes(dir.path() / "icons" / "hoshizora.png"), file.substr(png_at));
  EXPECT_EQ(testing::ReadFileBytes(dir.path() / "icons" / "hoshizora.ico"), file)
      << "the icon file is rebuilt byte for byte";

  DesktopIconResources nowhere(dir.path() / "file");
  testing::WriteFileBytes(dir.path() / "file", "x");
  EXPECT_FALSE(InstallIcon(nowhere, u"/opt/hoshizora", file));
  DesktopIconResources discarded(dir.path() / "other");
  ASSERT_TRUE(discarded.BeginUpdate("/x"));
  discarded.Discard();
  EXPECT_FALSE(discarded.Commit());
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "other"));
}

// The Exec line quotes the path as the desktop entry format asks: inside
// double quotes " ` $ and \\ take a backslash, and then every backslash is
// doubled again by the string escapes; % doubles.
TEST(DesktopIconResources, ExecQuotesAwkwardCharacters) {
  testing::TempDir dir;
  DesktopIconResources resources(dir.path());
  ASSERT_TRUE(InstallIcon(resources, "/opt/a\"b`c$d\\e%f g/hoshizora", IconFile({16})));
  const std::string entry =
      testing::ReadFileBytes(dir.path() / "applications" / "hoshizora.desktop");
  EXPECT_NE(entry.find("\nExec=\"/opt/a\\\\\"b\\\\`c\\\\$d\\\\\\\\e%%f g/hoshizora\"\n"),
            std::string::npos)
      << entry;
}

#endif

}  // namespace
}  // namespace hoshizora
