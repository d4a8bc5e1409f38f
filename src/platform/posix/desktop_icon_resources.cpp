#include "platform/posix/desktop_icon_resources.h"

#include <cstdlib>
#include <vector>

#include "platform/file_io.h"
#include "platform/icon_file.h"

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

bool DesktopIconResources::InstallProgramIcon(const fs::path& executable_path,
                                              std::string_view icon_file) {
  const auto images = ReadIconFile(icon_file);
  if (data_folder_.empty() || executable_path.empty() || !images) {
    return false;
  }
  // Desktops draw a PNG more reliably than an icon file: the largest PNG
  // image, when there is one, names the icon.
  const IconImage* largest_png = nullptr;
  for (const IconImage& image : *images) {
    if (image.bytes.starts_with(kPngSignature) &&
        (largest_png == nullptr || image.Side() > largest_png->Side())) {
      largest_png = &image;
    }
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
      EntryValue(ExecArgument(executable_path.native())) +
      "\nIcon=" + EntryValue(icon_named.string()) +
      "\nTerminal=false\nCategories=AudioVideo;Education;HamRadio;\n";

  std::vector<std::pair<fs::path, std::string_view>> files = {{ico_path, icon_file},
                                                              {entry_path, entry}};
  if (largest_png != nullptr) {
    files.push_back({png_path, largest_png->bytes});
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
