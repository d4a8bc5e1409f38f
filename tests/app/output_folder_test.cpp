#include "app/output_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <latch>
#include <set>
#include <thread>
#include <vector>

#include "support/native_system.h"
#include "support/temp_dir.h"

namespace hoshizora {
namespace {

namespace fs = std::filesystem;

constexpr std::u16string_view kStem = u"和文電報_20240131_090507";

fs::path Named(const fs::path& root, std::u16string_view suffix) {
  return root / (std::u16string(kStem) + std::u16string(suffix));
}

// Whatever holds a name, the run takes the next one and leaves it alone: a
// link is never followed, so nothing is made where it points.
TEST(OutputFolder, EveryKindOfTakenNameIsPassedOver) {
  testing::TempDir dir;
  testing::NativeSystem system;
  const fs::path root = dir.path() / "root";
  const fs::path elsewhere = dir.path() / "elsewhere";
  fs::create_directories(root);
  fs::create_directories(elsewhere);

  std::error_code ec;
  fs::create_directory_symlink(elsewhere / "missing", Named(root, u""), ec);
  const bool links = !ec;  // Windows may refuse to make links at all
  if (links) {
    fs::create_directory_symlink(elsewhere, Named(root, u"_2"), ec);
  } else {
    fs::create_directory(Named(root, u""));
    fs::create_directory(Named(root, u"_2"));
  }
  testing::WriteFileBytes(Named(root, u"_3"), "a file");
  fs::create_directory(Named(root, u"_4"));

  const OutputFolder made = MakeOutputFolder(system, root, u"20240131_090507");
  EXPECT_EQ(made.made, FolderMade::kMade);
  EXPECT_EQ(made.name, std::u16string(kStem) + u"_5");
  EXPECT_TRUE(fs::is_directory(Named(root, u"_5")));
  EXPECT_FALSE(fs::exists(elsewhere / "missing")) << "a dangling link was followed";
  EXPECT_TRUE(fs::is_empty(elsewhere));
  EXPECT_EQ(testing::ReadFileBytes(Named(root, u"_3")), "a file");
  if (links) {
    EXPECT_TRUE(fs::is_symlink(Named(root, u"")));
  }
}

// Batches started together in one folder all ask for the same name in the
// same second: each gets a folder of its own, and none gives up.
TEST(OutputFolder, RunsStartedTogetherEachGetAFolder) {
  testing::TempDir dir;
  testing::NativeSystem system;
  constexpr int kRuns = 8;
  constexpr int kRounds = 20;
  for (int round = 0; round < kRounds; ++round) {
    const fs::path root = dir.path() / std::to_string(round);
    fs::create_directories(root);
    std::vector<OutputFolder> names(kRuns);
    std::latch start(kRuns);
    {
      std::vector<std::jthread> runs;
      for (int i = 0; i < kRuns; ++i) {
        runs.emplace_back([&, i] {
          start.arrive_and_wait();
          names[i] = MakeOutputFolder(system, root, u"20240131_090507");
        });
      }
    }
    std::set<std::u16string> distinct;
    for (const OutputFolder& folder : names) {
      ASSERT_EQ(folder.made, FolderMade::kMade) << "round " << round << ": a run found no folder";
      distinct.insert(folder.name);
    }
    EXPECT_EQ(distinct.size(), static_cast<std::size_t>(kRuns));
    EXPECT_EQ(std::distance(fs::directory_iterator(root), fs::directory_iterator()), kRuns);
  }
}

}  // namespace
}  // namespace hoshizora
