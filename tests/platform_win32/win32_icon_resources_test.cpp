#include "platform/win32/win32_icon_resources.h"

#include <windows.h>

#include <shellapi.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "base/little_endian.h"
#include "support/temp_dir.h"

namespace hoshizora {
namespace {

namespace fs = std::filesystem;

fs::path RunningExecutable() {
  std::wstring buffer(32768, L'\0');
  const DWORD length =
      GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
  buffer.resize(length);
  return fs::path(buffer);
}

// An icon file whose images are runs of one letter each.
std::string IconFile(int images) {
  std::string file;
  AppendLe(file, 0, 2);
  AppendLe(file, 1, 2);
  AppendLe(file, static_cast<std::uint32_t>(images), 2);
  auto offset = static_cast<std::uint32_t>(6 + 16 * images);
  std::string data;
  for (int i = 0; i < images; ++i) {
    const auto size = static_cast<std::uint32_t>(20 + i);
    file += std::string{'\x10', '\x10', '\0', '\0'};
    AppendLe(file, 1, 2);
    AppendLe(file, 32, 2);
    AppendLe(file, size, 4);
    AppendLe(file, offset, 4);
    offset += size;
    data += std::string(size, static_cast<char>('k' + i));
  }
  return file + data;
}

// What the resources must hold for an icon file, worked out from its bytes:
// each image as it is, and the group record, which is the file's directory
// with each 16-byte entry cut to 12 bytes and followed by its image's id.
struct ExpectedIcon {
  std::string group;
  std::vector<std::string> images;
};

ExpectedIcon Expected(const std::string& file) {
  ExpectedIcon expected;
  expected.group = file.substr(0, 6);
  const std::uint32_t count = ReadLe(file, 4, 2);
  for (std::uint32_t i = 0; i < count; ++i) {
    const std::string entry = file.substr(6 + 16 * i, 16);
    expected.group += entry.substr(0, 12);
    AppendLe(expected.group, i + 1, 2);
    expected.images.push_back(file.substr(ReadLe(entry, 12, 4), ReadLe(entry, 8, 4)));
  }
  return expected;
}

// The resources of an executable, read as the shell reads them.
class ModuleResources {
 public:
  explicit ModuleResources(const fs::path& path)
      : module_(LoadLibraryExW(path.c_str(), nullptr,
                               LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE)) {}
  ~ModuleResources() {
    if (module_ != nullptr) {
      FreeLibrary(module_);
    }
  }
  ModuleResources(const ModuleResources&) = delete;
  ModuleResources& operator=(const ModuleResources&) = delete;

  bool loaded() const { return module_ != nullptr; }

  std::optional<std::string> Read(int type, int id, int language = 0) const {
    HRSRC found = FindResourceExW(module_, MAKEINTRESOURCEW(type), MAKEINTRESOURCEW(id),
                                  static_cast<WORD>(language));
    if (found == nullptr) {
      return std::nullopt;
    }
    HGLOBAL handle = LoadResource(module_, found);
    const void* data = handle != nullptr ? LockResource(handle) : nullptr;
    if (data == nullptr) {
      return std::nullopt;
    }
    return std::string(static_cast<const char*>(data), SizeofResource(module_, found));
  }

  int Languages(int type, int id) const {
    int count = 0;
    EnumResourceLanguagesW(
        module_, MAKEINTRESOURCEW(type), MAKEINTRESOURCEW(id),
        [](HMODULE, LPCWSTR, LPCWSTR, WORD, LONG_PTR param) -> BOOL {
          ++*reinterpret_cast<int*>(param);
          return TRUE;
        },
        reinterpret_cast<LONG_PTR>(&count));
    return count;
  }

 private:
  HMODULE module_;
};

class Win32IconResourcesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    copy = dir.path() / u"アイコン 試験.exe";
    ASSERT_TRUE(fs::copy_file(RunningExecutable(), copy));
  }

  testing::TempDir dir;
  fs::path copy;
  Win32IconResources resources;
};

TEST_F(Win32IconResourcesTest, InstalledIconReadsBackFromTheCopy) {
  // A resource of its own, which the installation must keep.
  ASSERT_TRUE(resources.BeginUpdate(copy));
  ASSERT_TRUE(resources.AddResource(10, 7, 0, "kept"));
  ASSERT_TRUE(resources.Commit());

  const std::string icon = testing::ReadFileBytes(fs::path(HOSHIZORA_ASSETS_DIR) / "app.ico");
  const ExpectedIcon expected = Expected(icon);
  ASSERT_GE(expected.images.size(), 2u);
  ASSERT_TRUE(resources.InstallProgramIcon(copy, icon));

  const ModuleResources module(copy);
  ASSERT_TRUE(module.loaded());
  EXPECT_EQ(module.Read(kIconGroupResourceType, 1), expected.group);
  for (std::size_t i = 0; i < expected.images.size(); ++i) {
    EXPECT_EQ(module.Read(kIconResourceType, static_cast<int>(i + 1)), expected.images[i]) << i;
  }
  EXPECT_EQ(module.Read(10, 7), "kept");
  // The shell counts one icon in the file.
  EXPECT_EQ(ExtractIconExW(copy.c_str(), -1, nullptr, nullptr, 0), 1u);
}

TEST_F(Win32IconResourcesTest, ReinstallingReplacesInsteadOfAdding) {
  ASSERT_TRUE(resources.InstallProgramIcon(copy, IconFile(5)));
  const std::string icon = IconFile(2);
  ASSERT_TRUE(resources.InstallProgramIcon(copy, icon));

  const ModuleResources module(copy);
  ASSERT_TRUE(module.loaded());
  EXPECT_EQ(module.Read(kIconGroupResourceType, 1), Expected(icon).group);
  EXPECT_EQ(module.Read(kIconResourceType, 2), std::string(21, 'l'));
  EXPECT_EQ(module.Languages(kIconGroupResourceType, 1), 1);
  EXPECT_EQ(module.Languages(kIconResourceType, 1), 1);
  // Images beyond the new count stay, as every other resource does.
  EXPECT_EQ(module.Read(kIconResourceType, 5), std::string(24, 'o'));
}

TEST_F(Win32IconResourcesTest, DiscardLeavesTheFileAsItWas) {
  const std::string before = testing::ReadFileBytes(copy);
  ASSERT_TRUE(resources.BeginUpdate(copy));
  ASSERT_TRUE(resources.AddResource(kIconResourceType, 1, 0, "image"));
  resources.Discard();
  EXPECT_EQ(testing::ReadFileBytes(copy), before);
  // Once ended, the update takes nothing more.
  EXPECT_FALSE(resources.AddResource(kIconResourceType, 1, 0, "image"));
  EXPECT_FALSE(resources.Commit());
}

TEST_F(Win32IconResourcesTest, RefusesWhatCannotBeUpdated) {
  EXPECT_FALSE(resources.BeginUpdate(dir.path() / "none.exe"));
  EXPECT_FALSE(resources.AddResource(kIconResourceType, 1, 0, "image"));
  EXPECT_FALSE(resources.Commit());
  testing::WriteFileBytes(dir.path() / "text.exe", "not a program");
  EXPECT_FALSE(resources.InstallProgramIcon(dir.path() / "text.exe", IconFile(1)));
  // Ids and languages are 16-bit values.
  ASSERT_TRUE(resources.BeginUpdate(copy));
  EXPECT_FALSE(resources.AddResource(kIconResourceType, 0x10000, 0, "image"));
  EXPECT_FALSE(resources.AddResource(kIconResourceType, 1, -1, "image"));
  resources.Discard();
}

}  // namespace
}  // namespace hoshizora
