#pragma once
// The operating system as the commands see it. Paths are native
// (std::filesystem::path) end to end: bytes on Linux, UTF-16 on Windows.

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/local_time.h"

namespace hoshizora {

// How a started program ended.
struct ProcessResult {
  enum class Kind {
    kExited,       // exit_code holds the program's status; a signal counts as non-zero
    kStartFailed,  // the program could not be started
    kCancelled,    // the wait was ended by the cancel flag; the program (and its group) ended
    kLost,         // started, but its exit status could not be read: never treat as success
  };
  Kind kind = Kind::kStartFailed;
  int exit_code = -1;
};

// Set from another thread to end a wait early.
using CancelFlag = std::atomic<bool>;

// Receives one file's bytes in order. Nothing is promised about the file
// until Finish() returns true.
class ByteSink {
 public:
  virtual ~ByteSink() = default;
  virtual bool Write(std::string_view bytes) = 0;
  // Overwrites bytes already written at `offset` (for header fields).
  virtual bool WriteAt(std::uint64_t offset, std::string_view bytes) = 0;
  // Flushes and closes; false when any write, or the close, failed.
  virtual bool Finish() = 0;
};

// The result of reading a whole file with a size limit.
struct FileRead {
  enum class Status { kRead, kMissing, kNotRegularFile, kTooLarge, kReadFailed };
  Status status = Status::kMissing;
  std::string bytes;  // the whole file for kRead, else empty
};

// What asking for a new folder came to: made, or why not, as far as the
// system tells, so that the user can be told what to change.
enum class FolderMade {
  kMade,
  kNameTaken,  // something has the name already: a folder, a file, a link
  kFailed,     // for a reason not told apart below
  kDenied,     // no permission to write where it goes
  kReadOnly,   // on a read-only drive or file system
  kNoSpace,    // the drive is full
  kNoParent,   // the folder it goes in is missing, or is not a folder
};

// Everything the commands need of the operating system.
class System {
 public:
  virtual ~System() = default;

  virtual std::filesystem::path ExecutablePath() = 0;
  virtual std::optional<LocalTime> LocalNow() = 0;
  // Starts argv[0] (a full path, never looked up on a search path) with the
  // given arguments, no shell in between, and waits for it. When `cancel` is
  // set during the wait, the program (with everything it started) is ended
  // and kCancelled returned.
  virtual ProcessResult RunProcess(const std::vector<std::filesystem::path>& argv,
                                   const CancelFlag* cancel) = 0;
  virtual std::optional<std::uintmax_t> FileSize(const std::filesystem::path& path) = 0;
  virtual bool PathExists(const std::filesystem::path& path) = 0;
  virtual bool RemoveFile(const std::filesystem::path& path) = 0;
  // Creates a folder. A name already taken, even by a link that points
  // nowhere, is kNameTaken; a link there is never followed.
  virtual FolderMade CreateFolder(const std::filesystem::path& path) = 0;
  virtual void OpenWithDesktop(const std::filesystem::path& path) = 0;

  // The file seam. The defaults (platform/file_io.cpp, portable C++) are what
  // every real system uses; tests override them to fail on purpose.
  // Refuses what is not a regular file before any blocking open, and reads
  // at most `max_bytes` (kTooLarge past that). Never throws.
  virtual FileRead ReadFile(const std::filesystem::path& path, std::uintmax_t max_bytes);
  // At most `max_bytes` of a regular file from `offset`; fewer only where the
  // file ends.
  virtual FileRead ReadFilePart(const std::filesystem::path& path, std::uintmax_t offset,
                                std::uintmax_t max_bytes);
  // A second name for an existing file on the same file system; false where
  // the file system has none (FAT32, exFAT).
  virtual bool LinkFile(const std::filesystem::path& existing, const std::filesystem::path& link);
  // A copy of an existing file under a new name, replacing any file of that
  // name; false, with no partial copy left, when it cannot be made whole.
  virtual bool CopyFileTo(const std::filesystem::path& existing, const std::filesystem::path& copy);
  // Renames a file, replacing any file of the new name.
  virtual bool RenameFile(const std::filesystem::path& from, const std::filesystem::path& to);
  // A new file (replacing any of that name), or nullptr when it cannot be made.
  virtual std::unique_ptr<ByteSink> CreateFile(const std::filesystem::path& path);
  // Adds `bytes` at the end of a file (made when missing) in one write, so
  // that a line appended whole is never interleaved with another writer's.
  virtual bool AppendFile(const std::filesystem::path& path, std::string_view bytes);
  // Writes the whole file under a temporary name beside it and renames it
  // over `path` only when complete; an existing file keeps its permissions
  // and survives every failure.
  virtual bool ReplaceFile(const std::filesystem::path& path, std::string_view bytes);
};

// The executable's folder: its full path without the last component.
std::filesystem::path ExecutableFolder(System& system);

// Makes the folder and whichever of its parents are missing; true when it is
// there afterwards (or was already).
bool CreateFolders(System& system, const std::filesystem::path& folder);

}  // namespace hoshizora
