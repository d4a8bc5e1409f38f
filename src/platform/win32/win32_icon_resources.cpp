#include "platform/win32/win32_icon_resources.h"

#include <windows.h>

#include <shlobj.h>

#include <limits>
#include <string>
#include <vector>

#include "base/little_endian.h"
#include "platform/icon_file.h"

namespace hoshizora {
namespace {

constexpr int kNeutralLanguage = 0;

// The RT_GROUP_ICON record: the icon file's directory with each image's
// offset replaced by its RT_ICON id, 6 bytes of header and 14 per image.
std::string GroupIconRecord(const std::vector<IconImage>& images) {
  std::string record;
  record.reserve(6 + 14 * images.size());
  AppendLe(record, 0, 2);
  AppendLe(record, 1, 2);
  AppendLe(record, static_cast<std::uint32_t>(images.size()), 2);
  for (std::size_t i = 0; i < images.size(); ++i) {
    record.append(images[i].entry);
    AppendLe(record, static_cast<std::uint32_t>(images[i].bytes.size()), 4);
    AppendLe(record, static_cast<std::uint32_t>(i + 1), 2);
  }
  return record;
}

}  // namespace

Win32IconResources::~Win32IconResources() {
  Discard();
}

bool Win32IconResources::InstallProgramIcon(const std::filesystem::path& executable_path,
                                            std::string_view icon_file) {
  const auto images = ReadIconFile(icon_file);
  if (!images || !BeginUpdate(executable_path)) {
    return false;
  }
  for (std::size_t i = 0; i < images->size(); ++i) {
    if (!AddResource(kIconResourceType, static_cast<int>(i + 1), kNeutralLanguage,
                     (*images)[i].bytes)) {
      Discard();
      return false;
    }
  }
  if (!AddResource(kIconGroupResourceType, 1, kNeutralLanguage, GroupIconRecord(*images))) {
    Discard();
    return false;
  }
  return Commit();
}

bool Win32IconResources::BeginUpdate(const std::filesystem::path& executable_path) {
  Discard();
  update_ = BeginUpdateResourceW(executable_path.c_str(), FALSE);
  if (update_ == nullptr) {
    return false;
  }
  executable_ = executable_path;
  return true;
}

bool Win32IconResources::AddResource(int type, int id, int language, std::string_view bytes) {
  if (update_ == nullptr || type <= 0 || type > 0xFFFF || id <= 0 || id > 0xFFFF || language < 0 ||
      language > 0xFFFF || bytes.size() > std::numeric_limits<DWORD>::max()) {
    return false;
  }
  // Kept until the update ends: the documentation does not promise a copy.
  std::string& data = data_.emplace_back(bytes);
  return UpdateResourceW(update_, MAKEINTRESOURCEW(type), MAKEINTRESOURCEW(id),
                         static_cast<WORD>(language), data.data(),
                         static_cast<DWORD>(data.size())) != FALSE;
}

bool Win32IconResources::Commit() {
  if (update_ == nullptr) {
    return false;
  }
  const bool written = EndUpdateResourceW(update_, FALSE) != FALSE;
  update_ = nullptr;
  data_.clear();
  if (written) {
    // Explorer caches icons by file: tell it the file and the associations changed.
    SHChangeNotify(SHCNE_UPDATEITEM, SHCNF_PATHW, executable_.c_str(), nullptr);
    SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr);
  }
  return written;
}

void Win32IconResources::Discard() {
  if (update_ != nullptr) {
    EndUpdateResourceW(update_, TRUE);
    update_ = nullptr;
  }
  data_.clear();
}

}  // namespace hoshizora
