#include "platform/file_io.h"

#include <algorithm>
#include <fstream>
#include <new>
#include <random>
#include <string>
#include <system_error>
#include <vector>

namespace hoshizora {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t kReadChunk = 64 * 1024;

class StreamSink : public ByteSink {
 public:
  explicit StreamSink(const fs::path& path) : out_(path, std::ios::binary | std::ios::trunc) {}
  bool is_open() const { return out_.is_open(); }

  bool Write(std::string_view bytes) override {
    out_.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out_);
  }
  bool WriteAt(std::uint64_t offset, std::string_view bytes) override {
    const std::streampos end = out_.tellp();
    out_.seekp(static_cast<std::streamoff>(offset));
    out_.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out_.seekp(end);
    return static_cast<bool>(out_);
  }
  bool Finish() override {
    out_.close();
    return static_cast<bool>(out_);
  }

 private:
  std::ofstream out_;
};

fs::path TempNameBeside(const fs::path& target) {
  std::random_device random;
  fs::path name(".");
  name += target.filename();
  name += "." + std::to_string(random()) + ".tmp";
  fs::path temp = target;
  temp.replace_filename(name);
  return temp;
}

// The file a write to `path` lands on: a link, or a chain of them, is
// followed to the name it gives, so that replacing the file keeps the link (a
// settings file linked from a dotfiles folder stays linked). Nothing for a
// loop or a link that cannot be read.
std::optional<fs::path> LinkedFile(fs::path path) {
  constexpr int kMostLinks = 40;
  for (int hops = 0; hops < kMostLinks; ++hops) {
    std::error_code ec;
    if (!fs::is_symlink(fs::symlink_status(path, ec))) {
      return path;
    }
    const fs::path next = fs::read_symlink(path, ec);
    if (ec) {
      return std::nullopt;
    }
    path = next.is_absolute() ? next : path.parent_path() / next;
  }
  return std::nullopt;
}

}  // namespace

namespace {

// Reads a regular file from `offset` up to `max_bytes`; past that, kTooLarge,
// or with `part_only` the first `max_bytes` as kRead.
FileRead ReadRegularFile(const fs::path& path, std::uintmax_t offset, std::uintmax_t max_bytes,
                         bool part_only) {
  FileRead result;
  try {
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    if (status.type() == fs::file_type::not_found) {
      result.status = FileRead::Status::kMissing;
      return result;
    }
    if (ec) {
      result.status = FileRead::Status::kReadFailed;
      return result;
    }
    if (status.type() != fs::file_type::regular) {
      result.status = FileRead::Status::kNotRegularFile;
      return result;
    }
    std::uintmax_t size = fs::file_size(path, ec);
    size = ec ? 0 : size - std::min(size, offset);
    if (!ec && part_only) {
      size = std::min(size, max_bytes);
    } else if (!ec && size > max_bytes) {
      result.status = FileRead::Status::kTooLarge;
      return result;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
      result.status = FileRead::Status::kReadFailed;
      return result;
    }
    if (offset > 0 && !in.seekg(static_cast<std::streamoff>(offset))) {
      result.status = FileRead::Status::kReadFailed;
      return result;
    }
    // The size said beforehand is only a hint: the file may grow meanwhile.
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(ec ? 0 : size));
    std::string chunk(kReadChunk, '\0');
    while (in) {
      in.read(chunk.data(), static_cast<std::streamsize>(chunk.size()));
      const auto got = static_cast<std::size_t>(in.gcount());
      if (bytes.size() + got > max_bytes) {
        if (!part_only) {
          result.status = FileRead::Status::kTooLarge;
          return result;
        }
        bytes.append(chunk, 0, static_cast<std::size_t>(max_bytes - bytes.size()));
        break;
      }
      bytes.append(chunk, 0, got);
    }
    if (in.bad()) {
      result.status = FileRead::Status::kReadFailed;
      return result;
    }
    result.status = FileRead::Status::kRead;
    result.bytes = std::move(bytes);
  } catch (const std::exception&) {
    result = FileRead{FileRead::Status::kReadFailed, {}};
  }
  return result;
}

}  // namespace

FileRead ReadWholeFile(const fs::path& path, std::uintmax_t max_bytes) {
  return ReadRegularFile(path, 0, max_bytes, false);
}

FileRead ReadFilePart(const fs::path& path, std::uintmax_t offset, std::uintmax_t max_bytes) {
  return ReadRegularFile(path, offset, max_bytes, true);
}

std::unique_ptr<ByteSink> CreateFileSink(const fs::path& path) {
  try {
    auto sink = std::make_unique<StreamSink>(path);
    if (!sink->is_open()) {
      return nullptr;
    }
    return sink;
  } catch (const std::exception&) {
    return nullptr;
  }
}

bool AppendToFile(const fs::path& path, std::string_view bytes) {
  try {
    // Set before the open, the buffer takes the whole text: the stream
    // flushes it once, when closed.
    std::vector<char> buffer(bytes.size() + 1);
    std::ofstream out;
    out.rdbuf()->pubsetbuf(buffer.data(), static_cast<std::streamsize>(buffer.size()));
    out.open(path, std::ios::binary | std::ios::app);
    if (!out) {
      return false;
    }
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    return static_cast<bool>(out);
  } catch (const std::exception&) {
    return false;
  }
}

StagedFile::StagedFile(fs::path target, fs::path temp)
    : target_(std::move(target)), temp_(std::move(temp)) {}

StagedFile::StagedFile(StagedFile&& other) noexcept
    : target_(std::move(other.target_)), temp_(std::move(other.temp_)) {
  other.temp_.clear();
}

StagedFile::~StagedFile() {
  if (!temp_.empty()) {
    std::error_code ec;
    fs::remove(temp_, ec);
  }
}

std::optional<StagedFile> StagedFile::Write(const fs::path& path, std::string_view bytes) {
  try {
    const std::optional<fs::path> linked = LinkedFile(path);
    if (!linked) {
      return std::nullopt;
    }
    // Staged beside the file itself: a rename works only within one file system.
    const fs::path& target = *linked;
    StagedFile staged(target, TempNameBeside(target));
    {
      std::ofstream out(staged.temp_, std::ios::binary | std::ios::trunc);
      if (!out) {
        staged.temp_.clear();  // nothing was made
        return std::nullopt;
      }
      out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
      out.close();
      if (!out) {
        return std::nullopt;
      }
    }
    // A replaced file keeps who may read it: settings or a telegram the user
    // made private must not become readable to all.
    std::error_code ec;
    const fs::file_status old = fs::status(target, ec);
    if (!ec && old.type() == fs::file_type::regular) {
      fs::permissions(staged.temp_, old.permissions(), fs::perm_options::replace, ec);
      if (ec) {
        return std::nullopt;
      }
    }
    return staged;
  } catch (const std::exception&) {
    return std::nullopt;
  }
}

bool StagedFile::Commit() {
  if (temp_.empty()) {
    return false;
  }
  std::error_code ec;
  fs::rename(temp_, target_, ec);
  if (ec) {
    return false;  // the destructor removes the temporary file
  }
  temp_.clear();
  return true;
}

// The System port's file seam: every real system uses these.
FileRead System::ReadFile(const fs::path& path, std::uintmax_t max_bytes) {
  return ReadWholeFile(path, max_bytes);
}

FileRead System::ReadFilePart(const fs::path& path, std::uintmax_t offset,
                              std::uintmax_t max_bytes) {
  return hoshizora::ReadFilePart(path, offset, max_bytes);
}

bool System::LinkFile(const fs::path& existing, const fs::path& link) {
  std::error_code ec;
  fs::create_hard_link(existing, link, ec);
  return !ec;
}

bool System::CopyFileTo(const fs::path& existing, const fs::path& copy) {
  std::error_code ec;
  // Removed first rather than overwritten: overwrite_existing fails in the
  // MinGW build.
  fs::remove(copy, ec);
  fs::copy_file(existing, copy, ec);
  if (ec) {
    fs::remove(copy, ec);  // a copy cut short by a full disk is no copy
    return false;
  }
  return true;
}

bool System::RenameFile(const fs::path& from, const fs::path& to) {
  std::error_code ec;
  fs::rename(from, to, ec);
  return !ec;
}

std::unique_ptr<ByteSink> System::CreateFile(const fs::path& path) {
  return CreateFileSink(path);
}

bool System::AppendFile(const fs::path& path, std::string_view bytes) {
  return AppendToFile(path, bytes);
}

bool System::ReplaceFile(const fs::path& path, std::string_view bytes) {
  auto staged = StagedFile::Write(path, bytes);
  return staged && staged->Commit();
}

}  // namespace hoshizora
