// Icon installation. Input: one byte naming the resource call that fails
// (0 the update's start, then each addition, then the commit; 255 none),
// then the icon file. A valid file with no failure installs every image's
// exact bytes and the exact group record; anything else installs nothing.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "app/icon_install.h"
#include "base/little_endian.h"
#include "fuzz_support.h"

namespace {

struct Resource {
  int type;
  int id;
  int language;
  std::string bytes;
};

// Keeps additions apart until the commit, as a real update does, and fails
// the call it is told to.
class RecordingIconResources : public hoshizora::IconResources {
 public:
  explicit RecordingIconResources(int failing_call) : failing_call_(failing_call) {}

  bool BeginUpdate(const std::filesystem::path&) override {
    HOSHIZORA_CHECK(!open_ && !finished_);
    if (Fails()) {
      finished_ = true;
      return false;
    }
    open_ = true;
    return true;
  }
  bool AddResource(int type, int id, int language, std::string_view bytes) override {
    HOSHIZORA_CHECK(open_);
    if (Fails()) {
      add_failed_ = true;
      return false;
    }
    pending_.push_back({type, id, language, std::string(bytes)});
    return true;
  }
  bool Commit() override {
    HOSHIZORA_CHECK(open_);
    open_ = false;
    finished_ = true;
    if (Fails()) {
      return false;
    }
    committed_ = std::move(pending_);
    return true;
  }
  void Discard() override {
    HOSHIZORA_CHECK(open_);
    open_ = false;
    finished_ = true;
    discarded_ = true;
    pending_.clear();
  }

  bool FailureHappened() const { return failing_call_ >= 0 && calls_ > failing_call_; }
  bool AddFailed() const { return add_failed_; }
  bool Open() const { return open_; }
  bool Discarded() const { return discarded_; }
  int Calls() const { return calls_; }
  const std::vector<Resource>& Committed() const { return committed_; }

 private:
  bool Fails() { return calls_++ == failing_call_; }

  int failing_call_;
  int calls_ = 0;
  bool open_ = false;
  bool finished_ = false;
  bool add_failed_ = false;
  bool discarded_ = false;
  std::vector<Resource> pending_;
  std::vector<Resource> committed_;
};

// Whether the file is an icon whose directory and images lie inside it, and
// together fit in it (entries sharing bytes could multiply what is copied).
bool IsValidIconFile(std::string_view file) {
  using hoshizora::ReadLe;
  if (file.size() < 6 || ReadLe(file, 2, 2) != 1 || ReadLe(file, 4, 2) == 0) {
    return false;
  }
  const std::size_t count = ReadLe(file, 4, 2);
  if (file.size() < 6 + 16 * count) {
    return false;
  }
  std::uint64_t total = 6 + 16 * std::uint64_t{count};
  for (std::size_t i = 0; i < count; ++i) {
    const std::uint64_t size = ReadLe(file, 6 + 16 * i + 8, 4);
    const std::uint64_t offset = ReadLe(file, 6 + 16 * i + 12, 4);
    total += size;
    if (offset + size > file.size() || total > file.size()) {
      return false;
    }
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace hoshizora;
  if (size == 0) {
    return 0;
  }
  const int failing_call = data[0] == 0xFF ? -1 : data[0];
  const std::string_view file = fuzz::AsBytes(data + 1, size - 1);

  RecordingIconResources resources(failing_call);
  const bool installed = InstallIcon(resources, "/opt/hoshizora/hoshizora", file);
  HOSHIZORA_CHECK(!resources.Open());
  const bool valid = IsValidIconFile(file);
  if (!valid) {
    HOSHIZORA_CHECK(!installed && resources.Calls() == 0);
    return 0;
  }
  if (resources.FailureHappened()) {
    HOSHIZORA_CHECK(!installed && resources.Committed().empty());
    if (resources.AddFailed()) {
      HOSHIZORA_CHECK(resources.Discarded());
    }
    return 0;
  }

  HOSHIZORA_CHECK(installed);
  const std::size_t count = ReadLe(file, 4, 2);
  const std::vector<Resource>& added = resources.Committed();
  HOSHIZORA_CHECK(added.size() == count + 1);
  for (std::size_t i = 0; i < count; ++i) {
    const std::size_t entry = 6 + 16 * i;
    HOSHIZORA_CHECK(added[i].type == kIconResourceType);
    HOSHIZORA_CHECK(added[i].id == static_cast<int>(i + 1));
    HOSHIZORA_CHECK(added[i].language == 0);
    HOSHIZORA_CHECK(added[i].bytes ==
                    file.substr(ReadLe(file, entry + 12, 4), ReadLe(file, entry + 8, 4)));
  }
  // The group record: the file's header with the reserved word zero, then
  // each directory entry with its 4-byte offset replaced by a 2-byte id.
  const Resource& group = added.back();
  HOSHIZORA_CHECK(group.type == kIconGroupResourceType && group.id == 1 && group.language == 0);
  HOSHIZORA_CHECK(group.bytes.size() == 6 + 14 * count);
  HOSHIZORA_CHECK(ReadLe(group.bytes, 0, 2) == 0);
  HOSHIZORA_CHECK(group.bytes.substr(2, 4) == file.substr(2, 4));
  for (std::size_t i = 0; i < count; ++i) {
    HOSHIZORA_CHECK(group.bytes.substr(6 + 14 * i, 12) == file.substr(6 + 16 * i, 12));
    HOSHIZORA_CHECK(ReadLe(group.bytes, 6 + 14 * i + 12, 2) == i + 1);
  }
  return 0;
}
