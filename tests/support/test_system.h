#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "support/native_system.h"

namespace hoshizora::testing {

// A file that takes `budget` bytes and fails every write after that.
class FailingSink : public ByteSink {
 public:
  FailingSink(std::unique_ptr<ByteSink> real, std::uint64_t budget)
      : real_(std::move(real)), budget_(budget) {}
  bool Write(std::string_view bytes) override {
    if (failed_ || bytes.size() > budget_) {
      real_->Write(bytes.substr(0, budget_));
      budget_ = 0;
      failed_ = true;
      return false;
    }
    budget_ -= bytes.size();
    return real_->Write(bytes);
  }
  bool WriteAt(std::uint64_t offset, std::string_view bytes) override {
    return !failed_ && real_->WriteAt(offset, bytes);
  }
  bool Finish() override { return real_->Finish() && !failed_; }

 private:
  std::unique_ptr<ByteSink> real_;
  std::uint64_t budget_;
  bool failed_ = false;
};

// The real system, with the executable placed in a folder of the test's
// choosing and the clock, opens, started programs and file failures under the
// test's control.
class TestSystem : public NativeSystem {
 public:
  explicit TestSystem(std::filesystem::path executable_path)
      : executable_(std::move(executable_path)) {}

  std::filesystem::path ExecutablePath() override { return executable_; }
  std::optional<LocalTime> LocalNow() override { return now; }
  ProcessResult RunProcess(const std::vector<std::filesystem::path>& argv,
                           const CancelFlag* cancel) override {
    started.push_back(argv);
    if (process_result) {
      return *process_result;
    }
    return NativeSystem::RunProcess(argv, cancel);
  }
  void OpenWithDesktop(const std::filesystem::path& path) override { opened.push_back(path); }

  FileRead ReadFile(const std::filesystem::path& path, std::uintmax_t max_bytes) override {
    reads.push_back(path);
    if (read_fails) {
      return FileRead{*read_fails, {}};
    }
    return NativeSystem::ReadFile(path, max_bytes);
  }
  std::unique_ptr<ByteSink> CreateFile(const std::filesystem::path& path) override {
    auto real = NativeSystem::CreateFile(path);
    if (real && write_fails_after) {
      return std::make_unique<FailingSink>(std::move(real), *write_fails_after);
    }
    return real;
  }
  bool LinkFile(const std::filesystem::path& existing, const std::filesystem::path& link) override {
    return !links_fail && NativeSystem::LinkFile(existing, link);
  }
  bool CopyFileTo(const std::filesystem::path& existing,
                  const std::filesystem::path& copy) override {
    return !copies_fail && NativeSystem::CopyFileTo(existing, copy);
  }
  FolderMade CreateFolder(const std::filesystem::path& path) override {
    return folder_fails ? *folder_fails : NativeSystem::CreateFolder(path);
  }
  bool ReplaceFile(const std::filesystem::path& path, std::string_view bytes) override {
    replaced.push_back(path);
    return !replace_fails && !(replace_fails_for && replace_fails_for(path)) &&
           NativeSystem::ReplaceFile(path, bytes);
  }

  std::optional<LocalTime> now = LocalTime{2024, 1, 31, 9, 5, 7};
  // Set to have every started program end this way without running it.
  std::optional<ProcessResult> process_result;
  std::optional<FileRead::Status> read_fails;
  // Set to have every new folder fail this way (a read-only or full drive).
  std::optional<FolderMade> folder_fails;
  std::optional<std::uint64_t> write_fails_after;
  bool replace_fails = false;
  std::function<bool(const std::filesystem::path&)> replace_fails_for;
  bool links_fail = false;   // a file system without hard links (FAT)
  bool copies_fail = false;  // no room for a copy

  std::vector<std::vector<std::filesystem::path>> started;
  std::vector<std::filesystem::path> opened;
  std::vector<std::filesystem::path> reads;
  std::vector<std::filesystem::path> replaced;

 private:
  std::filesystem::path executable_;
};

}  // namespace hoshizora::testing
