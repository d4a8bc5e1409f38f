#include "platform/win32/win32_system.h"

#include <gtest/gtest.h>

#include <chrono>
#include <ctime>
#include <filesystem>
#include <string>
#include <thread>

#include "support/stand_in_encoder.h"
#include "support/temp_dir.h"

namespace hoshizora {
namespace {

namespace fs = std::filesystem;
using testing::ReadFileBytes;
using testing::WriteFileBytes;
using Kind = ProcessResult::Kind;

// A program folder with a blank and Japanese in its name, as users have them.
class Win32SystemTest : public ::testing::Test {
 protected:
  Win32SystemTest() : program(dir.path() / u"プログラム フォルダ") {
    fs::create_directories(program / u"和文電報_1 x");
    WriteFileBytes(Wav(), std::string("RIFF\x24\0\0\0WAVEfmt ", 16) + std::string(28, '\0'));
  }

  fs::path Wav() const { return program / u"和文電報_1 x" / u"和文電報_1 x.wav"; }
  fs::path Mp3() const { return program / u"和文電報_1 x" / u"和文電報_1 x.mp3"; }

  ProcessResult RunEncoder(const std::string& mode, const CancelFlag* cancel = nullptr) {
    const fs::path encoder = testing::PlaceStandInEncoder(program, mode);
    return system.RunProcess({encoder, Wav(), Mp3()}, cancel);
  }

  testing::TempDir dir;
  fs::path program;
  Win32System system;
};

TEST_F(Win32SystemTest, KnowsItsOwnExecutable) {
  const fs::path self = system.ExecutablePath();
  EXPECT_TRUE(self.is_absolute());
  EXPECT_EQ(self.filename(), u"win32_tests.exe");
  EXPECT_TRUE(fs::is_regular_file(self));
  EXPECT_EQ(ExecutableFolder(system), self.parent_path());
}

TEST_F(Win32SystemTest, LocalTimeAgreesWithTheCRuntime) {
  const std::time_t now = std::time(nullptr);
  const std::tm* c = std::localtime(&now);
  const auto t = system.LocalNow();
  ASSERT_TRUE(t.has_value());
  EXPECT_EQ(t->year, c->tm_year + 1900);
  EXPECT_EQ(t->month, c->tm_mon + 1);
  EXPECT_EQ(t->day, c->tm_mday);
  const int ours = t->hour * 3600 + t->minute * 60 + t->second;
  const int theirs = c->tm_hour * 3600 + c->tm_min * 60 + c->tm_sec;
  EXPECT_LE(ours - theirs, 2);
  EXPECT_GE(ours - theirs, 0);
}

TEST_F(Win32SystemTest, ArgumentsArriveIntactThroughBlanksAndJapanese) {
  const ProcessResult r = RunEncoder("args");
  ASSERT_EQ(r.kind, Kind::kExited);
  EXPECT_EQ(r.exit_code, 0);
  const auto line = [](const fs::path& p) {
    const std::u8string u8 = p.u8string();
    return std::string(u8.begin(), u8.end()) + "\n";
  };
  EXPECT_EQ(ReadFileBytes(Mp3()), line(program / u"lame.exe") + line(Wav()) + line(Mp3()));
}

TEST_F(Win32SystemTest, ExitCodesComeBack) {
  ProcessResult r = RunEncoder("mp3");
  ASSERT_EQ(r.kind, Kind::kExited);
  EXPECT_EQ(r.exit_code, 0);
  EXPECT_EQ(ReadFileBytes(Mp3()).substr(0, 5), std::string("ID3\x04\0", 5));

  r = RunEncoder("exit 7");
  EXPECT_EQ(r.kind, Kind::kExited);
  EXPECT_EQ(r.exit_code, 7);
  r = RunEncoder("exit 255");
  EXPECT_EQ(r.exit_code, 255);
}

TEST_F(Win32SystemTest, WhatCannotStartIsNotRun) {
  EXPECT_EQ(system.RunProcess({program / u"無い.exe", Wav()}, nullptr).kind, Kind::kStartFailed);
  EXPECT_EQ(system.RunProcess({}, nullptr).kind, Kind::kStartFailed);
  // A file of that name that is no program.
  WriteFileBytes(program / u"lame.exe", "MZ, but not a program");
  EXPECT_EQ(system.RunProcess({program / u"lame.exe", Wav()}, nullptr).kind, Kind::kStartFailed);
}

TEST_F(Win32SystemTest, CancelEndsAHangingProgram) {
  CancelFlag cancel{false};
  std::thread canceller([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    cancel = true;
  });
  const auto start = std::chrono::steady_clock::now();
  const ProcessResult r = RunEncoder("hang", &cancel);
  canceller.join();
  EXPECT_EQ(r.kind, Kind::kCancelled);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));

  // It wrote while it ran, and writes no more.
  ASSERT_TRUE(fs::exists(Mp3()));
  const auto size = fs::file_size(Mp3());
  EXPECT_GT(size, 0u);
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  EXPECT_EQ(fs::file_size(Mp3()), size);
}

TEST_F(Win32SystemTest, AFlagSetBeforehandCancelsAtOnce) {
  CancelFlag cancel{true};
  EXPECT_EQ(RunEncoder("hang", &cancel).kind, Kind::kCancelled);
}

TEST_F(Win32SystemTest, FileOperationsTakeWidePaths) {
  const fs::path folder = program / u"和文電報_20240131_090507";
  EXPECT_EQ(system.CreateFolder(folder), FolderMade::kMade);
  EXPECT_EQ(system.CreateFolder(folder), FolderMade::kNameTaken);
  EXPECT_EQ(system.CreateFolder(program / u"無い" / u"x"), FolderMade::kNoParent);
  EXPECT_TRUE(system.PathExists(folder));
  EXPECT_FALSE(system.FileSize(folder).has_value());

  const fs::path file = folder / u"電報 1.txt";
  WriteFileBytes(file, "abcde");
  EXPECT_EQ(system.FileSize(file), 5u);
  EXPECT_TRUE(system.RemoveFile(file));
  EXPECT_FALSE(system.PathExists(file));
  EXPECT_FALSE(system.FileSize(file).has_value());
  EXPECT_FALSE(system.RemoveFile(file));
}

}  // namespace
}  // namespace hoshizora
