#pragma once

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

namespace hoshizora::testing {

// A fresh folder under the system's temporary folder, removed with its
// contents when the object goes.
class TempDir {
 public:
  explicit TempDir(const std::string& prefix = "hoshizora") {
    std::random_device rd;
    for (;;) {
      path_ = std::filesystem::temp_directory_path() /
              (prefix + "-" + std::to_string(rd()) + "-" + std::to_string(rd()));
      if (std::filesystem::create_directory(path_)) {
        break;
      }
    }
  }
  ~TempDir() {
    std::error_code ec;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(path_, ec);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

inline std::string ReadFileBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteFileBytes(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}

}  // namespace hoshizora::testing
