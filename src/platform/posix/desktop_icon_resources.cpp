#include "platform/posix/desktop_icon_resources.h"

#include <cstdlib>
#include <optional>
#include <vector>

#include "base/little_endian.h"
#include "platform/file_io.h"

namespace hoshizora {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kPngSignature = "\x89PNG\r\n\x1a\n";

// A desktop entry value: line breaks would end the entry early.
std::string EntryValue(std::string value) {
  for (char& c : value) {
    if (c == '\n' || c == '\r') {
      c = ' ';
    }
  }
  return value;
}

// Quotes an Exec argument as the desktop entry format asks: inside the quotes
// " ` $ and \\ take a backslash, and the string escapes then double every
// backslash, so a backslash in the path becomes four.
std::string ExecArgument(const std::string& path) {
  std::string out = "\"";
  for (char c : path) {
    if (c == '\\') {
      out += "\\\\\\";
    } else if (c == '"' || c == '`' || c == '$') {
      out += "\\\\";
    }
    if (c == '%') {
      out += '%';
    }
    out += c;
  }
  return out + "\"";
}

}  // namespace

fs::path DesktopIconResources::DefaultDataFolder() {
  if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg != nullptr && xdg[0] == '/') {
    return xdg;
  }
  if (const char* home = std::getenv("HOME"); home != nullptr && home[0] == '/') {
    return fs::path(home) / ".local" / "share";
  }
  return {};
}

bool DesktopIconResources::BeginUpdate(const fs::path& executable_path) {
  if (data_folder_.empty() || executable_path.empty()) {
    return false;
  }
  executable_ = executable_path;
  resources_.clear();
  updating_ = true;
  return true;
}

bool DesktopIconResources::AddResource(int type, int id, int, std::string_view bytes) {
  if (!updating_) {
    return false;
  }
  resources_[{type, id}] = std::string(bytes);
  return true;
}

void DesktopIconResources::Discard() {
  resources_.clear();
  updating_ = false;
}

bool DesktopIconResources::Commit() {
  if (!updating_) {
    return false;
  }
  updating_ = false;
  const auto group_it = resources_.find({kIconGroupResourceType, 1});
  if (group_it == resources_.end() || group_it->second.size() < 6) {
    return false;
  }
  // Rebuild an icon file from the group record and its images.
  const std::string& group = group_it->second;
  const std::size_t count = ReadLe(group, 4, 2);
  if (group.size() < 6 + 14 * count) {
    return false;
  }
  std::vector<const std::string*> images;
  for (std::size_t i = 0; i < count; ++i) {
    const auto it =
        resources_.find({kIconResourceType, static_cast<int>(ReadLe(group, 6 + 14 * i + 12, 2))});
    if (it == resources_.end()) {
      return false;
    }
    images.push_back(&it->second);
  }
  std::string ico = group.substr(0, 6);
  std::uint32_t offset = static_cast<std::uint32_t>(6 + 16 * count);
  const std::string* largest_png = nullptr;
  std::uint32_t largest_side = 0;
  for (std::size_t i = 0; i < count; ++i) {
    const std::string entry = group.substr(6 + 14 * i, 8);
    ico += entry;
    AppendLe(ico, static_cast<std::uint32_t>(images[i]->size()), 4);
    AppendLe(ico, offset, 4);
    offset += static_cast<std::uint32_t>(images[i]->size());
    const std::uint32_t side = entry[0] == 0 ? 256 : static_cast<std::uint8_t>(entry[0]);
    if (images[i]->starts_with(kPngSignature) && side > largest_side) {
      largest_png = images[i];
      largest_side = side;
    }
  }
  for (const std::string* image : images) {
    ico += *image;
  }

  std::error_code ec;
  const fs::path icons = data_folder_ / "icons";
  const fs::path applications = data_folder_ / "applications";
  fs::create_directories(icons, ec);
  fs::create_directories(applications, ec);
  const fs::path ico_path = icons / "hoshizora.ico";
  const fs::path png_path = icons / "hoshizora.png";
  const fs::path entry_path = applications / "hoshizora.desktop";
  const fs::path icon_named = largest_png != nullptr ? png_path : ico_path;
  const std::string entry =
      "[Desktop Entry]\nType=Application\nName=Hoshizora\n"
      "Comment=和文モールス電報の音声と受信用紙を作ります\nExec=" +
      EntryValue(ExecArgument(executable_.native())) + "\nIcon=" + EntryValue(icon_named.string()) +
      "\nTerminal=false\nCategories=AudioVideo;Education;HamRadio;\n";

  std::vector<std::pair<fs::path, std::string>> files = {{ico_path, ico}, {entry_path, entry}};
  if (largest_png != nullptr) {
    files.push_back({png_path, *largest_png});
  }
  // Write every file beside its target first; rename only when all are written.
  std::vector<StagedFile> staged;
  for (const auto& [target, bytes] : files) {
    auto file = StagedFile::Write(target, bytes);
    if (!file) {
      return false;
    }
    staged.push_back(std::move(*file));
  }
  bool ok = true;
  for (StagedFile& file : staged) {
    ok = ok && file.Commit();
  }
  return ok;
}

}  // namespace hoshizora
