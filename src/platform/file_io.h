#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string_view>

#include "platform/system.h"

namespace hoshizora {

// Reads a whole regular file of at most `max_bytes`. What is not a regular
// file (a folder, a FIFO, a device) is refused before it is opened, so the
// read can neither block nor run on without end. Never throws.
FileRead ReadWholeFile(const std::filesystem::path& path, std::uintmax_t max_bytes);

// At most `max_bytes` of a regular file from `offset` (fewer only where the
// file ends), refused like ReadWholeFile when it is not a regular file. Never
// throws.
FileRead ReadFilePart(const std::filesystem::path& path, std::uintmax_t offset,
                      std::uintmax_t max_bytes);

// A new file of that name (any old one replaced), or nullptr.
std::unique_ptr<ByteSink> CreateFileSink(const std::filesystem::path& path);

// Adds `bytes` at the end of the file (made when missing) with a buffer that
// holds all of them, so they reach the file in a single write. Never throws.
bool AppendToFile(const std::filesystem::path& path, std::string_view bytes);

// A file's new content written whole under a temporary name beside it. Commit()
// renames it over the target (which keeps its permissions); a staged file that
// is dropped without a commit leaves the target as it was. A target that is a
// symbolic link is written through: the file it names is replaced, the link
// stays.
class StagedFile {
 public:
  static std::optional<StagedFile> Write(const std::filesystem::path& target,
                                         std::string_view bytes);
  StagedFile(StagedFile&& other) noexcept;
  StagedFile& operator=(StagedFile&&) = delete;
  ~StagedFile();

  bool Commit();

 private:
  StagedFile(std::filesystem::path target, std::filesystem::path temp);
  std::filesystem::path target_;
  std::filesystem::path temp_;  // empty once committed or moved from
};

}  // namespace hoshizora
